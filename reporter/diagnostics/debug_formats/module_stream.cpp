#include "reporter/diagnostics/debug_formats/module_stream.h"
#include "reporter/base/readable_memory.h"
#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kPageSize = 0x1000;

} // namespace

THModuleStream::THModuleStream(HMODULE module, uint32_t size)
    : base_(reinterpret_cast<const uint8_t*>(module)),
      // The stream must not wrap around the end of the address space.
      size_(std::min<uintptr_t>(size, UINTPTR_MAX - reinterpret_cast<uintptr_t>(module))) {}

bool THModuleStream::Read(void* buffer, uint32_t count) {
    if (!Readable(position_, count))
        return false;
    std::memcpy(buffer, base_ + position_, count);
    position_ += count;
    return true;
}

bool THModuleStream::ReadText(std::string& text, uint32_t limit) {
    text.clear();
    uint32_t at = position_;
    // Checked a page at a time: one system query per page rather than per character.
    while (text.size() <= limit) {
        const uint32_t chunk = kPageSize - (reinterpret_cast<uintptr_t>(base_ + at) % kPageSize);
        const uint32_t count = std::min(chunk, size_ - std::min(at, size_));
        if (count == 0 || !Readable(at, count))
            return false;
        const auto start = reinterpret_cast<const char*>(base_ + at);
        const size_t length = strnlen(start, count);
        text.append(start, length);
        if (length < count) {
            position_ = at + uint32_t(length) + 1;
            return text.size() <= limit;
        }
        at += count;
    }
    return false;
}

bool THModuleStream::Readable(uint32_t position, uint32_t count) const {
    return position <= size_ && count <= size_ - position &&
           IsReadableMemory(base_ + position, count);
}
