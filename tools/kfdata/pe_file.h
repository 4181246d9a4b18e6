// The sections of a PE image file, found by name. Names longer than eight characters (the
// linker's ".debug_info" and the like) stand in the COFF string table, the header holding
// "/<offset>". The file is mapped, not read: only the parts looked at are read from disk.
#pragma once
#include "mapped_file.h"
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class PeFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct PeSection {
    std::string Name;
    uint32_t VirtualAddress = 0; // relative to the image base
    uint32_t VirtualSize = 0;
    uint32_t RawSize = 0;
    uint32_t RawOffset = 0;
    uint32_t Characteristics = 0;
};

class PeFile {
  public:
    // Raises PeFileError unless the file holds a 32-bit PE image, std::runtime_error when it
    // cannot be read.
    explicit PeFile(const std::string& fileName);

    uint32_t ImageBase() const { return imageBase_; }
    const std::vector<PeSection>& Sections() const { return sections_; }
    // The bytes the file holds for the section; empty when the image has no such section.
    std::span<const uint8_t> SectionData(const std::string& name) const;

  private:
    void ReadSectionTable(uint32_t headerOffset);
    std::string SectionName(const uint8_t* field) const;

    MappedFile file_;
    std::span<const uint8_t> bytes_;
    uint32_t imageBase_ = 0;
    uint32_t stringTable_ = 0; // file offset of the COFF string table, 0 when none
    std::vector<PeSection> sections_;
};
