#include "reporter/core/temporary_files.h"
#include "reporter/core/path_names.h"
#include "reporter/core/system_folders.h"

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
