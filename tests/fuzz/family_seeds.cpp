// Writes seeds for the engine's fuzz targets, one packed table family a file (table_family.h),
// into <corpus root>/paradox_table/ and <corpus root>/paradox_restructure/:
//   family_seeds samples <folder> <corpus root>   every table family below the folder
//   family_seeds own <corpus root>                tables of our own, written by the engine
#include "add_index.h"
#include "create_table.h"
#include "memory_files.h"
#include "record_codec.h"
#include "status.h"
#include "table_cursor.h"
#include "table_family.h"
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using table_family::TFile;

// Families larger than this only slow every execution down.
constexpr uintmax_t kLargestFamily = 128 * 1024;
const char* const kTargets[] = {"paradox_table", "paradox_restructure"};

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void WriteSeed(const fs::path& root, const std::string& name, const std::vector<TFile>& files) {
    const std::vector<uint8_t> packed = table_family::Pack(files);
    for (const char* target : kTargets) {
        fs::create_directories(root / target);
        std::ofstream(root / target / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(packed.data()), std::streamsize(packed.size()));
    }
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The table's .DB first, then every file of the same name beside it.
std::vector<TFile> FamilyOf(const fs::path& table, uintmax_t& size) {
    std::vector<TFile> files{{".DB", FileBytes(table)}};
    size = fs::file_size(table);
    for (const auto& entry : fs::directory_iterator(table.parent_path())) {
        const fs::path& path = entry.path();
        if (path != table && Upper(path.stem().string()) == Upper(table.stem().string())) {
            files.emplace_back(Upper(path.extension().string()), FileBytes(path));
            size += entry.file_size();
        }
    }
    return files;
}

void SampleSeeds(const fs::path& folder, const fs::path& root) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || Upper(path.extension().string()) != ".DB")
            continue;
        uintmax_t size = 0;
        const std::vector<TFile> family = FamilyOf(path, size);
        if (size <= kLargestFamily)
            WriteSeed(root, path.parent_path().filename().string() + "_" + path.stem().string(),
                      family);
    }
}

FLDDesc Field(const char* name, uint16_t type, int16_t units = 0) {
    FLDDesc field{};
    std::strncpy(field.szName, name, sizeof field.szName - 1);
    field.iFldType = type;
    field.iUnits1 = units;
    return field;
}

// A keyed table of a few rows with a maintained secondary index on its second field.
void OwnTableSeed(const fs::path& root) {
    const std::string table = "C:\\OWN\\PEOPLE.DB";
    FLDDesc fields[] = {Field("Id", fldINT32), Field("Name", fldZSTRING, 20),
                        Field("Score", fldINT16), Field("Joined", fldDATE)};
    IDXDesc key{};
    key.bPrimary = 1;
    key.iFldsInKey = 1;
    key.aiKeyFld[0] = 1;
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, "PEOPLE");
    std::strcpy(desc.szTblType, "PARADOX");
    desc.iFldCount = uint16_t(std::size(fields));
    desc.pfldDesc = fields;
    desc.iIdxCount = 1;
    desc.pidxDesc = &key;
    pdx::CreateTable(table, desc, true);
    const auto noPassword = [](uint32_t) { return false; };
    {
        pdx::TableCursor cursor(table, false, true, noPassword);
        const pdx::TableHeader& h = cursor.Header();
        const char* const names[] = {"Ada", "Brian", "Chidi", "Dana", "Eero", "Fumiko"};
        for (int32_t id = 6; id >= 1; --id) {
            std::vector<uint8_t> record(h.recordSize);
            const int16_t score = int16_t(id * 7);
            const int32_t joined = 730000 + id;
            pdx::EncodeField(h.fields[0], &id, record.data() + h.fields[0].offset);
            pdx::EncodeField(h.fields[1], names[id - 1], record.data() + h.fields[1].offset);
            pdx::EncodeField(h.fields[2], &score, record.data() + h.fields[2].offset);
            pdx::EncodeField(h.fields[3], &joined, record.data() + h.fields[3].offset);
            cursor.Insert(record.data());
        }
        cursor.Close();
    }
    IDXDesc byName{};
    std::strcpy(byName.szName, "ByName");
    byName.bMaintained = 1;
    byName.iFldsInKey = 1;
    byName.aiKeyFld[0] = 2;
    pdx::AddSecondaryIndex(table, byName, noPassword);
    std::vector<TFile> family;
    for (const std::string& path : memory_files::Paths())
        family.emplace_back(Upper(path.substr(path.find_last_of('.'))), memory_files::Bytes(path));
    std::stable_partition(family.begin(), family.end(),
                          [](const TFile& file) { return file.first == ".DB"; });
    WriteSeed(root, "own_keyed_with_index", family);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "samples")
            SampleSeeds(args[1], args[2]);
        else if (args.size() == 2 && args[0] == "own")
            OwnTableSeed(args[1]);
        else {
            std::cerr << "usage: family_seeds samples <folder> <corpus root>\n"
                         "       family_seeds own <corpus root>\n";
            return 2;
        }
    } catch (const pdx::EngineError& e) {
        std::cerr << "family_seeds: engine status " << e.code << ": " << e.context << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "family_seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
