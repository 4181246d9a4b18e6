#include "create_table.h"
#include "family.h"
#include "paradox_crypt.h"
#include "primary_index.h"
#include "status.h"
#include "table_data.h"
#include "table_header.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

// "LEVEL" (4, 5 or 7) and "BLOCK SIZE" (bytes) from the optional parameters.
void ApplyOptions(const CRTblDesc& desc, TableHeader& h) {
    for (unsigned i = 0; i < desc.iOptParams && desc.pfldOptParams && desc.pOptData; ++i) {
        const FLDDesc& d = desc.pfldOptParams[i];
        std::string value(reinterpret_cast<const char*>(desc.pOptData + d.iOffset));
        std::string name(d.szName);
        int n = std::atoi(value.c_str());
        if (SameName(name, "LEVEL")) {
            if (n == 4)
                h.version = 9;
            else if (n == 5)
                h.version = 11;
            else if (n == 7)
                h.version = 12;
            else
                Fail(DBIERR_INVALIDPARAM, "LEVEL " + value);
        } else if (SameName(name, "BLOCK SIZE")) {
            if (n < 1024 || n > 32768 || n % 1024)
                Fail(DBIERR_INVALIDPARAM, "BLOCK SIZE " + value);
            h.blockKiB = uint8_t(n / 1024);
        } else {
            Fail(DBIERR_INVALIDPARAM, "Option: " + name);
        }
    }
}

uint16_t PrimaryKeyFields(const CRTblDesc& desc, const std::string& path) {
    if (desc.iIdxCount == 0)
        return 0;
    const IDXDesc* idx = desc.pidxDesc;
    if (desc.iIdxCount != 1 || !idx || !idx->bPrimary || idx->iFldsInKey == 0 ||
        idx->iFldsInKey > DBIMAXFLDSINKEY)
        Fail(DBIERR_NOTSUPPORTED, "Table: " + path + " (only a primary key can be created)");
    for (unsigned i = 0; i < idx->iFldsInKey; ++i)
        if (idx->aiKeyFld[i] != i + 1)
            Fail(DBIERR_NOTSUPPORTED, "Table: " + path + " (the key must be the leading fields)");
    return idx->iFldsInKey;
}

Field CreatedField(const FLDDesc& d) {
    if (d.iFldType == fldINT32 && d.iSubType == fldstAUTOINC) {
        Field f;
        f.name = d.szName;
        f.type = pxAutoInc;
        f.info = 4;
        return f;
    }
    if (d.iFldType == fldBLOB) {
        // A new table's blob columns hold no values yet: its .MB is the header alone.
        Field f;
        f.name = d.szName;
        if (d.iSubType < fldstMEMO || d.iSubType > fldstGRAPHIC)
            Fail(DBIERR_INVALIDFIELDTYPE, "Field: " + f.name);
        f.type = uint8_t(pxMemo + (d.iSubType - fldstMEMO));
        f.info = uint8_t(std::clamp<int>(d.iUnits1, 0, 255 - kBlobTail) + kBlobTail);
        if (d.iUnits1 < 0 || !IsValidInfo(f.type, f.info))
            Fail(DBIERR_INVALIDFLDSIZE, "Field: " + f.name);
        return f;
    }
    return FieldFromDesc(d);
}

bool HasBlobField(const TableHeader& h) {
    for (const auto& f : h.fields)
        if (IsBlobType(f.type))
            return true;
    return false;
}

// The .MB of a table whose blob fields hold no values: the 4 KiB header block alone, as the
// original engine writes it (block type 0, size one 4 KiB unit, modification count 1, then
// its constant bytes), encrypted like the table.
void WriteEmptyBlobFile(const std::string& mbPath, const TableHeader& h) {
    std::vector<uint8_t> bytes(blob::kUnit, 0);
    Put(bytes.data(), blob::kType, blob::kHeaderBlock);
    Put(bytes.data(), blob::kUnits, 1);
    Put(bytes.data(), blob::kModCount, 1);
    const uint8_t constants[] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00, 0x00, 0x10,
                                 0x00, 0x10, 0x00, 0x10, 0x40, 0x00, 0x00, 0x08};
    std::copy(std::begin(constants), std::end(constants), bytes.begin() + blob::kHeaderConstants);
    Put(bytes.data(), blob::kHeaderMark, 0x02A1);
    if (h.Encrypted())
        EncryptBlobBytes(bytes.data(), bytes.size(), 0, CipherKey(h));
    File mb = File::Create(TemporaryName(mbPath));
    mb.WriteAt(0, bytes.data(), bytes.size());
    mb.Flush();
}

} // namespace

void CreateTable(const std::string& path, const CRTblDesc& desc, bool overwrite) {
    if (!desc.pfldDesc || desc.iFldCount == 0 || desc.iFldCount > kMaxFields)
        Fail(DBIERR_INVALIDPARAM, "Table: " + path + " (field count)");
    if (FileExists(path) && !overwrite)
        Fail(DBIERR_TABLEEXISTS, "Table: " + path);
    TableHeader h;
    h.version = 12;
    h.blockKiB = 2;
    h.codePage = 1252;
    h.sortOrder = 0;
    h.sortOrderId = "ascii";
    h.changeCount1 = 2;
    h.changeCount2 = 1;
    h.keyFields = PrimaryKeyFields(desc, path);
    h.fileType = h.keyFields ? ftKeyedTable : ftTable;
    h.tableName = path.substr(path.find_last_of("\\/:") + 1);
    for (unsigned i = 0; i < desc.iFldCount; ++i) {
        Field f = CreatedField(desc.pfldDesc[i]);
        if (!IsValidFieldName(f.name))
            Fail(DBIERR_INVALIDFIELDNAME, "Field: " + f.name);
        for (const auto& other : h.fields)
            if (SameName(other.name, f.name))
                Fail(DBIERR_NAMENOTUNIQUE, "Field: " + f.name);
        f.id = uint16_t(i + 1);
        h.version = std::max(h.version, MinimumVersionFor(f.type));
        h.fields.push_back(f);
    }
    ApplyOptions(desc, h);
    h.hiFieldId = uint16_t(h.fields.size() + 1);
    SetDataHeaderMarks(h);
    if (desc.bProtected && desc.szPassword[0])
        h.checksum = PasswordChecksum(desc.szPassword);
    SetEncryptionMark(h);
    LayOutFields(h);
    while (h.recordSize > h.RecordSpace() && h.blockKiB < 32)
        h.blockKiB = uint8_t(h.blockKiB * 2);
    if (h.recordSize > h.RecordSpace())
        Fail(DBIERR_RECTOOBIG, "Table: " + path);
    h.headerSize = RequiredHeaderSize(h, hdr::kSizeStep);

    std::vector<std::string> targets{path};
    try {
        File db = File::Create(TemporaryName(path));
        std::vector<uint8_t> header = WriteHeader(h);
        db.WriteAt(0, header.data(), header.size());
        db.Flush();
        db.Close();
        if (h.keyFields) {
            std::string pxPath = StemOf(path) + ".PX";
            targets.push_back(pxPath);
            TableHeader px =
                PrimaryIndexHeader(h, nullptr, pxPath.substr(pxPath.find_last_of("\\/:") + 1));
            File pxFile = File::Create(TemporaryName(pxPath));
            WritePrimaryIndex(pxFile, px, LeafEntries(0));
            pxFile.Flush();
        }
        if (HasBlobField(h)) {
            std::string mbPath = StemOf(path) + ".MB";
            targets.push_back(mbPath);
            WriteEmptyBlobFile(mbPath, h);
        }
    } catch (...) {
        DiscardTemporaries(targets);
        throw;
    }
    CommitFamily(path, targets);
}

} // namespace pdx
