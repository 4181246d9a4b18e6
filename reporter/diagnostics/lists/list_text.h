// Values of the modules and processes lists as text.
#pragma once
#include <cstdint>
#include <string>
#include <windows.h>

// Whole kilobytes, rounded, and " Kb"; empty for 0.
std::string KilobytesText(uint64_t bytes);
// The count in decimal; "??" for 0, which stands for unknown.
std::string CountText(DWORD count);
// A file time as local "yyyy-mm-dd hh:nn:ss"; empty for none.
std::string FileDateText(const FILETIME& universal);
// The folder of a path without its closing "\" (kept after a drive's ":") and without the
// "\??\" that native paths start with.
std::string FolderText(const std::string& path);

// `text` with its unprintable characters (control characters and DEL) as "?": names and version
// texts come from files and other processes and may hold anything.
std::string PrintableText(std::string text);
