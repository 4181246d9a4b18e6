#include "admin_verify.h"
#include <cstdio>

namespace {

const char* Prefix(VRFYKind kind) {
    switch (kind) {
    case vrfyNOTE:
        return "note: ";
    case vrfyNOTUNDERSTOOD:
        return "not understood: ";
    default:
        return "";
    }
}

// Counts what the engine could not interpret: such a table is neither sound nor damaged.
void DBIFN PrintFinding(void* notUnderstood, VRFYKind kind, const char* text) {
    std::printf("%s%s\n", Prefix(kind), text);
    if (kind == vrfyNOTUNDERSTOOD)
        ++*static_cast<unsigned*>(notUnderstood);
}

} // namespace

bool VerifyTables(Session& s, const std::vector<std::string>& tables) {
    if (tables.empty()) {
        std::printf("no tables\n");
        return false;
    }
    bool clean = true;
    for (const auto& table : tables) {
        const std::string prefix = tables.size() > 1 ? table + ": " : "";
        uint32_t problems = 0;
        unsigned notUnderstood = 0;
        DBIResult r =
            Dbi().DbiVerifyTable(s.db, table.c_str(), PrintFinding, &notUnderstood, &problems);
        std::fflush(stdout);
        if (r != DBIERR_NONE) {
            PrintFailure(r);
            std::printf("%snot checked\n", prefix.c_str());
            clean = false;
        } else if (problems > 0) {
            std::printf("%s%u problem%s\n", prefix.c_str(), unsigned(problems),
                        problems == 1 ? "" : "s");
            clean = false;
        } else if (notUnderstood > 0) {
            std::printf("%snot understood\n", prefix.c_str());
            clean = false;
        } else {
            std::printf("%sok\n", prefix.c_str());
        }
    }
    return clean;
}
