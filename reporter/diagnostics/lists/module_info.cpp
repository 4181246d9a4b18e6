#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_info.h"

// Out of line: the exports list is complete only here.
TVessarModuleInfo::TVessarModuleInfo() = default;
TVessarModuleInfo::~TVessarModuleInfo() = default;
TVessarModuleInfo::TVessarModuleInfo(TVessarModuleInfo&&) noexcept = default;
TVessarModuleInfo& TVessarModuleInfo::operator=(TVessarModuleInfo&&) noexcept = default;
