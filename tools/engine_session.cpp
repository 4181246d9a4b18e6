#include "engine_session.h"
#include <cstdio>
#include <cstring>

EngineLibrary& Dbi() {
    static EngineLibrary library;
    return library;
}

namespace {

std::vector<std::string> ErrorContexts() {
    std::vector<std::string> contexts;
    for (uint16_t i = 1;; ++i) {
        uint32_t native = 0;
        char context[DBIMAXMSGLEN + 1];
        if (Dbi().DbiGetErrorEntry(i, &native, context) == DBIERR_NONE)
            return contexts;
        contexts.emplace_back(context);
    }
}

} // namespace

void Check(DBIResult r) {
    if (r != DBIERR_NONE)
        throw Failed{r, ErrorContexts()};
}

void PrintFailure(const Failed& failure) {
    char text[DBIMAXMSGLEN + 1];
    Dbi().DbiGetErrorString(failure.code, text);
    std::fprintf(stderr, "error 0x%04X: %s\n", unsigned(failure.code), text);
    for (const auto& context : failure.contexts)
        std::fprintf(stderr, "  %s\n", context.c_str());
}

void PrintFailure(DBIResult code) {
    PrintFailure(Failed{code, ErrorContexts()});
}

Session::Session(const char* database, const char* password, const char* iniFile) {
    DBIEnv env{};
    std::strcpy(env.szLang, "0009");
    if (iniFile)
        std::strncpy(env.szIniFile, iniFile, DBIMAXPATHLEN);
    DBIResult r = Dbi().DbiInitFn(DBIINTFVER, &env);
    if (r != DBIERR_MULTIPLEINIT)
        Check(r);
    if (password)
        Check(Dbi().DbiAddPassword(password));
    Check(Dbi().DbiOpenDatabase(database, nullptr, dbiREADWRITE, dbiOPENSHARED, nullptr, 0, nullptr,
                                nullptr, &db));
}

Session::~Session() {
    Dbi().DbiCloseDatabase(&db);
    Dbi().DbiExit();
}

hDBICur Session::Open(const char* table, bool exclusive) {
    hDBICur cur = 0;
    DBIOpenMode mode = dbiREADWRITE;
    for (;;) {
        DBIResult r =
            Dbi().DbiOpenTable(db, table, "PARADOX", nullptr, nullptr, 0, mode,
                               exclusive ? dbiOPENEXCL : dbiOPENSHARED, xltFIELD, 0, nullptr, &cur);
        if (r == DBIERR_NOTSUFFTABLERIGHTS && mode == dbiREADWRITE && !exclusive) {
            mode = dbiREADONLY; // a read-only table file can still be read
            continue;
        }
        Check(r);
        return cur;
    }
}

std::vector<FLDDesc> Fields(hDBICur cur, CURProps& props) {
    Check(Dbi().DbiGetCursorProps(cur, &props));
    std::vector<FLDDesc> fields(props.iFields);
    Check(Dbi().DbiGetFieldDescs(cur, fields.data()));
    return fields;
}
