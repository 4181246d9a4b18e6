// The command line of mkprofiledb.
#pragma once
#include "profile_schema.h"
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern const char* const kProfileUsage;

struct ProfileOptions {
    std::string folder;
    unsigned rows = 0;
    std::string ini;
    std::string alias = "PROFILEDATA";
    std::optional<std::string> user;
    uint64_t seed = 1;
    bool index = true;
    bool replace = false;
    std::vector<const TableDef*> omit, only;
    std::map<const TableDef*, std::vector<Column>> present;
    std::map<const TableDef*, std::string> passwords;
    // Tables made without key: the column of their secondary index, or "" for none.
    std::map<const TableDef*, std::string> unkeyed;
    std::vector<const TableDef*> oldValidity;

    bool Wanted(const TableDef* t) const;
};

// False with a message (empty for a plain request for the usage) when the line is not right.
bool ParseProfileOptions(int argc, char** argv, ProfileOptions& out, std::string& error);
