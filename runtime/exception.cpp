#include "runtime/exception.h"
#include "runtime/type_name.h"
#include <typeinfo>

Exception::Exception(std::string message) : message_(std::move(message)) {}

std::string Exception::ClassName() const {
    return UnqualifiedTypeName(typeid(*this));
}

EAbort::EAbort() : Exception("Operation aborted") {}

void Abort() {
    throw EAbort();
}
