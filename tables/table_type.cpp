#include "tables/table_type.h"
#include "runtime/text.h"

namespace {

struct ExtensionDriver {
    const char* extension;
    TTableType type;
};

constexpr ExtensionDriver kExtensions[] = {
    {".DB", TTableType::ttParadox},
    {".DBF", TTableType::ttDBase},
    {".TXT", TTableType::ttASCII},
};

std::string Extension(const std::string& tableName) {
    size_t dot = tableName.rfind('.');
    size_t slash = tableName.find_last_of("\\/:");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot))
        return {};
    return tableName.substr(dot);
}

TTableType TypeFromExtension(const std::string& tableName) {
    std::string extension = Extension(tableName);
    for (const auto& entry : kExtensions)
        if (AnsiSameText(extension, entry.extension))
            return entry.type;
    return TTableType::ttDefault;
}

} // namespace

const char* DriverTypeName(TTableType type, const std::string& tableName) {
    if (type == TTableType::ttDefault)
        type = TypeFromExtension(tableName);
    switch (type) {
    case TTableType::ttParadox:
        return "PARADOX";
    case TTableType::ttDBase:
        return "DBASE";
    case TTableType::ttFoxPro:
        return "FOXPRO";
    case TTableType::ttASCII:
        return "ASCIIDRV";
    default:
        return nullptr;
    }
}
