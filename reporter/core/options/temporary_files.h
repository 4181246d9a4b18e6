// Files that the crash reporter writes into the system temporary folder to send them.
#pragma once
#include <string>

std::string ScreenshotFileName();
std::string ArchiveFileName();
std::string LastHtmlPageFileName();
// The XML copy of the log file `logFileName`: its name with extension ".xml".
std::string XmlLogCopyFileName(const std::string& logFileName);
// The copy of the log file `logFileName` that is sent: its own name.
std::string LogCopyFileName(const std::string& logFileName);
