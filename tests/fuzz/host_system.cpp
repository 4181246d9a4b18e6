// The project's few functions that ask the system, as the host build of the parsers has them.
// Parsing reaches them only with module-less options (no handle, no file), so these answer as
// the system would for "no module", or refuse.
#include "reporter/base/binary_file.h"
#include "reporter/base/readable_memory.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/variable_expansion.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include "runtime/exception.h"
#include "runtime/module_names.h"
#include "runtime/text.h"
#include <algorithm>
#include <cctype>

HMODULE LoadedModule(const std::string&) {
    return nullptr;
}

HMODULE ReporterModuleHandle() {
    return nullptr;
}

std::string ExpandVariables(const std::string& text) {
    return text;
}

bool AnsiSameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// No module is loaded here: none carries data, none has code to read.
bool ReadModuleDebugData(HMODULE, TKFModuleData&) {
    return false;
}

bool IsReadableMemory(const void*, std::size_t) {
    return false;
}

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
    throw Exception("The parsers' host build reads no file: " + fileName);
}

void WriteNewFile(const std::string& fileName, const std::vector<uint8_t>&) {
    throw Exception("The parsers' host build writes no file: " + fileName);
}
