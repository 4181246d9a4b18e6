#include "reporter/diagnostics/debug_formats/line_table_procedure.h"
#include "reporter/base/readable_memory.h"
#include "reporter/diagnostics/debug_formats/procedure_text.h"
#include <algorithm>
#include <cstring>

namespace {

bool BeginsWithFrameOrSavedEbx(uintptr_t code) {
    static const uint8_t kFrame[] = {0x55, 0x8B, 0xEC};
    constexpr uint8_t kPushEbx = 0x53;
    const auto* bytes = reinterpret_cast<const uint8_t*>(code);
    if (!IsReadableMemory(bytes, sizeof kFrame))
        return false;
    return std::memcmp(bytes, kFrame, sizeof kFrame) == 0 || bytes[0] == kPushEbx;
}

} // namespace

void TLineTableProcedure::Open(const std::string& name, uint32_t line, uint32_t offset) {
    const size_t dot = name.find('.');
    if (dot == std::string::npos)
        className_.clear();
    else if (dot > 0)
        className_ = name.substr(0, dot);
    name_ = ShownProcedureName(dot == std::string::npos ? name : name.substr(dot + 1));
    startLine_ = line;
    startOffset_ = offset;
    open_ = true;
}

int32_t TLineTableProcedure::LinesTo(uint32_t line, uintptr_t codeStart) const {
    if (!open_)
        return 0;
    int64_t start = startLine_;
    const bool lowered =
        name_ == "Finalization" ||
        (name_ != "Initialization" && !BeginsWithFrameOrSavedEbx(codeStart + startOffset_));
    if (lowered)
        --start;
    return int32_t(std::max<int64_t>(0, int64_t(line) - start));
}
