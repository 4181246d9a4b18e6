// Loading and binding the engine library, against stand-in libraries that lack entries.
#include "tables/bde.h"
#include "tables/engine_error.h"
#include "tables/session.h"
#include "test_folder.h"
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <windows.h>

namespace {

constexpr const char* kEngineKey = "Software\\Corvane\\Database Engine";

// Sets the engine's registry value DLLPATH for its lifetime and puts back what was there.
class RegistryDllPath {
  public:
    explicit RegistryDllPath(const char* value) {
        char old[MAX_PATH] = {};
        DWORD size = sizeof old;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kEngineKey, "DLLPATH", RRF_RT_REG_SZ, nullptr, old,
                         &size) == ERROR_SUCCESS)
            saved_ = old;
        Set(value);
    }
    ~RegistryDllPath() { Set(saved_ ? saved_->c_str() : nullptr); }
    RegistryDllPath(const RegistryDllPath&) = delete;
    RegistryDllPath& operator=(const RegistryDllPath&) = delete;

  private:
    static void Set(const char* value) {
        if (value)
            RegSetKeyValueA(HKEY_LOCAL_MACHINE, kEngineKey, "DLLPATH", REG_SZ, value,
                            DWORD(std::strlen(value) + 1));
        else
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kEngineKey, "DLLPATH");
    }

    std::optional<std::string> saved_;
};

DBIResult StartEngine() {
    DBIEnv env{};
    std::strcpy(env.szLang, "0009");
    return bde::DbiInitFn(DBIINTFVER, &env);
}

bool EngineLoaded() {
    return GetModuleHandleA("IDAPI32.DLL") != nullptr;
}

struct SearchCase {
    const char* name;
    const char* currentDirectory; // null: an empty folder
    const char* dllPath;          // null: no registry value
    DBIResult expected;
};

const SearchCase kSearchCases[] = {
    {"CurrentDirectory", FAKE_WITHOUT_INIT_DIR, nullptr, DBIERR_ENTRYNOTFOUND},
    {"CurrentDirectoryBeforeDllPath", FAKE_WITHOUT_INIT_DIR, FAKE_WITHOUT_ORDINALS_DIR,
     DBIERR_ENTRYNOTFOUND},
    {"DllPath", nullptr, FAKE_WITHOUT_INIT_DIR, DBIERR_ENTRYNOTFOUND},
    {"NowhereToBeFound", nullptr, nullptr, DBIERR_NOSUCHFILE},
};

class EngineSearch : public ::testing::TestWithParam<SearchCase> {};

// A library without DbiInitFn is refused and let go at once.
TEST_P(EngineSearch, FindsTheLibraryInOrder) {
    const SearchCase& c = GetParam();
    TestFolder empty;
    CurrentDirectory current(c.currentDirectory ? c.currentDirectory : empty.Path());
    RegistryDllPath dllPath(c.dllPath);
    DBIResult status = StartEngine();
    if (status == DBIERR_NONE)
        bde::DbiExit();
    EXPECT_EQ(status, c.expected);
    EXPECT_FALSE(EngineLoaded());
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineSearch, ::testing::ValuesIn(kSearchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineBinding, EntriesMissingFromTheLibraryAnswerCannotLoad) {
    CurrentDirectory current(FAKE_WITHOUT_ORDINALS_DIR);
    ASSERT_EQ(StartEngine(), DBIERR_NONE);
    HMODULE library = GetModuleHandleA("IDAPI32.DLL");
    ASSERT_NE(library, nullptr);
    auto* libraryInitCalls = reinterpret_cast<int (*)()>(
        reinterpret_cast<void*>(GetProcAddress(library, "LibraryInitCalls")));
    ASSERT_NE(libraryInitCalls, nullptr);
    EXPECT_EQ(libraryInitCalls(), 0);

    hDBISes session = 0;
    EXPECT_EQ(bde::DbiGetCurrSession(&session), DBIERR_CANNOTLOADLIB);
    hDBICur cursor = 0;
    EXPECT_EQ(bde::DbiOpenTable(1, "T.DB", nullptr, nullptr, nullptr, 0, dbiREADWRITE,
                                dbiOPENSHARED, xltFIELD, 0, nullptr, &cursor),
              DBIERR_CANNOTLOADLIB);
    EXPECT_EQ(libraryInitCalls(), 1);

    EXPECT_EQ(bde::DbiExit(), DBIERR_CANNOTLOADLIB);
    EXPECT_FALSE(EngineLoaded());
}

TEST(EngineBinding, SessionThatCannotStartSaysSo) {
    TestFolder empty;
    CurrentDirectory current(empty.Path());
    try {
        Session->Open();
        FAIL() << "the session started without an engine";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.Message(), "An error occurred while attempting to initialize the Corvane "
                               "Database Engine (error $2108)");
        ASSERT_EQ(e.ErrorCount(), 1);
        EXPECT_EQ(e.Errors(0).ErrorCode, DBIERR_NOSUCHFILE);
    }
    EXPECT_FALSE(Session->Active());
}

} // namespace
