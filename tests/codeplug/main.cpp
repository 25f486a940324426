// One executable for the code plug: image, codecs, tone table, channel table,
// channel plans and image comparison.

#include <QCoreApplication>

#include "CodeplugTests.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    failed += runDecimalProductTests(argc, argv);
    failed += runCodecsTests(argc, argv);
    failed += runToneTableTests(argc, argv);
    failed += runChannelTableTests(argc, argv);
    failed += runMemoryImageTests(argc, argv);
    failed += runPlanRoundTripTests(argc, argv);
    failed += runChirpModesTests(argc, argv);
    failed += runPlanRefusalsTests(argc, argv);
    failed += runChirpReadingTests(argc, argv);
    failed += runImageDiffTests(argc, argv);
    failed += runChannelEditTests(argc, argv);
    return failed == 0 ? 0 : 1;
}
