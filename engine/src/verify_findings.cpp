#include "status.h"
#include "verify_parts.h"
#include <windows.h>

namespace pdx {

namespace {

constexpr unsigned kListedPerFile = 12;
constexpr uint8_t kEngineStampSkew = 19;

} // namespace

std::string WhatOf(const EngineError& err) {
    // "File: <path> (<what>)" → "<what>"
    const std::string& c = err.context;
    size_t open = c.find(" (");
    if (c.rfind("File: ", 0) == 0 && open != std::string::npos && c.back() == ')')
        return c.substr(open + 2, c.size() - open - 3);
    return std::string(StatusText(err.code)) + (c.empty() ? "" : " " + c);
}

void Findings::Report(Finding kind, const std::string& file, const std::string& text) {
    if (kind == Finding::Problem)
        ++problems_;
    if (++listed_[file] > kListedPerFile) {
        ++unlisted_[file];
        return;
    }
    sink_(kind, file + ": " + text);
}

unsigned Findings::Finish() {
    for (const auto& [file, n] : unlisted_)
        sink_(Finding::Note, file + ": " + std::to_string(n) + " more findings not listed");
    unlisted_.clear();
    return problems_;
}

std::string BaseName(const std::string& path) {
    // Family paths are built from the table's name: the folder may spell them otherwise.
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(path.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return path.substr(path.find_last_of("\\/:") + 1);
    FindClose(h);
    return data.cFileName;
}

bool ReadFamilyHeader(const File& file, TableHeader& out, Findings& findings, Finding kind) {
    try {
        out = ReadHeader(file);
        return true;
    } catch (const EngineError& err) {
        if (err.code != DBIERR_HEADERCORRUPT && err.code != DBIERR_UNSUPPORTEDVERSION &&
            err.code != DBIERR_FILECORRUPT)
            throw;
        findings.Report(err.code == DBIERR_UNSUPPORTEDVERSION ? Finding::NotUnderstood : kind,
                        BaseName(file.Path()), "header: " + WhatOf(err));
        return false;
    }
}

void CheckStamp(Findings& findings, Finding kind, const std::string& file, const std::string& what,
                uint8_t stamp, uint8_t source) {
    std::string values =
        "stamp " + std::to_string(stamp) + ", " + what + " " + std::to_string(source);
    if (stamp == uint8_t(source + kEngineStampSkew))
        findings.Note(file, values + " (+19, as in many engine-written families)");
    else if (stamp != source)
        findings.Report(kind, file,
                        values + (kind == Finding::Problem
                                      ? ": the files were not written together"
                                      : " (engine-written files differ like this at times)"));
}

} // namespace pdx
