#include "reporter/core/interception/extension_output.h"
#include "reporter/core/interception/cgi_output.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include <atomic>

namespace {

using ExtensionProc = DWORD(WINAPI*)(EXTENSION_CONTROL_BLOCK*);
using WriteClientProc = decltype(EXTENSION_CONTROL_BLOCK::WriteClient);

ExtensionProc originalExtensionProc = nullptr;
// The server's own write call: one for every request it makes.
std::atomic<WriteClientProc> serverWriteClient{nullptr};

BOOL WINAPI WriteClientHook(HCONN connection, void* buffer, DWORD* count, DWORD reserved) {
    const DWORD asked = count ? *count : 0;
    const BOOL done = serverWriteClient.load()(connection, buffer, count, reserved);
    if (done && buffer)
        KeepLastHtmlPage(buffer, asked);
    return done;
}

// A request that ends in the call gets the server's write call back; one that goes on
// (pending) keeps ours for the writes still to come.
DWORD WINAPI ExtensionProcHook(EXTENSION_CONTROL_BLOCK* request) {
    const bool watched =
        request && request->WriteClient && request->WriteClient != &WriteClientHook;
    if (watched) {
        serverWriteClient = request->WriteClient;
        request->WriteClient = &WriteClientHook;
        StartLastHtmlPage();
    }
    const DWORD status = originalExtensionProc(request);
    if (watched && status != HSE_STATUS_PENDING)
        request->WriteClient = serverWriteClient;
    return status;
}

} // namespace

void StartWatchingExtensionOutput(HMODULE module) {
    if (void* procedure = reinterpret_cast<void*>(GetProcAddress(module, "HttpExtensionProc")))
        originalExtensionProc = reinterpret_cast<ExtensionProc>(HookProcedure(
            procedure, reinterpret_cast<void*>(&ExtensionProcHook), "HttpExtensionProc"));
}

void StopWatchingExtensionOutput() {
    UnhookKept(originalExtensionProc);
}
