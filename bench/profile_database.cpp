#include "profile_database.h"
#include "add_index.h"
#include "create_table.h"
#include "profile_table_desc.h"
#include "record_codec.h"
#include "sorted_table_writer.h"
#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// Every record of the table, encoded, in row order.
std::vector<uint8_t> EncodeRows(const TableJob& job, const std::vector<Column>& columns,
                                const pdx::TableHeader& h) {
    std::vector<uint8_t> records(size_t(job.rows) * h.recordSize, 0);
    for (unsigned row = 0; row < job.rows; ++row) {
        uint8_t* record = records.data() + size_t(row) * h.recordSize;
        RowValues values(job.seed, job.number, row, job.rows);
        for (size_t i = 0; i < columns.size(); ++i) {
            LogicalValue value(columns[i], values.Make(columns[i].content));
            pdx::EncodeField(h.fields[i], value.Data(), record + h.fields[i].offset);
        }
    }
    return records;
}

// Row numbers in ascending order of the stored key, which leads the record; tables made with
// the 'ascii' sort order compare keys as bytes.
std::vector<unsigned> KeyOrder(const std::vector<uint8_t>& records, const pdx::TableHeader& h,
                               unsigned rows) {
    unsigned keyBytes = 0;
    for (unsigned i = 0; i < h.keyFields; ++i)
        keyBytes += h.fields[i].StoredSize();
    std::vector<unsigned> order(rows);
    std::iota(order.begin(), order.end(), 0u);
    auto at = [&](unsigned row) { return records.data() + size_t(row) * h.recordSize; };
    std::sort(order.begin(), order.end(),
              [&](unsigned a, unsigned b) { return std::memcmp(at(a), at(b), keyBytes) < 0; });
    return order;
}

void BuildTable(const std::string& folder, const TableJob& job) {
    ProfileTableDesc desc(job);
    const std::string path = folder + "\\" + job.def->name;
    pdx::CreateTable(path, *desc.Request(), true);
    {
        SortedTableWriter writer(path);
        const pdx::TableHeader& h = writer.Header();
        std::vector<uint8_t> records = EncodeRows(job, desc.Columns(), h);
        for (unsigned row : KeyOrder(records, h, job.rows))
            writer.Append(records.data() + size_t(row) * h.recordSize);
        writer.Finish();
    }
    if (desc.HasSecondaryIndex())
        pdx::AddSecondaryIndex(path, desc.SecondaryIndex(), [](uint32_t) { return false; });
}

} // namespace

void BuildProfileDatabase(const std::string& folder, unsigned rows) {
    const auto& tables = ProfileTables();
    for (unsigned n = 0; n < tables.size(); ++n) {
        TableJob job;
        job.def = &tables[n];
        job.number = n;
        job.rows = rows;
        BuildTable(folder, job);
    }
}
