// A command-line window onto the engine: dumps a table in a canonical text form, appends a
// field by restructuring, creates and fills tables for tests, samples and benchmarks, and holds
// or keeps opening a table to stand for another user of it.
#include "add_field.h"
#include "engine_session.h"
#include "field_letters.h"
#include "fill_table.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

// The physical type code and header size byte a logical descriptor stands for.
std::pair<unsigned, unsigned> PhysicalType(const FLDDesc& d) {
    switch (d.iFldType) {
    case fldZSTRING:
        return {0x01, unsigned(d.iUnits1)};
    case fldDATE:
        return {0x02, 4};
    case fldINT16:
        return {0x03, 2};
    case fldINT32:
        return {d.iSubType == fldstAUTOINC ? 0x16u : 0x04u, 4};
    case fldFLOAT:
        return {d.iSubType == fldstMONEY ? 0x05u : 0x06u, 8};
    case fldBOOL:
        return {0x09, 1};
    case fldTIME:
        return {0x14, 4};
    case fldTIMESTAMP:
        return {0x15, 8};
    case fldBCD:
        return {0x17, unsigned(d.iUnits2)};
    case fldBYTES:
        return {0x18, unsigned(d.iUnits1)};
    case fldBLOB:
        return {0x0Cu + unsigned(d.iSubType - fldstMEMO), unsigned(d.iUnits1) + 10};
    default:
        return {0, 0};
    }
}

std::string Hex(const uint8_t* p, size_t n) {
    std::string s;
    char buf[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", p[i]);
        s += buf;
    }
    return s;
}

std::string Escaped(const char* text) {
    std::string s;
    char buf[5];
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x20 || *p > 0x7E || *p == '|' || *p == '\\') {
            std::snprintf(buf, sizeof buf, "\\x%02x", *p);
            s += buf;
        } else {
            s += char(*p);
        }
    }
    return s;
}

std::string Value(hDBICur cur, uint16_t number, const FLDDesc& d, const uint8_t* record) {
    const uint8_t* stored = record + d.iOffset;
    bool zero = true;
    for (unsigned i = 0; i < d.iLen; ++i)
        zero = zero && stored[i] == 0;
    if (zero)
        return "NULL";
    std::vector<uint8_t> value(d.iLen + 2u);
    BOOL16 blank = 0;
    Check(Dbi().DbiGetField(cur, number, record, value.data(), &blank));
    char buf[64];
    int16_t s;
    int32_t l;
    double f;
    switch (d.iFldType) {
    case fldZSTRING:
        return Escaped(reinterpret_cast<const char*>(value.data()));
    case fldINT16:
        std::memcpy(&s, value.data(), 2);
        return std::to_string(s);
    case fldBOOL:
        std::memcpy(&s, value.data(), 2);
        return s ? "true" : "false";
    case fldINT32:
    case fldDATE:
    case fldTIME:
        std::memcpy(&l, value.data(), 4);
        return std::to_string(l);
    case fldFLOAT:
    case fldTIMESTAMP:
        std::memcpy(&f, value.data(), 8);
        std::snprintf(buf, sizeof buf, "%.17g", f);
        return buf;
    default:
        return Hex(stored, d.iLen);
    }
}

void Dump(Session& s, const char* table) {
    hDBICur cur = s.Open(table, false);
    CURProps props;
    std::vector<FLDDesc> fields = Fields(cur, props);
    IDXDesc index{};
    if (props.iIndexes)
        Check(Dbi().DbiGetIndexDescs(cur, &index));
    uint32_t count = 0;
    Check(Dbi().DbiGetRecordCount(cur, &count));
    std::printf("fields %u records %u keys %u\n", props.iFields, unsigned(count), index.iFldsInKey);
    for (size_t i = 0; i < fields.size(); ++i) {
        auto [type, size] = PhysicalType(fields[i]);
        std::printf("field %u %s %02x %u\n", unsigned(i + 1), fields[i].szName, type, size);
    }
    std::vector<uint8_t> record(props.iRecBufSize);
    for (;;) {
        DBIResult r = Dbi().DbiGetNextRecord(cur, dbiNOLOCK, record.data(), nullptr);
        if (r == DBIERR_EOF)
            break;
        Check(r);
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i)
            line += (i ? "|" : "") + Value(cur, uint16_t(i + 1), fields[i], record.data());
        std::printf("%s\n", line.c_str());
    }
    Check(Dbi().DbiCloseCursor(&cur));
}

// A table of `rows` records: Id (the key when keyed), Name, Score, Amount and Note.
void Fill(Session& s, const char* table, long rows, bool keyed, const char* password) {
    FillTableRequest request(table, keyed, password);
    Check(Dbi().DbiCreateTable(s.db, 1, request.Request()));
    hDBICur cur = s.Open(table, true);
    CURProps props;
    Fields(cur, props);
    std::vector<uint8_t> record(props.iRecBufSize);
    for (long i = 1; i <= rows; ++i) {
        const FillRow row(i);
        Check(Dbi().DbiInitRecord(cur, record.data()));
        for (int f = 0; f < kFillFieldCount; ++f)
            Check(Dbi().DbiPutField(cur, uint16_t(f + 1), record.data(), row.Value(f)));
        Check(Dbi().DbiInsertRecord(cur, dbiNOLOCK, record.data()));
    }
    Check(Dbi().DbiCloseCursor(&cur));
}

// Holds the table open exclusively for a while, so that other processes meet it in use.
void Hold(Session& s, const char* table, long millis) {
    hDBICur cur = s.Open(table, true);
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(DWORD(millis));
    Check(Dbi().DbiCloseCursor(&cur));
}

// Opens and closes the table over and over for a while, as a busy reader does, and counts the
// opens and the refusals (table in use). Every open first recovers what a commit left behind.
void Reopen(Session& s, const char* table, long millis) {
    unsigned opened = 0, refused = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < DWORD(millis)) {
        try {
            hDBICur cur = s.Open(table, false);
            Check(Dbi().DbiCloseCursor(&cur));
            ++opened;
        } catch (const Failed& f) {
            if (f.code != DBIERR_TABLEINUSE)
                throw;
            ++refused;
        }
    }
    std::printf("opened %u refused %u\n", opened, refused);
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: pdxtool dump <folder> <table> [password]\n"
        "       pdxtool add <folder> <table> <field> <A|S|I|D|N|$|L|T|@|#|Y> <size> [password]\n"
        "       pdxtool fill <folder> <table> <rows> <keyed|plain> [password]\n"
        "       pdxtool hold <folder> <table> <milliseconds>\n"
        "       pdxtool reopen <folder> <table> <milliseconds>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        return Usage();
    _setmode(_fileno(stdout), _O_BINARY); // dumps compare byte for byte with Linux tools
    std::string command = argv[1];
    try {
        if (command == "dump" && argc <= 5) {
            Session s(argv[2], argc == 5 ? argv[4] : nullptr);
            Dump(s, argv[3]);
        } else if (command == "add" && (argc == 7 || argc == 8)) {
            Session s(argv[2], argc == 8 ? argv[7] : nullptr);
            AddField(s, argv[3], DescriptorFor(argv[4], argv[5][0], std::atoi(argv[6])));
        } else if (command == "fill" && (argc == 6 || argc == 7)) {
            const char* password = argc == 7 ? argv[6] : nullptr;
            Session s(argv[2], password);
            Fill(s, argv[3], std::atol(argv[4]), std::string(argv[5]) == "keyed", password);
        } else if (command == "hold" && argc == 5) {
            Session s(argv[2], nullptr);
            Hold(s, argv[3], std::atol(argv[4]));
        } else if (command == "reopen" && argc == 5) {
            Session s(argv[2], nullptr);
            Reopen(s, argv[3], std::atol(argv[4]));
        } else {
            return Usage();
        }
    } catch (const Failed& f) {
        PrintFailure(f);
        return 1;
    }
    return 0;
}
