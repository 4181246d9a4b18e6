#include "reporter/dialogs/source_jump.h"
#include "reporter/base/development_environment.h"
#include "reporter/diagnostics/lists/processes_list.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>

namespace {

constexpr size_t kLineCell = 5;

void PutText(uint8_t* field, const std::string& text) {
    const size_t length = std::min(text.size(), kSourceJumpFieldSize - 1);
    std::memcpy(field, text.data(), length);
    field[length] = 0;
}

void PutInt(uint8_t* at, int32_t value) {
    std::memcpy(at, &value, sizeof value);
}

const std::string& Cell(const TListRow& row, size_t index) {
    static const std::string none;
    return index < row.Cells.size() ? row.Cells[index] : none;
}

bool IsDevelopmentEnvironment(DWORD process) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle)
        return false;
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    const bool named = QueryFullProcessImageNameA(handle, 0, path, &size);
    CloseHandle(handle);
    return named && IsDevelopmentEnvironmentFile(path);
}

} // namespace

bool HasSourceLine(const TListRow& row) {
    return !row.Header && !row.Spacer && !Cell(row, kLineCell).empty();
}

std::array<uint8_t, kSourceJumpRecordSize> SourceJumpRecord(const TListRow& row) {
    std::array<uint8_t, kSourceJumpRecordSize> record{};
    for (size_t field = 1; field < 4; ++field)
        PutText(record.data() + field * kSourceJumpFieldSize, Cell(row, field + 1));
    // The line cell reads "123[4]": the line and, in brackets, the offset.
    const std::string& line = Cell(row, kLineCell);
    const size_t bracket = line.find('[');
    const int32_t offset = bracket == std::string::npos
                               ? -1
                               : int32_t(std::strtol(line.c_str() + bracket + 1, nullptr, 10));
    uint8_t* numbers = record.data() + 4 * kSourceJumpFieldSize;
    PutInt(numbers, int32_t(std::strtol(line.c_str(), nullptr, 10)));
    PutInt(numbers + 4, offset);
    std::memcpy(numbers + 8, &row.ModuleTimeStamp, sizeof row.ModuleTimeStamp);
    return record;
}

void SendSourceJump(const TListRow& row) {
    const auto record = SourceJumpRecord(row);
    DWORD target = ParentProcessId();
    if (target && IsDevelopmentEnvironment(target))
        AllowSetForegroundWindow(target);
    else
        target = 0;
    const std::string path = "\\\\.\\mailslot\\Vessarion" + std::to_string(target);
    HANDLE slot = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (slot == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(slot, record.data(), DWORD(record.size()), &written, nullptr);
    CloseHandle(slot);
}
