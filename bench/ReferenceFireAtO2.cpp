// The same plain reference once more, compiled at -O2 (see CMakeLists.txt),
// where GCC leaves its loop nest scalar, under names of its own.
#define ReferenceSeed ReferenceSeedAtO2
#define ReferenceSpread ReferenceSpreadAtO2
#define ReferenceCopy ReferenceCopyAtO2
#define RunReferenceFrame RunReferenceFrameAtO2
#include "bench/ReferenceFire.cpp"
