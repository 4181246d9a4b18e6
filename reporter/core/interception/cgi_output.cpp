#include "reporter/core/interception/cgi_output.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/options/temporary_files.h"
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

using WriteFileProc = decltype(&WriteFile);
WriteFileProc originalWriteFile = nullptr;

std::mutex& PageLock() {
    static std::mutex lock;
    return lock;
}

std::string& Page() {
    static std::string page;
    return page;
}

bool IsCgiProgram() {
    const char* gateway = std::getenv("GATEWAY_INTERFACE");
    return gateway && *gateway;
}

BOOL WINAPI WriteFileHook(HANDLE file, const void* bytes, DWORD count, DWORD* written,
                          OVERLAPPED* overlapped) {
    BOOL done = originalWriteFile(file, bytes, count, written, overlapped);
    if (done && bytes && file == GetStdHandle(STD_OUTPUT_HANDLE))
        KeepLastHtmlPage(bytes, written ? *written : count);
    return done;
}

} // namespace

void StartWatchingCgiOutput() {
    if (!IsCgiProgram())
        return;
    ReplaceKernelImport("WriteFile", &WriteFileHook, originalWriteFile);
}

void StopWatchingCgiOutput() {
    StartLastHtmlPage();
}

void StartLastHtmlPage() {
    std::lock_guard<std::mutex> hold(PageLock());
    Page().clear();
}

void KeepLastHtmlPage(const void* bytes, DWORD count) {
    std::lock_guard<std::mutex> hold(PageLock());
    Page().append(static_cast<const char*>(bytes), count);
    if (!(CurrentVessarionOptions().Stored().SendFlags & SendFlag::AttachLastHtmlPage))
        return;
    if (FILE* file = std::fopen(LastHtmlPageFileName().c_str(), "wb")) {
        std::fwrite(Page().data(), 1, Page().size(), file);
        std::fclose(file);
    }
}

std::string LastHtmlPage() {
    std::lock_guard<std::mutex> hold(PageLock());
    return Page();
}
