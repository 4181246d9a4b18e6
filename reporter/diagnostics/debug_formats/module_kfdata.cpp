#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include "reporter/base/byte_stream.h"
#include "reporter/base/file_handle.h"
#include "runtime/exception.h"
#include <string>

namespace {

constexpr uintptr_t kCodeStart = 0x1000; // procedure and line offsets count from here

bool ReadResource(HMODULE module, std::vector<uint8_t>& bytes) {
    HRSRC found = FindResourceA(module, "KFDATA", MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data)
        return false;
    bytes.assign(data, data + SizeofResource(module, found));
    return true;
}

// The last `size` bytes of the file (fewer when the file is shorter).
std::vector<uint8_t> ReadTail(HANDLE file, uint64_t size) {
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file, &length))
        return {};
    size = std::min<uint64_t>(size, uint64_t(length.QuadPart));
    LARGE_INTEGER at;
    at.QuadPart = length.QuadPart - LONGLONG(size);
    std::vector<uint8_t> bytes(size_t(size), 0);
    DWORD got = 0;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) || got != bytes.size())
        return {};
    return bytes;
}

std::vector<uint8_t> ReadAppendedBlock(HMODULE module) {
    char path[MAX_PATH] = {};
    if (!GetModuleFileNameA(module, path, MAX_PATH))
        throw EKFDataError("The module's file is unknown.");
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        throw EKFDataError(std::string("Cannot read ") + path + ".");
    std::vector<uint8_t> end = ReadTail(file.Get(), 8);
    if (end.size() < 8)
        throw EKFDataError("No crash reporter data in the module.");
    uint32_t size = uint32_t(end[0] | end[1] << 8 | end[2] << 16 | uint32_t(end[3]) << 24);
    return ReadTail(file.Get(), uint64_t(size) + 8);
}

// Without the options layer, only a container that keeps its options apart gives its line table.
bool ReadWithoutOptions(HMODULE module, TKFModuleData& data) {
    try {
        TKFModuleData read;
        read.Container = ReadModuleKFData(module);
        if (read.Container.OptionsInDataBlock)
            return false;
        ByteReader dataBlock(read.Container.DataBlock);
        read.LineTable = ReadLineTable(dataBlock);
        data = std::move(read);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

TModuleDataReader installedReader = nullptr;

} // namespace

void InstallModuleDataReader(TModuleDataReader reader) {
    installedReader = reader;
}

bool ReadModuleDebugData(HMODULE module, TKFModuleData& data) {
    return installedReader ? installedReader(module, data) : ReadWithoutOptions(module, data);
}

TKFDataContainer ReadModuleKFData(HMODULE module, TKFDataParts parts) {
    std::vector<uint8_t> bytes;
    if (ReadResource(module, bytes))
        return ReadKFData(bytes, parts);
    return ReadKFDataTrailer(ReadAppendedBlock(module));
}

void* ProcedureAddress(HMODULE module, const TKFDataContainer& container, uint8_t id) {
    const TKFDataProcedure* p = container.FindProcedure(id);
    if (!p)
        return nullptr;
    return reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(module) + kCodeStart + p->Offset);
}
