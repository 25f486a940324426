#include "view/ChannelViewUndo.h"

#include <utility>

#include "codeplug/KQ_517Doc.h"

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
QString cellEdit(bool chinese)
{
    return chinese ? QStringLiteral("编辑信道") : QStringLiteral("Channel Edit");
}
QString radioRead(bool chinese)
{
    return chinese ? QStringLiteral("读取电台") : QStringLiteral("Read From Radio");
}
QString optionalFeatures(bool chinese)
{
    return chinese ? QStringLiteral("可选功能") : QStringLiteral("Optional Features");
}
QString productInformation(bool chinese)
{
    return chinese ? QStringLiteral("类型设置") : QStringLiteral("Product Information");
}
}  // namespace undotext
