#pragma once
// What would race the auto-refresh reader on the link or on the project's
// records (Read, Write, Compare's drive read, New, Open, closing a project
// window) asks here first, on the window thread.

// True while auto-refresh is on, and while a cycle it began has not been taken
// in yet (the link watchdog may clear the flag in the middle of a cycle).
bool IsAutoRefreshBusy();

// IsAutoRefreshBusy(), after telling the user so (61576).
bool RefusedWhileAutoRefresh();

// The reader reports each cycle from its beginning until the window thread has
// taken in its result.
void NoteAutoRefreshCycleBegun();
void NoteAutoRefreshCycleTaken();
