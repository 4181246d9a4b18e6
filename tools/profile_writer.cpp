#include "profile_writer.h"

namespace {

void Fill(Session& s, const TableJob& job, const std::vector<Column>& columns) {
    hDBICur cur = s.Open(job.def->name, true);
    CURProps props;
    Fields(cur, props);
    std::vector<uint8_t> record(props.iRecBufSize);
    for (unsigned row : WriteOrder(job.seed, job.number, job.rows)) {
        RowValues values(job.seed, job.number, row, job.rows);
        Check(Dbi().DbiInitRecord(cur, record.data()));
        for (size_t i = 0; i < columns.size(); ++i) {
            LogicalValue value(columns[i], values.Make(columns[i].content));
            if (value.Data()) // the initialised record holds NULL
                Check(Dbi().DbiPutField(cur, uint16_t(i + 1), record.data(), value.Data()));
        }
        Check(Dbi().DbiInsertRecord(cur, dbiNOLOCK, record.data()));
    }
    Check(Dbi().DbiCloseCursor(&cur));
}

} // namespace

void WriteProfileTable(Session& s, const TableJob& job) {
    ProfileTableDesc desc(job);
    Check(Dbi().DbiCreateTable(s.db, 0, desc.Request()));
    if (!job.password.empty())
        Check(Dbi().DbiAddPassword(job.password.c_str()));
    Fill(s, job, desc.Columns());
    if (desc.HasSecondaryIndex()) {
        IDXDesc index = desc.SecondaryIndex();
        Check(Dbi().DbiAddIndex(s.db, 0, job.def->name, "PARADOX", &index, nullptr));
    }
}
