// Ending the application when a report asks for it: at once, or with a new copy of the program
// started first.
#pragma once

// Notes the current directory: a restarted program starts where this one started, wherever
// this one went since.
void RecordStartDirectory();

// Ends the process at once with exit code 1.
[[noreturn]] void TerminateApplication();

// Starts the program again (same command line, the directory noted at start, this process's
// startup information), then ends this process as TerminateApplication does.
[[noreturn]] void RestartApplication();
