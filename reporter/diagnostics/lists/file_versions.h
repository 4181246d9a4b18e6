// The version resources of files that are asked for again and again (the executables of the
// running processes): a file's resource is read again only when its size or last-write time
// changed.
#pragma once
#include "reporter/diagnostics/lists/version_info.h"
#include <cstdint>
#include <map>
#include <string>

class TFileVersions {
  public:
    // As ReadFileVersionInfo gives it now for the file `name` stands for: a path, or a bare
    // name looked for on the search path.
    TFileVersionInfo Of(const std::string& name);
    // Forgets the files not asked for since the last call: those of ended processes.
    void DropUnused();

  private:
    struct TStamp {
        uint64_t Written = 0;
        uint64_t Size = 0;
        bool operator==(const TStamp&) const = default;
    };
    struct TEntry {
        TStamp Stamp;
        TFileVersionInfo Info;
        bool Used = true;
    };
    std::map<std::string, TEntry> entries_;
};
