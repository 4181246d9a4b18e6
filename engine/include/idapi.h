/* The interface of the database engine library IDAPI32.DLL: record layouts, constants,
   status codes and entry ordinals. Shared by the engine and by every module that binds it;
   nothing else crosses the library boundary. */
#ifndef IDAPI_H
#define IDAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DBIFN __stdcall

typedef uint16_t DBIResult16;
typedef uint32_t DBIResult;
typedef uint8_t BYTE8;
typedef int16_t BOOL16;
typedef uint32_t hDBIObj;
typedef hDBIObj hDBISes;
typedef hDBIObj hDBIDb;
typedef hDBIObj hDBICur;

#define DBIINTFVER 500
#define DBIMAXNAMELEN 31
#define DBIMAXPATHLEN 260
#define DBIMAXTBLNAMELEN 260
#define DBIMAXMSGLEN 127
#define DBIMAXKEYEXPLEN 220
#define DBIMAXFLDSINKEY 16
#define DBIMAXSCFLDLEN 128

typedef char DBINAME[DBIMAXNAMELEN + 1];
typedef char DBIPATH[DBIMAXPATHLEN + 1];
typedef char DBITBLNAME[DBIMAXTBLNAMELEN + 1];
typedef char DBIMSG[DBIMAXMSGLEN + 1];

/* Open and share modes. */
typedef int32_t DBIOpenMode;
#define dbiREADWRITE 0
#define dbiREADONLY 1
#define dbiWRITEONLY 2

typedef int32_t DBIShareMode;
#define dbiOPENSHARED 0
#define dbiOPENEXCL 1

/* Field translation of record buffers. */
typedef int32_t XLTMode;
#define xltNONE 0
#define xltRECORD 1
#define xltFIELD 2

typedef int32_t DBILockType;
#define dbiNOLOCK 0
#define dbiREADLOCK 1
#define dbiWRITELOCK 2

/* Object types for DbiGetObjFromObj. */
typedef int32_t DBIOBJType;
#define objSYSTEM 1
#define objSESSION 2
#define objDRIVER 3
#define objDATABASE 4
#define objCURSOR 5
#define objSTATEMENT 6

/* Properties for DbiSetProp / DbiGetProp. */
#define curXLTMODE 0x00050005u

/* Restructure operations on one field. */
typedef int32_t CROpType;
#define crNOOP 0
#define crADD 1
#define crCOPY 2
#define crMODIFY 3
#define crDROP 4
#define crREDO 5
#define crTABLE 6
#define crGROUP 7
#define crITEM 8
#define crRENAME 9
#define crDONTCARE 10

/* Logical field types and subtypes. */
#define fldUNKNOWN 0
#define fldZSTRING 1
#define fldDATE 2
#define fldBLOB 3
#define fldBOOL 4
#define fldINT16 5
#define fldINT32 6
#define fldFLOAT 7
#define fldBCD 8
#define fldBYTES 9
#define fldTIME 10
#define fldTIMESTAMP 11

#define fldstMONEY 21
#define fldstMEMO 22
#define fldstBINARY 23
#define fldstFMTMEMO 24
#define fldstOLEOBJ 25
#define fldstGRAPHIC 26
#define fldstAUTOINC 29

/* Kinds of finding that DbiVerifyTable reports. */
typedef int32_t VRFYKind;
#define vrfyNOTE 0          /* worth knowing, not an inconsistency */
#define vrfyPROBLEM 1       /* the family files disagree */
#define vrfyNOTUNDERSTOOD 2 /* a file the engine cannot interpret: neither sound nor damaged */

typedef void(DBIFN* pfVRFYReport)(void* pCtx, VRFYKind eKind, const char* pszText);

#pragma pack(push, 1)

typedef struct {
    DBIPATH szWorkDir;
    DBIPATH szIniFile;
    BOOL16 bForceLocalInit;
    DBINAME szLang;
    DBINAME szClientName;
} DBIEnv;

typedef struct {
    DBITBLNAME szName;   /* table name as opened */
    uint16_t iFNameSize; /* room needed for the full file name */
    DBINAME szTableType; /* driver type, "PARADOX" */
    uint16_t iFields;
    uint16_t iRecSize;    /* size of a record buffer */
    uint16_t iRecBufSize; /* same */
    uint16_t iKeySize;
    uint16_t iIndexes;
    uint16_t iValChecks;
    uint16_t iRefIntChecks;
    uint16_t iBookMarkSize;
    BOOL16 bBookMarkStable;
    DBIOpenMode eOpenMode;
    DBIShareMode eShareMode;
    BOOL16 bIndexed;
    int16_t iSeqNums;
    BOOL16 bSoftDeletes;
    BOOL16 bDeletedOn;
    uint16_t iRefRange;
    XLTMode exltMode;
    uint16_t iRestrVersion;
    BOOL16 bUniDirectional;
    int32_t eprvRights;
    uint16_t Dummy4;
    uint16_t iFmlRights;
    uint16_t iPasswords;
    uint16_t iCodePage;
    BOOL16 bProtected;
    uint16_t iTblLevel; /* 3, 4, 5 or 7 */
    DBINAME szLangDriver;
    BOOL16 bFieldMap;
    uint16_t iBlockSize; /* bytes */
    BOOL16 bStrictRefInt;
    uint16_t iFilters;
    BOOL16 bTempTable;
    uint16_t iUnUsed[16];
} CURProps;

typedef struct {
    uint16_t iFldNum;
    DBINAME szName;
    uint16_t iFldType;
    uint16_t iSubType;
    int16_t iUnits1;
    int16_t iUnits2;
    uint16_t iOffset; /* in the record buffer */
    uint16_t iLen;    /* bytes in the record buffer */
    uint16_t iNullOffset;
    int32_t efldvVchk;
    int32_t efldrRights;
    BOOL16 bCalcField;
    uint16_t iUnUsed[2];
} FLDDesc;

typedef struct {
    DBITBLNAME szName;
    uint16_t iIndexId;
    DBINAME szTagName;
    DBINAME szFormat;
    BOOL16 bPrimary;
    BOOL16 bUnique;
    BOOL16 bDescending;
    BOOL16 bMaintained;
    BOOL16 bSubset;
    BOOL16 bExpIdx;
    uint16_t iCost;
    uint16_t iFldsInKey;
    uint16_t iKeyLen;
    BOOL16 bOutofDate;
    uint16_t iKeyExpType;
    uint16_t aiKeyFld[DBIMAXFLDSINKEY];
    char szKeyExp[DBIMAXKEYEXPLEN + 1];
    char szKeyCond[DBIMAXKEYEXPLEN + 1];
    BOOL16 bCaseInsensitive;
    uint16_t iBlockSize;
    uint16_t iRestrNum;
    BOOL16 abDescending[DBIMAXFLDSINKEY];
    uint16_t iUnUsed[16];
} IDXDesc;

typedef struct {
    DBITBLNAME szTblName;
    DBINAME szTblType;
    DBIPATH szErrTblName;
    DBINAME szUserName;
    DBIPATH szPassword;
    BOOL16 bProtected;
    BOOL16 bPack;
    uint16_t iFldCount;
    CROpType* pecrFldOp;
    FLDDesc* pfldDesc;
    uint16_t iIdxCount;
    CROpType* pecrIdxOp;
    IDXDesc* pidxDesc;
    uint16_t iSecRecCount;
    CROpType* pecrSecOp;
    void* psecDesc;
    uint16_t iValChkCount;
    CROpType* pecrValChkOp;
    void* pvchkDesc;
    uint16_t iRintCount;
    CROpType* pecrRintOp;
    void* printDesc;
    uint16_t iOptParams; /* "LEVEL" and "BLOCK SIZE" for a new table */
    FLDDesc* pfldOptParams;
    uint8_t* pOptData;
} CRTblDesc;

/* Database description (DbiGetDatabaseDesc). */
typedef struct {
    DBINAME szName;
    char szText[DBIMAXSCFLDLEN + 1];
    DBIPATH szPhyName;
    DBINAME szDbType;
} DBDesc;

/* One alias parameter (DbiGetAliasParams). */
typedef struct {
    DBINAME szNodeName;
    DBIPATH szValue;
} CFGDesc;

typedef struct {
    uint32_t iSeqNum;
    uint32_t iPhyRecNum;
    uint16_t iRecStatus;
    BOOL16 bSeqNumChanged;
    BOOL16 bDeleteFlag;
} RECProps;

#pragma pack(pop)

/* Status codes: category in the high byte, code in the low byte. The values that callers
   test (passwords, rights, entries, initialisation, loading) are fixed; DbiGetErrorString
   has an English text for every one. */
#define DBIERR_NONE 0x0000
#define DBIERR_HEADERCORRUPT 0x2101 /* table header damaged */
#define DBIERR_FILECORRUPT 0x2102   /* data blocks or records damaged */
#define DBIERR_INDEXCORRUPT 0x2103  /* primary or secondary index damaged */
#define DBIERR_BLOBCORRUPT 0x2104   /* memo/BLOB file damaged */
#define DBIERR_VALCORRUPT 0x2105    /* validity-check file damaged */
#define DBIERR_NOSUCHFILE 0x2108    /* file or path not found */
#define DBIERR_OSERROR 0x2109       /* other operating-system failure */
#define DBIERR_READERR 0x210A
#define DBIERR_WRITEERR 0x210B
#define DBIERR_BOF 0x2201
#define DBIERR_EOF 0x2202
#define DBIERR_NOMEMORY 0x2501
#define DBIERR_KEYVIOL 0x2601
#define DBIERR_INVALIDHNDL 0x2701
#define DBIERR_INVALIDPARAM 0x2702
#define DBIERR_NOTINITIALIZED 0x2703
#define DBIERR_INVALIDFIELDTYPE 0x2704
#define DBIERR_INVALIDFLDSIZE 0x2705
#define DBIERR_INVALIDFIELDNAME 0x2706
#define DBIERR_NAMENOTUNIQUE 0x2707
#define DBIERR_TOOMANYFLDS 0x2708
#define DBIERR_RECTOOBIG 0x2709
#define DBIERR_INVALIDRESTROP 0x270A /* restructure operation not supported */
#define DBIERR_FIELDMISMATCH 0x270B  /* descriptor does not match the table's field */
#define DBIERR_INVALIDFIELDNO 0x270C
#define DBIERR_NOTSUPPORTED 0x2710
#define DBIERR_UNSUPPORTEDVERSION 0x2711
#define DBIERR_TABLEEXISTS 0x2712
#define DBIERR_NOTBLOB 0x2713
#define DBIERR_CANNOTLOADLIB 0x274F   /* entry cannot be bound */
#define DBIERR_TABLEINUSE 0x2801      /* table open exclusively elsewhere, or open here */
#define DBIERR_INVALIDPASSWORD 0x2902 /* the table needs a password the session lacks */
#define DBIERR_ENTRYNOTFOUND 0x2A06   /* no such entry (error stack end, missing export) */
#define DBIERR_MULTIPLEINIT 0x2A07
#define DBIERR_NOTSUFFTABLERIGHTS 0x2A0B /* no write access: retry read-only */
#define DBIERR_READONLY 0x2A0C           /* cursor opened read-only */
#define DBIERR_NOSUCHALIAS 0x2E01
#define DBIERR_ALIASPATH 0x2E02 /* the alias's folder does not exist */
#define DBIERR_NOSUCHTABLE 0x2E03
#define DBIERR_UNKNOWNSQL 0x2EC4   /* server error: the context lines carry the text */
#define DBIERR_INTERFACEVER 0x2F01 /* caller built for another interface version */
#define DBIERR_CONFIGERR 0x2F02    /* configuration file unreadable */

/* A status is 16 bits wide and comes back in a 32-bit result: an engine that returns it as a
   16-bit value leaves the high half undefined, so only the low half counts. */
static inline DBIResult16 DbiStatus16(DBIResult result) {
    return (DBIResult16)(result & 0xFFFF);
}

/* Entries bound by ordinal. The X list feeds both the binding and the export definitions. */
#define IDAPI_ORDINAL_ENTRIES(X)                                                                   \
    X(DbiExit, 10)                                                                                 \
    X(DbiGetCurrSession, 11)                                                                       \
    X(DbiOpenDatabase, 12)                                                                         \
    X(DbiCloseDatabase, 13)                                                                        \
    X(DbiOpenTable, 14)                                                                            \
    X(DbiCloseCursor, 15)                                                                          \
    X(DbiGetCursorProps, 16)                                                                       \
    X(DbiGetFieldDescs, 17)                                                                        \
    X(DbiSetProp, 18)                                                                              \
    X(DbiGetProp, 19)                                                                              \
    X(DbiGetObjFromObj, 20)                                                                        \
    X(DbiDoRestructure, 21)                                                                        \
    X(DbiAddPassword, 22)                                                                          \
    X(DbiDropPassword, 23)                                                                         \
    X(DbiGetErrorString, 24)                                                                       \
    X(DbiGetErrorEntry, 25)                                                                        \
    X(DbiCreateTable, 26)                                                                          \
    X(DbiInitRecord, 27)                                                                           \
    X(DbiPutField, 28)                                                                             \
    X(DbiGetField, 29)                                                                             \
    X(DbiInsertRecord, 30)                                                                         \
    X(DbiSetToBegin, 31)                                                                           \
    X(DbiGetNextRecord, 32)                                                                        \
    X(DbiGetRecordCount, 33)                                                                       \
    X(DbiGetBlobSize, 34)                                                                          \
    X(DbiGetBlob, 35)                                                                              \
    X(DbiGetDatabaseDesc, 36)                                                                      \
    X(DbiGetAliasParams, 37)                                                                       \
    X(DbiGetIndexDescs, 38)                                                                        \
    X(DbiGetAliasNames, 39)                                                                        \
    X(DbiVerifyTable, 40)                                                                          \
    X(DbiAddIndex, 41)

#define IDAPI_ORDINAL_DbiInitFn 1
#define IDAPI_ORDINAL_DLLINITFUNCTION 2

/* Entry signatures. */
DBIResult DBIFN DbiInitFn(uint16_t iVer, DBIEnv* pEnv);
DBIResult DBIFN DLLINITFUNCTION(void);
DBIResult DBIFN DbiExit(void);
DBIResult DBIFN DbiGetCurrSession(hDBISes* phSes);
DBIResult DBIFN DbiOpenDatabase(const char* pszDbName, const char* pszDbType, DBIOpenMode eOpenMode,
                                DBIShareMode eShareMode, const char* pszPassword, uint16_t iOptFlds,
                                FLDDesc* pOptFldDesc, void* pOptParams, hDBIDb* phDb);
DBIResult DBIFN DbiCloseDatabase(hDBIDb* phDb);
DBIResult DBIFN DbiOpenTable(hDBIDb hDb, const char* pszTableName, const char* pszDriverType,
                             const char* pszIndexName, const char* pszIndexTagName,
                             uint16_t iIndexId, DBIOpenMode eOpenMode, DBIShareMode eShareMode,
                             XLTMode exltMode, BOOL16 bUniDirectional, void* pOptParams,
                             hDBICur* phCursor);
DBIResult DBIFN DbiCloseCursor(hDBICur* phCursor);
DBIResult DBIFN DbiGetCursorProps(hDBICur hCursor, CURProps* pCurProps);
DBIResult DBIFN DbiGetFieldDescs(hDBICur hCursor, FLDDesc* pFldDescs);
DBIResult DBIFN DbiSetProp(hDBIObj hObj, uint32_t iProp, uint32_t iPropValue);
DBIResult DBIFN DbiGetProp(hDBIObj hObj, uint32_t iProp, void* pPropValue, uint16_t iMaxLen,
                           uint16_t* piLen);
DBIResult DBIFN DbiGetObjFromObj(hDBIObj hObj, DBIOBJType eObjType, hDBIObj* phObj);
DBIResult DBIFN DbiDoRestructure(hDBIDb hDb, uint16_t iTblDescCount, CRTblDesc* pTblDesc,
                                 const char* pszSaveAs, const char* pszKeyviolName,
                                 const char* pszProblemsName, BOOL16 bAnalyzeOnly);
DBIResult DBIFN DbiAddPassword(const char* pszPassword);
/* A null password drops every password of the session. */
DBIResult DBIFN DbiDropPassword(const char* pszPassword);
/* pszError receives at most DBIMAXMSGLEN characters and a terminator. */
DBIResult DBIFN DbiGetErrorString(DBIResult rslt, char* pszError);
/* Entry 1 is the most recent context of the last failed call; returns its status, or
   DBIERR_NONE when there is no such entry. */
DBIResult DBIFN DbiGetErrorEntry(uint16_t uEntry, uint32_t* pulNativeError, char* pszError);
DBIResult DBIFN DbiCreateTable(hDBIDb hDb, BOOL16 bOverWrite, CRTblDesc* pTblDesc);
DBIResult DBIFN DbiInitRecord(hDBICur hCursor, uint8_t* pRecBuf);
DBIResult DBIFN DbiPutField(hDBICur hCursor, uint16_t iField, uint8_t* pRecBuf, const void* pSrc);
DBIResult DBIFN DbiGetField(hDBICur hCursor, uint16_t iField, const uint8_t* pRecBuf, void* pDest,
                            BOOL16* pbBlank);
DBIResult DBIFN DbiInsertRecord(hDBICur hCursor, DBILockType eLock, const uint8_t* pRecBuf);
DBIResult DBIFN DbiSetToBegin(hDBICur hCursor);
DBIResult DBIFN DbiGetNextRecord(hDBICur hCursor, DBILockType eLock, uint8_t* pRecBuf,
                                 RECProps* pRecProps);
DBIResult DBIFN DbiGetRecordCount(hDBICur hCursor, uint32_t* piRecCount);
DBIResult DBIFN DbiGetBlobSize(hDBICur hCursor, const uint8_t* pRecBuf, uint16_t iField,
                               uint32_t* piSize);
DBIResult DBIFN DbiGetBlob(hDBICur hCursor, const uint8_t* pRecBuf, uint16_t iField,
                           uint32_t iOffset, uint32_t iLen, void* pDest, uint32_t* piRead);
DBIResult DBIFN DbiGetDatabaseDesc(const char* pszName, DBDesc* pdbDesc);
/* The primary index, when the table has one (CURProps.iIndexes entries). */
DBIResult DBIFN DbiGetIndexDescs(hDBICur hCursor, IDXDesc* pIdxDesc);
/* piCount: in, room in pDescs; out, number of parameters of the alias. */
DBIResult DBIFN DbiGetAliasParams(const char* pszAlias, uint16_t* piCount, CFGDesc* pDescs);
/* The aliases of the configuration file. piCount: in, room in pNames; out, number of aliases. */
DBIResult DBIFN DbiGetAliasNames(uint16_t* piCount, DBINAME* pNames);
/* Checks that the files of a table agree with each other; each finding goes to pfReport (may be
   null). Succeeds when the check could run, whatever it found; piProblems receives the number
   of problems (findings not understood are not among them). */
DBIResult DBIFN DbiVerifyTable(hDBIDb hDb, const char* pszTableName, pfVRFYReport pfReport,
                               void* pCtx, uint32_t* piProblems);
/* Builds a single-field secondary index (.Xnn/.Ynn) on a table that no cursor holds: hCursor
   must be 0, the key one non-blob field, ascending and not unique; maintained only on a keyed
   table. */
DBIResult DBIFN DbiAddIndex(hDBIDb hDb, hDBICur hCursor, const char* pszTableName,
                            const char* pszDriverType, IDXDesc* pIdxDesc,
                            const char* pszKeyviolName);

#ifdef __cplusplus
}
#endif

#endif
