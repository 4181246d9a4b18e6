#include "admin_verify.h"
#include <cstdio>

namespace {

void DBIFN PrintFinding(void*, VRFYKind kind, const char* text) {
    std::printf("%s%s\n", kind == vrfyNOTE ? "note: " : "", text);
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
        DBIResult r = Dbi().DbiVerifyTable(s.db, table.c_str(), PrintFinding, nullptr, &problems);
        std::fflush(stdout);
        if (r != DBIERR_NONE) {
            PrintFailure(r);
            std::printf("%snot checked\n", prefix.c_str());
            clean = false;
        } else if (problems == 0) {
            std::printf("%sok\n", prefix.c_str());
        } else {
            std::printf("%s%u problem%s\n", prefix.c_str(), unsigned(problems),
                        problems == 1 ? "" : "s");
            clean = false;
        }
    }
    return clean;
}
