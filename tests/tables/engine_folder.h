// A scratch folder laid out for the table layer against the real engine: IDAPI32.DLL and an
// IDAPI32.INI whose PROFILEDATA alias names the "data" subfolder; the folder is the current
// directory, so the binding finds the engine there, and the runtime's units are initialised.
#pragma once
#include "test_folder.h"
#include <memory>
#include <string>

class EngineFolder {
  public:
    explicit EngineFolder(const char* engineDll);
    ~EngineFolder();
    EngineFolder(const EngineFolder&) = delete;
    EngineFolder& operator=(const EngineFolder&) = delete;

    const std::string& Path() const { return folder_.Path(); }
    const std::string& DataFolder() const { return data_; }
    // Lets the PROFILEDATA alias name another folder (engines started later read it).
    void PointAliasAt(const std::string& dataFolder);

  private:
    TestFolder folder_;
    std::string data_;
    std::unique_ptr<CurrentDirectory> current_;
};
