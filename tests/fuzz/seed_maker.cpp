// Writes seeds for the fuzz targets, each as a file of its target's folder:
//   seed_maker container <kfdata.bin> <corpus root>  the container, its options block and its
//                                                   line table, as the build wrote them
//   seed_maker debug-data <corpus root>              JDBG and TD32 data of a small module
#include "input_choices.h"
#include "jdbg_writer.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include "td32_writer.h"
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using namespace input_choices;

void WriteSeed(const fs::path& root, const std::string& target, const std::string& name,
               const std::vector<uint8_t>& bytes) {
    fs::create_directories(root / target);
    std::ofstream(root / target / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> Chosen(uint8_t choice, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> input{choice};
    input.insert(input.end(), bytes.begin(), bytes.end());
    return input;
}

void ContainerSeeds(const fs::path& file, const fs::path& root) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> resource{std::istreambuf_iterator<char>(in), {}};
    const TKFDataContainer c = ReadKFData(resource);
    const std::string name = file.parent_path().filename().string();
    WriteSeed(root, "kfdata_container", name, resource);
    if (!c.OptionsInDataBlock)
        WriteSeed(root, "options_block", name,
                  Chosen(ChoiceOf(kOptionsVersions, c.Version), c.OptionsBlock));
    ByteReader dataBlock(c.DataBlock);
    const std::vector<uint8_t> table = ReadLineTable(dataBlock);
    if (table.empty())
        return;
    const uint8_t version = ChoiceOf(kLineTableVersions, c.Version);
    WriteSeed(root, "line_table", name, Chosen(version, table));
    WriteSeed(root, "line_table", name + ".checked",
              Chosen(version | kHasPasswordCheck | kEmptyPasswordFits, table));
}

void DebugDataSeeds(const fs::path& root) {
    TJdbgWriter jdbg;
    jdbg.Unit(0, jdbg.Name("Alpha"));
    jdbg.Unit(0x100, jdbg.Name("Beta"));
    jdbg.Source(0, jdbg.Name("Alpha.pas", TJdbgNameForm::KeyedText));
    jdbg.Source(0x100, jdbg.Name("Beta.pas", TJdbgNameForm::KeyedText));
    jdbg.Symbol(0x10, jdbg.Name("TThing"), jdbg.Name("Paint"));
    jdbg.Symbol(0x108, jdbg.Name("Finish", TJdbgNameForm::AtPacked));
    jdbg.Line(0x10, 10);
    jdbg.Line(0x18, 11);
    jdbg.Line(0x108, 30);
    WriteSeed(root, "jdbg", "two_units", jdbg.Bytes());

    TTd32Fixture td32;
    td32.Units = {{"alpha", 0, 0x100}, {"Beta", 0x101, 0xFF}};
    td32.Procedures = {{"@Alpha@TThing@Paint$qqrv", 0x10, 0x30}, {"PlainProc", 0x108, 8}};
    td32.Sources = {{"C:\\src\\Alpha.pas", 0, 0x101, {{0x10, 10}, {0x18, 11}}},
                    {"Beta.pas", 0x101, 0x200, {{0x108, 30}, {0x110, 31}}}};
    WriteSeed(root, "td32", "two_units", WriteTd32(td32));
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "container")
            ContainerSeeds(args[1], args[2]);
        else if (args.size() == 2 && args[0] == "debug-data")
            DebugDataSeeds(args[1]);
        else {
            std::cerr << "usage: seed_maker container <kfdata.bin> <corpus root>\n"
                         "       seed_maker debug-data <corpus root>\n";
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "seed_maker: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
