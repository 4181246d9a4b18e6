// What kind of program the crash reporter lives in decides how a report is presented.
#pragma once

// A program of the console subsystem.
bool IsConsoleProgram();
// A CGI program (a console program started with REQUEST_METHOD set) or a web-server extension
// library (one that exports HttpExtensionProc).
bool IsWebProgram();
