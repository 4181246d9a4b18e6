// A library loaded at the address of one unloaded before: the second one is described, listed
// and looked up as itself, and what still holds the first one's description can read it.
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/lists/loaded_modules.h"
#include "reporter/diagnostics/lists/modules_list.h"
#include "runtime/module_names.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::string BesideThisProgram(const char* name) {
    const std::string path = ModulePath(nullptr);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The lookup of the library's procedure, and the module listing's name for the library's handle.
struct TSeen {
    std::string Procedure;
    std::string ModuleFile;
    std::string Listed;
};

TSeen Look(HMODULE library, const char* procedure) {
    TSeen seen;
    TVessarDebugInfo info;
    EXPECT_TRUE(
        LocateAddress(reinterpret_cast<const void*>(GetProcAddress(library, procedure)), info));
    seen.Procedure = info.Procedure;
    seen.ModuleFile = info.Module ? info.Module->FileName : "";
    TLoadedModules modules;
    RefreshModules(modules);
    for (const TModuleRef& module : modules)
        if (module->Handle == library)
            seen.Listed = module->FileName;
    return seen;
}

TEST(SameBase, LibraryLoadedWhereAnotherWasIsDescribedAsItself) {
    HMODULE first = LoadLibraryA(BesideThisProgram("same_base_first.dll").c_str());
    ASSERT_NE(first, nullptr);
    const TSeen before = Look(first, "FirstProcedure");
    EXPECT_EQ(before.Procedure, "FirstProcedure");
    EXPECT_TRUE(EndsWith(before.ModuleFile, "same_base_first.dll")) << before.ModuleFile;
    EXPECT_TRUE(EndsWith(before.Listed, "same_base_first.dll")) << before.Listed;
    const TModuleRef held = ModulesList().ModuleOf(first);
    FreeLibrary(first);

    HMODULE second = LoadLibraryA(BesideThisProgram("same_base_second.dll").c_str());
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second, first) << "the second library did not load at the first one's address";
    ModulesList().DropStale();
    const TSeen after = Look(second, "SecondProcedure");
    EXPECT_EQ(after.Procedure, "SecondProcedure");
    EXPECT_TRUE(EndsWith(after.ModuleFile, "same_base_second.dll")) << after.ModuleFile;
    EXPECT_TRUE(EndsWith(after.Listed, "same_base_second.dll")) << after.Listed;
    EXPECT_TRUE(EndsWith(held->FileName, "same_base_first.dll")) << held->FileName;
    FreeLibrary(second);
}

} // namespace
