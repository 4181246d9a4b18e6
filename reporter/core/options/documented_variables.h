// The variables the crash reporter tells its users about, for use in texts and paths.
#pragma once
#include <array>

struct TVessarDocumentedVariable {
    const char* Name;
    // Empty for the usual system variables, which need no explaining.
    const char* Description;
};

// The crash reporter's own variables first, then the usual system ones, each group by name.
extern const std::array<TVessarDocumentedVariable, 26> kDocumentedVariables;
