// The engine's entries, called as bde::DbiOpenTable(...) with the signatures of idapi.h.
// DbiInitFn loads the engine library on first use and binds its entry by name; every other
// entry is bound by ordinal on its first call, and returns 0x274F when it cannot be bound.
// The last DbiExit frees the library.
#pragma once
#include "idapi.h"

namespace bde {

namespace detail {

// The address of the entry with this ordinal, bound on first use; null when it cannot be.
void* EntryAddress(int ordinal);

template <int Ordinal, typename Signature> struct OrdinalEntry;

template <int Ordinal, typename... Args> struct OrdinalEntry<Ordinal, DBIResult DBIFN(Args...)> {
    static DBIResult Call(Args... args) {
        auto* entry = reinterpret_cast<DBIResult(DBIFN*)(Args...)>(EntryAddress(Ordinal));
        return entry ? entry(args...) : DBIResult(DBIERR_CANNOTLOADLIB);
    }
};

#define BDE_ORDINAL_CONSTANT(name, ordinal) ordinal_##name = ordinal,
enum Ordinal : int { IDAPI_ORDINAL_ENTRIES(BDE_ORDINAL_CONSTANT) };
#undef BDE_ORDINAL_CONSTANT

// DbiExit also lets go of the library.
template <> struct OrdinalEntry<ordinal_DbiExit, decltype(::DbiExit)> { static DBIResult Call(); };

} // namespace detail

DBIResult DbiInitFn(uint16_t iVer, DBIEnv* pEnv);

#define BDE_ENTRY(name, ordinal)                                                                   \
    inline constexpr auto name = &detail::OrdinalEntry<ordinal, decltype(::name)>::Call;
IDAPI_ORDINAL_ENTRIES(BDE_ENTRY)
#undef BDE_ENTRY

} // namespace bde
