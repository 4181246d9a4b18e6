#include "validity_file.h"
#include "bytes.h"
#include "status.h"
#include <cstring>

namespace pdx {

namespace {

[[noreturn]] void Corrupt(const File& file, const std::string& what) {
    Fail(DBIERR_VALCORRUPT, "File: " + file.Path() + " (" + what + ")");
}

bool IsEra3(const std::vector<uint8_t>& bytes, const TableHeader& table, size_t fields) {
    return Get(bytes.data(), validity::kVersion) == validity::kEra3Version &&
           Era3Mismatch(bytes, table, fields).empty();
}

// Bytes a check of the 3.x era takes, from the pointers that say which parts it has.
size_t Era3CheckSize(const uint8_t* check, const Field& field) {
    using namespace validity;
    size_t size = kCheckFixedPart;
    for (At<uint32_t> value : {kCheckMinimum, kCheckMaximum, kCheckDefault})
        if (Get(check, value) != 0)
            size += field.StoredSize();
    if (Get(check, kCheckLookup) != 0)
        size += kLookupArea;
    if (Get(check, kCheckPicture) != 0)
        size += Get(check, kCheckPictureLength);
    return size;
}

// Where the footer's field names end.
size_t NamesEnd(const File& file, const std::vector<uint8_t>& bytes, const ValidityFooter& footer) {
    size_t end = footer.names;
    for (unsigned i = 0; i < footer.count; ++i) {
        const void* nul = std::memchr(bytes.data() + end, 0, bytes.size() - end);
        if (!nul)
            Corrupt(file, "field names not terminated");
        end = size_t(static_cast<const uint8_t*>(nul) - bytes.data()) + 1;
    }
    return end;
}

} // namespace

std::vector<uint8_t> ReadValidity(const File& file) {
    const uint64_t size = file.Size();
    if (size < validity::kEntriesStart || size > kLargestValidityFile)
        Corrupt(file, "size " + std::to_string(size));
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.ReadExact(0, bytes.data(), bytes.size());
    return bytes;
}

std::string Era3Mismatch(const std::vector<uint8_t>& bytes, const TableHeader& table,
                         size_t fields) {
    const unsigned checks = Get(bytes.data(), validity::kCheckCount);
    size_t at = validity::kEntriesStart;
    for (unsigned i = 0; i < checks; ++i) {
        const std::string check = "check " + std::to_string(i + 1);
        if (!Fits(at, validity::kCheckFixedPart, bytes.size()))
            return check + " runs past the end of the file";
        const unsigned field = Get(&bytes[at], validity::kCheckField);
        if (field >= fields || field >= table.fields.size())
            return check + " names field " + std::to_string(field + 1) + " of " +
                   std::to_string(fields);
        at += Era3CheckSize(&bytes[at], table.fields[field]);
    }
    if (at != bytes.size())
        return "the checks end at byte " + std::to_string(at) + " of " +
               std::to_string(bytes.size());
    return {};
}

std::string ReadFooter(const std::vector<uint8_t>& bytes, ValidityFooter& out) {
    const uint32_t footer = Get(bytes.data(), validity::kFooter);
    if (footer < validity::kEntriesStart || !Fits(footer, validity::kFooterLists, bytes.size()))
        return "footer offset " + std::to_string(footer);
    const uint32_t integrity = Get(bytes.data(), validity::kIntegrity);
    if (integrity != 0 && !Fits(integrity, 1, bytes.size()))
        return "integrity section offset " + std::to_string(integrity);
    out.at = footer;
    out.count = Get(&bytes[footer], validity::kFooterFieldCount);
    out.ids = footer + validity::kFooterLists;
    out.types = out.ids + out.count * 2u;
    out.path = out.types + out.count * 2u;
    out.names = out.path + validity::kPathArea;
    if (!Fits(out.ids, out.names - out.ids, bytes.size()))
        return "lists " + std::to_string(out.count) + " fields, more than the file holds";
    return {};
}

void RewriteValidity(const File& in, File& out, const TableHeader& table, size_t firstNew) {
    std::vector<uint8_t> bytes = ReadValidity(in);
    if (IsEra3(bytes, table, firstNew)) {
        Put(bytes.data(), validity::kStamp, table.changeCount2);
        out.WriteAt(0, bytes.data(), bytes.size());
        return;
    }
    ValidityFooter footer;
    const std::string damage = ReadFooter(bytes, footer);
    if (!damage.empty() && Get(bytes.data(), validity::kVersion) == validity::kEra3Version)
        Fail(DBIERR_NOTSUPPORTED, "File: " + in.Path() + " (layout not understood: " +
                                      Era3Mismatch(bytes, table, firstNew) + "; " + damage + ")");
    if (!damage.empty())
        Corrupt(in, damage);
    if (footer.count != firstNew)
        Corrupt(in, "lists " + std::to_string(footer.count) + " fields, the table has " +
                        std::to_string(firstNew));
    const size_t namesEnd = NamesEnd(in, bytes, footer);
    uint32_t integrity = Get(bytes.data(), validity::kIntegrity);
    if (integrity != 0 && integrity < namesEnd && integrity > footer.at)
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
    insertAt(namesEnd, nameBytes);
    insertAt(footer.path, typeBytes);
    insertAt(footer.types, idBytes);
    Put(&bytes[footer.at], validity::kFooterFieldCount, uint16_t(table.fields.size()));
    Put(bytes.data(), validity::kIntegrity, integrity);
    Put(bytes.data(), validity::kStamp, table.changeCount2);
    Put(bytes.data(), validity::kVersion, ValidityVersion(table));
    out.WriteAt(0, bytes.data(), bytes.size());
}

} // namespace pdx
