// In a web-server extension library (one that exports HttpExtensionProc), what a request
// writes to its client is the page the client gets: the extension procedure is patched so that
// every request's writes are kept as the last HTML page (see cgi_output.h).
#pragma once
#include <httpext.h>
#include <windows.h>

// Patches the module's HttpExtensionProc when it has one.
void StartWatchingExtensionOutput(HMODULE module);
void StopWatchingExtensionOutput();
