#pragma once
// The code plug test classes, run one after another by main.cpp.

int runDecimalProductTests(int argc, char** argv);
int runCodecsTests(int argc, char** argv);
int runToneTableTests(int argc, char** argv);
int runChannelTableTests(int argc, char** argv);
int runMemoryImageTests(int argc, char** argv);
int runPlanRoundTripTests(int argc, char** argv);
int runChirpModesTests(int argc, char** argv);
int runPlanRefusalsTests(int argc, char** argv);
int runChirpReadingTests(int argc, char** argv);
int runImageDiffTests(int argc, char** argv);
int runChannelEditTests(int argc, char** argv);
