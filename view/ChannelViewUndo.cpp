#include "view/ChannelViewUndo.h"

#include <utility>

#include "codeplug/KQ_517Doc.h"
#include "texts/TextTable.h"

DocumentChangeCommand::DocumentChangeCommand(CKQ_517Doc* document, const QString& text,
                                             ChannelViewState before, ChannelViewState after)
    : QUndoCommand(text), m_document(document), m_before(std::move(before)), m_after(std::move(after))
{
}

void DocumentChangeCommand::undo()
{
    if (m_document)
        m_document->setImage(m_before.image);
}

void DocumentChangeCommand::redo()
{
    if (std::exchange(m_bDone, false) || !m_document)
        return;
    m_document->setImage(m_after.image);
}

namespace undotext {
QString cellEdit() { return texts::text(IDS_STEP_CELL_EDIT); }
QString radioRead() { return texts::text(IDS_STEP_RADIO_READ); }
QString optionalFeatures() { return texts::text(IDS_STEP_OPTIONAL_FEATURES); }
QString productInformation() { return texts::text(IDS_STEP_PRODUCT_INFORMATION); }
}  // namespace undotext
