#include "dwarf_scopes.h"
#include <algorithm>

namespace {

// Enough to follow a definition to its declaration and a declaration out to its namespace;
// damaged data that loops stops here.
constexpr int kLongestChain = 32;

} // namespace

int32_t DwarfScopes::Add(size_t offset, int32_t parent, uint32_t tag, std::string_view name,
                         uint64_t origin) {
    scopes_.push_back({offset, parent, tag, name, origin});
    return int32_t(scopes_.size() - 1);
}

int32_t DwarfScopes::IndexAt(uint64_t offset) const {
    auto found = std::lower_bound(scopes_.begin(), scopes_.end(), offset,
                                  [](const Scope& s, uint64_t key) { return s.Offset < key; });
    return found != scopes_.end() && found->Offset == offset ? int32_t(found - scopes_.begin())
                                                             : -1;
}

// The entry that names `index`: a definition's declaration, an inlined copy's original.
int32_t DwarfScopes::Resolve(int32_t index) const {
    for (int step = 0; step < kLongestChain && scopes_[index].Name.empty(); ++step) {
        const int32_t origin = scopes_[index].Origin ? IndexAt(scopes_[index].Origin) : -1;
        if (origin < 0)
            break;
        index = origin;
    }
    return index;
}

// Unnamed scopes (anonymous namespaces, unnamed classes) add nothing.
std::string DwarfScopes::Qualified(int32_t index, int depth) const {
    if (index < 0 || depth > kLongestChain)
        return {};
    const Scope& s = scopes_[Resolve(index)];
    std::string prefix = Qualified(s.Parent, depth + 1);
    if (s.Name.empty())
        return prefix;
    return prefix.empty() ? std::string(s.Name) : prefix + "::" + std::string(s.Name);
}

DwarfScopes::TProcedureName DwarfScopes::ProcedureName(int32_t index) const {
    const Scope& declaration = scopes_[Resolve(index)];
    const int32_t parent = declaration.Parent;
    if (parent >= 0 && IsClass(scopes_[Resolve(parent)].Tag))
        return {Qualified(parent), std::string(declaration.Name)};
    return {"", Qualified(index)};
}
