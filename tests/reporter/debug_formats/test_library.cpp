#include "test_library.h"
#include "fixture_bytes.h"
#include "reporter/base/binary_file.h"
#include "reporter/base/path_names.h"
#include "runtime/module_names.h"

namespace {

std::string LibraryPath() {
    return TestFilePath("debug_formats_library.dll");
}

std::string CopyFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        WithTrailingBackslash(temp) + "debug_formats_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

} // namespace

std::string TestFilePath(const std::string& name) {
    return FolderOf(ModulePath(nullptr)) + name;
}

HMODULE TestLibrary() {
    static HMODULE library = LoadLibraryA(LibraryPath().c_str());
    return library;
}

uint32_t ExportOffset(const char* name) {
    const auto address = reinterpret_cast<uintptr_t>(GetProcAddress(TestLibrary(), name));
    return uint32_t(address - reinterpret_cast<uintptr_t>(TestLibrary()) - 0x1000);
}

TLibraryCopy::TLibraryCopy(const std::string& name, const TSideFiles& files,
                           const TImageChange& change) {
    const std::string path = CopyFolder() + name + ".dll";
    std::vector<uint8_t> image = ReadWholeFile(LibraryPath());
    if (change)
        change(image);
    WriteNewFile(path, image);
    files_.push_back(path);
    for (const auto& [extension, bytes] : files) {
        files_.push_back(WithExtension(path, extension));
        WriteNewFile(files_.back(), bytes);
    }
    module_ = LoadLibraryA(path.c_str());
}

TLibraryCopy::~TLibraryCopy() {
    FreeLibrary(module_);
    for (const std::string& file : files_)
        DeleteFileA(file.c_str());
    RemoveDirectoryA(FolderOf(files_.front()).c_str());
}

const void* TLibraryCopy::Export(const char* name) const {
    return reinterpret_cast<const void*>(
        reinterpret_cast<uintptr_t>(GetProcAddress(module_, name)));
}

std::vector<uint8_t> TextBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

void PutDebugDataInImage(std::vector<uint8_t>& image, const std::vector<uint8_t>& data) {
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    const uint32_t directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DEBUG].VirtualAddress;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    while (section->VirtualAddress != directory)
        ++section;
    const size_t entry = section->PointerToRawData;
    PutU32(image, entry + offsetof(IMAGE_DEBUG_DIRECTORY, SizeOfData), uint32_t(data.size()));
    PutU32(image, entry + offsetof(IMAGE_DEBUG_DIRECTORY, PointerToRawData),
           uint32_t(image.size()));
    image.insert(image.end(), data.begin(), data.end());
}
