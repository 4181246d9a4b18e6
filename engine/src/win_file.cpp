#include "win_file.h"
#include "status.h"
#include <algorithm>
#include <cstring>
#include <utility>

namespace pdx {

namespace {

[[noreturn]] void FailOs(DBIResult code, const std::string& path, DWORD error) {
    const bool full = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    Fail(code, "File: " + path + " (system error " + std::to_string(error) +
                   (full ? ": the disk is full" : "") + ")");
}

// Positioned I/O: the file pointer is never shared state.
OVERLAPPED At(uint64_t offset) {
    OVERLAPPED ov{};
    ov.Offset = DWORD(offset);
    ov.OffsetHigh = DWORD(offset >> 32);
    return ov;
}

DWORD Chunk(size_t remaining) {
    return DWORD(std::min<size_t>(remaining, 1u << 30));
}

} // namespace

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        path_ = std::move(other.path_);
    }
    return *this;
}

File::~File() {
    Close();
}

File File::Open(const std::string& path, Access access, Share share, DBIResult missing) {
    DWORD desired = GENERIC_READ | (access == Access::ReadWrite ? GENERIC_WRITE : 0);
    DWORD shareMode = share == Share::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE h = CreateFileA(path.c_str(), desired, shareMode, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        switch (e) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            Fail(missing, "File: " + path);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            Fail(DBIERR_TABLEINUSE, "File: " + path);
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            Fail(DBIERR_NOTSUFFTABLERIGHTS, "File: " + path);
        default:
            FailOs(DBIERR_OSERROR, path, e);
        }
    }
    File f;
    f.handle_ = h;
    f.path_ = path;
    return f;
}

File File::Create(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        FailOs(e == ERROR_ACCESS_DENIED ? DBIERR_NOTSUFFTABLERIGHTS : DBIERR_WRITEERR, path, e);
    }
    File f;
    f.handle_ = h;
    f.path_ = path;
    return f;
}

uint64_t File::Size() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_, &size))
        FailOs(DBIERR_READERR, path_, GetLastError());
    return uint64_t(size.QuadPart);
}

size_t File::ReadAt(uint64_t offset, void* data, size_t size) const {
    auto* out = static_cast<uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        OVERLAPPED ov = At(offset + done);
        DWORD got = 0;
        DWORD want = Chunk(size - done);
        if (!ReadFile(handle_, out + done, want, &got, &ov)) {
            DWORD e = GetLastError();
            if (e == ERROR_HANDLE_EOF)
                break;
            FailOs(DBIERR_READERR, path_, e);
        }
        if (got == 0)
            break;
        done += got;
    }
    std::memset(out + done, 0, size - done);
    return done;
}

void File::ReadExact(uint64_t offset, void* data, size_t size) const {
    if (ReadAt(offset, data, size) != size)
        Fail(DBIERR_FILECORRUPT, "File: " + path_ + " (file is truncated)");
}

void File::WriteAt(uint64_t offset, const void* data, size_t size) {
    const auto* in = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        OVERLAPPED ov = At(offset + done);
        DWORD put = 0;
        DWORD want = Chunk(size - done);
        if (!WriteFile(handle_, in + done, want, &put, &ov) || put == 0)
            FailOs(DBIERR_WRITEERR, path_, GetLastError());
        done += put;
    }
}

void File::Flush() {
    if (!FlushFileBuffers(handle_))
        FailOs(DBIERR_WRITEERR, path_, GetLastError());
}

void File::Close() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteFileIfExists(const std::string& path) {
    if (!DeleteFileA(path.c_str())) {
        DWORD e = GetLastError();
        if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND)
            FailOs(DBIERR_WRITEERR, path, e);
    }
}

void ReplaceFile(const std::string& from, const std::string& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD e = GetLastError();
        FailOs(e == ERROR_SHARING_VIOLATION || e == ERROR_ACCESS_DENIED ? DBIERR_TABLEINUSE
                                                                        : DBIERR_WRITEERR,
               to, e);
    }
}

std::string FolderOf(const std::string& path) {
    auto pos = path.find_last_of("\\/");
    return pos == std::string::npos ? std::string(".") : path.substr(0, pos);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    char last = folder.back();
    return last == '\\' || last == '/' || last == ':' ? folder + name : folder + "\\" + name;
}

std::string StemOf(const std::string& path) {
    auto slash = path.find_last_of("\\/:");
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path;
    return path.substr(0, dot);
}

std::string ExtensionOf(const std::string& path) {
    return path.substr(StemOf(path).size());
}

} // namespace pdx
