// Families damaged where the engine follows an offset or a count from the file: a header's
// regions, the record count, the validity file's footer, a secondary index's copy of the key,
// keys too large for an index block. Each is refused with a clear error before anything is
// written, and every file of the family stays as it was, byte for byte.
#include "add_index.h"
#include "append_field.h"
#include "bytes.h"
#include "create_table.h"
#include "family_files.h"
#include "record_codec.h"
#include "status.h"
#include "table_cursor.h"
#include "tables/column_desc.h"
#include "test_folder.h"
#include "verify_table.h"
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace pdx;

constexpr unsigned kRows = 60;

// Every file of the folder by name: what a refused operation must leave as it found it.
std::map<std::string, std::vector<uint8_t>> FolderContents(const TestFolder& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& name : FilesIn(folder.Path()))
        files[name] = Contents(folder.File(name));
    return files;
}

void Patch(const std::string& path, size_t at, const std::vector<uint8_t>& bytes) {
    File f = File::Open(path, Access::ReadWrite, Share::Exclusive, DBIERR_NOSUCHFILE);
    f.WriteAt(at, bytes.data(), bytes.size());
}

std::vector<uint8_t> Le16(uint16_t v) {
    return {uint8_t(v), uint8_t(v >> 8)};
}

std::vector<uint8_t> Le32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

// Runs the operation, which must fail with `code`, and checks that the folder's files are as
// they were: none written, none left behind.
void ExpectRefused(const TestFolder& folder, const std::string& what, DBIResult code,
                   const std::function<void()>& operation) {
    const auto before = FolderContents(folder);
    try {
        operation();
        ADD_FAILURE() << what << ": succeeded";
    } catch (const EngineError& err) {
        EXPECT_EQ(err.code, code) << what << ": " << err.context;
    }
    EXPECT_TRUE(FolderContents(folder) == before) << what << ": files changed";
}

// ORDERS.DB keyed on Code (A8), with Qty (I) and Note (A20): kRows records; with a maintained
// index on Qty (ORDERS.X02, ORDERS.Y02) when asked.
std::string Orders(const TestFolder& folder, bool indexed) {
    const std::string table = folder.File("ORDERS.DB");
    FLDDesc fields[] = {ColumnDesc("Code", fldZSTRING, 8), ColumnDesc("Qty", fldINT32),
                        ColumnDesc("Note", fldZSTRING, 20)};
    IDXDesc key{};
    key.bPrimary = 1;
    key.iFldsInKey = 1;
    key.aiKeyFld[0] = 1;
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, "ORDERS.DB");
    desc.iFldCount = 3;
    desc.pfldDesc = fields;
    desc.iIdxCount = 1;
    desc.pidxDesc = &key;
    CreateTable(table, desc, false);
    {
        TableCursor cursor(table, false, true, NoPassword);
        const TableHeader& h = cursor.Header();
        std::vector<uint8_t> record(h.recordSize);
        for (unsigned i = 0; i < kRows; ++i) {
            const std::string code = "C" + std::to_string(1000 + i * 7 % kRows);
            const int32_t qty = int32_t(i % 9);
            EncodeField(h.fields[0], code.c_str(), record.data() + h.fields[0].offset);
            EncodeField(h.fields[1], &qty, record.data() + h.fields[1].offset);
            EncodeField(h.fields[2], "note", record.data() + h.fields[2].offset);
            cursor.Insert(record.data());
        }
        cursor.Close();
    }
    if (indexed) {
        IDXDesc index{};
        index.iFldsInKey = 1;
        index.aiKeyFld[0] = 2;
        index.bMaintained = 1;
        AddSecondaryIndex(table, index, NoPassword);
    }
    return table;
}

// ---- the table header

// Where the header's regions lie comes from offsets of its own; so does how many records it
// claims. Damage to either fails as a corrupt header wherever the header is read: nothing is
// read past it, and no region read from a damaged offset is written into a new header.
TEST(DamagedHeader, OffsetsAndCountsBeyondTheHeaderOrItsBlocksAreCorruption) {
    struct Case {
        const char* what;
        std::vector<std::pair<size_t, std::vector<uint8_t>>> patches;
    };
    TestFolder probe;
    const std::vector<uint8_t> header = Contents(Orders(probe, false));
    const uint16_t ids = Get(header.data(), hdr::kFieldIdsFrom);
    const uint16_t used = Get(header.data(), hdr::kUsedHeaderBytes);
    // A sort order name that runs from the end of the used header to its last byte.
    std::vector<uint8_t> longName(Get(header.data(), hdr::kHeaderSize) - used - 1u, 'x');
    longName.push_back(0);
    const Case cases[] = {
        {"sort order name past the header", {{hdr::kSortOrderIdFrom.offset, Le16(0xFFF0)}}},
        {"sort order name over the field names", {{hdr::kSortOrderIdFrom.offset, Le16(ids - 4)}}},
        {"field numbers over the field list",
         {{hdr::kFieldIdsFrom.offset, Le16(0x20)},
          {hdr::kSortOrderIdFrom.offset, Le16(uint16_t(used - hdr::kFixedPartEnd))},
          {used, longName}}},
        {"field numbers past the header", {{hdr::kFieldIdsFrom.offset, Le16(0xFFFF)}}},
        {"more records than the blocks hold", {{hdr::kNumRecords.offset, Le32(0xFFFFFF00)}}},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table = Orders(folder, false);
        for (const auto& [at, bytes] : c.patches)
            Patch(table, at, bytes);
        ExpectRefused(folder, std::string(c.what) + ", opened", DBIERR_HEADERCORRUPT,
                      [&] { TableCursor(table, false, true, NoPassword); });
        ExpectRefused(folder, std::string(c.what) + ", restructured", DBIERR_HEADERCORRUPT,
                      [&] { AppendField(table, "EIN", fldINT32); });
        Verdict v = Verify(table);
        EXPECT_EQ(v.problems, 1u) << c.what << "\n" << v.lines;
    }
}

// ---- the validity file

// A validity file of the later layout for ORDERS.DB: no checks, a footer listing its fields.
std::vector<uint8_t> ValidityFor(const TableHeader& h) {
    std::vector<uint8_t> bytes(validity::kEntriesStart, 0);
    Put(bytes.data(), validity::kStamp, h.changeCount2);
    Put(bytes.data(), validity::kVersion, h.version);
    Put(bytes.data(), validity::kFooter, uint32_t(bytes.size()));
    std::vector<uint8_t> footer(validity::kFooterLists, 0);
    Put(footer.data(), validity::kFooterFieldCount, uint16_t(h.fields.size()));
    for (const auto& f : h.fields) {
        const auto id = Le16(f.id);
        footer.insert(footer.end(), id.begin(), id.end());
    }
    for (const auto& f : h.fields)
        footer.insert(footer.end(), {f.type, f.info});
    footer.resize(footer.size() + validity::kPathArea, 0);
    for (const auto& f : h.fields) {
        footer.insert(footer.end(), f.name.begin(), f.name.end());
        footer.push_back(0);
    }
    bytes.insert(bytes.end(), footer.begin(), footer.end());
    return bytes;
}

// Offsets near the top of the 32-bit range once wrapped the bounds checks, and the integrity
// section's offset, moved when the footer grows, wrapped on the way out.
TEST(DamagedValidity, FooterAndIntegrityOffsetsOutsideTheFileAreCorruption) {
    struct Case {
        const char* what;
        size_t at;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"footer at the top of the range", validity::kFooter.offset, Le32(0xFFFFFFFA)},
        {"footer at the very top", validity::kFooter.offset, Le32(0xFFFFFFFF)},
        {"footer past the end", validity::kFooter.offset, Le32(0x00100000)},
        {"integrity section at the top of the range", validity::kIntegrity.offset,
         Le32(0xFFFFFFF0)},
        {"integrity section past the end", validity::kIntegrity.offset, Le32(0x00100000)},
        {"footer listing more fields than the file holds", validity::kEntriesStart, Le16(0xFFFF)},
    };
    {
        TestFolder folder;
        const std::string table = Orders(folder, false);
        const std::vector<uint8_t> val = ValidityFor(HeaderOf(table));
        File::Create(folder.File("ORDERS.VAL")).WriteAt(0, val.data(), val.size());
        Verdict v = Verify(table);
        ASSERT_EQ(v.problems + v.notUnderstood, 0u) << "the undamaged fixture\n" << v.lines;
        AppendField(table, "EIN", fldINT32);
        EXPECT_EQ(Contents(folder.File("ORDERS.VAL")).size(), val.size() + 2 + 2 + 4);
    }
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table = Orders(folder, false);
        const std::vector<uint8_t> val = ValidityFor(HeaderOf(table));
        File::Create(folder.File("ORDERS.VAL")).WriteAt(0, val.data(), val.size());
        Patch(folder.File("ORDERS.VAL"), c.at, c.bytes);
        ExpectRefused(folder, c.what, DBIERR_VALCORRUPT,
                      [&] { AppendField(table, "EIN", fldINT32); });
        Verdict v = Verify(table);
        EXPECT_EQ(v.problems, 1u) << c.what << "\n" << v.lines;
        EXPECT_NE(v.lines.find("ORDERS.VAL"), std::string::npos) << c.what << "\n" << v.lines;
    }
}

// ---- the secondary index

// An index whose copy of the table's key differs from the key in size or type cannot be
// pointed at the records: comparing keys of two sizes would read past its entries.
TEST(DamagedSecondaryIndex, KeyCopyUnlikeTheTablesKeyIsNotUnderstood) {
    const size_t codeCopy = hdr::kDataHeaderEnd + 2; // the index's second field: Code
    struct Case {
        const char* what;
        uint8_t type, size;
    };
    const Case cases[] = {
        {"shorter", pxAlpha, 2},
        {"of another type", pxNumber, 8},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table = Orders(folder, true);
        const std::string x = folder.File("ORDERS.X02");
        const TableHeader xh = HeaderOf(x);
        ASSERT_EQ(xh.fields[1].info, 8);
        Patch(x, codeCopy, {c.type, c.size});
        Patch(x, hdr::kRecordSize.offset, Le16(uint16_t(xh.recordSize - 8 + c.size)));
        ExpectRefused(folder, c.what, DBIERR_NOTSUPPORTED,
                      [&] { AppendField(table, "EIN", fldINT32); });
        Verdict v = Verify(table);
        EXPECT_EQ(v.notUnderstood, 1u) << c.what << "\n" << v.lines;
    }
}

// ---- the primary index

// A table whose key fills more than half an index block of the largest size: no index tree
// holds it. Fields of 255 bytes, the first one the key; the header then claims `keyFields`.
TEST(DamagedPrimaryIndex, KeysTooLargeForTwoAnIndexBlockAreNotSupported) {
    struct Case {
        const char* what;
        unsigned fields, lastSize, keyFields;
    };
    const Case cases[] = {
        {"one key a block", 65, 255, 65},
        {"no key a block", 129, 117, 129},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table = folder.File("WIDE.DB");
        std::vector<std::string> names;
        for (unsigned i = 0; i < c.fields; ++i)
            names.push_back("F" + std::to_string(i + 1));
        std::vector<FLDDesc> fields;
        for (unsigned i = 0; i < c.fields; ++i)
            fields.push_back(ColumnDesc(names[i].c_str(), fldZSTRING,
                                        int16_t(i + 1 == c.fields ? c.lastSize : 255)));
        IDXDesc key{};
        key.bPrimary = 1;
        key.iFldsInKey = 1;
        key.aiKeyFld[0] = 1;
        CRTblDesc desc{};
        std::strcpy(desc.szTblName, "WIDE.DB");
        desc.iFldCount = uint16_t(c.fields);
        desc.pfldDesc = fields.data();
        desc.iIdxCount = 1;
        desc.pidxDesc = &key;
        CreateTable(table, desc, false);
        {
            TableCursor cursor(table, false, true, NoPassword);
            std::vector<uint8_t> record(cursor.Header().recordSize, 0);
            for (const char* k : {"a", "b"}) {
                EncodeField(cursor.Header().fields[0], k, record.data());
                cursor.Insert(record.data());
            }
            cursor.Close();
        }
        Patch(table, hdr::kKeyFields.offset, Le16(uint16_t(c.keyFields)));
        std::vector<uint8_t> record(HeaderOf(table).recordSize, 0);
        ExpectRefused(folder, std::string(c.what) + ", inserted", DBIERR_NOTSUPPORTED, [&] {
            TableCursor cursor(table, false, true, NoPassword);
            cursor.Insert(record.data());
        });
        ExpectRefused(folder, std::string(c.what) + ", restructured", DBIERR_NOTSUPPORTED,
                      [&] { AppendField(table, "Flag", fldBOOL); });
    }
}

} // namespace
