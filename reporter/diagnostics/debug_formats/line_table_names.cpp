#include "reporter/diagnostics/debug_formats/line_table_names.h"
#include "reporter/base/base64.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"
#include "reporter/diagnostics/debug_formats/unit_extension.h"

using namespace line_table;

namespace {

struct TPart {
    size_t Length = 0;
    bool Follows = false; // a "." and a further part come after this one
};

TPart PartAt(const TByteView& table, size_t at, int version) {
    const uint8_t length = table.U8(at);
    if (version >= kFirstVersionWithNameParts && (length & kNamePartFollows))
        return {size_t(length & ~kNamePartFollows), true};
    return {length, false};
}

} // namespace

TLineTableNames::TLineTableNames(const TVessarModuleInfo& module)
    : version_(module.DebugDataVersion), passwordFits_(module.PasswordFits),
      cipher_(module.PasswordKey) {}

// Whether the bytes can be turned back into text.
bool TLineTableNames::Opens() const {
    return version_ < kFirstEncipheredVersion || passwordFits_;
}

std::string TLineTableNames::Unscrambled(std::string_view stored) const {
    std::string text(stored);
    if (text.empty())
        return text;
    if (version_ < kFirstEncipheredVersion) {
        for (char& c : text)
            c = char(c ^ kOldNameMask);
        return text;
    }
    if (!passwordFits_)
        return "?" + Base64Encode(stored);
    cipher_.DecryptBuffer(reinterpret_cast<uint8_t*>(text.data()), text.size());
    return text;
}

std::string TLineTableNames::Read(const TByteView& table, size_t& at) const {
    const TPart part = PartAt(table, at, version_);
    std::string name = Unscrambled(table.Text(at + 1, part.Length));
    at += 1 + part.Length;
    return part.Follows ? name + "." + Read(table, at) : name;
}

std::string TLineTableNames::ReadUnit(const TByteView& table, size_t& at) const {
    std::string name = Read(table, at);
    if (name.find('.') != std::string::npos)
        return name;
    if (Opens())
        return name + kUnitSourceExtension;
    return name.insert(std::min<size_t>(1, name.size()), "p");
}

size_t SkipLineTableName(const TByteView& table, size_t at, int version) {
    for (;;) {
        const TPart part = PartAt(table, at, version);
        at += 1 + part.Length;
        if (!part.Follows)
            return at;
    }
}
