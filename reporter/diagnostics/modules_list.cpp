#include "reporter/diagnostics/modules_list.h"
#include "reporter/diagnostics/version_info.h"
#include "runtime/module_names.h"
#include <algorithm>

namespace {

FILETIME LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return {};
    return data.ftLastWriteTime;
}

std::unique_ptr<TVessarModuleInfo> Describe(HMODULE module) {
    auto info = std::make_unique<TVessarModuleInfo>();
    info->Handle = module;
    info->FileName = ModulePath(module);
    info->LastModified = LastWriteTime(info->FileName);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(info->FileName.c_str(), GetFileExInfoStandard, &data))
        info->Size = data.nFileSizeLow;
    const TFileVersionInfo version = ReadFileVersionInfo(info->FileName);
    info->Description = version.Description;
    info->Version = version.Version;
    return info;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

} // namespace

const TVessarModuleInfo* TVessarModulesList::ModuleAt(const void* address) {
    HMODULE module = ::ModuleAt(address);
    return module ? ModuleOf(module) : nullptr;
}

const TVessarModuleInfo* TVessarModulesList::ModuleOf(HMODULE module) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    for (const auto& info : modules_)
        if (info->Handle == module)
            return info.get();
    modules_.push_back(Describe(module));
    return modules_.back().get();
}

void TVessarModulesList::DropChanged() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    std::erase_if(modules_, [](const std::unique_ptr<TVessarModuleInfo>& info) {
        return !SameTime(info->LastModified, LastWriteTime(info->FileName));
    });
}

size_t TVessarModulesList::Count() const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return modules_.size();
}

TVessarModulesList& ModulesList() {
    static TVessarModulesList list;
    return list;
}
