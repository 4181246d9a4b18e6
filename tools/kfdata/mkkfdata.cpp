// Writes the crash reporter data of a linked image: the procedure table from the image's link
// map, the options from the options text, the build time, and the line table from the image's
// DWARF data; the output is the body of the image's RCDATA resource "KFDATA", linked into the
// final image. The password enciphers the line table's names (the empty one when not given).
//   mkkfdata --map <image.map> --options <file> --out <kfdata.bin> [--image <image>]
//            [--password <text>]
// After the final link, checks that the procedures have not moved:
//   mkkfdata --verify --map <final.map> --kfdata <kfdata.bin>
#include "kfdata_block.h"
#include "link_map.h"
#include "procedure_table.h"
#include "reporter/base/binary_file.h"
#include <cstdio>
#include <map>
#include <string>

namespace {

std::string ArgumentOr(const std::map<std::string, std::string>& args, const char* name) {
    auto found = args.find(name);
    return found == args.end() ? std::string() : found->second;
}

int Write(const std::map<std::string, std::string>& args) {
    const KFDataSources sources{args.at("--map"), args.at("--options"), ArgumentOr(args, "--image"),
                                ArgumentOr(args, "--password")};
    const KFDataBlock block = BuildKFDataBlock(sources);
    for (const auto& name : block.MissingProcedures)
        std::fprintf(stderr, "mkkfdata: %s is not linked in; left out of the table\n",
                     name.c_str());
    // An image without usable DWARF data gets no line table; its build goes on.
    if (!block.LineTableProblem.empty())
        std::fprintf(stderr, "mkkfdata: %s: no line table: %s\n", sources.ImageFile.c_str(),
                     block.LineTableProblem.c_str());
    WriteNewFile(args.at("--out"), block.Bytes);
    return 0;
}

int Verify(const std::map<std::string, std::string>& args) {
    LinkMap map = ReadLinkMap(args.at("--map"));
    TKFDataContainer c = ReadKFData(ReadWholeFile(args.at("--kfdata")));
    std::vector<std::string> missing;
    std::vector<TKFDataProcedure> now = ProceduresIn(map, missing);
    bool same = now.size() == c.Procedures.size();
    for (size_t i = 0; same && i < now.size(); ++i)
        same = now[i].Id == c.Procedures[i].Id && now[i].Offset == c.Procedures[i].Offset;
    if (!same) {
        std::fprintf(stderr, "mkkfdata: the procedures moved between the two links of %s\n",
                     args.at("--map").c_str());
        return 1;
    }
    return 0;
}

const char* const kUsage =
    "usage: mkkfdata --map <image.map> --options <file> --out <kfdata.bin> [--image <image>]\n"
    "                [--password <text>]\n"
    "       mkkfdata --verify --map <final.map> --kfdata <kfdata.bin>\n";

} // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> args;
    bool verify = false;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--verify")
            verify = true;
        else if (i + 1 < argc)
            args[name] = argv[++i];
    }
    const bool complete =
        verify ? args.count("--map") && args.count("--kfdata")
               : args.count("--map") && args.count("--options") && args.count("--out");
    if (!complete) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        return verify ? Verify(args) : Write(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkkfdata: %s\n", e.what());
        return 1;
    }
}
