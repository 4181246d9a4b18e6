#include "family_files.h"
#include "status.h"
#include "table_data.h"
#include "verify_table.h"

using namespace pdx;

TableHeader HeaderOf(const std::string& path) {
    File f = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    return ReadHeader(f);
}

std::set<std::string> FilesIn(const std::string& dir) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(data.cFileName);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return names;
}

std::vector<uint8_t> Contents(const std::string& path) {
    File f = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    std::vector<uint8_t> bytes(size_t(f.Size()));
    f.ReadExact(0, bytes.data(), bytes.size());
    return bytes;
}

std::vector<std::vector<uint8_t>> Records(const std::string& path, TableHeader& h) {
    File f = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHTABLE);
    h = ReadHeader(f);
    std::vector<std::vector<uint8_t>> records;
    ChainReader chain(f, h);
    while (chain.Next())
        for (unsigned i = 0; i < chain.Count(); ++i)
            records.emplace_back(chain.Record(i), chain.Record(i) + h.recordSize);
    return records;
}

bool NoPassword(uint32_t) {
    return false;
}

Verdict Verify(const std::string& table) {
    Verdict v;
    v.problems = VerifyTable(table, NoPassword, [&](Finding kind, const std::string& text) {
        v.notUnderstood += kind == Finding::NotUnderstood;
        v.lines += text + "\n";
    });
    return v;
}
