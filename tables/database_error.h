// The table layer's exceptions with plain messages.
#pragma once
#include "runtime/component.h"
#include "runtime/exception.h"

class EDatabaseError : public Exception {
  public:
    using Exception::Exception;
};

// The engine reported success but handed back no cursor.
class ENoResultSet : public EDatabaseError {
  public:
    using EDatabaseError::EDatabaseError;
};

// Raises EDatabaseError; the message becomes "<component name>: <message>" when component
// has a name.
[[noreturn]] void RaiseTableError(const std::string& message, const TComponent* component);
