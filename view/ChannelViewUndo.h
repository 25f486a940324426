#pragma once
// Undo and redo of the channel view: every user action that changes a
// document (a cell edit with any row clear it causes, a completed read, an
// option or product change) is one step that restores the document's image
// and the grid's channel cells as they were before or after it.

#include <QString>
#include <QUndoCommand>

#include "codeplug/ChannelTable.h"
#include "codeplug/MemoryImage.h"

class CKQ_517View;

// What one step restores: the image and the grid are two copies of the
// channels (the grid is the working copy until a save or write encodes it),
// so both are kept.
struct ChannelViewState {
    MemoryImage image;
    ChannelTable table;
    bool operator==(const ChannelViewState& other) const = default;
};

class ChannelViewCommand : public QUndoCommand {
public:
    // The change is already made when the command is pushed: the first redo()
    // leaves the view alone.
    ChannelViewCommand(CKQ_517View* view, const QString& text, ChannelViewState before,
                       ChannelViewState after);

    void undo() override;
    void redo() override;

private:
    CKQ_517View* m_view;
    ChannelViewState m_before;
    ChannelViewState m_after;
    bool m_bDone = true;
};

// The names of the steps, in the interface's language.
namespace undotext {
QString cellEdit(bool chinese);
QString radioRead(bool chinese);
QString optionalFeatures(bool chinese);
QString productInformation(bool chinese);
}  // namespace undotext
