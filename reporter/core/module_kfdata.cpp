#include "reporter/core/module_kfdata.h"
#include "reporter/core/byte_stream.h"
#include "reporter/core/file_handle.h"
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

// An int32 length and that many bytes, or nothing when the block holds no line table.
std::vector<uint8_t> ReadLineTable(ByteReader& in) {
    if (in.Remaining() < 4)
        return {};
    std::string bytes = in.ReadBytes(in.ReadU32());
    return {bytes.begin(), bytes.end()};
}

} // namespace

TKFDataContainer ReadModuleKFData(HMODULE module) {
    std::vector<uint8_t> bytes;
    if (ReadResource(module, bytes))
        return ReadKFData(bytes);
    return ReadKFDataTrailer(ReadAppendedBlock(module));
}

void* ProcedureAddress(HMODULE module, const TKFDataContainer& container, uint8_t id) {
    const TKFDataProcedure* p = container.FindProcedure(id);
    if (!p)
        return nullptr;
    return reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(module) + kCodeStart + p->Offset);
}

bool LoadModuleData(HMODULE module, TVessarModuleOptions& options, TKFModuleData& data) {
    try {
        TKFModuleData loaded;
        loaded.Container = ReadModuleKFData(module);
        const TKFDataContainer& c = loaded.Container;
        TVessarModuleOptions scratch("");
        ByteReader dataBlock(c.DataBlock);
        if (c.OptionsInDataBlock) {
            scratch.LoadFromStream(dataBlock, c.Version);
        } else {
            ByteReader block(c.OptionsBlock);
            scratch.LoadFromStream(block, c.Version);
        }
        loaded.LineTable = ReadLineTable(dataBlock);
        options.Assign(&scratch);
        data = std::move(loaded);
        return true;
    } catch (const Exception&) {
        return false;
    }
}
