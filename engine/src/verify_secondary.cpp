#include "bytes.h"
#include "family.h"
#include "table_data.h"
#include "verify_parts.h"
#include <cstring>

namespace pdx {

namespace {

// The table fields an index's leading fields copy: by persistent field ID where the index has
// them, else (single-field index of an old table) by the field number in its header. Null
// where the index does not tell.
std::vector<const Field*> IndexedFields(const TableHeader& xh, const TableHeader& h,
                                        unsigned count) {
    std::vector<const Field*> sources(count, nullptr);
    for (unsigned i = 0; i < count && xh.HasDataHeader(); ++i)
        for (const auto& f : h.fields)
            if (f.id == xh.fields[i].id)
                sources[i] = &f;
    const unsigned number = Get(xh.prefix, hdr::kIndexFieldNumber);
    if (count == 1 && !sources[0] && number >= 1 && number <= h.fields.size())
        sources[0] = &h.fields[number - 1];
    return sources;
}

// Checks the entries of one secondary index against the table's records.
class EntryCheck {
  public:
    EntryCheck(const File& table, const TableHeader& h, const ChainWalk& chain,
               const TableHeader& xh, unsigned secFields, Findings& findings, Finding kind,
               const std::string& name)
        : table_(table), h_(h), chain_(chain), xh_(xh), findings_(findings), kind_(kind),
          name_(name), sources_(IndexedFields(xh, h, secFields)), block_(h.BlockSize()) {
        keyOffset_ = xh.fields[secFields].offset;
        keySize_ = KeySize(h, h.keyFields);
        hintOffset_ = xh.fields.back().offset;
        for (unsigned i = 0; i < secFields; ++i)
            if (sources_[i] &&
                (sources_[i]->type != xh.fields[i].type || sources_[i]->info != xh.fields[i].info))
                sources_[i] = nullptr;
    }

    uint64_t Entries() const { return entries_; }

    void Check(const uint8_t* entry) {
        const std::string which = "entry " + std::to_string(++entries_);
        const unsigned hint = GetIndexShort(entry + hintOffset_);
        if (hint == 0 || hint >= chain_.inChain.size() || !chain_.inChain[hint]) {
            Report(which + " points at block " + std::to_string(hint) +
                   ", which is not in the table's chain");
            return;
        }
        const uint8_t* record = Find(hint, entry + keyOffset_);
        if (!record) {
            Report(which + ": block " + std::to_string(hint) + " holds no record with its key");
            return;
        }
        for (size_t i = 0; i < sources_.size(); ++i)
            if (sources_[i] &&
                std::memcmp(entry + xh_.fields[i].offset, record + sources_[i]->offset,
                            sources_[i]->StoredSize()) != 0)
                Report(which + ": its " + sources_[i]->name + " differs from the record's");
    }

  private:
    void Report(const std::string& text) { findings_.Report(kind_, name_, text); }

    const uint8_t* Find(unsigned block, const uint8_t* key) {
        if (cached_ != block) {
            ReadBlock(table_, h_, block, block_.data());
            cached_ = block;
        }
        int size = Get(block_.data(), blk::kLastRecordOffset) + h_.recordSize;
        unsigned count = size > 0 ? unsigned(size) / h_.recordSize : 0;
        for (unsigned i = 0; i < count && i < h_.RecordsPerBlock(); ++i) {
            const uint8_t* record = block_.data() + blk::kRecords + size_t(i) * h_.recordSize;
            if (std::memcmp(record, key, keySize_) == 0)
                return record;
        }
        return nullptr;
    }

    const File& table_;
    const TableHeader& h_;
    const ChainWalk& chain_;
    const TableHeader& xh_;
    Findings& findings_;
    Finding kind_;
    std::string name_;
    std::vector<const Field*> sources_;
    std::vector<uint8_t> block_;
    unsigned cached_ = 0, keyOffset_ = 0, keySize_ = 0, hintOffset_ = 0;
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
    const unsigned tableKeys = h.keyFields;
    if (tableKeys == 0) {
        findings.Problem(name, "a secondary index on a table without key");
        return;
    }
    if (xh.keyFields <= tableKeys || xh.fields.size() != xh.keyFields + 1u ||
        xh.fields.back().type != pxShort ||
        !SameLayout(xh.fields, xh.keyFields - tableKeys, h.fields, 0, tableKeys)) {
        findings.Problem(name, "its fields are not indexed fields, the table's key and a block");
        return;
    }
    const unsigned secFields = xh.keyFields - tableKeys;
    EntryCheck entries(table, h, chain, xh, secFields, findings, kind, name);
    CheckStamp(findings, kind, name, BaseName(table.Path()), xh.changeCount2, h.changeCount2);
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
