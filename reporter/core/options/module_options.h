// The settings of the crash reporter for one module: fields, defaults, change notification.
#pragma once
#include "reporter/base/byte_stream.h"
#include "reporter/core/options/default_texts.h"
#include "reporter/core/options/exception_filters.h"
#include <array>
#include <cstdint>
#include <string>
#include <windows.h>

// The container version whose options block layout this code writes.
constexpr int kCurrentOptionsVersion = 6024;
constexpr uint64_t kAllReportFields = 0xFFFFFFFFFFFFull;

// The stored fields, in block order (option_fields.def); copied as a whole by Assign.
struct TVessarStoredOptions {
#define OPTION_FIELD(Name, Type, Form, Default, Conversion, Setter) Type Name = Default;
#include "reporter/core/options/option_fields.def"
    std::array<std::string, kTextCount> Texts = DefaultTexts();

    bool operator==(const TVessarStoredOptions&) const = default;
};

class TVessarModuleOptions {
  public:
    // Options of the module loaded from `moduleFileName`; no module when empty.
    explicit TVessarModuleOptions(const std::string& moduleFileName);
    virtual ~TVessarModuleOptions() = default;
    TVessarModuleOptions(const TVessarModuleOptions&) = delete;
    TVessarModuleOptions& operator=(const TVessarModuleOptions&) = delete;

    virtual void SetEnabled(bool value);
    virtual void SetFreezeCheck(bool value);
    // Copies every stored field, the filters, the texts and ReproduceText; not Enabled nor the
    // module identity. `source` null raises an Exception.
    virtual void Assign(const TVessarModuleOptions* source);
    virtual void SetDefaults();
    virtual void SaveToStream(ByteWriter& stream) const;
    virtual void SaveToFile(const std::string& fileName) const;
    // `version` is that of the container the block came from; older layouts are converted.
    virtual void LoadFromStream(ByteReader& stream, int version = kCurrentOptionsVersion);
    virtual void LoadFromFile(const std::string& fileName, int version = kCurrentOptionsVersion);
    // Called after each change, or once after a bulk change, on the reporter's own module.
    virtual void Changed() {}
    virtual void Reload() {}

    void BeginUpdate() {
        ++updateDepth_;
        ++revision_;
    }
    void EndUpdate() { --updateDepth_; }
    void CheckChanged();
    int32_t UpdateDepth() const { return updateDepth_; }

    // Text `index` with its variable references expanded.
    std::string Text(int index) const;
    void SetText(int index, std::string value);

    // Where the log file of `moduleFileName` (of ModuleName when empty) goes: beside the module
    // or as LogPath says, its folder made, moved to the crash reporter's own folder when not
    // writable there, and with "_" and the computer name before the extension when LogFlags has
    // 0x08. The second form takes the computer name instead of asking the system.
    std::string LogFileName(const std::string& moduleFileName = {}) const;
    std::string LogFileName(const std::string& moduleFileName,
                            const std::string& computerName) const;
    // The LogPath rules, folder creation and writable check alone, for a log file `name`.
    std::string LogFolderFileName(const std::string& name) const;

    const TVessarStoredOptions& Stored() const { return stored_; }
    TVessarExceptionsFilters& Filters() { return filters_; }
    const TVessarExceptionsFilters& Filters() const { return filters_; }
    bool FreezeCheck() const { return freezeCheck_; }
    bool Enabled() const { return enabled_; }
    const std::string& ReproduceText() const { return reproduceText_; }
    const std::string& BeforeBuildCommand() const { return beforeBuildCommand_; }
    const std::string& AfterBuildCommand() const { return afterBuildCommand_; }
    const std::string& FailedBuildCommand() const { return failedBuildCommand_; }
    const std::string& ModuleName() const { return moduleName_; }
    HMODULE ModuleHandle() const { return moduleHandle_; }

    void SetReproduceText(std::string value) { Store(reproduceText_, std::move(value)); }
    void SetBeforeBuildCommand(std::string value) { Store(beforeBuildCommand_, std::move(value)); }
    void SetAfterBuildCommand(std::string value) { Store(afterBuildCommand_, std::move(value)); }
    void SetFailedBuildCommand(std::string value) { Store(failedBuildCommand_, std::move(value)); }
    void SetModuleName(std::string value) { Store(moduleName_, std::move(value)); }
    void SetModuleHandle(HMODULE value) { Store(moduleHandle_, value); }

    // Setters of the stored fields; those marked Custom in option_fields.def follow.
#define OPTION_SETTER_Plain(Name, Type)                                                            \
    void Set##Name(Type v) {                                                                       \
        Store(stored_.Name, std::move(v));                                                         \
    }
#define OPTION_SETTER_Custom(Name, Type)
#define OPTION_FIELD(Name, Type, Form, Default, Conversion, Setter)                                \
    OPTION_SETTER_##Setter(Name, Type)
#include "reporter/core/options/option_fields.def"
#undef OPTION_SETTER_Plain
#undef OPTION_SETTER_Custom
    // Bit n switches field n of the report's general section on; 48 bits are used.
    void SetReportFields(uint64_t v) {
        Store(stored_.ReportFields, v & kAllReportFields);
    }
    // The log always keeps at least one report.
    void SetLogMaxReports(int32_t v) {
        Store(stored_.LogMaxReports, v == 0 ? 1 : v);
    }

  protected:
    // True for the options of the module that contains the crash reporter.
    bool BelongsToReporterModule() const;
    // Moves with every change (and every bulk change begun): the same value means no change.
    uint32_t Revision() const {
        return revision_;
    }

  private:
    template <typename T> void Store(T& field, T value) {
        field = std::move(value);
        CheckChanged();
    }
    // Runs `change` as one update: listeners hear of it once, at the end.
    template <typename Change> void ChangeInBulk(Change change) {
        BeginUpdate();
        try {
            change();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        CheckChanged();
    }
    // Everything that travels in an options block, i.e. all Assign copies but ReproduceText.
    void AssignBlockFields(const TVessarModuleOptions& source);

    int32_t updateDepth_ = 0;
    uint32_t revision_ = 0;
    TVessarStoredOptions stored_;
    TVessarExceptionsFilters filters_{*this};
    bool freezeCheck_ = false;
    std::string beforeBuildCommand_;
    std::string afterBuildCommand_;
    std::string failedBuildCommand_;
    std::string moduleName_;
    HMODULE moduleHandle_ = nullptr;
    std::string reproduceText_;
    bool enabled_ = true;
};
