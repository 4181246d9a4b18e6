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

// The stored fields that have plain setters; copied as a whole by Assign.
struct TVessarStoredOptions {
    std::string MailSender = "bugreport@vessarion-reports.example";
    std::string MailServer;
    std::string MailUser;
    std::string MailUserPassword;
    int16_t MailServerPort = 25;
    std::string ProxyAddress;
    std::string ProxyUser;
    std::string ProxyUserPassword;
    uint16_t ProxyServerPort = 8080;
    std::string TrackerUser;
    std::string TrackerUserPassword;
    std::string TrackerAssignee;
    std::string TrackerProject;
    std::string TrackerCategory;
    std::string TrackerExtraId;
    std::string ArchivePassword;
    uint8_t BuildFlags = 0x01;
    uint8_t TerminateButtonAction = 2;
    int32_t FreezeSeconds = 60;
    // Bit n switches field n of the report's general section on; 48 bits are used.
    uint64_t ReportFields = kAllReportFields;
    uint8_t DialogKind = 2;
    std::array<std::string, kTextCount> Texts = DefaultTexts();
    std::string TextsLanguage = "English";
    bool LogActivation = false;
    bool UseFilters = true;
    bool AppendReportToMail = false;
    bool SaveLog = true;
    uint8_t LogFlags = 0x30;
    uint16_t SendFlags = 0x0051;
    uint8_t FirstTab = 0;
    int32_t LogMaxReports = 32;
    int32_t TerminateButtonAfter = 3;
    std::string LogPath;
    std::string MailRecipients;
    std::string MailSubject;
    std::string MailBody;
    uint8_t MailMethod = 0;
    uint8_t WebMethod = 0;
    std::string AttachedFileList;
    uint16_t DialogFlags = 0x018F;
    int32_t DialogAutoCloseSeconds = 0;
    std::string SupportPage;
    std::string HtmlTemplate = kDefaultHtmlTemplate;
    uint8_t RepeatAction = 2;
    int32_t RepeatCount = 10;
    int32_t RepeatMinutes = 1;
    uint8_t StackFlags = 0x0F;
    uint16_t BehaviourFlags = 0x0058;
    uint8_t LeakFlags = 0x1E;
    std::string WebAddress;
    uint32_t WebServerPort = 0;
    std::string WebUserPassword;
    std::string WebUser;

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

    void BeginUpdate() { ++updateDepth_; }
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

    // Setters of the stored fields.
    void SetMailSender(std::string v) { Store(stored_.MailSender, std::move(v)); }
    void SetMailServer(std::string v) { Store(stored_.MailServer, std::move(v)); }
    void SetMailUser(std::string v) { Store(stored_.MailUser, std::move(v)); }
    void SetMailUserPassword(std::string v) { Store(stored_.MailUserPassword, std::move(v)); }
    void SetMailServerPort(int16_t v) { Store(stored_.MailServerPort, v); }
    void SetProxyAddress(std::string v) { Store(stored_.ProxyAddress, std::move(v)); }
    void SetProxyUser(std::string v) { Store(stored_.ProxyUser, std::move(v)); }
    void SetProxyUserPassword(std::string v) { Store(stored_.ProxyUserPassword, std::move(v)); }
    void SetProxyServerPort(uint16_t v) { Store(stored_.ProxyServerPort, v); }
    void SetTrackerUser(std::string v) { Store(stored_.TrackerUser, std::move(v)); }
    void SetTrackerUserPassword(std::string v) { Store(stored_.TrackerUserPassword, std::move(v)); }
    void SetTrackerAssignee(std::string v) { Store(stored_.TrackerAssignee, std::move(v)); }
    void SetTrackerProject(std::string v) { Store(stored_.TrackerProject, std::move(v)); }
    void SetTrackerCategory(std::string v) { Store(stored_.TrackerCategory, std::move(v)); }
    void SetTrackerExtraId(std::string v) { Store(stored_.TrackerExtraId, std::move(v)); }
    void SetArchivePassword(std::string v) { Store(stored_.ArchivePassword, std::move(v)); }
    void SetBuildFlags(uint8_t v) { Store(stored_.BuildFlags, v); }
    void SetTerminateButtonAction(uint8_t v) { Store(stored_.TerminateButtonAction, v); }
    void SetFreezeSeconds(int32_t v) { Store(stored_.FreezeSeconds, v); }
    void SetReportFields(uint64_t v) { Store(stored_.ReportFields, v & kAllReportFields); }
    void SetDialogKind(uint8_t v) { Store(stored_.DialogKind, v); }
    void SetTextsLanguage(std::string v) { Store(stored_.TextsLanguage, std::move(v)); }
    void SetLogActivation(bool v) { Store(stored_.LogActivation, v); }
    void SetUseFilters(bool v) { Store(stored_.UseFilters, v); }
    void SetAppendReportToMail(bool v) { Store(stored_.AppendReportToMail, v); }
    void SetSaveLog(bool v) { Store(stored_.SaveLog, v); }
    void SetLogFlags(uint8_t v) { Store(stored_.LogFlags, v); }
    void SetSendFlags(uint16_t v) { Store(stored_.SendFlags, v); }
    void SetFirstTab(uint8_t v) { Store(stored_.FirstTab, v); }
    // The log always keeps at least one report.
    void SetLogMaxReports(int32_t v) { Store(stored_.LogMaxReports, v == 0 ? 1 : v); }
    void SetTerminateButtonAfter(int32_t v) { Store(stored_.TerminateButtonAfter, v); }
    void SetLogPath(std::string v) { Store(stored_.LogPath, std::move(v)); }
    void SetMailRecipients(std::string v) { Store(stored_.MailRecipients, std::move(v)); }
    void SetMailSubject(std::string v) { Store(stored_.MailSubject, std::move(v)); }
    void SetMailBody(std::string v) { Store(stored_.MailBody, std::move(v)); }
    void SetMailMethod(uint8_t v) { Store(stored_.MailMethod, v); }
    void SetWebMethod(uint8_t v) { Store(stored_.WebMethod, v); }
    void SetAttachedFileList(std::string v) { Store(stored_.AttachedFileList, std::move(v)); }
    void SetDialogFlags(uint16_t v) { Store(stored_.DialogFlags, v); }
    void SetDialogAutoCloseSeconds(int32_t v) { Store(stored_.DialogAutoCloseSeconds, v); }
    void SetSupportPage(std::string v) { Store(stored_.SupportPage, std::move(v)); }
    void SetHtmlTemplate(std::string v) { Store(stored_.HtmlTemplate, std::move(v)); }
    void SetRepeatAction(uint8_t v) { Store(stored_.RepeatAction, v); }
    void SetRepeatCount(int32_t v) { Store(stored_.RepeatCount, v); }
    void SetRepeatMinutes(int32_t v) { Store(stored_.RepeatMinutes, v); }
    void SetStackFlags(uint8_t v) { Store(stored_.StackFlags, v); }
    void SetBehaviourFlags(uint16_t v) { Store(stored_.BehaviourFlags, v); }
    void SetLeakFlags(uint8_t v) { Store(stored_.LeakFlags, v); }
    void SetWebAddress(std::string v) { Store(stored_.WebAddress, std::move(v)); }
    void SetWebServerPort(uint32_t v) { Store(stored_.WebServerPort, v); }
    void SetWebUserPassword(std::string v) { Store(stored_.WebUserPassword, std::move(v)); }
    void SetWebUser(std::string v) { Store(stored_.WebUser, std::move(v)); }

  protected:
    // True for the options of the module that contains the crash reporter.
    bool BelongsToReporterModule() const;

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
