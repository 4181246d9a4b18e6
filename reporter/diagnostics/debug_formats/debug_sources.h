// The three debug sources of modules built by other tools.
#pragma once
#include "reporter/diagnostics/debug_formats/jdbg_scanner.h"
#include "reporter/diagnostics/debug_formats/map_scanner.h"
#include "reporter/diagnostics/debug_formats/reader_source.h"
#include "reporter/diagnostics/debug_formats/td32_image_reader.h"
#include <memory>

// The linker map beside the module (".map").
class TKFDebugInfoMap : public TKFReaderSource {
  public:
    explicit TKFDebugInfoMap(HMODULE module);

  private:
    const TKFDebugReader* Reader() const override;
    std::unique_ptr<TKFMapScanner> scanner_;
};

// TD32 data in the image or beside it (".tds").
class TKFDebugInfoTD32 : public TKFReaderSource {
  public:
    explicit TKFDebugInfoTD32(HMODULE module) : TKFReaderSource(module), reader_(module) {}

  private:
    const TKFDebugReader* Reader() const override { return reader_.Scanner(); }
    TKFTD32ImageReader reader_;
};

// JDBG data: the module's "JCLDEBUG" section, else the file beside it (".jdbg").
class TKFDebugInfoJedy : public TKFReaderSource {
  public:
    explicit TKFDebugInfoJedy(HMODULE module);

  private:
    const TKFDebugReader* Reader() const override;
    std::unique_ptr<TKFBinDebugScanner> scanner_;
};
