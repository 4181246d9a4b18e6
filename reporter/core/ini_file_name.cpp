#include "reporter/core/ini_file_name.h"
#include "reporter/core/file_access.h"
#include "reporter/core/path_names.h"
#include "reporter/core/system_folders.h"
#include "reporter/core/variable_expansion.h"

std::string IniFileName(const std::string& name) {
    std::string fileName = ExpandVariables(name);
    std::string folder = ReporterFolder();
    if (FolderOf(fileName).empty())
        fileName = WithTrailingBackslash(folder) + fileName;
    return WritableLocation(fileName, folder);
}
