// kq517-bench-eventloop PORT read|write [FILE.dat]: runs one full transfer
// from inside the event loop, with the pump the program passes (process the
// waiting events), while a 1 ms timer ticks. Prints the transfer's time and
// the longest gap between two ticks: how long a window would stay frozen.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "texts/FieldReasons.h"
#include "codeplug/MemoryImage.h"
#include "link/FieldSession.h"
#include "link/SerialBytePort.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || (args.at(1) != QLatin1String("read") && args.at(1) != QLatin1String("write"))) {
        std::fputs("usage: kq517-bench-eventloop PORT read|write [FILE.dat]\n", stderr);
        return 2;
    }
    const bool write = args.at(1) == QLatin1String("write");
    MemoryImage image = MemoryImage::newImage();
    if (args.size() > 2 && !image.loadFile(args.at(2))) {
        std::fprintf(stderr, "cannot read %s as a .dat file\n", qPrintable(args.at(2)));
        return 1;
    }

    QElapsedTimer clock;
    qint64 lastTick = -1;
    qint64 longestGap = 0;
    int row = -1;        // the last row moved when the loop last turned
    int longestAt = -1;  // that row for the longest gap (-1: before the first row)
    bool running = false;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (running && lastTick >= 0 && now - lastTick > longestGap) {
            longestGap = now - lastTick;
            longestAt = row;
        }
        lastTick = now;
    });

    int status = 0;
    qint64 transferNs = 0;
    QTimer::singleShot(50, [&] {
        FieldSession session([] { return std::make_unique<SerialBytePort>(); }, args.at(0));
        FieldCallbacks callbacks;
        callbacks.progress = [&row](FieldStep, int r) { row = r; };
        callbacks.pump = [] {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return false;
        };
        running = true;
        const qint64 start = clock.nsecsElapsed();
        lastTick = start;  // the handler starts at a turn of the loop
        const FieldResult result = write ? session.write(image, FieldOptions(), callbacks) : session.read(image, callbacks);
        const qint64 end = clock.nsecsElapsed();
        if (end - lastTick > longestGap) {
            longestGap = end - lastTick;
            longestAt = row;
        }
        running = false;
        transferNs = end - start;
        if (!result.succeeded()) {
            std::fprintf(stderr, "%s\n", qPrintable(texts::fieldResult(result)));
            status = 1;
        }
        QCoreApplication::quit();
    });
    clock.start();
    ticker.start();
    app.exec();
    if (status == 0)
        std::printf("%s %.3f s, longest event-loop pause %.1f ms (%s)\n", write ? "write" : "read",
                    double(transferNs) / 1e9, double(longestGap) / 1e6,
                    longestAt < 0 ? "opening and handshake"
                                  : qPrintable(QStringLiteral("after row %1").arg(longestAt)));
    return status;
}
