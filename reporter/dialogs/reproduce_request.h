// The reproduce request: asks the user for the steps that led to the error, after the detailed
// dialog, and keeps them in the options' ReproduceText.
#pragma once
#include "reporter/core/options/module_options_ex.h"

// Shows the request; the edit's text, trimmed, becomes ReproduceText. Raises when the window
// could not be made.
void RunReproduceRequest(TVessarModuleOptionsEx& options);
