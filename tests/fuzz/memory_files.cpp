#include "memory_files.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <windows.h>

namespace {

struct Node {
    std::string path; // as created
    std::vector<uint8_t> bytes;
};

struct OpenFile {
    std::shared_ptr<Node> node;
    DWORD access;
    DWORD share;
    size_t position = 0; // for reads and writes without an offset
};

struct Search {
    std::vector<std::string> names;
    size_t next = 0;
};

std::map<std::string, std::shared_ptr<Node>> files; // by upper-case path
std::map<uintptr_t, OpenFile> handles;
std::map<uintptr_t, Search> searches;
uintptr_t nextHandle = 0x100;
DWORD lastError = 0;

std::string Key(const std::string& path) {
    std::string key = path;
    for (char& c : key)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

BOOL Failed(DWORD error) {
    lastError = error;
    return FALSE;
}

OpenFile* Handle(HANDLE handle) {
    auto it = handles.find(reinterpret_cast<uintptr_t>(handle));
    return it == handles.end() ? nullptr : &it->second;
}

bool InUse(const std::shared_ptr<Node>& node) {
    return std::any_of(handles.begin(), handles.end(),
                       [&](const auto& open) { return open.second.node == node; });
}

// As the system decides: every handle's access must be shared by every other handle.
bool SharingAllows(const std::shared_ptr<Node>& node, DWORD access, DWORD share) {
    for (const auto& [id, open] : handles) {
        if (open.node != node)
            continue;
        if (((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) ||
            ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) ||
            ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) ||
            ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)))
            return false;
    }
    return true;
}

// A file may be renamed while open only through handles that share deleting.
bool Movable(const std::shared_ptr<Node>& node) {
    return std::all_of(handles.begin(), handles.end(), [&](const auto& open) {
        return open.second.node != node || (open.second.share & FILE_SHARE_DELETE);
    });
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("\\/:") + 1);
}

// "*" any run of characters, "?" any one; letter case aside.
bool Matches(const char* pattern, const char* name) {
    if (*pattern == '\0')
        return *name == '\0';
    if (*pattern == '*')
        return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
    return *name != '\0' &&
           (*pattern == '?' || std::toupper(static_cast<unsigned char>(*pattern)) ==
                                   std::toupper(static_cast<unsigned char>(*name))) &&
           Matches(pattern + 1, name + 1);
}

BOOL NextFound(Search& search, WIN32_FIND_DATAA* found) {
    if (search.next == search.names.size())
        return Failed(ERROR_FILE_NOT_FOUND);
    const std::string& name = search.names[search.next++];
    found->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    std::snprintf(found->cFileName, sizeof found->cFileName, "%s", name.c_str());
    return TRUE;
}

} // namespace

namespace memory_files {

void Clear() {
    files.clear();
    handles.clear();
    searches.clear();
}

void Put(const std::string& path, const std::vector<uint8_t>& bytes) {
    files[Key(path)] = std::make_shared<Node>(Node{path, bytes});
}

std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    for (const auto& [key, node] : files)
        paths.push_back(node->path);
    return paths;
}

std::vector<uint8_t> Bytes(const std::string& path) {
    auto it = files.find(Key(path));
    return it == files.end() ? std::vector<uint8_t>() : it->second->bytes;
}

} // namespace memory_files

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, SECURITY_ATTRIBUTES*, DWORD disposition,
                   DWORD, HANDLE) {
    const std::string key = Key(name);
    auto it = files.find(key);
    if (disposition == OPEN_EXISTING && it == files.end()) {
        Failed(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (it != files.end() && !SharingAllows(it->second, access, share)) {
        Failed(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition == CREATE_ALWAYS) {
        if (it == files.end())
            it = files.emplace(key, std::make_shared<Node>(Node{name, {}})).first;
        it->second->bytes.clear();
    }
    const uintptr_t id = nextHandle++;
    handles[id] = OpenFile{it->second, access, share};
    return reinterpret_cast<HANDLE>(id);
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED* at) {
    OpenFile* open = Handle(file);
    if (!open || !(open->access & GENERIC_READ))
        return Failed(ERROR_ACCESS_DENIED);
    const std::vector<uint8_t>& bytes = open->node->bytes;
    const uint64_t from = at ? (uint64_t(at->OffsetHigh) << 32 | at->Offset) : open->position;
    *read = 0;
    if (from >= bytes.size())
        return at ? Failed(ERROR_HANDLE_EOF) : TRUE;
    *read = DWORD(std::min<uint64_t>(size, bytes.size() - from));
    std::memcpy(buffer, bytes.data() + from, *read);
    if (!at)
        open->position = size_t(from + *read);
    return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, OVERLAPPED* at) {
    OpenFile* open = Handle(file);
    if (!open || !(open->access & GENERIC_WRITE))
        return Failed(ERROR_ACCESS_DENIED);
    std::vector<uint8_t>& bytes = open->node->bytes;
    const uint64_t from = at ? (uint64_t(at->OffsetHigh) << 32 | at->Offset) : open->position;
    // A table's files stay far below this; a write beyond is the engine's own fault.
    if (from + size > (uint64_t(1) << 31))
        return Failed(ERROR_ACCESS_DENIED);
    if (bytes.size() < from + size)
        bytes.resize(size_t(from + size));
    std::memcpy(bytes.data() + from, buffer, size);
    *written = size;
    if (!at)
        open->position = size_t(from + size);
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size) {
    OpenFile* open = Handle(file);
    if (!open)
        return Failed(ERROR_ACCESS_DENIED);
    size->QuadPart = int64_t(open->node->bytes.size());
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
    return Handle(file) ? TRUE : Failed(ERROR_ACCESS_DENIED);
}

BOOL CloseHandle(HANDLE handle) {
    return handles.erase(reinterpret_cast<uintptr_t>(handle)) ? TRUE : Failed(ERROR_ACCESS_DENIED);
}

DWORD GetFileAttributesA(LPCSTR name) {
    if (files.count(Key(name)))
        return FILE_ATTRIBUTE_NORMAL;
    lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_FILE_ATTRIBUTES;
}

BOOL DeleteFileA(LPCSTR name) {
    auto it = files.find(Key(name));
    if (it == files.end())
        return Failed(ERROR_FILE_NOT_FOUND);
    if (InUse(it->second))
        return Failed(ERROR_SHARING_VIOLATION);
    files.erase(it);
    return TRUE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    auto source = files.find(Key(from));
    if (source == files.end())
        return Failed(ERROR_FILE_NOT_FOUND);
    auto target = files.find(Key(to));
    if (target != files.end() && !(flags & MOVEFILE_REPLACE_EXISTING))
        return Failed(ERROR_ALREADY_EXISTS);
    if (!Movable(source->second) || (target != files.end() && InUse(target->second)))
        return Failed(ERROR_SHARING_VIOLATION);
    std::shared_ptr<Node> node = source->second;
    node->path = to;
    files.erase(source);
    files[Key(to)] = node;
    return TRUE;
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* found) {
    const std::string folder = Key(pattern).substr(0, Key(pattern).find_last_of('\\') + 1);
    const std::string namePattern = NameOf(pattern);
    Search search;
    for (const auto& [key, node] : files)
        if (key.compare(0, folder.size(), folder) == 0 &&
            key.find('\\', folder.size()) == std::string::npos &&
            Matches(namePattern.c_str(), NameOf(node->path).c_str()))
            search.names.push_back(NameOf(node->path));
    if (search.names.empty()) {
        Failed(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const uintptr_t id = nextHandle++;
    NextFound(searches[id] = std::move(search), found);
    return reinterpret_cast<HANDLE>(id);
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* found) {
    auto it = searches.find(reinterpret_cast<uintptr_t>(handle));
    return it == searches.end() ? Failed(ERROR_ACCESS_DENIED) : NextFound(it->second, found);
}

BOOL FindClose(HANDLE handle) {
    return searches.erase(reinterpret_cast<uintptr_t>(handle)) ? TRUE : Failed(ERROR_ACCESS_DENIED);
}

DWORD GetLastError() {
    return lastError;
}

// Nothing else runs here: waiting for another process gains nothing.
void Sleep(DWORD) {}

DWORD GetCurrentThreadId() {
    return 1;
}

int CompareStringA(LCID, DWORD flags, const char* a, int aSize, const char* b, int bSize) {
    const size_t aLength = aSize < 0 ? std::strlen(a) : size_t(aSize);
    const size_t bLength = bSize < 0 ? std::strlen(b) : size_t(bSize);
    auto fold = [&](char c) {
        return flags & NORM_IGNORECASE ? std::toupper(static_cast<unsigned char>(c))
                                       : static_cast<unsigned char>(c);
    };
    const bool less = std::lexicographical_compare(
        a, a + aLength, b, b + bLength, [&](char x, char y) { return fold(x) < fold(y); });
    const bool greater = std::lexicographical_compare(
        b, b + bLength, a, a + aLength, [&](char x, char y) { return fold(x) < fold(y); });
    return less ? CSTR_LESS_THAN : greater ? CSTR_GREATER_THAN : CSTR_EQUAL;
}
