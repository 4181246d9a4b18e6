// The library's entries: one process-wide engine state behind one lock. Every entry catches
// everything: failures become a status and an error stack, never an exception across the
// library boundary.
#include "add_index.h"
#include "alias_names.h"
#include "aliases.h"
#include "blob_file.h"
#include "create_table.h"
#include "paradox_crypt.h"
#include "record_codec.h"
#include "restructure.h"
#include "status.h"
#include "table_cursor.h"
#include "verify_table.h"
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <windows.h>

using namespace pdx;

namespace {

constexpr hDBISes kSession = 1;

struct Database {
    std::string name;
    std::string folder;
};

struct Cursor {
    std::unique_ptr<TableCursor> table;
    hDBIDb db;
    std::string name;
    XLTMode xlt;
    DBIOpenMode openMode;
    DBIShareMode shareMode;
};

struct Engine {
    std::recursive_mutex lock;
    bool initialised = false;
    std::string configFile;
    std::string workDir;
    std::set<std::string> passwords;
    std::map<hDBIObj, Database> databases;
    std::map<hDBIObj, Cursor> cursors;
    hDBIObj nextHandle = 0x100;

    bool HasPassword(uint32_t checksum) const {
        for (const auto& p : passwords)
            if (PasswordChecksum(p) == checksum)
                return true;
        return false;
    }
};

Engine& TheEngine() {
    static Engine engine;
    return engine;
}

template <typename Body> DBIResult Guard(Body body) {
    Engine& e = TheEngine();
    std::lock_guard<std::recursive_mutex> hold(e.lock);
    ClearErrors();
    try {
        body(e);
        return DBIERR_NONE;
    } catch (const EngineError& err) {
        PushError({err.code, 0, err.context});
        return err.code;
    } catch (const std::bad_alloc&) {
        PushError({DBIERR_NOMEMORY, 0, {}});
        return DBIERR_NOMEMORY;
    } catch (const std::exception& ex) {
        PushError({DBIERR_OSERROR, 0, ex.what()});
        return DBIERR_OSERROR;
    }
}

void NeedInit(const Engine& e) {
    if (!e.initialised)
        Fail(DBIERR_NOTINITIALIZED);
}

void NeedPointer(const void* p) {
    if (!p)
        Fail(DBIERR_INVALIDPARAM);
}

Database& DatabaseOf(Engine& e, hDBIDb h) {
    NeedInit(e);
    auto it = e.databases.find(h);
    if (it == e.databases.end())
        Fail(DBIERR_INVALIDHNDL);
    return it->second;
}

Cursor& CursorOf(Engine& e, hDBICur h) {
    NeedInit(e);
    auto it = e.cursors.find(h);
    if (it == e.cursors.end())
        Fail(DBIERR_INVALIDHNDL);
    return it->second;
}

const Field& FieldOf(const Cursor& c, uint16_t number) {
    const auto& fields = c.table->Header().fields;
    if (number < 1 || number > fields.size())
        Fail(DBIERR_INVALIDFIELDNO, "Table: " + c.table->Path());
    return fields[number - 1];
}

bool IsPathName(const std::string& name) {
    return name.find_first_of(":\\/") != std::string::npos;
}

std::string CurrentFolder() {
    char buf[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buf);
    return buf;
}

bool FolderExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TablePath(const Database& db, const char* tableName) {
    std::string name = tableName ? tableName : "";
    if (name.empty())
        Fail(DBIERR_INVALIDPARAM, "Table name is empty");
    std::string path =
        IsPathName(name) && (name[1] == ':' || name[0] == '\\') ? name : JoinPath(db.folder, name);
    if (ExtensionOf(path).empty())
        path += ".DB";
    return path;
}

void CheckDriver(const char* type) {
    if (type && *type && !SameName(type, "PARADOX"))
        Fail(DBIERR_NOTSUPPORTED, std::string("Driver: ") + type);
}

void CopyText(char* dest, const std::string& text, size_t room) {
    size_t n = std::min(text.size(), room - 1);
    std::memcpy(dest, text.data(), n);
    dest[n] = 0;
}

std::string AliasFolder(const Engine& e, const std::string& alias) {
    AliasParams params = ReadAlias(e.configFile, alias);
    std::string driver = AliasParam(params, "DEFAULT DRIVER");
    if (!driver.empty() && !SameName(driver, "PARADOX"))
        Fail(DBIERR_NOTSUPPORTED, "Alias: " + alias + " (driver " + driver + ")");
    std::string folder = AliasParam(params, "PATH");
    if (folder.empty() || !FolderExists(folder))
        Fail(DBIERR_ALIASPATH, "Alias: " + alias + " (path \"" + folder + "\")");
    return folder;
}

void RefuseOpenTable(const Engine& e, const std::string& path) {
    for (const auto& [h, c] : e.cursors)
        if (SameName(c.table->Path(), path))
            Fail(DBIERR_TABLEINUSE, "Table: " + path + " (open in this session)");
}

VRFYKind VerifyKind(Finding kind) {
    switch (kind) {
    case Finding::Problem:
        return vrfyPROBLEM;
    case Finding::NotUnderstood:
        return vrfyNOTUNDERSTOOD;
    default:
        return vrfyNOTE;
    }
}

void CloseAll(Engine& e) {
    for (auto& [h, c] : e.cursors)
        c.table->Close();
    e.cursors.clear();
    e.databases.clear();
}

} // namespace

extern "C" {

DBIResult DBIFN DbiInitFn(uint16_t iVer, DBIEnv* pEnv) {
    return Guard([&](Engine& e) {
        if (iVer != DBIINTFVER)
            Fail(DBIERR_INTERFACEVER, "Version " + std::to_string(iVer));
        if (e.initialised)
            Fail(DBIERR_MULTIPLEINIT);
        std::string ini =
            pEnv ? std::string(pEnv->szIniFile, strnlen(pEnv->szIniFile, sizeof pEnv->szIniFile))
                 : "";
        e.configFile = ConfigFilePath(ini);
        e.workDir =
            pEnv ? std::string(pEnv->szWorkDir, strnlen(pEnv->szWorkDir, sizeof pEnv->szWorkDir))
                 : "";
        e.initialised = true;
    });
}

DBIResult DBIFN DLLINITFUNCTION(void) {
    return DBIERR_NONE;
}

DBIResult DBIFN DbiExit(void) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        CloseAll(e);
        e.passwords.clear();
        e.initialised = false;
    });
}

DBIResult DBIFN DbiGetCurrSession(hDBISes* phSes) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(phSes);
        *phSes = kSession;
    });
}

DBIResult DBIFN DbiOpenDatabase(const char* pszDbName, const char* pszDbType, DBIOpenMode,
                                DBIShareMode, const char*, uint16_t, FLDDesc*, void*,
                                hDBIDb* phDb) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(phDb);
        *phDb = 0;
        if (pszDbType && *pszDbType && !SameName(pszDbType, "STANDARD"))
            Fail(DBIERR_NOTSUPPORTED, std::string("Database type: ") + pszDbType);
        std::string name = pszDbName ? pszDbName : "";
        Database db{name, {}};
        if (name.empty())
            db.folder = e.workDir.empty() ? CurrentFolder() : e.workDir;
        else if (IsPathName(name))
            db.folder = name;
        else
            db.folder = AliasFolder(e, name);
        if (!FolderExists(db.folder))
            Fail(DBIERR_ALIASPATH, "Database: " + name + " (path \"" + db.folder + "\")");
        hDBIDb h = e.nextHandle++;
        e.databases[h] = db;
        *phDb = h;
    });
}

DBIResult DBIFN DbiCloseDatabase(hDBIDb* phDb) {
    return Guard([&](Engine& e) {
        NeedPointer(phDb);
        DatabaseOf(e, *phDb);
        for (auto it = e.cursors.begin(); it != e.cursors.end();)
            it = it->second.db == *phDb ? e.cursors.erase(it) : std::next(it);
        e.databases.erase(*phDb);
        *phDb = 0;
    });
}

DBIResult DBIFN DbiOpenTable(hDBIDb hDb, const char* pszTableName, const char* pszDriverType,
                             const char* pszIndexName, const char* pszIndexTagName,
                             uint16_t iIndexId, DBIOpenMode eOpenMode, DBIShareMode eShareMode,
                             XLTMode exltMode, BOOL16, void*, hDBICur* phCursor) {
    return Guard([&](Engine& e) {
        NeedPointer(phCursor);
        *phCursor = 0;
        Database& db = DatabaseOf(e, hDb);
        CheckDriver(pszDriverType);
        if ((pszIndexName && *pszIndexName) || (pszIndexTagName && *pszIndexTagName) || iIndexId)
            Fail(DBIERR_NOTSUPPORTED, "Opening a table on an index");
        std::string path = TablePath(db, pszTableName);
        auto table =
            std::make_unique<TableCursor>(path, eOpenMode == dbiREADONLY, eShareMode == dbiOPENEXCL,
                                          [&](uint32_t sum) { return e.HasPassword(sum); });
        hDBICur h = e.nextHandle++;
        e.cursors[h] = Cursor{std::move(table), hDb, pszTableName, exltMode, eOpenMode, eShareMode};
        *phCursor = h;
    });
}

DBIResult DBIFN DbiCloseCursor(hDBICur* phCursor) {
    return Guard([&](Engine& e) {
        NeedPointer(phCursor);
        Cursor& c = CursorOf(e, *phCursor);
        hDBICur h = *phCursor;
        *phCursor = 0;
        struct Erase {
            Engine& e;
            hDBICur h;
            ~Erase() { e.cursors.erase(h); }
        } erase{e, h};
        c.table->Close();
    });
}

DBIResult DBIFN DbiGetCursorProps(hDBICur hCursor, CURProps* p) {
    return Guard([&](Engine& e) {
        NeedPointer(p);
        Cursor& c = CursorOf(e, hCursor);
        const TableHeader& h = c.table->Header();
        std::memset(p, 0, sizeof *p);
        CopyText(p->szName, c.name, sizeof p->szName);
        p->iFNameSize = uint16_t(c.table->Path().size() + 1);
        CopyText(p->szTableType, "PARADOX", sizeof p->szTableType);
        p->iFields = uint16_t(h.fields.size());
        p->iRecSize = p->iRecBufSize = h.recordSize;
        for (unsigned i = 0; i < h.keyFields; ++i)
            p->iKeySize = uint16_t(p->iKeySize + h.fields[i].StoredSize());
        p->iIndexes = h.keyFields ? 1 : 0;
        p->iBookMarkSize = 4;
        p->eOpenMode = c.openMode;
        p->eShareMode = c.shareMode;
        p->bIndexed = h.keyFields != 0;
        p->exltMode = c.xlt;
        p->iRestrVersion = h.changeCount1;
        p->iCodePage = h.codePage;
        p->bProtected = h.Encrypted();
        p->iTblLevel = TableLevel(h.version);
        CopyText(p->szLangDriver, h.sortOrderId.empty() ? "ascii" : h.sortOrderId,
                 sizeof p->szLangDriver);
        p->iBlockSize = uint16_t(h.BlockSize());
    });
}

DBIResult DBIFN DbiGetFieldDescs(hDBICur hCursor, FLDDesc* pFldDescs) {
    return Guard([&](Engine& e) {
        NeedPointer(pFldDescs);
        Cursor& c = CursorOf(e, hCursor);
        const auto& fields = c.table->Header().fields;
        for (size_t i = 0; i < fields.size(); ++i)
            DescribeField(fields[i], uint16_t(i + 1), pFldDescs[i]);
    });
}

DBIResult DBIFN DbiSetProp(hDBIObj hObj, uint32_t iProp, uint32_t iPropValue) {
    return Guard([&](Engine& e) {
        Cursor& c = CursorOf(e, hObj);
        if (iProp != curXLTMODE)
            Fail(DBIERR_NOTSUPPORTED, "Property " + std::to_string(iProp));
        if (iPropValue != xltNONE && iPropValue != xltFIELD && iPropValue != xltRECORD)
            Fail(DBIERR_INVALIDPARAM, "Translation mode " + std::to_string(iPropValue));
        c.xlt = XLTMode(iPropValue);
    });
}

DBIResult DBIFN DbiGetProp(hDBIObj hObj, uint32_t iProp, void* pPropValue, uint16_t iMaxLen,
                           uint16_t* piLen) {
    return Guard([&](Engine& e) {
        Cursor& c = CursorOf(e, hObj);
        if (iProp != curXLTMODE)
            Fail(DBIERR_NOTSUPPORTED, "Property " + std::to_string(iProp));
        if (!pPropValue || iMaxLen < sizeof(XLTMode))
            Fail(DBIERR_INVALIDPARAM);
        std::memcpy(pPropValue, &c.xlt, sizeof(XLTMode));
        if (piLen)
            *piLen = sizeof(XLTMode);
    });
}

DBIResult DBIFN DbiGetObjFromObj(hDBIObj hObj, DBIOBJType eObjType, hDBIObj* phObj) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(phObj);
        if (eObjType == objSESSION) {
            *phObj = kSession;
        } else if (eObjType == objDATABASE) {
            if (e.databases.count(hObj))
                *phObj = hObj;
            else
                *phObj = CursorOf(e, hObj).db;
        } else if (eObjType == objCURSOR) {
            CursorOf(e, hObj);
            *phObj = hObj;
        } else {
            Fail(DBIERR_NOTSUPPORTED, "Object type " + std::to_string(eObjType));
        }
    });
}

DBIResult DBIFN DbiDoRestructure(hDBIDb hDb, uint16_t iTblDescCount, CRTblDesc* pTblDesc,
                                 const char* pszSaveAs, const char* pszKeyviolName,
                                 const char* pszProblemsName, BOOL16 bAnalyzeOnly) {
    return Guard([&](Engine& e) {
        Database& db = DatabaseOf(e, hDb);
        NeedPointer(pTblDesc);
        if (iTblDescCount != 1)
            Fail(DBIERR_INVALIDPARAM, "One table descriptor expected");
        if ((pszSaveAs && *pszSaveAs) || (pszKeyviolName && *pszKeyviolName) ||
            (pszProblemsName && *pszProblemsName) || bAnalyzeOnly)
            Fail(DBIERR_NOTSUPPORTED, "Restructure options");
        CheckDriver(pTblDesc->szTblType);
        std::string path = TablePath(db, pTblDesc->szTblName);
        RefuseOpenTable(e, path);
        RestructureTable(path, *pTblDesc, [&](uint32_t sum) { return e.HasPassword(sum); });
    });
}

DBIResult DBIFN DbiAddPassword(const char* pszPassword) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(pszPassword);
        e.passwords.insert(pszPassword);
    });
}

DBIResult DBIFN DbiDropPassword(const char* pszPassword) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        if (pszPassword)
            e.passwords.erase(pszPassword);
        else
            e.passwords.clear();
    });
}

DBIResult DBIFN DbiGetErrorString(DBIResult rslt, char* pszError) {
    if (!pszError)
        return DBIERR_INVALIDPARAM;
    CopyText(pszError, StatusText(rslt), DBIMAXMSGLEN + 1);
    return DBIERR_NONE;
}

DBIResult DBIFN DbiGetErrorEntry(uint16_t uEntry, uint32_t* pulNativeError, char* pszError) {
    const std::vector<ErrorEntry> stack = Errors();
    if (pszError)
        *pszError = 0;
    if (pulNativeError)
        *pulNativeError = 0;
    if (uEntry < 1 || uEntry > stack.size())
        return DBIERR_NONE;
    const ErrorEntry& entry = stack[stack.size() - uEntry];
    if (pszError)
        CopyText(pszError, entry.context, DBIMAXMSGLEN + 1);
    if (pulNativeError)
        *pulNativeError = entry.native;
    return entry.code;
}

DBIResult DBIFN DbiCreateTable(hDBIDb hDb, BOOL16 bOverWrite, CRTblDesc* pTblDesc) {
    return Guard([&](Engine& e) {
        Database& db = DatabaseOf(e, hDb);
        NeedPointer(pTblDesc);
        CheckDriver(pTblDesc->szTblType);
        CreateTable(TablePath(db, pTblDesc->szTblName), *pTblDesc, bOverWrite != 0);
    });
}

DBIResult DBIFN DbiInitRecord(hDBICur hCursor, uint8_t* pRecBuf) {
    return Guard([&](Engine& e) {
        NeedPointer(pRecBuf);
        std::memset(pRecBuf, 0, CursorOf(e, hCursor).table->Header().recordSize);
    });
}

DBIResult DBIFN DbiPutField(hDBICur hCursor, uint16_t iField, uint8_t* pRecBuf, const void* pSrc) {
    return Guard([&](Engine& e) {
        NeedPointer(pRecBuf);
        const Field& f = FieldOf(CursorOf(e, hCursor), iField);
        EncodeField(f, pSrc, pRecBuf + f.offset);
    });
}

DBIResult DBIFN DbiGetField(hDBICur hCursor, uint16_t iField, const uint8_t* pRecBuf, void* pDest,
                            BOOL16* pbBlank) {
    return Guard([&](Engine& e) {
        NeedPointer(pRecBuf);
        const Field& f = FieldOf(CursorOf(e, hCursor), iField);
        if (pbBlank)
            *pbBlank = IsBlank(f, pRecBuf + f.offset);
        if (pDest)
            DecodeField(f, pRecBuf + f.offset, pDest);
    });
}

DBIResult DBIFN DbiInsertRecord(hDBICur hCursor, DBILockType, const uint8_t* pRecBuf) {
    return Guard([&](Engine& e) {
        NeedPointer(pRecBuf);
        Cursor& c = CursorOf(e, hCursor);
        std::vector<uint8_t> record(pRecBuf, pRecBuf + c.table->Header().recordSize);
        c.table->Insert(record.data());
    });
}

DBIResult DBIFN DbiSetToBegin(hDBICur hCursor) {
    return Guard([&](Engine& e) { CursorOf(e, hCursor).table->Rewind(); });
}

DBIResult DBIFN DbiGetNextRecord(hDBICur hCursor, DBILockType, uint8_t* pRecBuf,
                                 RECProps* pRecProps) {
    return Guard([&](Engine& e) {
        Cursor& c = CursorOf(e, hCursor);
        std::vector<uint8_t> record(c.table->Header().recordSize);
        if (!c.table->Next(record.data()))
            Fail(DBIERR_EOF);
        if (pRecBuf)
            std::memcpy(pRecBuf, record.data(), record.size());
        if (pRecProps)
            std::memset(pRecProps, 0, sizeof *pRecProps);
    });
}

DBIResult DBIFN DbiGetRecordCount(hDBICur hCursor, uint32_t* piRecCount) {
    return Guard([&](Engine& e) {
        NeedPointer(piRecCount);
        *piRecCount = CursorOf(e, hCursor).table->Header().numRecords;
    });
}

DBIResult DBIFN DbiGetBlobSize(hDBICur hCursor, const uint8_t* pRecBuf, uint16_t iField,
                               uint32_t* piSize) {
    return Guard([&](Engine& e) {
        NeedPointer(pRecBuf);
        NeedPointer(piSize);
        const Field& f = FieldOf(CursorOf(e, hCursor), iField);
        if (!IsBlobType(f.type))
            Fail(DBIERR_NOTBLOB, "Field: " + f.name);
        *piSize = BlobLength(f, pRecBuf + f.offset);
    });
}

DBIResult DBIFN DbiGetBlob(hDBICur hCursor, const uint8_t* pRecBuf, uint16_t iField,
                           uint32_t iOffset, uint32_t iLen, void* pDest, uint32_t* piRead) {
    return Guard([&](Engine& e) {
        NeedPointer(pRecBuf);
        Cursor& c = CursorOf(e, hCursor);
        const Field& f = FieldOf(c, iField);
        if (!IsBlobType(f.type))
            Fail(DBIERR_NOTBLOB, "Field: " + f.name);
        std::vector<uint8_t> value =
            ReadBlob(c.table->Path(), c.table->Header(), f, pRecBuf + f.offset);
        uint32_t n =
            iOffset < value.size() ? std::min<uint32_t>(iLen, uint32_t(value.size()) - iOffset) : 0;
        if (n)
            NeedPointer(pDest);
        if (n)
            std::memcpy(pDest, value.data() + iOffset, n);
        if (piRead)
            *piRead = n;
    });
}

DBIResult DBIFN DbiGetIndexDescs(hDBICur hCursor, IDXDesc* pIdxDesc) {
    return Guard([&](Engine& e) {
        NeedPointer(pIdxDesc);
        Cursor& c = CursorOf(e, hCursor);
        const TableHeader& h = c.table->Header();
        if (h.keyFields == 0)
            return;
        std::memset(pIdxDesc, 0, sizeof *pIdxDesc);
        CopyText(pIdxDesc->szName, StemOf(c.table->Path()) + ".PX", sizeof pIdxDesc->szName);
        pIdxDesc->bPrimary = pIdxDesc->bUnique = pIdxDesc->bMaintained = 1;
        pIdxDesc->iFldsInKey = std::min<uint16_t>(h.keyFields, DBIMAXFLDSINKEY);
        for (unsigned i = 0; i < pIdxDesc->iFldsInKey; ++i) {
            pIdxDesc->aiKeyFld[i] = uint16_t(i + 1);
            pIdxDesc->iKeyLen = uint16_t(pIdxDesc->iKeyLen + h.fields[i].StoredSize());
        }
    });
}

DBIResult DBIFN DbiGetDatabaseDesc(const char* pszName, DBDesc* pdbDesc) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(pszName);
        NeedPointer(pdbDesc);
        std::memset(pdbDesc, 0, sizeof *pdbDesc);
        CopyText(pdbDesc->szName, pszName, sizeof pdbDesc->szName);
        CopyText(pdbDesc->szPhyName, AliasFolder(e, pszName), sizeof pdbDesc->szPhyName);
        CopyText(pdbDesc->szDbType, "STANDARD", sizeof pdbDesc->szDbType);
    });
}

DBIResult DBIFN DbiGetAliasParams(const char* pszAlias, uint16_t* piCount, CFGDesc* pDescs) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(pszAlias);
        NeedPointer(piCount);
        AliasParams params = ReadAlias(e.configFile, pszAlias);
        for (size_t i = 0; i < params.size() && i < *piCount && pDescs; ++i) {
            CopyText(pDescs[i].szNodeName, params[i].first, sizeof pDescs[i].szNodeName);
            CopyText(pDescs[i].szValue, params[i].second, sizeof pDescs[i].szValue);
        }
        *piCount = uint16_t(params.size());
    });
}

DBIResult DBIFN DbiGetAliasNames(uint16_t* piCount, DBINAME* pNames) {
    return Guard([&](Engine& e) {
        NeedInit(e);
        NeedPointer(piCount);
        std::vector<std::string> names = AliasNames(e.configFile);
        for (size_t i = 0; i < names.size() && i < *piCount && pNames; ++i)
            CopyText(pNames[i], names[i], sizeof pNames[i]);
        *piCount = uint16_t(names.size());
    });
}

DBIResult DBIFN DbiVerifyTable(hDBIDb hDb, const char* pszTableName, pfVRFYReport pfReport,
                               void* pCtx, uint32_t* piProblems) {
    return Guard([&](Engine& e) {
        Database& db = DatabaseOf(e, hDb);
        std::string path = TablePath(db, pszTableName);
        unsigned problems = VerifyTable(
            path, [&](uint32_t sum) { return e.HasPassword(sum); },
            [&](Finding kind, const std::string& text) {
                if (pfReport)
                    pfReport(pCtx, VerifyKind(kind), text.c_str());
            });
        if (piProblems)
            *piProblems = problems;
    });
}

DBIResult DBIFN DbiAddIndex(hDBIDb hDb, hDBICur hCursor, const char* pszTableName,
                            const char* pszDriverType, IDXDesc* pIdxDesc,
                            const char* pszKeyviolName) {
    return Guard([&](Engine& e) {
        Database& db = DatabaseOf(e, hDb);
        NeedPointer(pIdxDesc);
        CheckDriver(pszDriverType);
        if (hCursor || (pszKeyviolName && *pszKeyviolName))
            Fail(DBIERR_NOTSUPPORTED,
                 "Adding an index through a cursor or with a key-violation table");
        std::string path = TablePath(db, pszTableName);
        RefuseOpenTable(e, path);
        AddSecondaryIndex(path, *pIdxDesc, [&](uint32_t sum) { return e.HasPassword(sum); });
    });
}

} // extern "C"
