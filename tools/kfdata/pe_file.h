// The sections of a PE image file, found by name. Names longer than eight characters (the
// linker's ".debug_info" and the like) stand in the COFF string table, the header holding
// "/<offset>".
#pragma once
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
    // Raises PeFileError unless `bytes` hold a 32-bit PE image. The bytes are looked at where
    // they are (a mapped file, say), and must stay there as long as the PeFile and the
    // sections' data are used.
    explicit PeFile(std::span<const uint8_t> bytes);
    PeFile(std::vector<uint8_t>&&) = delete; // would be gone before the sections' data

    uint32_t ImageBase() const { return imageBase_; }
    const std::vector<PeSection>& Sections() const { return sections_; }
    // The bytes the file holds for the section; empty when the image has no such section.
    std::span<const uint8_t> SectionData(const std::string& name) const;

  private:
    void ReadSectionTable(uint32_t headerOffset);
    std::string SectionName(const uint8_t* field) const;

    std::span<const uint8_t> bytes_;
    uint32_t imageBase_ = 0;
    uint32_t stringTable_ = 0; // file offset of the COFF string table, 0 when none
    std::vector<PeSection> sections_;
};
