// The log file in memory: the latest reports, oldest first, and the field lines that make
// single values of them findable and editable.
#pragma once
#include "reporter/base/file_handle.h"
#include <optional>
#include <string>
#include <vector>

class TLogFile {
  public:
    // Reads `fileName` (as the options' LogFileName gives it) when it exists and keeps it open,
    // shared with other readers and writers, until the object goes. A file that cannot be
    // opened or read counts as empty; text in it that is no report is dropped at the next Save.
    explicit TLogFile(std::string fileName, bool readOnly = false);

    const std::string& FileName() const { return fileName_; }
    int Count() const { return int(reports_.size()); }
    // Report `index` as stored: the report followed by line ends (kReportEnd at least).
    const std::string& Report(int index) const { return reports_.at(size_t(index)); }
    // The whole log as Save writes it.
    std::string Text() const;

    // Appends `report`, first dropping the oldest reports so that at most `limit` remain
    // (-1: no limit).
    void Add(const std::string& report, int limit);
    // Writes the log, made when missing, and cuts the file after it. When the file holds what
    // was read or saved last and reports were only added since, only they are written: the
    // bytes are those a write from the start would give. A save that fails (a full disk) leaves
    // the file as it was before. Raises Exception.
    void Save();

    // The value of field `key` ("2.8") in report `index`; empty when there is none.
    std::string FieldValue(const std::string& key, int index) const;
    // Replaces the value of field `key` in report `index`; a missing field is added at the end of
    // its group, labelled `label`.
    void SetFieldValue(const std::string& key, const std::string& value, int index,
                       const std::string& label);
    // The last report in which, for some i, field keys[i] holds values[i]; -1 when none does.
    int Find(const std::vector<std::string>& keys, const std::vector<std::string>& values) const;

    // Writes the log's XML form to `fileName`. Raises Exception.
    void WriteXml(const std::string& fileName) const;

  private:
    bool HasReport(int index) const { return index >= 0 && index < Count(); }

    std::string fileName_;
    bool readOnly_;
    std::optional<FileHandle> file_;
    std::vector<std::string> reports_;
    // The size of the file's text while it is the start of Text(); none when it must be
    // written whole.
    std::optional<size_t> appendAt_;
    // The file's text as read or saved last, put back when a save fails part-way.
    std::string saved_;
    // Every report, read back from the saved text, is found as it is here.
    bool readsBackAlike_ = true;
};
