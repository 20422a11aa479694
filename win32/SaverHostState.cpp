#include "win32/SaverHostState.h"

SaverHostStateRecord SaverHostState = SaverHostStateAtStart;

BOOL SetSaverRunning(BOOL running)
{
    // Receives the previous state; nobody needs it, but the call wants room for it.
    BOOL previous = FALSE;
    return SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, static_cast<UINT>(running), &previous,
                                 0);
}
