// A read-only stream laid over a loaded module's memory. Every read first checks that the bytes
// are committed and readable, so damaged headers or unloaded pages give false, never a fault.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

class THModuleStream {
  public:
    explicit THModuleStream(HMODULE module, uint32_t size = 0x7FFFFFFF);

    uint32_t Size() const { return size_; }
    uint32_t Position() const { return position_; }
    void Seek(uint32_t position) { position_ = position; }

    // Copies `count` bytes from the position and moves past them; false (position unchanged)
    // when they lie beyond the size or cannot be read.
    bool Read(void* buffer, uint32_t count);
    template <class T> bool ReadValue(T& value) { return Read(&value, sizeof value); }
    // `count` values of T; false when they do not fit in the stream or cannot be read.
    template <class T> bool ReadArray(uint32_t count, std::vector<T>& values) {
        if (count > (size_ - std::min(position_, size_)) / sizeof(T))
            return false;
        values.resize(count);
        return Read(values.data(), uint32_t(count * sizeof(T)));
    }
    // The zero-terminated text at the position, at most `limit` characters; false when it is
    // unreadable or longer.
    bool ReadText(std::string& text, uint32_t limit);

  private:
    bool Readable(uint32_t position, uint32_t count) const;

    const uint8_t* base_;
    uint32_t size_;
    uint32_t position_ = 0;
};
