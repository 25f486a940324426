#include "settings/ui/AppMessage.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

#include <cstdio>

#include "texts/TextTable.h"

namespace {
constexpr int kDontSaveText = 62002;     // the save question's middle answer
constexpr int kMoreLinesText = 62003;    // "… and %1 more"

// Room the window system's title bar takes besides the caption: the window
// icon, the title buttons and the margins.
constexpr int kTitleBarRoom = 110;

bool g_messagesToStandardError = false;

QString& appNameStore()
{
    static QString name = QStringLiteral("KQ_517");
    return name;
}
}  // namespace

void setAppName(const QString& name) { appNameStore() = name; }

QString appName() { return appNameStore(); }

void setMessagesToStandardError(bool on) { g_messagesToStandardError = on; }

bool messagesToStandardError() { return g_messagesToStandardError; }

QMessageBox::StandardButton appMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::Icon icon, const QString& caption)
{
    if (g_messagesToStandardError) {
        const QString line = (caption.isNull() ? appName() : caption) + QStringLiteral(": ") + text;
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
        for (const QMessageBox::StandardButton safe :
             {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Abort, QMessageBox::Ignore}) {
            if (buttons.testFlag(safe))
                return safe;
        }
        return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::NoButton;
    }
    QMessageBox box(icon, caption.isNull() ? appName() : caption,
                    text, buttons, parent);
    // A box sized to a short text would cut its caption in the title bar:
    // it is made at least as wide as the caption needs.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    // The save question's middle answer reads as desktop programs word it.
    if (QAbstractButton* discard = box.button(QMessageBox::Discard))
        discard->setText(texts::text(kDontSaveText));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString shortenedMessage(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= kLongMessageLines)
        return text;
    // One line fewer than allowed, so the "more" line keeps the box at the limit.
    const int kept = kLongMessageLines - 1;
    const qsizetype more = lines.size() - kept;
    const QString tail = texts::text(kMoreLinesText, more);
    return QStringList(lines.mid(0, kept)).join(QLatin1Char('\n')) + QLatin1Char('\n') + tail;
}

QMessageBox::StandardButton longMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                           QMessageBox::Icon icon)
{
    if (g_messagesToStandardError)
        return appMessageBox(parent, text, QMessageBox::Ok, icon, caption);
    QMessageBox box(icon, caption.isNull() ? appName() : caption, shortenedMessage(text),
                    QMessageBox::Ok, parent);
    if (box.text() != text)
        box.setDetailedText(text);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
