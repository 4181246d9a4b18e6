#include "status.h"
#include <map>
#include <mutex>
#include <windows.h>

namespace pdx {

void Fail(DBIResult code, std::string context) {
    throw EngineError{code, std::move(context)};
}

namespace {

struct StatusName {
    DBIResult code;
    const char* text;
};

constexpr StatusName kTexts[] = {
    {DBIERR_NONE, "Operation succeeded."},
    {DBIERR_HEADERCORRUPT, "Corrupt table header."},
    {DBIERR_FILECORRUPT, "Corrupt table data: damaged block chain or records."},
    {DBIERR_INDEXCORRUPT, "Corrupt index file."},
    {DBIERR_BLOBCORRUPT, "Corrupt memo/BLOB file."},
    {DBIERR_VALCORRUPT, "Corrupt validity check file."},
    {DBIERR_NOSUCHFILE, "File or directory does not exist."},
    {DBIERR_OSERROR, "Operating system error."},
    {DBIERR_READERR, "Read failure."},
    {DBIERR_WRITEERR, "Write failure."},
    {DBIERR_BOF, "At beginning of table."},
    {DBIERR_EOF, "At end of table."},
    {DBIERR_NOMEMORY, "Insufficient memory for this operation."},
    {DBIERR_KEYVIOL, "Key violation."},
    {DBIERR_INVALIDHNDL, "Invalid handle to the function."},
    {DBIERR_INVALIDPARAM, "Invalid parameter."},
    {DBIERR_NOTINITIALIZED, "Database engine not initialized."},
    {DBIERR_INVALIDFIELDTYPE, "Invalid field type."},
    {DBIERR_INVALIDFLDSIZE, "Invalid field size."},
    {DBIERR_INVALIDFIELDNAME, "Invalid field name."},
    {DBIERR_NAMENOTUNIQUE, "Name is not unique in this context."},
    {DBIERR_TOOMANYFLDS, "Too many fields in table."},
    {DBIERR_RECTOOBIG, "Record size is too big for table."},
    {DBIERR_INVALIDRESTROP, "Invalid restructure operation."},
    {DBIERR_FIELDMISMATCH, "Field descriptor does not match the table's field."},
    {DBIERR_INVALIDFIELDNO, "Invalid field number."},
    {DBIERR_NOTSUPPORTED, "Capability not supported."},
    {DBIERR_UNSUPPORTEDVERSION, "Table version not supported."},
    {DBIERR_TABLEEXISTS, "Table already exists."},
    {DBIERR_NOTBLOB, "Field is not a memo or BLOB field."},
    {DBIERR_CANNOTLOADLIB, "Entry point of the database engine not found."},
    {DBIERR_TABLEINUSE, "Table is in use by another user or program."},
    {DBIERR_INVALIDPASSWORD, "Invalid password."},
    {DBIERR_ENTRYNOTFOUND, "Entry not found."},
    {DBIERR_MULTIPLEINIT, "Database engine already initialized."},
    {DBIERR_NOTSUFFTABLERIGHTS, "Insufficient table rights for this operation."},
    {DBIERR_READONLY, "Table is read only."},
    {DBIERR_NOSUCHALIAS, "Unknown database alias."},
    {DBIERR_ALIASPATH, "Directory of the database alias does not exist."},
    {DBIERR_NOSUCHTABLE, "Table does not exist."},
    {DBIERR_UNKNOWNSQL, "Server error."},
    {DBIERR_INTERFACEVER, "Interface version mismatch."},
    {DBIERR_CONFIGERR, "Cannot read the engine configuration file."},
};

} // namespace

const char* StatusText(DBIResult code) {
    for (const auto& s : kTexts)
        if (s.code == DbiStatus16(code))
            return s.text;
    return "Unknown engine status.";
}

namespace {

std::mutex errorsLock;
std::map<DWORD, std::vector<ErrorEntry>> errorsByThread;

} // namespace

void ClearErrors() {
    std::lock_guard<std::mutex> hold(errorsLock);
    errorsByThread.erase(GetCurrentThreadId());
}

void PushError(ErrorEntry entry) {
    std::lock_guard<std::mutex> hold(errorsLock);
    errorsByThread[GetCurrentThreadId()].push_back(std::move(entry));
}

std::vector<ErrorEntry> Errors() {
    std::lock_guard<std::mutex> hold(errorsLock);
    auto it = errorsByThread.find(GetCurrentThreadId());
    return it == errorsByThread.end() ? std::vector<ErrorEntry>() : it->second;
}

} // namespace pdx
