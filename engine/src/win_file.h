// Files of a table family, opened with the share modes that express table sharing.
#pragma once
#include "idapi.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <windows.h>

namespace pdx {

enum class Access { Read, ReadWrite };
enum class Share { Shared, Exclusive };

class File {
  public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    ~File();

    // Opens an existing file; missing → DBIERR_NOSUCHTABLE-style status chosen by the caller.
    static File Open(const std::string& path, Access access, Share share, DBIResult missing);
    static File Create(const std::string& path); // new file, exclusive, read/write

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    const std::string& Path() const { return path_; }
    uint64_t Size() const;
    // Reads up to size bytes; bytes past the end of the file read as zeros. Returns the
    // number of bytes that came from the file.
    size_t ReadAt(uint64_t offset, void* data, size_t size) const;
    void ReadExact(uint64_t offset, void* data, size_t size) const;
    void WriteAt(uint64_t offset, const void* data, size_t size);
    void Flush();
    void Close();

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::string path_;
};

bool FileExists(const std::string& path);
void DeleteFileIfExists(const std::string& path);
// One atomic rename over an existing target.
void ReplaceFile(const std::string& from, const std::string& to);

// "C:\db\Subject.DB" → folder "C:\db", name "Subject.DB".
std::string FolderOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
// Path without its extension; extension with its dot ("" when none).
std::string StemOf(const std::string& path);
std::string ExtensionOf(const std::string& path);

} // namespace pdx
