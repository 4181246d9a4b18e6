// What the processing keeps ready from the crash reporter's start to its end: its report of the
// crash reporter's own failures for the start-up and shut-down steps, the directory a restart
// goes back to, and freeze detection.
#pragma once

// Starts freeze detection when the crash reporter's options ask for it.
void StartProcessingServices();
void StopProcessingServices();
