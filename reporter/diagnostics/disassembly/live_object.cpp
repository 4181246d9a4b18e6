#include "reporter/diagnostics/disassembly/live_object.h"
#include "runtime/type_name.h"
#include <array>
#include <iostream>
#include <stdexcept>
#include <typeinfo>

namespace {

constexpr size_t kLongestName = 256;

uint32_t VirtualTableOf(const std::type_info& type) {
    return *reinterpret_cast<const uint32_t*>(&type);
}

// The virtual tables of the three kinds of class type information (no base, one base, several),
// taken from classes known to have them.
bool IsClassTypeInfo(uint32_t table) {
    static const std::array<uint32_t, 3> kinds = {VirtualTableOf(typeid(std::exception)),
                                                  VirtualTableOf(typeid(std::runtime_error)),
                                                  VirtualTableOf(typeid(std::iostream))};
    return table && (table == kinds[0] || table == kinds[1] || table == kinds[2]);
}

bool NameReadable(uint32_t name, TMemoryProbe& memory) {
    for (size_t i = 0; i < kLongestName; ++i) {
        char c = 0;
        if (!memory.Read(name + i, c))
            return false;
        if (c == 0)
            return i > 0;
    }
    return false;
}

} // namespace

// An object's first word points into its class's virtual table, whose word before it points to
// the class's type information; that one starts with the virtual table of its own kind and
// then points to the class's mangled name.
std::string LiveObjectClassName(uintptr_t address, TMemoryProbe& memory) {
    uint32_t table = 0, type = 0, typeTable = 0, name = 0;
    if (!memory.Read(address, table) || table < 4 || !memory.Read(table - 4, type) ||
        !memory.Read(type, typeTable) || !IsClassTypeInfo(typeTable) ||
        !memory.Read(type + 4, name) || !NameReadable(name, memory))
        return {};
    return UnqualifiedTypeName(*reinterpret_cast<const std::type_info*>(uintptr_t(type)));
}
