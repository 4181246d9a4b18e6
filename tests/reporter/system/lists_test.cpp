// The modules of this process and the processes of the machine, by every enumeration the
// system offers (Wine has them all), and with the system's cross-process paths unavailable.
#include "../support/unavailable_system_paths.h"
#include "reporter/diagnostics/lists/file_versions.h"
#include "reporter/diagnostics/lists/list_rows.h"
#include "reporter/diagnostics/lists/list_text.h"
#include "runtime/module_names.h"
#include "runtime/text.h"
#include "test_folder.h"
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <psapi.h>
#include <regex>
#include <tuple>

namespace {

bool Listed(const TLoadedModules& modules, HMODULE handle) {
    return std::any_of(modules.begin(), modules.end(),
                       [&](const TModuleRef& m) { return m->Handle == handle; });
}

bool SortedByHandle(const TLoadedModules& modules) {
    return std::is_sorted(modules.begin(), modules.end(), [](const auto& a, const auto& b) {
        return uintptr_t(a->Handle) < uintptr_t(b->Handle);
    });
}

// A source, and whether the system's cross-process paths fail meanwhile.
template <class Source>
class WithSystemPaths : public testing::TestWithParam<std::tuple<Source, bool>> {
  protected:
    void SetUp() override {
        if (std::get<1>(this->GetParam()))
            unavailable_.emplace();
    }
    void TearDown() override { unavailable_.reset(); }
    Source Chosen() const { return std::get<0>(this->GetParam()); }

  private:
    std::optional<TUnavailableSystemPaths> unavailable_;
};

class LoadedModulesBy : public WithSystemPaths<TModuleSource> {};

TEST_P(LoadedModulesBy, ListsTheProgramAndKernel32SortedByHandle) {
    TLoadedModules modules;
    RefreshModules(modules, Chosen());
    HMODULE program = GetModuleHandleA(nullptr);
    EXPECT_TRUE(Listed(modules, program));
    EXPECT_TRUE(Listed(modules, GetModuleHandleA("kernel32.dll")));
    EXPECT_TRUE(SortedByHandle(modules));

    const TListRows rows = ModuleRows(modules);
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const auto& r) { return r[1] == ModuleFileName(program); });
    ASSERT_NE(row, rows.end());
    EXPECT_TRUE(std::regex_match((*row)[0], std::regex("[0-9A-F]{8}"))) << (*row)[0];
    EXPECT_EQ((*row)[6], FolderText(ModulePath(program)));
    EXPECT_NE((*row)[4], "0");
    EXPECT_TRUE(
        std::regex_match((*row)[5], std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")))
        << (*row)[5];
}

TEST_P(LoadedModulesBy, ALibraryUnloadedBeforeTheListingIsNotListed) {
    ASSERT_EQ(GetModuleHandleA("lz32.dll"), nullptr) << "the test needs a library not in use";
    HMODULE library = LoadLibraryA("lz32.dll");
    ASSERT_NE(library, nullptr);
    TLoadedModules modules;
    RefreshModules(modules, Chosen());
    EXPECT_TRUE(Listed(modules, library));
    const size_t count = modules.size();

    FreeLibrary(library);
    RefreshModules(modules, Chosen());
    EXPECT_FALSE(Listed(modules, library));
    EXPECT_EQ(modules.size(), count - 1);
}

INSTANTIATE_TEST_SUITE_P(Sources, LoadedModulesBy,
                         testing::Combine(testing::Values(TModuleSource::ProcessStatus,
                                                          TModuleSource::Snapshot),
                                          testing::Bool()));

std::vector<HMODULE> SortedHandles(const TLoadedModules& modules) {
    std::vector<HMODULE> handles;
    for (const TModuleRef& module : modules)
        handles.push_back(module->Handle);
    return handles;
}

// The loader's module list, as the system enumerates this process's modules in process.
std::vector<HMODULE> EnumeratedInProcess() {
    std::vector<HMODULE> handles(1024);
    DWORD needed = 0;
    EnumProcessModules(GetCurrentProcess(), handles.data(), DWORD(handles.size() * sizeof(HMODULE)),
                       &needed);
    handles.resize(needed / sizeof(HMODULE));
    std::sort(handles.begin(), handles.end(), std::less<HMODULE>());
    return handles;
}

TEST(LoadedModules, TheLoadersListStandsInForTheSystemsEnumeration) {
    LoadLibraryA("psapi.dll"); // made unavailable below, it stays loaded
    for (TModuleSource source : {TModuleSource::ProcessStatus, TModuleSource::Snapshot}) {
        TLoadedModules warmUp; // loads what the listing binds on first use before the comparison
        RefreshModules(warmUp, source);
    }
    const std::vector<HMODULE> expected = EnumeratedInProcess();
    ASSERT_GT(expected.size(), 2u);
    const TUnavailableSystemPaths unavailable;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    HMODULE first = nullptr;
    DWORD needed = 0;
    EXPECT_FALSE(EnumProcessModules(process, &first, sizeof first, &needed)) << "not in force";
    CloseHandle(process);
    for (TModuleSource source : {TModuleSource::ProcessStatus, TModuleSource::Snapshot}) {
        TLoadedModules modules;
        RefreshModules(modules, source);
        EXPECT_EQ(SortedHandles(modules), expected);
    }
}

// Threads that wait until the object goes.
class WaitingThreads {
  public:
    explicit WaitingThreads(int count) : go_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        for (int i = 0; i < count; ++i)
            threads_.push_back(CreateThread(nullptr, 0, Wait, go_, 0, nullptr));
    }
    ~WaitingThreads() {
        SetEvent(go_);
        WaitForMultipleObjects(DWORD(threads_.size()), threads_.data(), TRUE, INFINITE);
        for (HANDLE thread : threads_)
            CloseHandle(thread);
        CloseHandle(go_);
    }

  private:
    static DWORD WINAPI Wait(void* go) {
        WaitForSingleObject(go, INFINITE);
        return 0;
    }
    HANDLE go_;
    std::vector<HANDLE> threads_;
};

const TVessarProcessInfo* ThisProcess(const TVessarProcessesList& list) {
    const int index = ProcessIndexOf(list, GetCurrentProcessId());
    return index < 0 ? nullptr : &list[index];
}

class ProcessesBy : public WithSystemPaths<TProcessSource> {};

TEST_P(ProcessesBy, ListThisProcessWithItsPathAndThreads) {
    TVessarProcessesList list;
    RefreshProcesses(list, Chosen());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return a.ProcessId < b.ProcessId;
    }));
    const TVessarProcessInfo* self = ThisProcess(list);
    ASSERT_NE(self, nullptr);
    EXPECT_TRUE(AnsiSameText(self->FileName, ModulePath(nullptr))) << self->FileName;
    // Wine's snapshot gives the priority class's number (2) as the base priority.
    const bool priorityKnown = Chosen() != TProcessSource::SnapshotOnly;
    if (priorityKnown) {
        EXPECT_EQ(self->PriorityClass, DWORD(NORMAL_PRIORITY_CLASS));
    }
    const DWORD threads = self->Threads;
    EXPECT_GE(threads, 1u);

    WaitingThreads more(2);
    RefreshProcesses(list, Chosen());
    self = ThisProcess(list);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->Threads, threads + 2);
    const std::vector<std::string> row = ProcessRows({*self})[0];
    EXPECT_EQ(row[6], std::to_string(threads + 2));
    if (priorityKnown) {
        EXPECT_EQ(row[5], "Normal");
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, ProcessesBy,
                         testing::Combine(testing::Values(TProcessSource::ProcessIds,
                                                          TProcessSource::OpenedSnapshot,
                                                          TProcessSource::SnapshotOnly),
                                          testing::Bool()));

std::string SystemFile(const char* name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

// A file replaced since it was read is read again; a bare name is the file the search path
// finds.
TEST(FileVersions, GiveWhatTheFileHoldsNow) {
    const std::string first = SystemFile("kernel32.dll");
    const std::string second = SystemFile("comctl32.dll");
    ASSERT_NE(ReadFileVersionInfo(first).Description, ReadFileVersionInfo(second).Description);
    TestFolder folder;
    const std::string copy = folder.File("program.exe");
    TFileVersions versions;
    for (const std::string& source : {first, second, first}) {
        ASSERT_TRUE(CopyFileA(source.c_str(), copy.c_str(), FALSE));
        EXPECT_EQ(versions.Of(copy).Description, ReadFileVersionInfo(source).Description);
        versions.DropUnused();
    }
    EXPECT_EQ(versions.Of("kernel32.dll").Version, ReadFileVersionInfo(first).Version);
    EXPECT_EQ(versions.Of("no such program.exe").Version, "");
}

TEST(ProcessesList, IndexOfFindsEveryListedIdAndNoOther) {
    TVessarProcessesList list(3);
    list[0].ProcessId = 4;
    list[1].ProcessId = 8;
    list[2].ProcessId = 1200;
    EXPECT_EQ(ProcessIndexOf(list, 4), 0);
    EXPECT_EQ(ProcessIndexOf(list, 1200), 2);
    EXPECT_EQ(ProcessIndexOf(list, 5), -1);
    EXPECT_EQ(ProcessIndexOf(list, 2000), -1);
    EXPECT_EQ(ProcessIndexOf({}, 4), -1);
}

// The test starts this program again with the variable below set to its own id; the child
// runs only this test and checks that it finds that id as its parent.
TEST(ProcessesList, ParentIsTheProcessThatStartedThisOne) {
    const char* const variable = "SYSTEM_TESTS_PARENT_ID";
    if (const char* parent = std::getenv(variable)) {
        EXPECT_EQ(ParentProcessId(), std::strtoul(parent, nullptr, 10));
        return;
    }
    SetEnvironmentVariableA(variable, std::to_string(GetCurrentProcessId()).c_str());
    std::string commandLine =
        "\"" + ModulePath(nullptr) +
        "\" --gtest_filter=ProcessesList.ParentIsTheProcessThatStartedThisOne";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableA(variable, nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 120000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

} // namespace
