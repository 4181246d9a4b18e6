// The test library beside the tests, and copies of it that carry debug files of their own.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

// A file built beside the tests.
std::string TestFilePath(const std::string& name);
// The library as built, loaded once.
HMODULE TestLibrary();
// Where an export's code lies, as an offset from the start of the code section.
uint32_t ExportOffset(const char* name);

using TSideFiles = std::vector<std::pair<std::string, std::vector<uint8_t>>>; // extension, bytes
// A change to the copied image file.
using TImageChange = std::function<void(std::vector<uint8_t>& image)>;

// A copy of the library under a name of its own in the temporary folder, changed when asked,
// with the files beside it, loaded; everything is removed again at the end.
class TLibraryCopy {
  public:
    TLibraryCopy(const std::string& name, const TSideFiles& files,
                 const TImageChange& change = nullptr);
    ~TLibraryCopy();
    TLibraryCopy(const TLibraryCopy&) = delete;
    TLibraryCopy& operator=(const TLibraryCopy&) = delete;

    HMODULE Module() const { return module_; }
    // The address of an export of this copy.
    const void* Export(const char* name) const;

  private:
    std::vector<std::string> files_;
    HMODULE module_ = nullptr;
};

std::vector<uint8_t> TextBytes(const std::string& text);

// Points the image's debug directory (which the linker makes for the build id) at `data`,
// appended to the file.
void PutDebugDataInImage(std::vector<uint8_t>& image, const std::vector<uint8_t>& data);
