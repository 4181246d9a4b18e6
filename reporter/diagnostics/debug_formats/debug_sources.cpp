#include "reporter/diagnostics/debug_formats/debug_sources.h"
#include "reporter/diagnostics/debug_formats/jdbg_section.h"
#include "reporter/diagnostics/debug_formats/module_files.h"

TKFDebugInfoMap::TKFDebugInfoMap(HMODULE module) : TKFReaderSource(module) {
    if (auto text = ReadModuleSibling(module, ".map"))
        scanner_ = std::make_unique<TKFMapScanner>(std::string(text->begin(), text->end()));
}

const TKFDebugReader* TKFDebugInfoMap::Reader() const {
    return scanner_ && scanner_->HasData() ? scanner_.get() : nullptr;
}

TKFDebugInfoJedy::TKFDebugInfoJedy(HMODULE module) : TKFReaderSource(module) {
    auto data = JdbgSection(module);
    if (!data)
        data = ReadModuleSibling(module, ".jdbg");
    if (data)
        scanner_ = std::make_unique<TKFBinDebugScanner>(std::move(*data));
}

const TKFDebugReader* TKFDebugInfoJedy::Reader() const {
    return scanner_ && scanner_->ValidFormat() ? scanner_.get() : nullptr;
}

std::unique_ptr<TKFDebugInfoSource> DebugSourceFor(HMODULE module) {
    std::unique_ptr<TKFDebugInfoSource> source = std::make_unique<TKFDebugInfoMap>(module);
    if (!source->HasData())
        source = std::make_unique<TKFDebugInfoTD32>(module);
    if (!source->HasData())
        source = std::make_unique<TKFDebugInfoJedy>(module);
    return source->HasData() ? std::move(source) : nullptr;
}
