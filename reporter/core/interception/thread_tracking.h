// Thread tracking: the calls that create, resume and end threads, replaced in the import
// tables of the program and of msvcrt.dll (through which _beginthreadex and std::thread create
// theirs; never kernel32's own), keep the list of tracked threads. Every new thread starts
// through the crash reporter's start routine, which notes where its stack begins.
#pragma once
#include "reporter/core/interception/threads_list.h"

// Creates the list with the main thread and replaces the calls.
void StartThreadTracking();
// Frees the list; the replaced calls then pass straight through until the import entries are
// put back.
void StopThreadTracking();
// The live list; null while tracking is off.
TVessarThreadsList* TrackedThreads();

// Starts a thread of the crash reporter's own: never tracked, and what it raises itself is none
// of the crash reporter's business.
HANDLE CreateReporterThread(LPTHREAD_START_ROUTINE routine, void* parameter, SIZE_T stackSize);
// Whether the calling thread is one of those, working for nobody else.
bool CallingThreadIsReporters();

// The calling reporter thread works for `threadId` (a faulting thread whose stack has no room
// for the work); 0 ends that.
void StandInFor(DWORD threadId);
// The thread whose exception the calling thread deals with: itself unless it stands in.
DWORD ThreadServed();
