// First on the pure core's include path: the text and byte logic of the
// plug-in builds without the Win32 headers, on any compiler.
#error "winsock.h in the pure core: put the Win32 part in a *_win.cpp file beside it"
