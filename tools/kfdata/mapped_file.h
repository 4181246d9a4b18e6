// A file mapped read-only into memory: its pages are read when first touched, so that a large
// image costs only the parts that are looked at.
#pragma once
#include <cstdint>
#include <span>
#include <string>

class MappedFile {
  public:
    // Raises std::runtime_error when the file cannot be opened or mapped.
    explicit MappedFile(const std::string& fileName);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const uint8_t> Bytes() const { return {view_, size_}; }

  private:
    const uint8_t* view_ = nullptr; // null for an empty file, which cannot be mapped
    size_t size_ = 0;
};
