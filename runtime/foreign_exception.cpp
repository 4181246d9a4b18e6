#include "runtime/foreign_exception.h"
#include "runtime/type_name.h"
#include <cxxabi.h>
#include <exception>

Exception ForeignException() {
    try {
        throw;
    } catch (const std::exception& e) {
        return Exception(e.what());
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        return Exception("Exception of class " + (type ? UnqualifiedTypeName(*type) : "unknown"));
    }
}
