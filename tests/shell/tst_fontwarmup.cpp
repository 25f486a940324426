// The font configuration read on a thread of its own at start-up: it is found
// and started in this process (the toolkit's graphics library brings the font
// library), the toolkit's fonts work on the configuration it read, and a
// second reading raced against the main thread's own does no harm.

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

#include <dlfcn.h>

#include "shell/FontConfigWarmUp.h"
#include "tests/support/TestSupport.h"

namespace {
bool g_earlyStarted = false;
}

class TestFontWarmUp : public QObject {
    Q_OBJECT

private slots:
    void startsBeforeTheApplication() { QVERIFY(g_earlyStarted); }

    void theToolkitsFontsWorkOnIt()
    {
        QVERIFY(!QFontDatabase::families().isEmpty());
        const QFont font = QApplication::font();
        const QFontInfo info(font);
        QVERIFY(QFontDatabase::families().contains(info.family()));
        QVERIFY(QFontMetrics(font).horizontalAdvance(QStringLiteral("Channel Information")) > 0);
    }

    void raceWithTheMainThread_data() { addBoolRows("waitTwice", "waited once", "waited twice"); }
    void raceWithTheMainThread()
    {
        QFETCH(bool, waitTwice);
        void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD);
        QVERIFY(library);
        auto init = reinterpret_cast<int (*)()>(dlsym(library, "FcInit"));
        QVERIFY(init);
        FontConfigWarmUp warmUp;
        QVERIFY(warmUp.started());
        QVERIFY(init());  // the main thread asks at the same moment
        warmUp.wait();
        if (waitTwice)
            warmUp.wait();
        dlclose(library);
        QVERIFY(!QFontDatabase::families().isEmpty());
    }
};

int main(int argc, char* argv[])
{
    // As the program does: the reading starts before the application exists.
    FontConfigWarmUp early;
    g_earlyStarted = early.started();
    QApplication app(argc, argv);
    early.wait();
    TestFontWarmUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fontwarmup.moc"
