#include "reporter/diagnostics/lists/modules_list.h"
#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_formats/module_own_data.h"
#include "reporter/diagnostics/debug_formats/module_password.h"
#include "reporter/diagnostics/lists/module_type.h"
#include "reporter/diagnostics/lists/version_info.h"
#include "runtime/module_names.h"
#include <algorithm>

namespace {

FILETIME LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return {};
    return data.ftLastWriteTime;
}

std::unique_ptr<TVessarModuleInfo> DescribeLight(HMODULE module) {
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

// Other tools' debug data is looked for only when the module has no line table of its own.
std::unique_ptr<TVessarModuleInfo> Describe(HMODULE module) {
    std::unique_ptr<TVessarModuleInfo> info = DescribeLight(module);
    info->ModuleType = ModuleTypeOf(module);
    info->Exports = std::make_unique<TVessarFunctionsList>(FunctionsListFor(module));
    LoadOwnDebugData(*info);
    if (info->DebugDataVersion == 0)
        info->DebugSource = DebugSourceFor(module);
    return info;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

} // namespace

TVessarModuleInfo* TVessarModulesList::Cached(HMODULE module) const {
    for (const auto& info : modules_)
        if (info->Handle == module)
            return info.get();
    return nullptr;
}

TVessarModuleInfo* TVessarModulesList::Full(HMODULE module) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    TVessarModuleInfo* info = Cached(module);
    if (!info) {
        modules_.push_back(Describe(module));
        return modules_.back().get();
    }
    if (info->ModuleType == kModuleNotDetermined)
        *info = std::move(*Describe(module));
    return info;
}

const TVessarModuleInfo* TVessarModulesList::ModuleAt(const void* address) {
    HMODULE module = ::ModuleAt(address);
    return module ? ModuleOf(module) : nullptr;
}

const TVessarModuleInfo* TVessarModulesList::ModuleOf(HMODULE module) {
    return Full(module);
}

const TVessarModuleInfo* TVessarModulesList::LightModuleOf(HMODULE module) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (TVessarModuleInfo* info = Cached(module))
        return info;
    modules_.push_back(DescribeLight(module));
    return modules_.back().get();
}

void TVessarModulesList::SetPassword(HMODULE module, const std::string& password) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    SetModulePassword(*Full(module), password);
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
