// Names in a module's own line table: a length byte and the bytes, which the module's password
// deciphers. Tables before version 500 mask them with a fixed byte instead. Names that the
// password does not open are shown as "?" and the Base64 text of their bytes.
#pragma once
#include "reporter/base/byte_view.h"
#include "reporter/diagnostics/debug_info.h"
#include <string>

class TLineTableNames {
  public:
    explicit TLineTableNames(const TVessarModuleInfo& module);

    // The name at `at`, all its parts joined by "."; `at` moves past it.
    std::string Read(const TByteView& table, size_t& at) const;
    // A unit's name: with the source-file extension when it has none; an enciphered one is
    // marked "?p".
    std::string ReadUnit(const TByteView& table, size_t& at) const;

  private:
    bool Opens() const;
    std::string Unscrambled(std::string_view stored) const;

    int version_;
    bool passwordFits_;
    TBlockCipher cipher_;
};

// Where the name at `at` of a table of `version` ends; no password is needed for it.
size_t SkipLineTableName(const TByteView& table, size_t at, int version);
