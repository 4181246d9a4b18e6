#include "reporter/core/report/log_file.h"
#include "reporter/base/binary_file.h"
#include "reporter/base/phase_clock.h"
#include "reporter/core/report/known_log_text.h"
#include "reporter/core/report/log_text.h"
#include "reporter/core/report/log_xml.h"
#include "reporter/core/report/report_fields.h"
#include "runtime/exception.h"
#include "runtime/format.h"
#include <windows.h>

namespace {

constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE OpenLog(const std::string& fileName, bool readOnly, DWORD disposition) {
    const DWORD access = readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    return CreateFileA(fileName.c_str(), access, kShared, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Empty when the file cannot be read: an unreadable log must not stop a new report.
std::string Contents(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > MAXDWORD)
        return {};
    std::string text(size_t(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file, text.data(), DWORD(text.size()), &read, nullptr))
        return {};
    text.resize(read);
    return text;
}

// Writes `text` from byte `from` on (the bytes before are in the file already) and cuts the
// file after it.
bool WriteFrom(HANDLE file, const std::string& text, size_t from) {
    const DWORD size = DWORD(text.size() - from);
    DWORD written = 0;
    if (SetFilePointer(file, LONG(from), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file, text.data() + from, size, &written, nullptr))
        return false;
    if (written != size) {
        SetLastError(ERROR_DISK_FULL); // Wine reports a write cut short by a full disk so
        return false;
    }
    return SetEndOfFile(file);
}

[[noreturn]] void RaiseSaveError(const std::string& fileName, DWORD error = GetLastError()) {
    throw Exception(
        Format("Cannot write the log file \"%s\" (error %lu).", fileName.c_str(), error));
}

} // namespace

TLogFile::TLogFile(std::string fileName, bool readOnly)
    : fileName_(std::move(fileName)), readOnly_(readOnly) {
    const TPhaseScope phase(TPhase::LogRead);
    const HANDLE file = OpenLog(fileName_, readOnly_, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return;
    file_.emplace(file);
    const std::string contents = Contents(file);
    TSplitLog split = SplitKnownLogText(contents);
    reports_ = std::move(split.Reports);
    if (split.JoinsBack)
        appendAt_ = contents.size();
    saved_ = contents;
}

std::string TLogFile::Text() const {
    return JoinLogText(reports_);
}

void TLogFile::Add(const std::string& report, int limit) {
    const TPhaseScope phase(TPhase::LogMerge);
    if (limit != -1)
        while (!reports_.empty() && Count() > limit - 1) {
            reports_.erase(reports_.begin());
            appendAt_.reset();
        }
    reports_.push_back(report + kReportEnd);
    readsBackAlike_ = readsBackAlike_ && ReadsBackAlike(reports_.back());
}

void TLogFile::Save() {
    const TPhaseScope phase(TPhase::LogWrite);
    if (readOnly_)
        RaiseSaveError(fileName_, ERROR_ACCESS_DENIED);
    if (!file_) {
        const HANDLE file = OpenLog(fileName_, false, OPEN_ALWAYS);
        if (file == INVALID_HANDLE_VALUE)
            RaiseSaveError(fileName_);
        file_.emplace(file);
    }
    std::string text = Text();
    const size_t from = appendAt_.value_or(0);
    if (!WriteFrom(file_->Get(), text, from)) {
        // A full disk stops a write part-way: what was there goes back, so that the log never
        // ends in a torn report.
        const DWORD error = GetLastError();
        WriteFrom(file_->Get(), saved_, appendAt_ ? saved_.size() : 0);
        RaiseSaveError(fileName_, error);
    }
    appendAt_ = text.size();
    saved_ = text;
    if (readsBackAlike_)
        RememberLogText(std::move(text), reports_);
}

std::string TLogFile::FieldValue(const std::string& key, int index) const {
    return HasReport(index) ? ReportFieldValue(reports_[size_t(index)], key) : std::string();
}

void TLogFile::SetFieldValue(const std::string& key, const std::string& value, int index,
                             const std::string& label) {
    const TPhaseScope phase(TPhase::LogMerge);
    if (!HasReport(index))
        return;
    reports_[size_t(index)] = WithFieldValue(reports_[size_t(index)], key, value, label);
    appendAt_.reset();
    readsBackAlike_ = readsBackAlike_ && ReadsBackAlike(reports_[size_t(index)]);
}

int TLogFile::Find(const std::vector<std::string>& keys,
                   const std::vector<std::string>& values) const {
    for (int index = Count() - 1; index >= 0; --index)
        for (size_t i = 0; i < keys.size() && i < values.size(); ++i)
            if (HasFieldValue(reports_[size_t(index)], keys[i], values[i]))
                return index;
    return -1;
}

void TLogFile::WriteXml(const std::string& fileName) const {
    const std::string xml = LogXml(reports_);
    WriteNewFile(fileName, std::vector<uint8_t>(xml.begin(), xml.end()));
}
