// Serving the windows from inside long work on the user-interface thread (a folder scan, the
// archiver's wait): they repaint and answer what other programs send them, so Windows never
// counts them hung, while no input and no posted message is acted on until the work is over.
#pragma once

#include <windows.h>

namespace tessel::win32 {

// True while the windows are being served from inside long work: a message that reaches a window
// then must not start a handler of its own, which would run inside the work.
bool ServingInsideWork();

// Repaints what needs it and answers the messages sent to this thread's windows.
void ServeWindows();

// A key or a mouse button has gone down on this thread's windows and waits to be handled.
bool KeyOrButtonDownQueued();

// Waits until `object` is signalled or the wait fails, serving the windows meanwhile. Keys and
// clicks that reach them are refused (dropped), so none queues up to act once the wait is over.
void WaitServingWindows(HANDLE object);

}  // namespace tessel::win32
