#include "verify_table.h"
#include "blob_file.h"
#include "bytes.h"
#include "family.h"
#include "table_data.h"
#include "validity_file.h"
#include "verify_parts.h"

namespace pdx {

namespace {

class TableCheck {
  public:
    TableCheck(const std::string& path, const PasswordCheck& hasPassword, Findings& findings)
        : path_(path), name_(BaseName(path)), hasPassword_(hasPassword), findings_(findings) {}

    void Run() {
        File db = File::Open(path_, Access::Read, Share::Shared, DBIERR_NOSUCHTABLE);
        if (!ReadFamilyHeader(db, h_, findings_, Finding::Problem))
            return;
        if (h_.fileType != ftTable && h_.fileType != ftKeyedTable) {
            Problem("not a table file (file type " + std::to_string(h_.fileType) + ")");
            return;
        }
        if (h_.Encrypted() && !hasPassword_(h_.checksum))
            Fail(DBIERR_INVALIDPASSWORD, "Table: " + path_);
        CheckFields();
        ChainWalk chain = WalkChain(
            db, h_, KeySize(h_, h_.keyFields), findings_, Finding::Problem,
            [&](unsigned, const uint8_t* records, unsigned count) { CheckBlobs(records, count); });
        CheckFreeList(db, chain);
        Family family = FindFamily(path_);
        CheckPrimaryIndex(family, chain);
        for (const auto& x : family.secondary)
            CheckSecondaryIndex(x, db, h_, chain, findings_);
        if (!family.validity.empty())
            CheckValidity(family.validity);
    }

  private:
    void Problem(const std::string& text) { findings_.Problem(name_, text); }

    void CheckFields() {
        if ((h_.fileType == ftKeyedTable) != (h_.keyFields > 0))
            Problem("file type " + std::to_string(h_.fileType) + " with " +
                    std::to_string(h_.keyFields) + " key fields");
        for (size_t i = 0; i < h_.fields.size(); ++i) {
            const Field& f = h_.fields[i];
            for (size_t j = 0; j < i; ++j) {
                if (SameName(f.name, h_.fields[j].name))
                    Problem("field name \"" + f.name + "\" appears twice");
                if (h_.HasDataHeader() && f.id == h_.fields[j].id)
                    Problem("field ID " + std::to_string(f.id) + " appears twice");
            }
            if (h_.HasDataHeader() && f.id >= h_.hiFieldId)
                Problem("field " + f.name + " has ID " + std::to_string(f.id) +
                        ", not below the next free ID " + std::to_string(h_.hiFieldId));
        }
    }

    // Every memo/BLOB value stored outside its record must be readable from the .MB.
    void CheckBlobs(const uint8_t* records, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            ++record_;
            const uint8_t* record = records + size_t(i) * h_.recordSize;
            for (const auto& f : h_.fields) {
                if (!IsBlobType(f.type) || AllZero(record + f.offset + f.info - kBlobTail, 8))
                    continue;
                try {
                    ReadBlob(path_, h_, f, record + f.offset);
                } catch (const EngineError& err) {
                    const std::string mb = BaseName(StemOf(path_) + ".MB");
                    findings_.Problem(err.code == DBIERR_NOSUCHFILE ? name_ : mb,
                                      "record " + std::to_string(record_) + " field " + f.name +
                                          ": " + WhatOf(err));
                }
            }
        }
    }

    void CheckFreeList(const File& db, const ChainWalk& chain) {
        std::vector<bool> seen(size_t(h_.fileBlocks) + 1, false);
        std::vector<uint8_t> buf(h_.BlockSize());
        unsigned free = 0;
        for (unsigned b = h_.firstFreeBlock; b != 0; b = Get(buf.data(), blk::kNext)) {
            const std::string block = "block " + std::to_string(b);
            if (b > h_.fileBlocks || seen[b] || chain.inChain[b]) {
                Problem("the free list reaches " + block +
                        (b > h_.fileBlocks ? ", beyond the end of the file"
                         : seen[b]         ? " twice"
                                           : ", which is in the chain"));
                return;
            }
            seen[b] = true;
            ++free;
            ReadBlock(db, h_, b, buf.data());
        }
        unsigned used = 0;
        for (bool in : chain.inChain)
            used += in;
        if (chain.complete && used + free < h_.fileBlocks)
            findings_.Note(name_, std::to_string(h_.fileBlocks - used - free) +
                                      " blocks are neither in the chain nor free");
    }

    void CheckPrimaryIndex(const Family& family, const ChainWalk& chain) {
        const std::string pxName = BaseName(family.primaryIndex);
        if (h_.keyFields == 0) {
            if (!family.primaryIndex.empty())
                findings_.Note(pxName, "the table has no key: the index is not used");
            return;
        }
        if (family.primaryIndex.empty()) {
            findings_.Note(name_, "keyed table without its primary index (.PX): not checked");
            return;
        }
        File px = File::Open(family.primaryIndex, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
        TableHeader ph;
        if (!ReadFamilyHeader(px, ph, findings_, Finding::Problem))
            return;
        if (ph.fileType != ftPrimaryIndex || ph.fields.size() != h_.keyFields ||
            !SameLayout(ph.fields, 0, h_.fields, 0, h_.keyFields)) {
            findings_.Problem(pxName, "not a primary index of the table's key fields");
            return;
        }
        if (ph.sortOrder != h_.sortOrder)
            findings_.Problem(pxName, "sort order " + std::to_string(ph.sortOrder) +
                                          ", the table's " + std::to_string(h_.sortOrder));
        CheckStamp(findings_, Finding::Problem, pxName, name_, Get(ph.prefix, hdr::kIndexStamp),
                   h_.changeCount1);
        CheckIndexTree(px, ph, chain, KeySize(h_, h_.keyFields), findings_, Finding::Problem);
    }

    // The .VAL keeps a stamp and, in its later layout, a copy of the field list: both must
    // follow the table.
    void CheckValidity(const std::string& path) {
        const std::string name = BaseName(path);
        File val = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
        std::vector<uint8_t> bytes;
        try {
            bytes = ReadValidity(val);
        } catch (const EngineError& err) {
            if (err.code != DBIERR_VALCORRUPT)
                throw;
            findings_.Problem(name, WhatOf(err));
            return;
        }
        CheckStamp(findings_, Finding::Problem, name, name_, Get(bytes.data(), validity::kStamp),
                   h_.changeCount2);
        const uint8_t stored = Get(bytes.data(), validity::kVersion);
        const std::string era3 = stored == validity::kEra3Version
                                     ? Era3Mismatch(bytes, h_, h_.fields.size())
                                     : "version byte " + std::to_string(stored);
        if (era3.empty()) {
            if (h_.version >= 5)
                findings_.Note(name, "checks in the layout of the 3.x era beside a level " +
                                         std::to_string(TableLevel(h_.version)) + " table");
            return;
        }
        ValidityFooter footer;
        const std::string damage = ReadFooter(bytes, footer);
        if (!damage.empty() && stored == validity::kEra3Version) {
            findings_.NotUnderstood(name, "neither the layout of the 3.x era (" + era3 +
                                              ") nor a field list (" + damage + ")");
            return;
        }
        if (stored != ValidityVersion(h_))
            findings_.Problem(name, "version " + std::to_string(stored) + ", the table's " +
                                        std::to_string(ValidityVersion(h_)));
        if (!damage.empty()) {
            findings_.Problem(name, damage);
            return;
        }
        if (footer.count != h_.fields.size()) {
            findings_.Problem(name, "lists " + std::to_string(footer.count) +
                                        " fields, the table has " +
                                        std::to_string(h_.fields.size()));
            return;
        }
        for (unsigned i = 0; i < footer.count; ++i) {
            const Field& f = h_.fields[i];
            if (bytes[footer.types + i * 2u] != f.type ||
                bytes[footer.types + i * 2u + 1] != f.info)
                findings_.Problem(name, "field " + std::to_string(i + 1) +
                                            " differs in type or size from the table's " + f.name);
        }
    }

    std::string path_, name_;
    const PasswordCheck& hasPassword_;
    Findings& findings_;
    TableHeader h_;
    uint64_t record_ = 0;
};

} // namespace

unsigned VerifyTable(const std::string& tablePath, const PasswordCheck& hasPassword,
                     const FindingSink& report) {
    Findings findings(report);
    TableCheck(tablePath, hasPassword, findings).Run();
    return findings.Finish();
}

} // namespace pdx
