#include "reporter/diagnostics/lists/modules_list.h"
#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_formats/module_own_data.h"
#include "reporter/diagnostics/debug_formats/module_password.h"
#include "reporter/diagnostics/lists/module_identity.h"
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

std::shared_ptr<TVessarModuleInfo> DescribeLight(HMODULE module, TModuleIdentity identity) {
    auto info = std::make_shared<TVessarModuleInfo>();
    info->Handle = module;
    info->FileName = std::move(identity.Path);
    info->ImageTimeStamp = identity.ImageTimeStamp;
    info->ImageSize = identity.ImageSize;
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
std::shared_ptr<TVessarModuleInfo> Describe(HMODULE module, TModuleIdentity identity) {
    std::shared_ptr<TVessarModuleInfo> info = DescribeLight(module, std::move(identity));
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

bool Stale(const TVessarModuleInfo& info) {
    return !Describes(info, LoadedModuleIdentity(info.Handle)) ||
           !SameTime(info.LastModified, LastWriteTime(info.FileName));
}

} // namespace

TVessarModulesList::TRecord* TVessarModulesList::Cached(HMODULE module) {
    auto found = std::find_if(modules_.begin(), modules_.end(),
                              [&](const TRecord& info) { return info->Handle == module; });
    if (found == modules_.end())
        return nullptr;
    if (Describes(**found, LoadedModuleIdentity(module)))
        return &*found;
    modules_.erase(found);
    return nullptr;
}

TVessarModulesList::TRecord& TVessarModulesList::Full(HMODULE module) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    TRecord* info = Cached(module);
    if (!info) {
        modules_.push_back(Describe(module, LoadedModuleIdentity(module)));
        return modules_.back();
    }
    if ((*info)->ModuleType == kModuleNotDetermined)
        *info = Describe(module, LoadedModuleIdentity(module));
    return *info;
}

TModuleRef TVessarModulesList::ModuleAt(const void* address) {
    HMODULE module = ::ModuleAt(address);
    return module ? ModuleOf(module) : nullptr;
}

TModuleRef TVessarModulesList::ModuleOf(HMODULE module) {
    return Full(module);
}

TModuleRef TVessarModulesList::LightModuleOf(HMODULE module) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (TRecord* info = Cached(module))
        return *info;
    modules_.push_back(DescribeLight(module, LoadedModuleIdentity(module)));
    return modules_.back();
}

void TVessarModulesList::SetPassword(HMODULE module, const std::string& password) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    SetModulePassword(*Full(module), password);
}

void TVessarModulesList::DropStale() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    std::erase_if(modules_, [](const TRecord& info) { return Stale(*info); });
}

size_t TVessarModulesList::Count() const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return modules_.size();
}

TVessarModulesList& ModulesList() {
    static TVessarModulesList list;
    return list;
}
