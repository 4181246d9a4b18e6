#include "validity_file.h"
#include "bytes.h"
#include "status.h"
#include <cstring>

namespace pdx {

namespace {

[[noreturn]] void Corrupt(const File& file, const std::string& what) {
    Fail(DBIERR_VALCORRUPT, "File: " + file.Path() + " (" + what + ")");
}

} // namespace

void RewriteValidity(const File& in, File& out, const TableHeader& table, size_t firstNew) {
    uint64_t size64 = in.Size();
    if (size64 < validity::kEntriesStart || size64 > kLargestValidityFile)
        Corrupt(in, "size " + std::to_string(size64));
    std::vector<uint8_t> bytes(static_cast<size_t>(size64));
    in.ReadExact(0, bytes.data(), bytes.size());
    uint32_t footer = Get(bytes.data(), validity::kFooter);
    uint32_t integrity = Get(bytes.data(), validity::kIntegrity);
    if (footer < validity::kEntriesStart || footer + validity::kFooterLists > bytes.size())
        Corrupt(in, "footer offset " + std::to_string(footer));
    uint16_t count = Get(&bytes[footer], validity::kFooterFieldCount);
    if (count != firstNew)
        Corrupt(in, "lists " + std::to_string(count) + " fields, the table has " +
                        std::to_string(firstNew));
    size_t numbers = footer + validity::kFooterLists, types = numbers + count * 2u,
           path = types + count * 2u;
    size_t names = path + validity::kPathArea, end = names;
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
    Put(&bytes[footer], validity::kFooterFieldCount, uint16_t(table.fields.size()));
    Put(bytes.data(), validity::kIntegrity, integrity);
    Put(bytes.data(), validity::kStamp, table.changeCount2);
    Put(bytes.data(), validity::kVersion, ValidityVersion(table));
    out.WriteAt(0, bytes.data(), bytes.size());
}

} // namespace pdx
