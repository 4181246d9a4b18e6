#include "reporter/core/options/temporary_files.h"
#include "reporter/base/path_names.h"
#include "reporter/core/options/system_folders.h"

std::string ScreenshotFileName() {
    return TemporaryFolder() + "Screenshot.png";
}

std::string ArchiveFileName() {
    return TemporaryFolder() + "BugReport.zip";
}

std::string LastHtmlPageFileName() {
    return TemporaryFolder() + "LastHTMLPage.html";
}

std::string XmlLogCopyFileName(const std::string& logFileName) {
    return WithExtension(LogCopyFileName(logFileName), ".xml");
}

std::string LogCopyFileName(const std::string& logFileName) {
    return TemporaryFolder() + FileNameOf(logFileName);
}
