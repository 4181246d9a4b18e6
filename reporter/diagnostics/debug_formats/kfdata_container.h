// The KFDATA container that a module built with the crash reporter carries: as the RCDATA
// resource "KFDATA", or appended to its file. It holds the procedure table, the options block
// and the debug information.
#pragma once
#include "reporter/base/byte_stream.h"
#include "runtime/exception.h"
#include <cstdint>
#include <vector>

constexpr uint32_t kKFDataMagic = 0x100FAB10;
constexpr uint32_t kKFDataOldMagic = 0x000FAB10;
// The highest container version this reporter reads, and the one it writes.
constexpr int kKFDataVersion = 6024;

// Raised for a container that is damaged, truncated or newer than this reporter.
class EKFDataError : public Exception {
  public:
    using Exception::Exception;
};

// Where a runtime procedure linked into the module lies: offset from the module's handle
// + 0x1000 (the start of its code).
struct TKFDataProcedure {
    uint8_t Id = 0;
    uint32_t Offset = 0;
    uint32_t Size = 0;
};

struct TKFDataContainer {
    int Version = kKFDataVersion; // 600 to 602 read as 6000 to 6002
    double BuildTime = 0;         // UTC, days since 30 December 1899
    bool HasLeakFlags = false;    // versions 6000 and later
    uint8_t EarlyLeakFlags = 0;
    uint8_t LeakFlagsFromMain = 0; // in a library: take EarlyLeakFlags from the executable
    std::vector<TKFDataProcedure> Procedures;
    // From version 500 on the options block travels on its own; before, it leads DataBlock.
    bool OptionsInDataBlock = false;
    std::vector<uint8_t> OptionsBlock;
    bool HasPasswordCheck = false;
    uint32_t PasswordCheck = 0; // deciphered with the debug password it equals the magic
    // Decompressed: [options block when OptionsInDataBlock] int32 length, line table.
    std::vector<uint8_t> DataBlock;

    const TKFDataProcedure* FindProcedure(uint8_t id) const;
};

// The resource form in the current layout; OptionsBlock and DataBlock are compressed here.
std::vector<uint8_t> WriteKFData(const TKFDataContainer& container);
// How much of a container to read: all of it, or all but a data block that holds nothing but the
// line table, which then stays empty (decompressing it is most of the reading). A container whose
// options lead its data block is read whole either way.
enum class TKFDataParts { All, WithoutLineTable };

// The resource form of any version up to kKFDataVersion.
TKFDataContainer ReadKFData(const std::vector<uint8_t>& resource,
                            TKFDataParts parts = TKFDataParts::All);
// The appended form: the whole file, or at least its tail holding the container.
TKFDataContainer ReadKFDataTrailer(const std::vector<uint8_t>& fileTail);

// The line table at the reader's position in a DataBlock: an int32 length and that many bytes;
// nothing when the block ends there.
std::vector<uint8_t> ReadLineTable(ByteReader& in);
