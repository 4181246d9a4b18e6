// The debugging entries that C++ names are made of: namespaces, classes (structures, unions)
// and procedures, each with its name, the scope around it and the entry it completes (the
// declaration of a definition, the original of an inlined copy).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Tags from the DWARF 5 standard (section 7.5.3).
enum : uint32_t {
    kTagClass = 0x02,
    kTagStructure = 0x13,
    kTagUnion = 0x17,
    kTagCompileUnit = 0x11,
    kTagInlinedSubroutine = 0x1d,
    kTagSubprogram = 0x2e,
    kTagNamespace = 0x39,
};

class DwarfScopes {
  public:
    static bool IsClass(uint32_t tag) {
        return tag == kTagClass || tag == kTagStructure || tag == kTagUnion;
    }
    static bool IsScope(uint32_t tag) {
        return IsClass(tag) || tag == kTagNamespace || tag == kTagSubprogram;
    }

    // The entry at `offset` of .debug_info; entries come in the order of their offsets.
    // `parent` is the index of the enclosing one, -1 for none; returns the entry's index.
    int32_t Add(size_t offset, int32_t parent, uint32_t tag, std::string_view name,
                uint64_t origin);

    struct TProcedureName {
        std::string ClassName; // the qualified class of a member function
        std::string Name;      // a member's own name, else qualified by its namespaces
    };
    // The name of the procedure whose entry is `index`; empty when it has none.
    TProcedureName ProcedureName(int32_t index) const;

  private:
    struct Scope {
        size_t Offset = 0;
        int32_t Parent = -1;
        uint32_t Tag = 0;
        std::string_view Name;
        uint64_t Origin = 0; // 0: none
    };

    int32_t IndexAt(uint64_t offset) const;
    int32_t Resolve(int32_t index) const;
    std::string Qualified(int32_t index, int depth = 0) const;

    std::vector<Scope> scopes_; // in the order of their offsets
};
