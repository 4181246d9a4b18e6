// Restructure speed and memory: appends one field to keyed tables of growing size through
// IDAPI32.DLL and sets the rate against a plain copy of the same table file. Each restructure
// runs in a fresh child process, so its peak working set is its own.
#include "column_desc.h"
#include "create_table.h"
#include "engine_library.h"
#include "fill_table.h"
#include "record_codec.h"
#include "sorted_table_writer.h"
#include "status.h"
#include "test_folder.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <psapi.h>
#include <string>
#include <vector>

namespace {

constexpr const char* kTable = "BENCH.DB";

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// MB here are MiB, as Windows tools show file sizes.
double MegaBytes(double bytes) {
    return bytes / (1024.0 * 1024.0);
}

uint64_t FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

// The table pdxtool's fill makes, keyed, in key order.
void BuildTable(const std::string& path, long rows) {
    FillTableRequest request("", true);
    pdx::CreateTable(path, *request.Request(), true);
    SortedTableWriter writer(path);
    const auto& f = writer.Header().fields;
    std::vector<uint8_t> record(writer.Header().recordSize);
    for (long i = 1; i <= rows; ++i) {
        const FillRow row(i);
        for (int n = 0; n < kFillFieldCount; ++n)
            pdx::EncodeField(f[n], row.Value(n), record.data() + f[n].offset);
        writer.Append(record.data());
    }
    writer.Finish();
}

// Copy rate of the table file as the baseline for a pass that reads and writes it once; with
// `flush`, the copy is also made durable, as a restructure must make its new files.
double CopyMegaBytesPerSecond(const std::string& path, bool flush) {
    std::string copy = path + ".copy";
    auto start = std::chrono::steady_clock::now();
    if (!CopyFileA(path.c_str(), copy.c_str(), FALSE)) {
        std::fprintf(stderr, "copy failed (error %lu)\n", GetLastError());
        std::exit(1);
    }
    if (flush) {
        HANDLE h = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        FlushFileBuffers(h);
        CloseHandle(h);
    }
    double seconds = Seconds(std::chrono::steady_clock::now() - start);
    DeleteFileA(copy.c_str());
    return MegaBytes(double(FileBytes(path))) / seconds;
}

void Check(EngineLibrary& dbi, DBIResult r, const char* what) {
    if (r == DBIERR_NONE)
        return;
    char text[DBIMAXMSGLEN + 1];
    dbi.DbiGetErrorString(r, text);
    std::fprintf(stderr, "%s: error 0x%04X: %s\n", what, unsigned(r), text);
    uint32_t native = 0;
    if (dbi.DbiGetErrorEntry(1, &native, text) != DBIERR_NONE)
        std::fprintf(stderr, "  %s\n", text);
    std::exit(1);
}

// The upgrade's way of appending a field: descriptors read back from the table opened
// exclusively, the new field added, then the restructure on the closed table.
void AppendField(EngineLibrary& dbi, hDBIDb db) {
    hDBICur cur = 0;
    Check(dbi,
          dbi.DbiOpenTable(db, kTable, "PARADOX", nullptr, nullptr, 0, dbiREADWRITE, dbiOPENEXCL,
                           xltFIELD, 0, nullptr, &cur),
          "open");
    Check(dbi, dbi.DbiSetProp(cur, curXLTMODE, xltNONE), "set translation");
    CURProps props;
    Check(dbi, dbi.DbiGetCursorProps(cur, &props), "cursor properties");
    std::vector<FLDDesc> fields(props.iFields);
    Check(dbi, dbi.DbiGetFieldDescs(cur, fields.data()), "field descriptors");
    fields.push_back(ColumnDesc("Code", fldZSTRING, 12));
    std::vector<CROpType> ops(fields.size(), crNOOP);
    ops.back() = crADD;
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i].iFldNum = uint16_t(i + 1);
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, kTable);
    std::memcpy(desc.szTblType, props.szTableType, sizeof desc.szTblType);
    desc.iFldCount = uint16_t(fields.size());
    desc.pfldDesc = fields.data();
    desc.pecrFldOp = ops.data();
    Check(dbi, dbi.DbiCloseCursor(&cur), "close");
    Check(dbi, dbi.DbiDoRestructure(db, 1, &desc, nullptr, nullptr, nullptr, 0), "restructure");
}

// The child's part: one restructure of the table in folder, reported on one line.
int Restructure(const std::string& folder, long rows, double copyRate, double durableRate) {
    EngineLibrary dbi(ENGINE_DLL);
    DBIEnv env{};
    std::strcpy(env.szLang, "0009");
    Check(dbi, dbi.DbiInitFn(DBIINTFVER, &env), "init");
    hDBIDb db = 0;
    Check(dbi,
          dbi.DbiOpenDatabase(folder.c_str(), nullptr, dbiREADWRITE, dbiOPENSHARED, nullptr, 0,
                              nullptr, nullptr, &db),
          "open database");
    std::string path = folder + "\\" + kTable;
    double bytes = double(FileBytes(path));
    size_t peakBefore = PeakWorkingSet();

    auto start = std::chrono::steady_clock::now();
    AppendField(dbi, db);
    double seconds = Seconds(std::chrono::steady_clock::now() - start);
    size_t peak = PeakWorkingSet();

    // A restructure that lost records or the field would make the figures meaningless.
    hDBICur cur = 0;
    Check(dbi,
          dbi.DbiOpenTable(db, kTable, "PARADOX", nullptr, nullptr, 0, dbiREADONLY, dbiOPENSHARED,
                           xltFIELD, 0, nullptr, &cur),
          "reopen");
    CURProps props;
    uint32_t count = 0;
    Check(dbi, dbi.DbiGetCursorProps(cur, &props), "cursor properties");
    Check(dbi, dbi.DbiGetRecordCount(cur, &count), "record count");
    Check(dbi, dbi.DbiCloseCursor(&cur), "close");
    dbi.DbiCloseDatabase(&db);
    dbi.DbiExit();
    if (count != uint32_t(rows) || props.iFields != 6) {
        std::fprintf(stderr, "restructured table has %u records and %u fields\n", unsigned(count),
                     unsigned(props.iFields));
        return 1;
    }

    double rate = MegaBytes(bytes) / seconds;
    std::printf("rows %6ld  bytes %6.1f MB  restructure %6.2f s  %7.0f rows/s  %6.1f MB/s  "
                "copy %6.1f MB/s  ratio %4.2f  flushed copy %6.1f MB/s  ratio %4.2f  "
                "peak WS %5.1f MB (%+.1f)\n",
                rows, MegaBytes(bytes), seconds, double(rows) / seconds, rate, copyRate,
                rate / copyRate, durableRate, rate / durableRate, MegaBytes(double(peak)),
                MegaBytes(double(peak - peakBefore)));
    std::fflush(stdout);
    return 0;
}

int RunChild(const std::string& folder, long rows, double copyRate, double durableRate) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" restructure \"" + folder + "\" " +
                          std::to_string(rows) + " " + std::to_string(copyRate) + " " +
                          std::to_string(durableRate);
    // The child writes its line to our output, even when that is a pipe or a file.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", self, GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return int(code);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "restructure")
        return Restructure(argv[2], std::atol(argv[3]), std::atof(argv[4]), std::atof(argv[5]));
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atol(argv[i]));
    if (sizes.empty())
        sizes = {10000, 100000, 300000};

    std::printf("restructure: keyed table (I key, A40, S, N, A120) gains an A12 field; ratio is\n"
                "restructure MB/s over copy MB/s (plain, then flushed to disk); peak WS is the "
                "restructuring process's, in\n"
                "brackets what the restructure added to it\n");
    std::fflush(stdout);
    int failures = 0;
    for (long rows : sizes) {
        TestFolder folder; // removed with the table at the end of each size
        try {
            BuildTable(folder.File(kTable), rows);
        } catch (const pdx::EngineError& e) {
            std::fprintf(stderr, "cannot build the table: error 0x%04X %s\n", unsigned(e.code),
                         e.context.c_str());
            return 1;
        }
        double copyRate = CopyMegaBytesPerSecond(folder.File(kTable), false);
        double durableRate = CopyMegaBytesPerSecond(folder.File(kTable), true);
        failures += RunChild(folder.Path(), rows, copyRate, durableRate) != 0;
    }
    return failures ? 1 : 0;
}
