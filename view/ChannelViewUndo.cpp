#include "view/ChannelViewUndo.h"

#include <utility>

#include "view/KQ_517View.h"

ChannelViewCommand::ChannelViewCommand(CKQ_517View* view, const QString& text,
                                       ChannelViewState before, ChannelViewState after)
    : QUndoCommand(text), m_view(view), m_before(std::move(before)), m_after(std::move(after))
{
}

void ChannelViewCommand::undo() { m_view->restoreState(m_before); }

void ChannelViewCommand::redo()
{
    if (std::exchange(m_bDone, false))
        return;
    m_view->restoreState(m_after);
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
