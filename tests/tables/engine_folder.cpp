#include "engine_folder.h"
#include "runtime/application.h"
#include "tables/tables_unit.h"
#include <fstream>
#include <windows.h>

EngineFolder::EngineFolder(const char* engineDll) : data_(folder_.File("data")) {
    CreateDirectoryA(data_.c_str(), nullptr);
    CopyFileA(engineDll, folder_.File("IDAPI32.DLL").c_str(), FALSE);
    PointAliasAt(data_);
    current_ = std::make_unique<CurrentDirectory>(folder_.Path());
    InitializeUnits({&ApplicationUnit, &TablesUnit});
}

void EngineFolder::PointAliasAt(const std::string& dataFolder) {
    std::ofstream(folder_.File("IDAPI32.INI"))
        << "[PROFILEDATA]\nPATH=" << dataFolder << "\nDEFAULT DRIVER=PARADOX\n";
}

EngineFolder::~EngineFolder() {
    FinalizeUnits();
    current_.reset();
}
