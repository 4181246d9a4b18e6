#include "add_index.h"
#include "bytes.h"
#include "family.h"
#include "primary_index.h"
#include "record_codec.h"
#include "secondary_layout.h"
#include "status.h"
#include "table_data.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

constexpr uint8_t kFirstChangeCount = 2;

unsigned CheckedField(const TableHeader& h, const IDXDesc& d, const std::string& path) {
    auto refuse = [&](const std::string& why) {
        Fail(DBIERR_NOTSUPPORTED, "Table: " + path + " (" + why + ")");
    };
    if (h.keyFields == 0 && d.bMaintained)
        refuse("a maintained secondary index needs a keyed table");
    if (d.bPrimary || d.bUnique || d.bDescending || d.abDescending[0] || d.bExpIdx || d.bSubset ||
        d.bCaseInsensitive || d.iFldsInKey != 1)
        refuse("only single-field, ascending, non-unique, case-sensitive indexes are built");
    unsigned number = d.aiKeyFld[0];
    if (number < 1 || number > h.fields.size())
        Fail(DBIERR_INVALIDFIELDNO, "Table: " + path + " (field " + std::to_string(number) + ")");
    const Field& f = h.fields[number - 1];
    if (IsBlobType(f.type))
        refuse("field " + f.name + " is a memo or BLOB field");
    bool alpha = f.type == pxAlpha;
    for (unsigned i = 0; i < h.keyFields; ++i)
        alpha = alpha || h.fields[i].type == pxAlpha;
    if (alpha && h.sortOrder != 0)
        refuse("alpha index values in a table with a sort order other than 'ascii'");
    return number;
}

std::string IndexExtension(char letter, unsigned field) {
    const char* hex = "0123456789ABCDEF";
    return std::string(".") + letter + hex[field >> 4 & 0xF] + hex[field & 0xF];
}

Field IndexShort(const char* name) {
    Field f;
    f.type = pxShort;
    f.info = 2;
    f.name = name;
    return f;
}

// After the indexed field, what names the record: the table's key fields and the record's
// block, or in a table without key the record's number, block and offset in the block.
std::vector<Field> RecordFields(const TableHeader& h) {
    std::vector<Field> fields(h.fields.begin(), h.fields.begin() + h.keyFields);
    if (h.keyFields == 0) {
        Field number;
        number.type = pxLong;
        number.info = 4;
        number.name = kRecordNumberFieldName;
        fields.push_back(number);
    }
    fields.push_back(IndexShort(kBlockFieldName));
    if (h.keyFields == 0)
        fields.push_back(IndexShort(kRecordOffsetFieldName));
    return fields;
}

// The .Xnn header: indexed field, then what names the record.
TableHeader SecondaryHeader(const TableHeader& h, unsigned number, bool maintained,
                            const std::string& name) {
    TableHeader x;
    x.fileType = maintained ? ftMaintainedSecondaryIndex : ftSecondaryIndex;
    x.version = h.version;
    x.blockKiB = 2;
    x.sortOrder = h.sortOrder;
    x.sortOrderId = h.sortOrderId;
    x.codePage = h.codePage;
    x.checksum = h.checksum;
    x.changeCount1 = kFirstChangeCount;
    x.changeCount2 = h.changeCount2; // the stamp that ties the index to the table
    x.tableName = name;
    x.fields.push_back(h.fields[number - 1]);
    for (Field f : RecordFields(h)) {
        f.id = uint16_t(x.fields.size() + 1);
        x.fields.push_back(f);
    }
    x.keyFields = uint16_t(x.fields.size() - 1);
    x.hiFieldId = uint16_t(x.fields.size() + 1);
    Put(x.prefix, hdr::kIndexFieldNumber, uint8_t(number));
    SetEncryptionMark(x);
    SetDataHeaderMarks(x);
    LayOutFields(x);
    while (x.recordSize * 3u > x.BlockSize() && x.blockKiB < 32)
        x.blockKiB = uint8_t(x.blockKiB * 2);
    x.headerSize = RequiredHeaderSize(x, hdr::kSizeStep);
    return x;
}

// Every record's entry, in index order: by all its fields but the last.
std::vector<uint8_t> SortedEntries(const File& db, const TableHeader& h, const TableHeader& x,
                                   unsigned number) {
    SecondaryLayout layout;
    DescribeSecondary(x, h, layout);
    const Field& indexed = h.fields[number - 1];
    const unsigned size = x.recordSize;
    std::vector<uint8_t> entries;
    entries.reserve(size_t(h.numRecords) * size);
    ChainReader chain(db, h);
    int32_t recordNumber = 0;
    while (chain.Next())
        for (unsigned i = 0; i < chain.Count(); ++i) {
            const uint8_t* r = chain.Record(i);
            size_t at = entries.size();
            entries.resize(at + size);
            uint8_t* entry = &entries[at];
            std::memcpy(entry, r + indexed.offset, indexed.StoredSize());
            if (layout.byPlace) {
                ++recordNumber;
                EncodeField(x.fields[layout.indexedFields], &recordNumber,
                            entry + layout.numberOffset);
            } else {
                std::memcpy(entry + layout.keyOffset, r, layout.keySize);
            }
            PlaceEntry(layout, h, entry, chain.Block(), i);
        }
    if (chain.RecordsSeen() != h.numRecords)
        Fail(DBIERR_FILECORRUPT, "File: " + db.Path() + " (header and block chain disagree)");
    const size_t count = entries.size() / size;
    std::vector<uint32_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = uint32_t(i);
    const unsigned compared = x.fields.back().offset;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return std::memcmp(&entries[size_t(a) * size], &entries[size_t(b) * size], compared) < 0;
    });
    std::vector<uint8_t> sorted(entries.size());
    for (size_t i = 0; i < count; ++i)
        std::memcpy(&sorted[i * size], &entries[size_t(order[i]) * size], size);
    return sorted;
}

} // namespace

void AddSecondaryIndex(const std::string& tablePath, const IDXDesc& desc,
                       const PasswordCheck& hasPassword) {
    RecoverFamily(tablePath);
    File db = File::Open(tablePath, Access::Read, Share::Exclusive, DBIERR_NOSUCHTABLE);
    TableHeader h = ReadHeader(db);
    if (h.fileType != ftTable && h.fileType != ftKeyedTable)
        Fail(DBIERR_NOTSUPPORTED, "Table: " + tablePath + " (not a table file)");
    if (h.Encrypted() && !hasPassword(h.checksum))
        Fail(DBIERR_INVALIDPASSWORD, "Table: " + tablePath);
    const unsigned number = CheckedField(h, desc, tablePath);
    const std::string xPath = StemOf(tablePath) + IndexExtension('X', number);
    const std::string yPath = StemOf(tablePath) + IndexExtension('Y', number);
    if (FileExists(xPath))
        Fail(DBIERR_NAMENOTUNIQUE, "Table: " + tablePath + " (the index on field " +
                                       h.fields[number - 1].name + " exists)");

    TableHeader x = SecondaryHeader(h, number, desc.bMaintained != 0,
                                    xPath.substr(xPath.find_last_of("\\/:") + 1));
    const unsigned treeKey = KeySize(x, x.keyFields);
    std::vector<uint8_t> entries = SortedEntries(db, h, x, number);
    std::vector<std::string> targets{xPath, yPath};
    try {
        File xFile = File::Create(TemporaryName(xPath));
        LeafEntries leaves(treeKey);
        BlockWriter writer(xFile, x, [&](unsigned block, const uint8_t* records, unsigned count) {
            leaves.Add(block, records, count);
        });
        for (size_t at = 0; at < entries.size(); at += x.recordSize)
            writer.Append(&entries[at]);
        writer.Finish(x);
        std::vector<uint8_t> header = WriteHeader(x);
        xFile.WriteAt(0, header.data(), header.size());
        xFile.Flush();

        TableHeader y =
            PrimaryIndexHeader(x, nullptr, yPath.substr(yPath.find_last_of("\\/:") + 1));
        y.fileType = ftSecondaryIndexTree;
        File yFile = File::Create(TemporaryName(yPath));
        WritePrimaryIndex(yFile, y, leaves);
        yFile.Flush();
    } catch (...) {
        DiscardTemporaries(targets);
        throw;
    }
    CommitFamily(tablePath, targets);
}

} // namespace pdx
