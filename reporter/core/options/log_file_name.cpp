// Where the log file of a module goes.
#include "reporter/base/file_access.h"
#include "reporter/base/path_names.h"
#include "reporter/core/options/computer_name.h"
#include "reporter/core/options/module_options.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/system_folders.h"
#include "reporter/core/options/variable_expansion.h"
#include "runtime/text.h"
#include <windows.h>

namespace {

std::string WithComputerName(const std::string& fileName, const std::string& computerName) {
    return WithExtension(fileName, "") + "_" + ComputerNameForFileName(computerName) +
           ExtensionOf(fileName);
}

// LogPath names the log file itself when it ends in ".elf", else the folder of `name`; empty
// keeps `name` where it is.
std::string PlacedByLogPath(const std::string& logPath, const std::string& name) {
    if (AnsiSameText(ExtensionOf(logPath), ".elf"))
        return logPath;
    std::string folder = logPath.empty() ? FolderOf(name) : logPath;
    return WithTrailingBackslash(folder) + FileNameOf(name);
}

} // namespace

std::string TVessarModuleOptions::LogFileName(const std::string& moduleFileName) const {
    return LogFileName(moduleFileName, SystemComputerName());
}

std::string TVessarModuleOptions::LogFileName(const std::string& moduleFileName,
                                              const std::string& computerName) const {
    // Under the Visual Studio hosting process the module is "app.vshost.exe"; its log is
    // the application's.
    std::string module =
        moduleFileName.empty() ? WithoutEvery(ModuleName(), ".vshost") : moduleFileName;
    std::string fileName = LogFolderFileName(WithExtension(module, ".elf"));
    if ((Stored().LogFlags & LogFlag::ComputerNameInFileName) != 0)
        fileName = WithComputerName(fileName, computerName);
    return fileName;
}

std::string TVessarModuleOptions::LogFolderFileName(const std::string& name) const {
    std::string fileName = ExpandVariables(PlacedByLogPath(Stored().LogPath, name));
    ForceFolders(FolderOf(fileName));
    return WritableLocation(fileName, ExecutableFilesFolder());
}
