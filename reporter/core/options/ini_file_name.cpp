#include "reporter/core/options/ini_file_name.h"
#include "reporter/base/file_access.h"
#include "reporter/base/path_names.h"
#include "reporter/core/options/system_folders.h"
#include "reporter/core/options/variable_expansion.h"

std::string IniFileName(const std::string& name) {
    std::string fileName = ExpandVariables(name);
    std::string folder = ReporterFolder();
    if (FolderOf(fileName).empty())
        fileName = WithTrailingBackslash(folder) + fileName;
    return WritableLocation(fileName, folder);
}
