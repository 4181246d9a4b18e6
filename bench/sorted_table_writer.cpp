#include "sorted_table_writer.h"
#include "status.h"

namespace {

unsigned KeyBytes(const pdx::TableHeader& h) {
    unsigned bytes = 0;
    for (unsigned i = 0; i < h.keyFields; ++i)
        bytes += h.fields[i].StoredSize();
    return bytes;
}

} // namespace

SortedTableWriter::SortedTableWriter(const std::string& tablePath)
    : path_(tablePath), file_(pdx::File::Open(tablePath, pdx::Access::ReadWrite,
                                              pdx::Share::Exclusive, DBIERR_NOSUCHTABLE)),
      header_(pdx::ReadHeader(file_)), leaves_(KeyBytes(header_)),
      writer_(file_, header_, [this](unsigned block, const uint8_t* records, unsigned count) {
          leaves_.Add(block, records, count);
      }) {}

void SortedTableWriter::Finish() {
    writer_.Finish(header_);
    std::vector<uint8_t> bytes = pdx::WriteHeader(header_);
    file_.WriteAt(0, bytes.data(), bytes.size());
    if (header_.keyFields == 0)
        return;
    const std::string pxPath = pdx::StemOf(path_) + ".PX";
    pdx::TableHeader emptyIndex = pdx::ReadHeader(
        pdx::File::Open(pxPath, pdx::Access::Read, pdx::Share::Exclusive, DBIERR_NOSUCHFILE));
    pdx::TableHeader index = pdx::PrimaryIndexHeader(
        header_, &emptyIndex, pxPath.substr(pxPath.find_last_of("\\/:") + 1));
    pdx::File pxFile = pdx::File::Create(pxPath);
    pdx::WritePrimaryIndex(pxFile, index, leaves_);
}
