#include "runtime/type_name.h"
#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace {

std::string Demangled(const char* mangled) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(mangled);
}

// Scope separators inside template arguments belong to the arguments, not to the class.
size_t NameStart(const std::string& name) {
    size_t start = 0;
    int depth = 0;
    for (size_t i = 0; i + 1 < name.size(); ++i) {
        if (name[i] == '<')
            ++depth;
        else if (name[i] == '>')
            --depth;
        else if (depth == 0 && name[i] == ':' && name[i + 1] == ':')
            start = i + 2;
    }
    return start;
}

} // namespace

std::string UnqualifiedTypeName(const std::type_info& type) {
    std::string name = Demangled(type.name());
    return name.substr(NameStart(name));
}
