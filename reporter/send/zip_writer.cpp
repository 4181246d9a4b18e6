#include "reporter/send/zip_writer.h"
#include "reporter/base/crc32.h"
#include <vector>
#include <windows.h>
#include <zip.h>
// Declared with the zip library's macros: after its own header.
#include <iowin32.h>

namespace {

constexpr int kCompressionLevel = 9;
constexpr int kMemoryLevel = 8;
constexpr uLong kMadeByFat = 0;         // version made by: MS-DOS attributes, as for a plain name
constexpr uLong kUtf8NameFlag = 0x0800; // general purpose bit 11: the name is UTF-8

struct TSourceFile {
    std::vector<char> Bytes;
    uLong DosDateTime = 0;
};

// The DOS date in the high half, the time in the low half; 0 when the time cannot be converted.
uLong DosDateTime(const FILETIME& lastWrite) {
    FILETIME local{};
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&lastWrite, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time))
        return 0;
    return uLong(date) << 16 | time;
}

// The whole file, read while nobody else writes to it; false when it is missing, cannot be
// opened or does not read back at the size the directory gives.
bool ReadSourceFile(const std::string& path, TSourceFile& file) {
    WIN32_FILE_ATTRIBUTE_DATA found{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &found) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || found.nFileSizeHigh != 0)
        return false;
    file.DosDateTime = DosDateTime(found.ftLastWriteTime);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    file.Bytes.resize(found.nFileSizeLow);
    DWORD read = 0;
    const bool whole = file.Bytes.empty() || (ReadFile(handle, file.Bytes.data(),
                                                       DWORD(file.Bytes.size()), &read, nullptr) &&
                                              read == file.Bytes.size());
    CloseHandle(handle);
    return whole;
}

bool IsAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// The name in the program's code page as UTF-8, which every reader understands once bit 11 says
// so; empty when it does not convert.
std::string Utf8Name(const std::string& name) {
    const int wide = MultiByteToWideChar(CP_ACP, 0, name.data(), int(name.size()), nullptr, 0);
    std::wstring wideName(size_t(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), int(name.size()), wideName.data(), wide);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wideName.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wideName.data(), wide, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

} // namespace

TZipWriter::TZipWriter(const std::string& archivePath, const std::string& password)
    : archive_(nullptr), password_(password) {
    DeleteFileA(archivePath.c_str());
    zlib_filefunc64_def files{};
    fill_win32_filefunc64A(&files);
    archive_ = zipOpen2_64(archivePath.c_str(), APPEND_STATUS_CREATE, nullptr, &files);
}

TZipWriter::~TZipWriter() {
    if (!archive_)
        return;
    zipCloseFileInZip(archive_);
    zipClose(archive_, nullptr);
}

bool TZipWriter::AddFile(const std::string& sourcePath, const std::string& entryName) {
    TSourceFile source;
    if (!archive_ || !ReadSourceFile(sourcePath, source))
        return false;
    zip_fileinfo info{};
    info.dosDate = source.DosDateTime;
    const bool plainName = IsAscii(entryName);
    const std::string name = plainName ? entryName : Utf8Name(entryName);
    const char* password = password_.empty() ? nullptr : password_.c_str();
    // The encryption header's check bytes come from the CRC of the whole content.
    const uLong crc =
        password ? Crc32(std::string_view(source.Bytes.data(), source.Bytes.size())) : 0;
    if (zipOpenNewFileInZip4(archive_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             Z_DEFLATED, kCompressionLevel, 0, -MAX_WBITS, kMemoryLevel,
                             Z_DEFAULT_STRATEGY, password, crc, kMadeByFat,
                             plainName ? 0 : kUtf8NameFlag) != ZIP_OK)
        return false;
    return zipWriteInFileInZip(archive_, source.Bytes.data(), unsigned(source.Bytes.size())) ==
           ZIP_OK;
}
