// The crash reporter's own start-up and shut-down steps ("EHook.Init", "ECore.Init",
// "ExceptionLog.Init", "ExceptionLog.Done", "EHook.Done"): a step that fails names itself.
#pragma once

// Runs `body`; an exception leaving it is raised again as
// "Critical error at: \"<step>\"\r\nError: \"<message>\"." ("General internal error." when it
// carries no message).
void RunUnitStep(const char* step, void (*body)());
