#include "runtime/type_name.h"
#include <algorithm>
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

std::vector<std::string> ClassAndAncestorNames(const std::type_info& type) {
    std::vector<const std::type_info*> classes{&type};
    for (size_t i = 0; i < classes.size(); ++i) {
        auto add = [&](const std::type_info* base) {
            if (std::find(classes.begin(), classes.end(), base) == classes.end())
                classes.push_back(base);
        };
        if (auto* single = dynamic_cast<const abi::__si_class_type_info*>(classes[i]))
            add(single->__base_type);
        else if (auto* multiple = dynamic_cast<const abi::__vmi_class_type_info*>(classes[i]))
            for (unsigned b = 0; b < multiple->__base_count; ++b)
                add(multiple->__base_info[b].__base_type);
    }
    std::vector<std::string> names;
    for (const std::type_info* each : classes)
        names.push_back(UnqualifiedTypeName(*each));
    return names;
}
