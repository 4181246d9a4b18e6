// The system's file calls that the engine makes, for the host build of its fuzz targets: the
// files live in memory (memory_files.cpp), so that each input opens as a fresh table family and
// nothing reaches the disk. Only what the engine uses is declared, with the case-blind compare
// that the Windows C runtime's string.h adds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <strings.h>

inline int _strnicmp(const char* a, const char* b, size_t count) {
    return strncasecmp(a, b, count);
}

using DWORD = uint32_t;
using BOOL = int;
using HANDLE = void*;
using LPCSTR = const char*;
using LCID = DWORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(intptr_t(-1)))

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_SHARE_DELETE = 0x4;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_LOCK_VIOLATION = 33;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_HANDLE_DISK_FULL = 39;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_INVALID_NAME = 123;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x800;
constexpr DWORD NORM_IGNORECASE = 0x1;
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;

struct LARGE_INTEGER {
    int64_t QuadPart;
};

struct OVERLAPPED {
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};

struct SECURITY_ATTRIBUTES;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    char cFileName[260];
};

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD attributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED* at);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, OVERLAPPED* at);
BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size);
BOOL FlushFileBuffers(HANDLE file);
BOOL CloseHandle(HANDLE handle);
DWORD GetFileAttributesA(LPCSTR name);
BOOL DeleteFileA(LPCSTR name);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* found);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found);
BOOL FindClose(HANDLE search);
DWORD GetLastError();
void Sleep(DWORD milliseconds);
DWORD GetCurrentThreadId();
int CompareStringA(LCID locale, DWORD flags, const char* a, int aSize, const char* b, int bSize);
