#include "bytes.h"
#include "family.h"
#include "secondary_layout.h"
#include "table_data.h"
#include "verify_parts.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

// Checks the entries of one secondary index against the table's records.
class EntryCheck {
  public:
    EntryCheck(const File& table, const TableHeader& h, const ChainWalk& chain,
               const TableHeader& xh, const SecondaryLayout& layout, Findings& findings,
               Finding kind, const std::string& name)
        : table_(table), h_(h), chain_(chain), xh_(xh), layout_(layout), findings_(findings),
          kind_(kind), name_(name), block_(h.BlockSize()) {}

    uint64_t Entries() const { return entries_; }

    void Check(const uint8_t* entry) {
        const std::string which = "entry " + std::to_string(++entries_);
        const unsigned hint = GetIndexShort(entry + layout_.blockOffset);
        if (hint == 0 || hint >= chain_.inChain.size() || !chain_.inChain[hint]) {
            Report(which + " points at block " + std::to_string(hint) +
                   ", which is not in the table's chain");
            return;
        }
        const uint8_t* record = Find(hint, entry);
        if (!record) {
            Report(which + ": block " + std::to_string(hint) +
                   (layout_.byPlace ? " holds no record at offset " +
                                          std::to_string(GetIndexShort(entry + layout_.placeOffset))
                                    : " holds no record with its key"));
            return;
        }
        for (size_t i = 0; i < layout_.sources.size(); ++i) {
            const Field* source = layout_.sources[i];
            if (source && std::memcmp(entry + xh_.fields[i].offset, record + source->offset,
                                      source->StoredSize()) != 0)
                Report(which + ": its " + source->name + " differs from the record's");
        }
    }

  private:
    void Report(const std::string& text) { findings_.Report(kind_, name_, text); }

    const uint8_t* Find(unsigned block, const uint8_t* entry) {
        if (cached_ != block) {
            ReadBlock(table_, h_, block, block_.data());
            cached_ = block;
        }
        int size = Get(block_.data(), blk::kLastRecordOffset) + h_.recordSize;
        unsigned count = size > 0 ? unsigned(size) / h_.recordSize : 0;
        int slot =
            EntrySlot(layout_, h_, entry, block_.data(), std::min(count, h_.RecordsPerBlock()));
        return slot < 0 ? nullptr : block_.data() + blk::kRecords + size_t(slot) * h_.recordSize;
    }

    const File& table_;
    const TableHeader& h_;
    const ChainWalk& chain_;
    const TableHeader& xh_;
    const SecondaryLayout& layout_;
    Findings& findings_;
    Finding kind_;
    std::string name_;
    std::vector<uint8_t> block_;
    unsigned cached_ = 0;
    uint64_t entries_ = 0;
};

void CheckTree(const std::string& xPath, const TableHeader& xh, const ChainWalk& entries,
               Findings& findings, Finding kind) {
    const std::string yPath = SecondaryTreeOf(xPath);
    const std::string name = BaseName(yPath);
    if (!FileExists(yPath)) {
        findings.Report(kind, BaseName(xPath), "its index tree " + name + " is missing");
        return;
    }
    File y = File::Open(yPath, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    TableHeader yh;
    if (!ReadFamilyHeader(y, yh, findings, kind))
        return;
    if (!yh.IsIndexTree()) {
        findings.Report(kind, name,
                        "not an index tree (file type " + std::to_string(yh.fileType) + ")");
        return;
    }
    if (yh.fields.size() != xh.keyFields || !SameLayout(yh.fields, 0, xh.fields, 0, xh.keyFields)) {
        findings.Report(kind, name, "its fields differ from the key of " + BaseName(xPath));
        return;
    }
    // Engine-written trees disagree with their index's change count at times: only a note.
    CheckStamp(findings, Finding::Note, name, BaseName(xPath), Get(yh.prefix, hdr::kIndexStamp),
               xh.changeCount1);
    CheckIndexTree(y, yh, entries, KeySize(xh, xh.keyFields), findings, kind);
}

// The index's stamp against the table's: a mismatch the original engine leaves is a note.
void CheckIndexStamp(const TableHeader& xh, const TableHeader& h, const std::string& name,
                     const std::string& table, Findings& findings, Finding kind) {
    if (AddedByRestructure(xh, h))
        findings.Note(name, "stamp " + std::to_string(xh.changeCount2) + ", " + table + " " +
                                std::to_string(h.changeCount2) +
                                ": one above, as the original engine leaves an index that a "
                                "restructure added beside a table it did not rewrite");
    else
        CheckStamp(findings, kind, name, table, xh.changeCount2, h.changeCount2);
}

} // namespace

void CheckSecondaryIndex(const std::string& xPath, const File& table, const TableHeader& h,
                         const ChainWalk& chain, Findings& findings) {
    const std::string name = BaseName(xPath);
    File x = File::Open(xPath, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    TableHeader xh;
    if (!ReadFamilyHeader(x, xh, findings, Finding::Problem))
        return;
    const bool maintained =
        xh.fileType == ftMaintainedSecondaryIndex || xh.fileType == ftMaintainedCompositeIndex;
    if (!maintained && xh.fileType != ftSecondaryIndex && xh.fileType != ftCompositeIndex) {
        findings.Problem(name,
                         "not a secondary index (file type " + std::to_string(xh.fileType) + ")");
        return;
    }
    // An index that is not maintained is rebuilt on use: its disagreements are expected.
    const Finding kind = maintained ? Finding::Problem : Finding::Note;
    if (!maintained)
        findings.Note(name, "not maintained: the engine rebuilds it when it is used");
    SecondaryLayout layout;
    const std::string unknown = DescribeSecondary(xh, h, layout);
    if (!unknown.empty()) {
        findings.NotUnderstood(name, unknown);
        return;
    }
    EntryCheck entries(table, h, chain, xh, layout, findings, kind, name);
    CheckIndexStamp(xh, h, name, BaseName(table.Path()), findings, kind);
    ChainWalk walk = WalkChain(x, xh, KeySize(xh, xh.keyFields), findings, kind,
                               [&](unsigned, const uint8_t* records, unsigned count) {
                                   for (unsigned i = 0; i < count; ++i)
                                       entries.Check(records + size_t(i) * xh.recordSize);
                               });
    if (walk.complete && chain.complete && entries.Entries() != h.numRecords)
        findings.Report(kind, name,
                        std::to_string(entries.Entries()) + " entries for " +
                            std::to_string(h.numRecords) + " records of the table");
    CheckTree(xPath, xh, walk, findings, kind);
}

} // namespace pdx
