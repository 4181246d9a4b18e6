#include "profile_writer.h"
#include "field_letters.h"
#include "profile_values.h"
#include <algorithm>
#include <cstring>

namespace {

FLDDesc Descriptor(const Column& c) {
    return c.type == 'M' ? MemoDescriptor(c.name.c_str(), c.size)
                         : DescriptorFor(c.name.c_str(), c.type, c.size);
}

void Put(hDBICur cur, uint16_t number, const Column& c, const Value& v, uint8_t* record) {
    if (v.empty)
        return; // the initialised record holds NULL
    if (c.type == 'A') {
        std::string text = v.text.substr(0, size_t(c.size));
        Check(Dbi().DbiPutField(cur, number, record, text.c_str()));
    } else if (c.type == 'S' || c.type == 'L') {
        int16_t n = int16_t(v.number);
        Check(Dbi().DbiPutField(cur, number, record, &n));
    } else if (c.type == 'I' || c.type == 'D' || c.type == 'T') {
        int32_t n = int32_t(v.number);
        Check(Dbi().DbiPutField(cur, number, record, &n));
    } else {
        double n = v.number;
        Check(Dbi().DbiPutField(cur, number, record, &n));
    }
}

// The engine takes the level and block size of a new table as optional parameters.
struct TableOptions {
    FLDDesc descs[2] = {};
    uint8_t data[32] = {};

    TableOptions(unsigned level, unsigned blockSize) {
        std::strcpy(descs[0].szName, "LEVEL");
        std::strcpy(descs[1].szName, "BLOCK SIZE");
        descs[1].iOffset = 16;
        std::snprintf(reinterpret_cast<char*>(data), 16, "%u", level);
        std::snprintf(reinterpret_cast<char*>(data + 16), 16, "%u", blockSize);
    }
};

void Create(Session& s, const TableJob& job, const std::vector<Column>& columns) {
    std::vector<FLDDesc> fields;
    unsigned level = job.def->level;
    for (const auto& c : columns) {
        fields.push_back(Descriptor(c));
        level = std::max(level, LevelNeeded(c.type));
    }
    IDXDesc key{};
    key.bPrimary = 1;
    key.iFldsInKey = uint16_t(job.def->keyFields);
    for (unsigned i = 0; i < job.def->keyFields; ++i)
        key.aiKeyFld[i] = uint16_t(i + 1);
    TableOptions options(level, job.def->blockSize);
    CRTblDesc desc{};
    std::strncpy(desc.szTblName, job.def->name, DBIMAXTBLNAMELEN);
    std::strcpy(desc.szTblType, "PARADOX");
    desc.iFldCount = uint16_t(fields.size());
    desc.pfldDesc = fields.data();
    desc.iIdxCount = job.def->keyFields ? 1 : 0;
    desc.pidxDesc = &key;
    desc.iOptParams = 2;
    desc.pfldOptParams = options.descs;
    desc.pOptData = options.data;
    if (!job.password.empty()) {
        desc.bProtected = 1;
        std::strncpy(desc.szPassword, job.password.c_str(), DBIMAXPATHLEN);
    }
    Check(Dbi().DbiCreateTable(s.db, 0, &desc));
}

void Fill(Session& s, const TableJob& job, const std::vector<Column>& columns) {
    hDBICur cur = s.Open(job.def->name, true);
    CURProps props;
    Fields(cur, props);
    std::vector<uint8_t> record(props.iRecBufSize);
    for (unsigned row : WriteOrder(job.seed, job.number, job.rows)) {
        RowValues values(job.seed, job.number, row, job.rows);
        Check(Dbi().DbiInitRecord(cur, record.data()));
        for (size_t i = 0; i < columns.size(); ++i)
            Put(cur, uint16_t(i + 1), columns[i], values.Make(columns[i].content), record.data());
        Check(Dbi().DbiInsertRecord(cur, dbiNOLOCK, record.data()));
    }
    Check(Dbi().DbiCloseCursor(&cur));
}

void AddIndex(Session& s, const TableJob& job, const std::vector<Column>& columns) {
    IDXDesc index{};
    index.iFldsInKey = 1;
    index.bMaintained = 1;
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == job.def->indexedColumn)
            index.aiKeyFld[0] = uint16_t(i + 1);
    Check(Dbi().DbiAddIndex(s.db, 0, job.def->name, "PARADOX", &index, nullptr));
}

} // namespace

void WriteProfileTable(Session& s, const TableJob& job) {
    std::vector<Column> columns = job.def->columns;
    columns.insert(columns.end(), job.extra.begin(), job.extra.end());
    Create(s, job, columns);
    if (!job.password.empty())
        Check(Dbi().DbiAddPassword(job.password.c_str()));
    Fill(s, job, columns);
    if (job.index && job.def->indexedColumn)
        AddIndex(s, job, columns);
}
