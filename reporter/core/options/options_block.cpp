#include "reporter/core/options/options_block.h"
#include "reporter/core/options/module_options.h"
#include "runtime/format.h"

namespace {

constexpr uint8_t kStringScramble = 0x5A;
constexpr int kFreezeInSecondsSince = 422;
constexpr int kMailMethodsSince = 450;
constexpr int kLayout6000 = 6000;
constexpr size_t kReportFieldsSize = 6;

constexpr uint8_t kOldCpuTab = 3;
constexpr uint8_t kCpuTab = 5;
constexpr uint16_t kComputerNameInFileNames = 0x0200;
constexpr uint8_t kOldBlockStackFlag = 0x10;
constexpr uint8_t kMailClient = 1;
constexpr uint8_t kOwnSmtpClient = 2;
constexpr uint8_t kUnhandledOnly = 2;
constexpr uint8_t kMessageBox = 2;

void WriteBool(ByteWriter& stream, bool value) {
    stream.WriteU8(value ? 1 : 0);
}

bool ReadBool(ByteReader& stream) {
    return stream.ReadU8() != 0;
}

void WriteGeneralFields(ByteWriter& stream, const TVessarModuleOptions& options) {
    const TVessarStoredOptions& o = options.Stored();
    WriteBool(stream, o.LogActivation);
    WriteBool(stream, o.UseFilters);
    stream.WriteU8(o.LogFlags);
    WriteBool(stream, o.AppendReportToMail);
    WriteBool(stream, o.SaveLog);
    stream.WriteU8(o.FirstTab);
    WriteBool(stream, options.FreezeCheck());
    stream.WriteI32(o.FreezeSeconds);
    WriteBlockString(stream, o.MailSender);
    WriteBlockString(stream, o.MailServer);
    stream.WriteU16(static_cast<uint16_t>(o.MailServerPort));
    WriteBlockString(stream, o.MailUser);
    WriteBlockString(stream, o.MailUserPassword);
    stream.WriteU8(o.TerminateButtonAction);
    stream.WriteI32(o.LogMaxReports);
    stream.WriteI32(o.TerminateButtonAfter);
    WriteBlockString(stream, o.MailRecipients);
    WriteBlockString(stream, o.MailSubject);
    stream.WriteU8(o.MailMethod);
}

void WriteReportAndWebFields(ByteWriter& stream, const TVessarStoredOptions& o) {
    stream.WriteLittleEndian(o.ReportFields, kReportFieldsSize);
    WriteBlockString(stream, o.LogPath);
    stream.WriteU8(o.WebMethod);
    WriteBlockString(stream, o.WebAddress);
    WriteBlockString(stream, o.WebUser);
    WriteBlockString(stream, o.WebUserPassword);
    stream.WriteU32(o.WebServerPort);
    WriteBlockString(stream, o.AttachedFileList);
    stream.WriteU16(o.SendFlags);
    stream.WriteU16(o.DialogFlags);
    stream.WriteI32(o.DialogAutoCloseSeconds);
    WriteBlockString(stream, o.SupportPage);
    WriteBlockString(stream, o.HtmlTemplate);
    stream.WriteU8(o.StackFlags);
    stream.WriteU16(o.BehaviourFlags);
    stream.WriteU8(o.LeakFlags);
    stream.WriteU8(o.RepeatAction);
    stream.WriteI32(o.RepeatCount);
    stream.WriteI32(o.RepeatMinutes);
    stream.WriteU8(o.BuildFlags);
    stream.WriteU8(o.DialogKind);
}

void WriteProxyAndTrackerFields(ByteWriter& stream, const TVessarStoredOptions& o) {
    WriteBlockString(stream, o.ProxyAddress);
    WriteBlockString(stream, o.ProxyUser);
    WriteBlockString(stream, o.ProxyUserPassword);
    stream.WriteU16(o.ProxyServerPort);
    for (const std::string* text :
         {&o.TrackerUser, &o.TrackerUserPassword, &o.TrackerAssignee, &o.TrackerProject,
          &o.TrackerCategory, &o.TrackerExtraId, &o.ArchivePassword})
        WriteBlockString(stream, *text);
}

void WriteFilters(ByteWriter& stream, const TVessarExceptionsFilters& filters) {
    stream.WriteI32(static_cast<int32_t>(filters.Count()));
    for (size_t i = 0; i < filters.Count(); ++i) {
        const TVessarExceptionFilter& filter = filters.Items(i);
        WriteBool(stream, filter.Enabled);
        WriteBlockString(stream, filter.ClassName);
        WriteBlockString(stream, filter.CustomMessage);
        stream.WriteU8(filter.Scope);
        stream.WriteU8(filter.Dialog);
        stream.WriteU8(filter.Handling);
        stream.WriteU8(filter.AfterAction);
    }
}

void WriteTexts(ByteWriter& stream, const TVessarStoredOptions& o) {
    WriteBlockString(stream, o.MailBody);
    for (const std::string& text : o.Texts)
        WriteBlockString(stream, text);
    WriteBlockString(stream, o.TextsLanguage);
}

// Before 450 the method only said "send"; the server setting chose how.
uint8_t ConvertedMailMethod(uint8_t method, const TVessarModuleOptions& options, int version) {
    if (version >= kMailMethodsSince || method == 0)
        return method;
    return options.Stored().MailServer.empty() ? kMailClient : kOwnSmtpClient;
}

void ReadGeneralFields(ByteReader& stream, int version, TVessarModuleOptions& options) {
    options.SetLogActivation(ReadBool(stream));
    options.SetUseFilters(ReadBool(stream));
    options.SetLogFlags(stream.ReadU8());
    options.SetAppendReportToMail(ReadBool(stream));
    options.SetSaveLog(ReadBool(stream));
    uint8_t firstTab = stream.ReadU8();
    options.SetFirstTab(version < kLayout6000 && firstTab == kOldCpuTab ? kCpuTab : firstTab);
    options.SetFreezeCheck(ReadBool(stream));
    int32_t freeze = stream.ReadI32();
    options.SetFreezeSeconds(version < kFreezeInSecondsSince ? freeze / 1000 : freeze);
    options.SetMailSender(ReadBlockString(stream));
    options.SetMailServer(ReadBlockString(stream));
    options.SetMailServerPort(static_cast<int16_t>(stream.ReadU16()));
    options.SetMailUser(ReadBlockString(stream));
    options.SetMailUserPassword(ReadBlockString(stream));
    options.SetTerminateButtonAction(stream.ReadU8());
    options.SetLogMaxReports(stream.ReadI32());
    options.SetTerminateButtonAfter(stream.ReadI32());
    options.SetMailRecipients(ReadBlockString(stream));
    options.SetMailSubject(ReadBlockString(stream));
    options.SetMailMethod(ConvertedMailMethod(stream.ReadU8(), options, version));
}

// Older blocks are taken to hold the same fields in the same places, except where the format's
// history says otherwise. Their ReportFields bits stand in positions this code does not know, so
// the six bytes are skipped and every report field stays on: nothing is left out of a report.
void ReadReportAndWebFields(ByteReader& stream, int version, TVessarModuleOptions& options) {
    bool current = version >= kLayout6000;
    uint64_t reportFields = stream.ReadLittleEndian(kReportFieldsSize);
    options.SetReportFields(current ? reportFields : kAllReportFields);
    options.SetLogPath(ReadBlockString(stream));
    options.SetWebMethod(stream.ReadU8());
    options.SetWebAddress(ReadBlockString(stream));
    options.SetWebUser(ReadBlockString(stream));
    options.SetWebUserPassword(ReadBlockString(stream));
    options.SetWebServerPort(stream.ReadU32());
    options.SetAttachedFileList(ReadBlockString(stream));
    uint16_t sendFlags = stream.ReadU16();
    options.SetSendFlags(current ? sendFlags : sendFlags & ~kComputerNameInFileNames);
    options.SetDialogFlags(current ? stream.ReadU16() : stream.ReadU8());
    options.SetDialogAutoCloseSeconds(stream.ReadI32());
    options.SetSupportPage(ReadBlockString(stream));
    options.SetHtmlTemplate(ReadBlockString(stream));
    uint8_t stackFlags = stream.ReadU8();
    options.SetStackFlags(current ? stackFlags : stackFlags | kOldBlockStackFlag);
    uint16_t behaviourFlags = stream.ReadU16();
    options.SetBehaviourFlags(current ? behaviourFlags : 0);
    options.SetLeakFlags(stream.ReadU8());
    options.SetRepeatAction(stream.ReadU8());
    options.SetRepeatCount(stream.ReadI32());
    options.SetRepeatMinutes(stream.ReadI32());
    options.SetBuildFlags(stream.ReadU8());
    options.SetDialogKind(stream.ReadU8());
}

void ReadProxyAndTrackerFields(ByteReader& stream, TVessarModuleOptions& options) {
    options.SetProxyAddress(ReadBlockString(stream));
    options.SetProxyUser(ReadBlockString(stream));
    options.SetProxyUserPassword(ReadBlockString(stream));
    options.SetProxyServerPort(stream.ReadU16());
    options.SetTrackerUser(ReadBlockString(stream));
    options.SetTrackerUserPassword(ReadBlockString(stream));
    options.SetTrackerAssignee(ReadBlockString(stream));
    options.SetTrackerProject(ReadBlockString(stream));
    options.SetTrackerCategory(ReadBlockString(stream));
    options.SetTrackerExtraId(ReadBlockString(stream));
    options.SetArchivePassword(ReadBlockString(stream));
}

TVessarExceptionFilter ReadFilter(ByteReader& stream) {
    TVessarExceptionFilter filter;
    filter.Enabled = ReadBool(stream);
    filter.ClassName = ReadBlockString(stream);
    filter.CustomMessage = ReadBlockString(stream);
    filter.Scope = stream.ReadU8();
    filter.Dialog = stream.ReadU8();
    filter.Handling = stream.ReadU8();
    filter.AfterAction = stream.ReadU8();
    return filter;
}

// Filters before 6000 held only a class name and a message.
TVessarExceptionFilter ReadOldFilter(ByteReader& stream) {
    TVessarExceptionFilter filter;
    filter.ClassName = ReadBlockString(stream);
    filter.CustomMessage = ReadBlockString(stream);
    filter.Scope = kUnhandledOnly;
    filter.Dialog = filter.CustomMessage.empty() ? 0 : kMessageBox;
    return filter;
}

void ReadFilters(ByteReader& stream, int version, TVessarExceptionsFilters& filters) {
    int32_t count = stream.ReadI32();
    if (count < 0)
        throw EStreamReadError(Format("The options block is damaged: %d filters.", count));
    for (int32_t i = 0; i < count; ++i)
        filters.Add(version >= kLayout6000 ? ReadFilter(stream) : ReadOldFilter(stream));
}

// Older blocks are taken to hold all texts as well; one that holds fewer ends early and is
// refused rather than read into the wrong texts.
void ReadTexts(ByteReader& stream, TVessarModuleOptions& options) {
    options.SetMailBody(ReadBlockString(stream));
    for (int index = 0; index < kTextCount; ++index)
        options.SetText(index, ReadBlockString(stream));
    options.SetTextsLanguage(ReadBlockString(stream));
}

} // namespace

void WriteBlockString(ByteWriter& stream, const std::string& text) {
    std::string stored = text;
    size_t lineBreak = text.find("\r\n");
    if (lineBreak != std::string::npos && lineBreak + 2 == text.size())
        stored.resize(lineBreak);
    stream.WriteI32(static_cast<int32_t>(stored.size()));
    for (char& c : stored)
        c = static_cast<char>(c ^ kStringScramble);
    stream.WriteBytes(stored);
}

std::string ReadBlockString(ByteReader& stream) {
    int32_t size = stream.ReadI32();
    if (size < 0)
        throw EStreamReadError(
            Format("The options block is damaged: a string of %d bytes at offset %u.", size,
                   unsigned(stream.Position() - 4)));
    std::string text = stream.ReadBytes(static_cast<size_t>(size));
    for (char& c : text)
        c = static_cast<char>(c ^ kStringScramble);
    return text;
}

void WriteOptionsBlock(ByteWriter& stream, const TVessarModuleOptions& options) {
    WriteGeneralFields(stream, options);
    WriteReportAndWebFields(stream, options.Stored());
    WriteProxyAndTrackerFields(stream, options.Stored());
    WriteFilters(stream, options.Filters());
    WriteTexts(stream, options.Stored());
}

void ReadOptionsBlock(ByteReader& stream, int version, TVessarModuleOptions& options) {
    ReadGeneralFields(stream, version, options);
    ReadReportAndWebFields(stream, version, options);
    ReadProxyAndTrackerFields(stream, options);
    ReadFilters(stream, version, options.Filters());
    ReadTexts(stream, options);
}
