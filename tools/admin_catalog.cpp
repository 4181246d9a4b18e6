#include "admin_catalog.h"
#include "field_letters.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

bool IsFolderName(const char* database) {
    return std::strpbrk(database, ":\\/") != nullptr;
}

bool FolderExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

const char* YesNo(bool b) {
    return b ? "yes" : "no";
}

} // namespace

std::string DatabaseFolder(const char* database) {
    if (IsFolderName(database))
        return database;
    DBDesc desc{};
    Check(Dbi().DbiGetDatabaseDesc(database, &desc));
    return desc.szPhyName;
}

std::vector<std::string> TableNames(const char* database) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((DatabaseFolder(database) + "\\*.DB").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(data.cFileName);
    while (FindNextFileA(h, &data));
    FindClose(h);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return _stricmp(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

void ListAliases() {
    uint16_t count = 0;
    Check(Dbi().DbiGetAliasNames(&count, nullptr));
    std::vector<DBINAME> names(count);
    Check(Dbi().DbiGetAliasNames(&count, names.data()));
    for (unsigned i = 0; i < count && i < names.size(); ++i) {
        uint16_t n = 16;
        CFGDesc params[16] = {};
        Check(Dbi().DbiGetAliasParams(names[i], &n, params));
        std::string path;
        for (unsigned p = 0; p < n && p < 16; ++p)
            if (_stricmp(params[p].szNodeName, "PATH") == 0)
                path = params[p].szValue;
        std::printf("%s\t%s%s\n", names[i], path.c_str(),
                    FolderExists(path) ? "" : "\t(folder missing)");
    }
}

bool ListTables(Session& s, const char* database) {
    bool all = true;
    for (const auto& name : TableNames(database)) {
        try {
            hDBICur cur = s.Open(name.c_str(), false);
            uint32_t records = 0;
            DBIResult r = Dbi().DbiGetRecordCount(cur, &records);
            Dbi().DbiCloseCursor(&cur);
            Check(r);
            std::printf("%s\t%u\n", name.c_str(), unsigned(records));
        } catch (const Failed& f) {
            char text[DBIMAXMSGLEN + 1];
            Dbi().DbiGetErrorString(f.code, text);
            std::printf("%s\terror 0x%04X: %s\n", name.c_str(), unsigned(f.code), text);
            all = false;
        }
    }
    return all;
}

void ListFields(Session& s, const char* table) {
    hDBICur cur = s.Open(table, false);
    CURProps props;
    std::vector<FLDDesc> fields = Fields(cur, props);
    uint32_t records = 0;
    Check(Dbi().DbiGetRecordCount(cur, &records));
    IDXDesc key{};
    if (props.iIndexes)
        Check(Dbi().DbiGetIndexDescs(cur, &key));
    Check(Dbi().DbiCloseCursor(&cur));
    std::printf("table\t%s\n", table);
    std::printf("records\t%u\n", unsigned(records));
    std::printf("level\t%u\n", props.iTblLevel);
    std::printf("block size\t%u\n", props.iBlockSize);
    std::printf("code page\t%u\n", props.iCodePage);
    std::printf("sort order\t%s\n", props.szLangDriver);
    std::printf("encrypted\t%s\n", YesNo(props.bProtected));
    std::printf("key fields\t%u\n", key.iFldsInKey);
    for (size_t i = 0; i < fields.size(); ++i)
        std::printf("field\t%u\t%s\t%c\t%d%s\n", unsigned(i + 1), fields[i].szName,
                    TypeLetter(fields[i]), ShownSize(fields[i]), i < key.iFldsInKey ? "\tkey" : "");
}
