#include "reporter/diagnostics/disassembly/listing_names.h"
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/disassembly/live_object.h"
#include "reporter/diagnostics/stack/call_site.h"
#include "runtime/format.h"

namespace {

constexpr size_t kShownCharacters = 32;

bool Named(const TVessarDebugInfo& info) {
    return info.Detail >= kDetailProcedure && info.Detail <= kDetailLine;
}

// The procedure at `address` (an import thunk followed), else the class of the object there;
// empty when neither is known.
std::string NameOf(uint32_t address, TMemoryProbe& memory) {
    const uintptr_t entry = CalledProcedure(address, memory).value_or(address);
    TVessarDebugInfo info;
    if (!LocateAddress(reinterpret_cast<const void*>(entry), info) || !Named(info))
        return LiveObjectClassName(address, memory);
    std::string name = ProcedureName(info);
    if (info.ProcLine > 1)
        name += Format(" (Line=%d)", int(info.Line));
    return name;
}

void NameTarget(void* user, uint32_t, uint32_t target, std::string& text) {
    const std::string name = NameOf(target, *static_cast<TMemoryProbe*>(user));
    text = name.empty() ? Format("$%08X", unsigned(target)) : name;
}

void NameDisplacement(void* user, uint32_t, uint32_t value, std::string& text) {
    const std::string name = NameOf(value, *static_cast<TMemoryProbe*>(user));
    if (!name.empty())
        text = name;
}

bool Printable(uint8_t c) {
    return c >= ' ' && c < 0x7F;
}

// "  ; '" and up to 32 characters of the text at `address`, "'" and "..." when it runs on;
// empty when what lies there does not start like text.
std::string TextComment(uint32_t address, TMemoryProbe& memory) {
    uint8_t bytes[kShownCharacters] = {};
    size_t readable = 0;
    while (readable < kShownCharacters && memory.Read(address + readable, bytes[readable]))
        ++readable;
    size_t length = 0;
    while (length < readable && bytes[length] != 0)
        ++length;
    const size_t leading = std::min<size_t>(length, 4);
    for (size_t i = 0; i < leading; ++i)
        if (!Printable(bytes[i]))
            return {};
    if (length < 2 || (length < 4 && length == readable))
        return {};
    std::string comment = "  ; '";
    for (size_t i = 0; i < length; ++i)
        comment += bytes[i] < ' ' ? '.' : char(bytes[i]);
    comment += "'";
    return length == kShownCharacters ? comment + "..." : comment;
}

void TextBehindImmediate(void* user, uint32_t, uint32_t value, unsigned size, std::string& text,
                         bool isSigned) {
    if (size == 4 && !isSigned)
        text += TextComment(value, *static_cast<TMemoryProbe*>(user));
}

} // namespace

std::string ProcedureName(const TVessarDebugInfo& info) {
    const std::string unit = info.Unit.substr(0, info.Unit.rfind('.'));
    std::string name;
    for (const std::string& part : {unit, info.ClassName, info.Procedure})
        if (!part.empty())
            name += (name.empty() ? "" : ".") + part;
    return name;
}

TDisAsm ListingDisassembler(TMemoryProbe& memory) {
    TDisAsm disasm;
    disasm.User = &memory;
    disasm.JumpTarget = disasm.CallTarget = NameTarget;
    disasm.Displacement = NameDisplacement;
    disasm.Immediate = TextBehindImmediate;
    return disasm;
}
