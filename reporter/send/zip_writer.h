// One ZIP archive being written, on the zip library that comes with zlib.
#pragma once
#include <string>

class TZipWriter {
  public:
    // Replaces any file at `archivePath` by a new, empty archive; entries are encrypted with the
    // traditional PKWARE scheme when `password` is not empty.
    TZipWriter(const std::string& archivePath, const std::string& password);
    // Finishes the open entry and the archive (central directory and end record).
    ~TZipWriter();
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    bool IsOpen() const { return archive_ != nullptr; }
    // Stores the whole of `sourcePath` as `entryName` (deflated at level 9, dated by the file's
    // last write in local time); false when the file cannot be read whole or the library fails.
    bool AddFile(const std::string& sourcePath, const std::string& entryName);

  private:
    void* archive_;
    std::string password_;
};
