#include "reporter/core/interception/hooking/hooking_errors.h"
#include "runtime/format.h"

EProcNull::EProcNull(const std::string& procedureName)
    : Exception(Format("Cannot hook a null procedure (\"%s\").", procedureName.c_str())) {}

EHookingError::EHookingError(const std::string& procedureName)
    : Exception(Format("Cannot hook the procedure \"%s\".", procedureName.c_str())) {}

ESharedArea::ESharedArea(const std::string& moduleFileName)
    : Exception(Format("Cannot hook the module \"%s\" located into the shared-area.",
                       moduleFileName.c_str())) {}
