// A library that loads but lacks the entry its name promises; the marker lets
// a test make sure this is the file the loader finds.
#include <windows.h>

extern "C" BOOL WINAPI EntrylessLibraryMarker()
{
    return TRUE;
}
