#include "validity_file.h"
#include "bytes.h"
#include "status.h"
#include <cstring>

namespace pdx {

namespace {

constexpr size_t kFooterOffsetAt = 0x09;
constexpr size_t kIntegrityOffsetAt = 0x0D;
constexpr size_t kEntriesStart = 0x35;
constexpr size_t kPathArea = 79;

[[noreturn]] void Corrupt(const File& file, const std::string& what) {
    Fail(DBIERR_VALCORRUPT, "File: " + file.Path() + " (" + what + ")");
}

} // namespace

void RewriteValidity(const File& in, File& out, const TableHeader& table, size_t firstNew) {
    uint64_t size64 = in.Size();
    if (size64 < kEntriesStart || size64 > (16u << 20))
        Corrupt(in, "size " + std::to_string(size64));
    std::vector<uint8_t> bytes(static_cast<size_t>(size64));
    in.ReadExact(0, bytes.data(), bytes.size());
    uint32_t footer = Get32(&bytes[kFooterOffsetAt]);
    uint32_t integrity = Get32(&bytes[kIntegrityOffsetAt]);
    if (footer < kEntriesStart || footer + 6 > bytes.size())
        Corrupt(in, "footer offset " + std::to_string(footer));
    uint16_t count = Get16(&bytes[footer]);
    if (count != firstNew)
        Corrupt(in, "lists " + std::to_string(count) + " fields, the table has " +
                        std::to_string(firstNew));
    size_t numbers = footer + 6, types = numbers + count * 2u, path = types + count * 2u;
    size_t names = path + kPathArea, end = names;
    for (uint16_t i = 0; i < count; ++i) {
        while (end < bytes.size() && bytes[end])
            ++end;
        if (end++ >= bytes.size())
            Corrupt(in, "field names not terminated");
    }
    if (integrity != 0 && integrity < end && integrity > footer)
        Corrupt(in, "integrity section inside the footer");

    auto insertAt = [&](size_t at, const std::vector<uint8_t>& extra) {
        bytes.insert(bytes.begin() + long(at), extra.begin(), extra.end());
        if (integrity >= at && integrity != 0)
            integrity += uint32_t(extra.size());
    };
    std::vector<uint8_t> nameBytes, idBytes, typeBytes;
    for (size_t i = firstNew; i < table.fields.size(); ++i) {
        const Field& f = table.fields[i];
        nameBytes.insert(nameBytes.end(), f.name.begin(), f.name.end());
        nameBytes.push_back(0);
        idBytes.push_back(uint8_t(f.id));
        idBytes.push_back(uint8_t(f.id >> 8));
        typeBytes.push_back(f.type);
        typeBytes.push_back(f.info);
    }
    // Back to front, so earlier offsets stay valid.
    insertAt(end, nameBytes);
    insertAt(path, typeBytes);
    insertAt(types, idBytes);
    Put16(&bytes[footer], uint16_t(table.fields.size()));
    Put32(&bytes[kIntegrityOffsetAt], integrity);
    bytes[0] = table.changeCount2;
    bytes[1] = table.version < 5 ? 1 : table.version;
    out.WriteAt(0, bytes.data(), bytes.size());
}

} // namespace pdx
