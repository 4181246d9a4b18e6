#include "reporter/core/interception/current_exception.h"
#include <exception>

namespace {

thread_local bool looking = false;

} // namespace

const Exception* HandledException() {
    struct LookingAtIt {
        bool outer = looking;
        LookingAtIt() { looking = true; }
        ~LookingAtIt() { looking = outer; }
    } lookingAtIt;
    try {
        if (std::exception_ptr current = std::current_exception())
            std::rethrow_exception(current);
    } catch (const Exception& e) {
        return &e; // lives on: the application's handler still holds it
    } catch (...) {
    }
    return nullptr;
}

bool LookingAtHandledException() {
    return looking;
}
