// The sample tables written by the original engine live outside the repository, in the folder
// that the PARADOX_SAMPLES setting names (CMake's, handed to every test in its environment). A
// test that needs them skips without them, with one line saying what it leaves unchecked.
#pragma once
#include <cstdlib>
#include <string>
#include <windows.h>

// The folder as this program sees it (a host path on Wine's drive Z:); empty when absent.
inline std::string SamplesFolder() {
    const char* setting = std::getenv("PARADOX_SAMPLES");
    if (!setting || !*setting)
        return {};
    std::string folder = setting[0] == '/' ? std::string("Z:") + setting : setting;
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
               ? folder
               : std::string();
}

// A sample's path: `relative` in the samples folder, e.g. "customer\\CUSTOMER.DB".
inline std::string SamplePath(const std::string& relative) {
    return SamplesFolder() + "\\" + relative;
}

// Copies a sample to `to`, writable: tests change their copies, never the samples.
inline bool CopySample(const std::string& relative, const std::string& to) {
    return CopyFileA(SamplePath(relative).c_str(), to.c_str(), FALSE) &&
           SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// First statement of a test that needs the samples.
#define SKIP_WITHOUT_SAMPLES(what)                                                                 \
    if (SamplesFolder().empty())                                                                   \
    GTEST_SKIP() << "not checked without the sample tables: " << what
