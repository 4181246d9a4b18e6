#include "reporter/send/report_packing.h"
#include "reporter/base/path_names.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/temporary_files.h"
#include "reporter/core/options/variable_expansion.h"
#include "reporter/send/zip_writer.h"
#include "runtime/text.h"
#include <windows.h>

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The pieces of AttachedFileList between ";", trimmed, empty ones dropped.
std::vector<std::string> NamedFiles(const std::string& list) {
    std::vector<std::string> files;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string piece = Trim(list.substr(start, end - start));
        if (!piece.empty())
            files.push_back(piece);
        start = end + 1;
    }
    return files;
}

std::vector<std::string> CandidateFiles(const TPackingRequest& request) {
    const TVessarStoredOptions& stored = request.Options->Stored();
    std::vector<std::string> files = NamedFiles(stored.AttachedFileList);
    if (!request.IncludeLogCopy || !stored.AppendReportToMail)
        files.push_back(LogCopyFileName(request.LogFileName));
    if ((stored.SendFlags & SendFlag::AttachScreenshot) != 0 && request.ScreenshotTaken)
        files.push_back(ScreenshotFileName());
    if ((stored.SendFlags & SendFlag::AttachLastHtmlPage) != 0 && request.LastPageRecorded)
        files.push_back(LastHtmlPageFileName());
    if ((stored.SendFlags & SendFlag::AttachXmlLogCopy) != 0)
        files.push_back(XmlLogCopyFileName(request.LogFileName));
    for (std::string& file : files)
        file = ExpandVariables(file);
    return files;
}

std::vector<std::string> ExistingFiles(const TPackingRequest& request,
                                       const std::vector<std::string>& files) {
    std::vector<std::string> existing;
    for (const std::string& file : files) {
        if (FileExists(file))
            existing.push_back(file);
        else if (request.Skipped)
            request.Skipped(file, "not found");
    }
    return existing;
}

} // namespace

std::vector<std::string> PackFiles(const std::string& archivePath, const std::string& password,
                                   const std::vector<std::string>& files) {
    std::vector<std::string> unread;
    if (files.empty())
        return unread;
    TZipWriter archive(archivePath, password);
    for (const std::string& file : files)
        if (!archive.AddFile(file, FileNameOf(file)))
            unread.push_back(file);
    return unread;
}

std::vector<std::string> PrepareAttachments(const TPackingRequest& request) {
    std::vector<std::string> files = CandidateFiles(request);
    if (request.AskApplication)
        request.AskApplication(files);
    files = ExistingFiles(request, files);
    const std::string archive = ArchiveFileName();
    // A previous delivery that did not end may have left its archive: it must not go out again.
    DeleteFileA(archive.c_str());
    for (const std::string& file :
         PackFiles(archive, request.Options->Stored().ArchivePassword, files))
        if (request.Skipped)
            request.Skipped(file, "cannot be read");
    return {archive};
}
