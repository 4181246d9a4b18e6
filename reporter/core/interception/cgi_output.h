// In a CGI program (one started with GATEWAY_INTERFACE set), what it writes to standard output
// is the page its client gets. The WriteFile calls of the module and of msvcrt.dll are watched,
// so that the last page served can go with a report: with SendFlags 0x0040 it is kept in
// "LastHTMLPage.html" in the temporary folder as it is written.
#pragma once
#include <string>
#include <windows.h>

void StartWatchingCgiOutput();
// Forgets the page; call it once the import entries are back.
void StopWatchingCgiOutput();
// The page written so far in this run.
std::string LastHtmlPage();

// Another way of serving pages (a web-server extension's requests): a new page begins, and
// text written for it.
void StartLastHtmlPage();
void KeepLastHtmlPage(const void* bytes, DWORD count);
