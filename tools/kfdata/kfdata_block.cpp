#include "kfdata_block.h"
#include "link_map.h"
#include "mapped_file.h"
#include "options_text.h"
#include "procedure_table.h"
#include "reporter/base/byte_stream.h"
#include "reporter/diagnostics/debug_formats/kfdata_password.h"
#include <ctime>

namespace {

constexpr double kUnixEpochDay = 25569; // 1 January 1970 counted from 30 December 1899

double BuildTimeNow() {
    return kUnixEpochDay + double(std::time(nullptr)) / 86400.0;
}

std::vector<uint8_t> LineTableOf(const KFDataSources& sources, const BuildPhaseEnded& phaseEnded,
                                 std::string& problem) {
    if (sources.ImageFile.empty())
        return {};
    try {
        const MappedFile file(sources.ImageFile);
        const PeFile image(file.Bytes());
        EndPhase(phaseEnded, "image mapped");
        return BuildLineTable(image, sources.Password, phaseEnded);
    } catch (const std::exception& e) {
        problem = e.what();
        return {};
    }
}

// An int32 length and the line table.
std::vector<uint8_t> DataBlock(const std::vector<uint8_t>& lineTable) {
    ByteWriter block;
    block.WriteU32(uint32_t(lineTable.size()));
    block.WriteBytes(std::string(lineTable.begin(), lineTable.end()));
    return block.Data();
}

} // namespace

KFDataBlock BuildKFDataBlock(const KFDataSources& sources, const BuildPhaseEnded& phaseEnded) {
    KFDataBlock result;
    TKFDataContainer c;
    c.Procedures = ProceduresIn(ReadLinkMap(sources.MapFile), result.MissingProcedures);
    EndPhase(phaseEnded, "link map and procedure table");
    TVessarModuleOptions options("");
    ReadOptionsText(sources.OptionsFile, options);
    ByteWriter block;
    options.SaveToStream(block);
    c.OptionsBlock = block.Data();
    c.BuildTime = BuildTimeNow();
    c.EarlyLeakFlags = options.Stored().LeakFlags;
    c.PasswordCheck = PasswordCheckValue(sources.Password);
    EndPhase(phaseEnded, "options");
    c.DataBlock = DataBlock(LineTableOf(sources, phaseEnded, result.LineTableProblem));
    result.Bytes = WriteKFData(c);
    EndPhase(phaseEnded, "compression and container");
    return result;
}
