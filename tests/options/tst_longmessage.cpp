// A refusal that runs to many lines: the box shows the first lines and
// "… and N more", the whole text under Show Details, and fits the screen.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "settings/ui/AppMessage.h"
#include "settings/ui/LanguageModule.h"

namespace {

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1: the receive frequency is outside the band").arg(i);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

class LongMessageTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { LanguageModule::unload(); }

    void shortened_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<int>("shownLines");
        QTest::newRow("one line") << 1 << false << "line 1: the receive frequency is outside the band" << 1;
        QTest::newRow("ten lines stay whole") << 10 << false << "line 10: the receive frequency is outside the band"
                                              << 10;
        QTest::newRow("eleven lines") << 11 << false << "… and 2 more" << 10;
        QTest::newRow("120 lines") << 120 << false << "… and 111 more" << 10;
        QTest::newRow("120 lines, chinese") << 120 << true << "…… 另有 111 行" << 10;
    }

    void shortened()
    {
        QFETCH(int, lines);
        QFETCH(bool, chinese);
        QFETCH(QString, lastLine);
        QFETCH(int, shownLines);
        if (chinese)
            QVERIFY(LanguageModule::load(QStringLiteral("Chinese"), QStringLiteral(KQ517_PROGRAM_DIR)));
        const QString text = numberedLines(lines);
        const QStringList shown = shortenedMessage(text).split(QLatin1Char('\n'));
        QCOMPARE(int(shown.size()), shownLines);
        QCOMPARE(shown.last(), lastLine);
        // What is shown is the start of the text, line for line.
        const int kept = lines > shownLines ? shownLines - 1 : shownLines;
        QCOMPARE(shown.mid(0, kept), text.split(QLatin1Char('\n')).mid(0, kept));
    }

    void boxFitsTheScreenAndKeepsEverything()
    {
        const QString text = numberedLines(120);
        QString shownText;
        QString details;
        int boxHeight = 0;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shownText = box->text();
            details = box->detailedText();
            boxHeight = box->sizeHint().height();
            box->button(QMessageBox::Ok)->click();
        });
        poll.start();
        QTimer::singleShot(30000, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        QCOMPARE(longMessageBox(nullptr, QStringLiteral("KQ_517"), text, QMessageBox::Warning), QMessageBox::Ok);
        QCOMPARE(shownText, shortenedMessage(text));
        QCOMPARE(details, text);
        QVERIFY(boxHeight > 0);
        QVERIFY2(boxHeight < QGuiApplication::primaryScreen()->availableGeometry().height(),
                 qPrintable(QString::number(boxHeight)));
    }
};

QTEST_MAIN(LongMessageTest)
#include "tst_longmessage.moc"
