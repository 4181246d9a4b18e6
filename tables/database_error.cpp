#include "tables/database_error.h"
#include "runtime/format.h"

void RaiseTableError(const std::string& message, const TComponent* component) {
    if (component && !component->Name().empty())
        throw EDatabaseError(Format("%s: %s", component->Name().c_str(), message.c_str()));
    throw EDatabaseError(message);
}
