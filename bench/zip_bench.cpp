// The report archive's packing speed: report-like files of 10 MB in all (a log of many reports,
// its XML copy, a screenshot-sized binary) packed as a delivery packs them, best of three passes;
// the reading of the files timed alone beside it. zip_bench.sh runs Info-ZIP on the same files.
//   zip_bench <folder>: writes the files there, prints the figures
#include "reporter/send/report_packing.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A log of reports alike in layout, differing in addresses, times and counters.
std::string LogText(size_t size, std::mt19937& random) {
    std::string text;
    char line[160];
    for (unsigned report = 0; text.size() < size; ++report) {
        text += "Vessarion 6.0.24\r\n\r\nApplication:\r\n-------------------\r\n";
        std::snprintf(line, sizeof line,
                      "  1.1 Start Date      : Thu, 10 Dec 2026 %02u:%02u:%02u +0000\r\n"
                      "  2.1 Date            : Thu, 10 Dec 2026 %02u:%02u:%02u +0000\r\n",
                      report % 24, random() % 60, random() % 60, report % 24, random() % 60,
                      random() % 60);
        text += line;
        for (int frame = 0; frame < 40; ++frame) {
            std::snprintf(
                line, sizeof line,
                "|%08X|ProfileUpgrade.exe|profile_tables.cpp|TProfileTables|Open%-10u|%5u[%u]|\r\n",
                0x401000u + unsigned(random() % 0x200000), unsigned(random() % 1000),
                unsigned(random() % 2000), unsigned(random() % 40));
            text += line;
        }
        text += "\r\n\r\n\r\n";
    }
    text.resize(size);
    return text;
}

std::string XmlText(const std::string& log) {
    std::string xml = "<?xml version=\"1.0\"?>\r\n<Doc>\r\n";
    for (size_t at = 0; at < log.size(); at += 80)
        xml += "  <Line Value=\"" + log.substr(at, 80) + "\"/>\r\n";
    return xml + "</Doc>\r\n";
}

std::vector<std::string> WriteFiles(const std::string& folder) {
    std::mt19937 random(7);
    const std::string log = LogText(6u << 20, random);
    std::string picture(1u << 20, '\0');
    for (char& byte : picture)
        byte = char(random() % 7 == 0 ? random() : 0x80);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Profile.elf", log},
        {"Profile.xml", XmlText(log.substr(0, 3u << 20))},
        {"Screenshot.png", picture}};
    std::vector<std::string> paths;
    for (const auto& [name, content] : files) {
        paths.push_back(folder + "\\" + name);
        std::ofstream(paths.back(), std::ios::binary) << content;
    }
    return paths;
}

double ReadMilliseconds(const std::vector<std::string>& files) {
    const Clock::time_point start = Clock::now();
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    return MillisecondsSince(start);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zip_bench <folder>\n");
        return 2;
    }
    const std::vector<std::string> files = WriteFiles(argv[1]);
    const std::string archive = std::string(argv[1]) + "\\BugReport.zip";
    double best = 1e30, bestRead = 1e30;
    for (int pass = 0; pass < 3; ++pass) {
        bestRead = std::min(bestRead, ReadMilliseconds(files));
        const Clock::time_point start = Clock::now();
        PackFiles(archive, "", files);
        best = std::min(best, MillisecondsSince(start));
    }
    WIN32_FILE_ATTRIBUTE_DATA packed{};
    GetFileAttributesExA(archive.c_str(), GetFileExInfoStandard, &packed);
    uint64_t input = 0;
    for (const std::string& file : files) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
        input += data.nFileSizeLow;
    }
    std::printf(
        "packing %llu bytes in %zu files at level 9: %.0f ms (best of 3), archive %lu bytes\n",
        (unsigned long long)input, files.size(), best, packed.nFileSizeLow);
    std::printf("  phase: files read                 %8.0f ms\n", bestRead);
    std::printf("  phase: deflate, CRC and writing   %8.0f ms\n", best - bestRead);
    return 0;
}
