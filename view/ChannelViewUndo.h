#pragma once
// Undo and redo of a document: every user action that changes it (a cell
// edit with any row clear it causes, a channel plan, a row command, a
// completed read, an option or product change) is one step that puts the
// document's image back as it was before or after it.

#include <QPointer>
#include <QString>
#include <QUndoCommand>

#include "codeplug/MemoryImage.h"

class CKQ_517Doc;

// What one step restores: the document's image, channels and options alike.
struct ChannelViewState {
    MemoryImage image;
    bool operator==(const ChannelViewState& other) const = default;
};

class DocumentChangeCommand : public QUndoCommand {
public:
    // The change is already made when the command is pushed: the first redo()
    // leaves the document alone.
    DocumentChangeCommand(CKQ_517Doc* document, const QString& text, ChannelViewState before,
                          ChannelViewState after);

    void undo() override;
    void redo() override;

private:
    QPointer<CKQ_517Doc> m_document;
    ChannelViewState m_before;
    ChannelViewState m_after;
    bool m_bDone = true;
};

// The names of the steps, in the interface's language.
namespace undotext {
enum StringId : int {
    IDS_STEP_CELL_EDIT = 61688,
    IDS_STEP_RADIO_READ = 61689,
    IDS_STEP_OPTIONAL_FEATURES = 61690,
    IDS_STEP_PRODUCT_INFORMATION = 61691,
};
QString cellEdit();
QString radioRead();
QString optionalFeatures();
QString productInformation();
}  // namespace undotext
