// The sample tables written by the original engine live outside the repository, in the folders
// that the PARADOX_SAMPLES and PARADOX_LEGACY_SAMPLES settings name (CMake's, handed to every
// test in its environment). A test that needs them skips without them, with one line saying
// what it leaves unchecked.
#pragma once
#include <cstdlib>
#include <string>
#include <windows.h>

// The folder a setting names, as this program sees it (a host path on Wine's drive Z:); empty
// when absent.
inline std::string SampleFolderOf(const char* setting) {
    const char* value = std::getenv(setting);
    if (!value || !*value)
        return {};
    std::string folder = value[0] == '/' ? std::string("Z:") + value : value;
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
               ? folder
               : std::string();
}

inline std::string SamplesFolder() {
    return SampleFolderOf("PARADOX_SAMPLES");
}
// The legacy families: 3.0 tables with validity files of their era, an unkeyed table with a
// secondary index, an index stamp as the original engine left it.
inline std::string LegacyFolder() {
    return SampleFolderOf("PARADOX_LEGACY_SAMPLES");
}

// A sample's path: `relative` in the samples folder, e.g. "customer\\CUSTOMER.DB".
inline std::string SamplePath(const std::string& relative) {
    return SamplesFolder() + "\\" + relative;
}

// Copies a file to `to`, writable: tests change their copies, never the samples.
inline bool CopyWritable(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) &&
           SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
}

inline bool CopySample(const std::string& relative, const std::string& to) {
    return CopyWritable(SamplePath(relative), to);
}

// First statement of a test that needs the samples.
#define SKIP_WITHOUT_SAMPLES(what)                                                                 \
    if (SamplesFolder().empty())                                                                   \
    GTEST_SKIP() << "not checked without the sample tables: " << what

#define SKIP_WITHOUT_LEGACY(what)                                                                  \
    if (LegacyFolder().empty())                                                                    \
    GTEST_SKIP() << "not checked without the legacy sample tables: " << what
