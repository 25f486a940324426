// kq517-bench-csv: parses 1 MiB worst cases of a channel plan, the largest
// file an import reads, and prints the time of each. The worst case for the
// cell splitter is a long cell of blanks, then a letter, then quotes that do
// not open a quoted cell: a splitter that rescans its cell at each quote
// takes minutes on it. Goal: each well under a second.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "codeplug/ChannelPlan.h"

namespace {

constexpr qsizetype kBlanks = 500000;

// header, "1,", blanks, "x", quotes up to 1 MiB, newline.
QByteArray quoteFlood(const QByteArray& header, char separator)
{
    QByteArray bytes = header + '1' + separator + QByteArray(kBlanks, ' ') + 'x';
    bytes += QByteArray(channelplan::kLargestPlanBytes - bytes.size() - 1, '"');
    bytes += '\n';
    return bytes;
}

// Ordinary rows, as many as 1 MiB holds.
QByteArray manyRows(const QByteArray& header, const QByteArray& row)
{
    QByteArray bytes = header;
    while (bytes.size() + row.size() <= channelplan::kLargestPlanBytes)
        bytes += row;
    return bytes;
}

double timeOf(const std::function<channelplan::ParseResult()>& parse, qsizetype* errors)
{
    QElapsedTimer timer;
    timer.start();
    const channelplan::ParseResult result = parse();
    *errors = result.errors.size();
    return double(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const modelband::BandLimits band{13000000, 16000000};
    const QByteArray csvHeader = "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n";
    const QByteArray chirpHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                   "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Comment\n";

    struct Case {
        const char* name;
        std::function<channelplan::ParseResult()> parse;
    };
    const QByteArray csvFlood = quoteFlood(csvHeader, ',');
    const QByteArray chirpFlood = quoteFlood(chirpHeader, ',');
    const QString tabFlood = QString::fromLatin1(quoteFlood(QByteArray(), '\t'));
    const QByteArray csvRows = manyRows(csvHeader, "1,146.52000,146.52000,D023N,67.0,Yes\n");
    const QByteArray chirpRows =
        manyRows(chirpHeader, "1,,146.520000,+,0.600000,Cross,88.5,100.0,023,NR,754,DTCS->Tone,FM,5.00,,\n");
    const Case cases[] = {
        {"CSV, one cell of blanks and quotes", [&] { return channelplan::parseFile(csvFlood, band); }},
        {"CHIRP CSV, the same cell", [&] { return channelplan::parseFile(chirpFlood, band); }},
        {"clipboard rows, the same cell", [&] { return channelplan::parseTabSeparated(tabFlood, band); }},
        {"CSV, rows to fill 1 MiB", [&] { return channelplan::parseFile(csvRows, band); }},
        {"CHIRP CSV, rows to fill 1 MiB", [&] { return channelplan::parseFile(chirpRows, band); }},
    };
    double worst = 0;
    for (const Case& c : cases) {
        qsizetype errors = 0;
        const double seconds = timeOf(c.parse, &errors);
        worst = std::max(worst, seconds);
        std::printf("%-40s %8.3f s  (%lld refusals)\n", c.name, seconds, static_cast<long long>(errors));
    }
    std::printf("slowest: %.3f s (goal: well under 1 s)\n", worst);
    return 0;
}
