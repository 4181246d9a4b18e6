// Finds a module's TD32 data: first through the image's debug directory, then in the file
// beside it with the extension ".tds". What the lookups need is taken apart once and kept.
#pragma once
#include "reporter/diagnostics/debug_formats/td32_scanner.h"
#include <memory>
#include <vector>
#include <windows.h>

class TKFTD32ImageReader {
  public:
    explicit TKFTD32ImageReader(HMODULE module);

    // Null when the module has no valid TD32 data.
    const TKFTD32InfoScanner* Scanner() const { return scanner_.get(); }

  private:
    bool Take(const std::vector<uint8_t>& data);

    std::unique_ptr<TKFTD32InfoScanner> scanner_;
};
