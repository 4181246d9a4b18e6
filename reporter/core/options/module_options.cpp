#include "reporter/core/options/module_options.h"
#include "reporter/base/binary_file.h"
#include "reporter/core/options/options_block.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/variable_expansion.h"
#include "runtime/format.h"
#include "runtime/module_names.h"

namespace {

size_t CheckedTextIndex(int index) {
    if (index < 0 || index >= kTextCount)
        throw Exception(Format("Text index %d is out of range.", index));
    return static_cast<size_t>(index);
}

} // namespace

TVessarModuleOptions::TVessarModuleOptions(const std::string& moduleFileName)
    : moduleName_(moduleFileName), moduleHandle_(LoadedModule(moduleFileName)) {
    SetDefaults();
    updateDepth_ = 0;
}

void TVessarModuleOptions::SetEnabled(bool value) {
    Store(enabled_, value);
}

void TVessarModuleOptions::SetFreezeCheck(bool value) {
    Store(freezeCheck_, value);
}

void TVessarModuleOptions::Assign(const TVessarModuleOptions* source) {
    if (source == nullptr)
        throw Exception("Impossible to assign nil as TVessarModuleOptions.");
    if (source == this)
        return;
    ChangeInBulk([&] {
        AssignBlockFields(*source);
        SetReproduceText(source->reproduceText_);
    });
}

void TVessarModuleOptions::AssignBlockFields(const TVessarModuleOptions& source) {
    stored_ = source.stored_;
    SetFreezeCheck(source.freezeCheck_);
    filters_.Assign(source.filters_);
}

void TVessarModuleOptions::SetDefaults() {
    ChangeInBulk([&] {
        stored_ = TVessarStoredOptions{};
        SetFreezeCheck(false);
        filters_.Clear();
        SetBeforeBuildCommand({});
        SetAfterBuildCommand({});
        SetFailedBuildCommand({});
        SetReproduceText({});
        SetEnabled(true);
    });
}

void TVessarModuleOptions::SaveToStream(ByteWriter& stream) const {
    WriteOptionsBlock(stream, *this);
}

void TVessarModuleOptions::SaveToFile(const std::string& fileName) const {
    ByteWriter block;
    SaveToStream(block);
    WriteNewFile(fileName, block.Data());
}

void TVessarModuleOptions::LoadFromStream(ByteReader& stream, int version) {
    // Read into a scratch object first, so that a damaged block leaves these options untouched.
    TVessarModuleOptions loaded("");
    ReadOptionsBlock(stream, version, loaded);
    ChangeInBulk([&] { AssignBlockFields(loaded); });
}

void TVessarModuleOptions::LoadFromFile(const std::string& fileName, int version) {
    std::vector<uint8_t> block = ReadWholeFile(fileName);
    ByteReader reader(block);
    LoadFromStream(reader, version);
}

void TVessarModuleOptions::CheckChanged() {
    ++revision_;
    if (updateDepth_ <= 0 && BelongsToReporterModule())
        Changed();
}

bool TVessarModuleOptions::BelongsToReporterModule() const {
    return moduleHandle_ != nullptr && moduleHandle_ == ReporterModuleHandle();
}

std::string TVessarModuleOptions::Text(int index) const {
    return ExpandVariables(stored_.Texts[CheckedTextIndex(index)]);
}

void TVessarModuleOptions::SetText(int index, std::string value) {
    Store(stored_.Texts[CheckedTextIndex(index)], std::move(value));
}
