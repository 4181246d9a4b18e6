#include "restructure.h"
#include "family.h"
#include "primary_index.h"
#include "secondary_index.h"
#include "status.h"
#include "table_data.h"
#include "validity_file.h"
#include <cstring>
#include <deque>
#include <optional>

namespace pdx {

namespace {

const char* SortOrderName(uint8_t sortOrder) {
    switch (sortOrder) {
    case 0x11:
        return "ANSII850";
    case 0x40:
        return "DBWINWE0";
    case 0x4C:
        return "DBWINUS0";
    case 0x62:
        return "ANSIINTL";
    case 0x54:
        return "intl850";
    case 0xB7:
        return "intl";
    case 0x03:
        return "china";
    case 0x14:
        return "BLROM800";
    case 0xC0:
        return "cyrr";
    default:
        return "ascii";
    }
}

std::string FieldName(const FLDDesc& d) {
    return std::string(d.szName, strnlen(d.szName, sizeof d.szName));
}

// The fields the request appends, after checking that it keeps every existing field as it is.
std::vector<Field> FieldsToAdd(const TableHeader& h, const CRTblDesc& desc,
                               const std::string& table) {
    if (desc.iIdxCount || desc.iSecRecCount || desc.iValChkCount || desc.iRintCount || desc.bPack)
        Fail(DBIERR_NOTSUPPORTED, "Table: " + table + " (only fields can be appended)");
    if (!desc.pfldDesc || desc.iFldCount <= h.fields.size())
        Fail(DBIERR_INVALIDRESTROP, "Table: " + table + " (no field to add)");
    std::vector<Field> added;
    for (unsigned i = 0; i < desc.iFldCount; ++i) {
        const FLDDesc& d = desc.pfldDesc[i];
        CROpType op = desc.pecrFldOp ? desc.pecrFldOp[i] : (i < h.fields.size() ? crNOOP : crADD);
        if (i < h.fields.size()) {
            FLDDesc mine;
            DescribeField(h.fields[i], uint16_t(i + 1), mine);
            if (op != crNOOP && op != crCOPY)
                Fail(DBIERR_INVALIDRESTROP,
                     "Field: " + FieldName(d) + " (existing fields can only be kept)");
            if ((d.iFldNum != 0 && d.iFldNum != i + 1) ||
                !SameName(FieldName(d), h.fields[i].name) || d.iFldType != mine.iFldType ||
                d.iSubType != mine.iSubType || d.iUnits1 != mine.iUnits1 ||
                d.iUnits2 != mine.iUnits2)
                Fail(DBIERR_FIELDMISMATCH, "Field: " + FieldName(d));
            continue;
        }
        if (op != crADD)
            Fail(DBIERR_INVALIDRESTROP, "Field: " + FieldName(d) + " (new fields must be added)");
        Field f = FieldFromDesc(d);
        if (!IsValidFieldName(f.name))
            Fail(DBIERR_INVALIDFIELDNAME, "Field: " + f.name);
        for (const auto& other : h.fields)
            if (SameName(other.name, f.name))
                Fail(DBIERR_NAMENOTUNIQUE, "Field: " + f.name);
        for (const auto& other : added)
            if (SameName(other.name, f.name))
                Fail(DBIERR_NAMENOTUNIQUE, "Field: " + f.name);
        added.push_back(f);
    }
    if (h.fields.size() + added.size() > kMaxFields)
        Fail(DBIERR_TOOMANYFLDS, "Table: " + table);
    return added;
}

// A 3.x table gains the data header of later levels.
void RaiseFromLevel3(TableHeader& h) {
    AddDataHeader(h, h.codePage == 0 ? 437 : h.codePage, SortOrderName(h.sortOrder));
}

TableHeader NewTableHeader(const TableHeader& old, const std::vector<Field>& added,
                           const std::string& table) {
    TableHeader h = old;
    uint8_t version = h.version;
    for (const auto& f : added)
        version = std::max(version, MinimumVersionFor(f.type));
    if (h.version < 5 && version >= 5)
        RaiseFromLevel3(h);
    h.version = version;
    if (h.HasDataHeader() && h.hiFieldId <= h.fields.size())
        h.hiFieldId = uint16_t(h.fields.size() + 1);
    for (Field f : added) {
        f.id = h.HasDataHeader() ? h.hiFieldId++ : uint16_t(h.fields.size() + 1);
        h.fields.push_back(f);
    }
    LayOutFields(h);
    // Grow the block when a record no longer fits or the table would need too many blocks.
    auto tooSmall = [&] {
        if (h.recordSize > h.RecordSpace())
            return true;
        uint64_t blocks =
            (uint64_t(old.numRecords) + h.RecordsPerBlock() - 1) / h.RecordsPerBlock();
        return blocks > 0xFFFF;
    };
    while (tooSmall()) {
        if (h.blockKiB >= 32)
            Fail(DBIERR_RECTOOBIG, "Table: " + table);
        h.blockKiB = uint8_t(h.blockKiB < 2 ? 2 : h.blockKiB * 2);
    }
    if (h.blockKiB > 4 && h.version < kVersion5) {
        if (h.version < 5)
            RaiseFromLevel3(h);
        h.version = kVersion5;
    }
    h.changeCount1 = uint8_t(old.changeCount1 + 1);
    h.changeCount2 = uint8_t(old.changeCount2 + 1);
    h.headerSize = RequiredHeaderSize(h, old.headerSize);
    return h;
}

// One output file of the new family and the input it replaces.
struct Output {
    std::string target;
    File file;
};

class Rewrite {
  public:
    Rewrite(const std::string& tablePath, const CRTblDesc& desc, const PasswordCheck& hasPassword)
        : path_(tablePath), family_(FindFamily(tablePath)) {
        db_ = File::Open(path_, Access::ReadWrite, Share::Exclusive, DBIERR_NOSUCHTABLE);
        old_ = ReadHeader(db_);
        if (old_.fileType != ftTable && old_.fileType != ftKeyedTable)
            Fail(DBIERR_NOTSUPPORTED, "Table: " + path_ + " (not a table file)");
        if (old_.Encrypted() && !hasPassword(old_.checksum))
            Fail(DBIERR_INVALIDPASSWORD, "Table: " + path_);
        added_ = FieldsToAdd(old_, desc, path_);
        new_ = NewTableHeader(old_, added_, path_);
        OpenFamily();
    }

    void Run() {
        try {
            WriteTable();
            WriteIndexes();
            WriteValidity();
            for (auto& o : outputs_) {
                o.file.Flush();
                o.file.Close();
            }
        } catch (...) {
            Abandon();
            throw;
        }
        std::vector<std::string> targets;
        for (const auto& o : outputs_)
            targets.push_back(o.target);
        try {
            WriteJournal(path_, targets);
        } catch (...) {
            Abandon();
            throw;
        }
        CloseInputs();
        FinishCommit(path_, targets, db_);
    }

  private:
    // With write access, though only read: the commit replaces every one of them, and a
    // read-only file must stop the restructure before anything is written, not at its renames.
    void OpenFamily() {
        auto open = [](const std::string& p) {
            return File::Open(p, Access::ReadWrite, Share::Exclusive, DBIERR_NOSUCHFILE);
        };
        if (!family_.primaryIndex.empty() && old_.keyFields > 0) {
            px_ = open(family_.primaryIndex);
            oldPx_ = ReadHeader(px_);
        }
        if (!family_.validity.empty())
            val_ = open(family_.validity);
        for (const auto& x : family_.secondary) {
            xs_.push_back(open(x));
            std::string y = SecondaryTreeOf(x);
            ys_.push_back(FileExists(y) ? open(y) : File());
        }
    }

    Output& AddOutput(const std::string& target) {
        outputs_.push_back({target, File::Create(TemporaryName(target))});
        return outputs_.back();
    }

    void WriteTable() {
        Output& out = AddOutput(path_);
        unsigned keySize = 0;
        for (unsigned i = 0; i < old_.keyFields; ++i)
            keySize += old_.fields[i].StoredSize();
        leaves_.emplace(keySize);
        moves_.newRecordsPerBlock = new_.RecordsPerBlock();
        if (!xs_.empty())
            moves_.firstPosition.assign(size_t(old_.fileBlocks) + 1, ~0u);
        BlockWriter writer(out.file, new_,
                           [&](unsigned block, const uint8_t* records, unsigned count) {
                               if (old_.keyFields > 0 && count > 0)
                                   leaves_->Add(block, records, count);
                           });
        const size_t grown = new_.recordSize - old_.recordSize;
        ChainReader chain(db_, old_);
        uint32_t position = 0;
        while (chain.Next()) {
            if (!moves_.firstPosition.empty())
                moves_.firstPosition[chain.Block()] = position;
            for (unsigned i = 0; i < chain.Count(); ++i) {
                uint8_t* slot = writer.NextSlot();
                std::memcpy(slot, chain.Record(i), old_.recordSize);
                std::memset(slot + old_.recordSize, 0, grown); // the new fields start NULL
            }
            position += chain.Count();
        }
        if (chain.RecordsSeen() != old_.numRecords)
            Fail(DBIERR_FILECORRUPT,
                 "File: " + path_ + " (header counts " + std::to_string(old_.numRecords) +
                     " records, blocks hold " + std::to_string(chain.RecordsSeen()) + ")");
        writer.Finish(new_);
        std::vector<uint8_t> header = WriteHeader(new_);
        out.file.WriteAt(0, header.data(), header.size());
    }

    void WriteIndexes() {
        if (old_.keyFields > 0) {
            std::string target =
                family_.primaryIndex.empty() ? StemOf(path_) + ".PX" : family_.primaryIndex;
            TableHeader px = PrimaryIndexHeader(new_, px_.IsOpen() ? &oldPx_ : nullptr,
                                                target.substr(target.find_last_of("\\/:") + 1));
            WritePrimaryIndex(AddOutput(target).file, px, *leaves_);
        }
        for (size_t i = 0; i < xs_.size(); ++i) {
            File& xOut = AddOutput(family_.secondary[i]).file;
            File* yOut =
                ys_[i].IsOpen() ? &AddOutput(SecondaryTreeOf(family_.secondary[i])).file : nullptr;
            CarryOverSecondaryIndex(db_, old_, moves_, new_, xs_[i], xOut,
                                    ys_[i].IsOpen() ? &ys_[i] : nullptr, yOut);
        }
    }

    void WriteValidity() {
        if (val_.IsOpen())
            RewriteValidity(val_, AddOutput(family_.validity).file, new_, old_.fields.size());
    }

    // All but the table itself, which stays open as the lock until the commit is through.
    void CloseInputs() {
        px_.Close();
        val_.Close();
        for (auto& x : xs_)
            x.Close();
        for (auto& y : ys_)
            y.Close();
    }

    void Abandon() {
        std::vector<std::string> targets;
        for (auto& o : outputs_) {
            o.file.Close();
            targets.push_back(o.target);
        }
        DiscardTemporaries(targets);
    }

    std::string path_;
    Family family_;
    File db_, px_, val_;
    std::vector<File> xs_, ys_;
    TableHeader old_, new_, oldPx_;
    std::vector<Field> added_;
    std::optional<LeafEntries> leaves_;
    RecordMoves moves_;
    std::deque<Output> outputs_;
};

} // namespace

void RestructureTable(const std::string& tablePath, const CRTblDesc& desc,
                      const PasswordCheck& hasPassword) {
    RecoverFamily(tablePath);
    Rewrite(tablePath, desc, hasPassword).Run();
}

} // namespace pdx
