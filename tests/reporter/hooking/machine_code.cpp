#include "machine_code.h"
#include <cstring>
#include <stdexcept>
#include <windows.h>

TMachineCode::TMachineCode(const std::vector<std::uint8_t>& bytes)
    : code_(static_cast<std::uint8_t*>(
          VirtualAlloc(nullptr, bytes.size(), MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE))),
      size_(bytes.size()) {
    if (!code_)
        throw std::runtime_error("no executable memory");
    std::memcpy(code_, bytes.data(), size_);
}

TMachineCode::~TMachineCode() {
    VirtualFree(code_, 0, MEM_RELEASE);
}

void TMachineCode::SetRelative32(std::size_t fieldOffset, const void* target) {
    const auto end = reinterpret_cast<std::uintptr_t>(code_ + fieldOffset + 4);
    const auto displacement =
        static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(target) - end);
    std::memcpy(code_ + fieldOffset, &displacement, sizeof displacement);
}
