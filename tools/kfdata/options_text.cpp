#include "options_text.h"
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>

namespace {

using Setter = std::function<void(TVessarModuleOptions&, const std::string&)>;

// A line's failure, completed with the file and line by the reader.
struct BadValue {
    std::string what;
};

int64_t Number(const std::string& text, int64_t low, int64_t high) {
    const char* begin = text.c_str();
    char* end = nullptr;
    long long value = std::strtoll(begin, &end, 0);
    if (text.empty() || *end != '\0' || value < low || value > high)
        throw BadValue{"\"" + text + "\" is not a number from " + std::to_string(low) + " to " +
                       std::to_string(high)};
    return value;
}

bool Switch(const std::string& text) {
    if (text == "1" || text == "true")
        return true;
    if (text == "0" || text == "false")
        return false;
    throw BadValue{"\"" + text + "\" is not 0 or 1"};
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            throw BadValue{std::string("unknown escape \\") + text[i]};
        }
    }
    return out;
}

template <class T>
Setter NumberSetter(void (TVessarModuleOptions::*set)(T), int64_t low, int64_t high) {
    return
        [=](TVessarModuleOptions& o, const std::string& v) { (o.*set)(T(Number(v, low, high))); };
}
Setter U8(void (TVessarModuleOptions::*set)(uint8_t)) {
    return NumberSetter(set, 0, 0xFF);
}
Setter U16(void (TVessarModuleOptions::*set)(uint16_t)) {
    return NumberSetter(set, 0, 0xFFFF);
}
Setter I32(void (TVessarModuleOptions::*set)(int32_t)) {
    return NumberSetter(set, INT32_MIN, INT32_MAX);
}
Setter Text(void (TVessarModuleOptions::*set)(std::string)) {
    return [=](TVessarModuleOptions& o, const std::string& v) { (o.*set)(Unescaped(v)); };
}
Setter Flag(void (TVessarModuleOptions::*set)(bool)) {
    return [=](TVessarModuleOptions& o, const std::string& v) { (o.*set)(Switch(v)); };
}

const std::map<std::string, Setter>& OptionSetters() {
    using O = TVessarModuleOptions;
    static const std::map<std::string, Setter> setters = {
        {"MailSender", Text(&O::SetMailSender)},
        {"MailServer", Text(&O::SetMailServer)},
        {"MailUser", Text(&O::SetMailUser)},
        {"MailUserPassword", Text(&O::SetMailUserPassword)},
        {"MailServerPort", NumberSetter(&O::SetMailServerPort, INT16_MIN, INT16_MAX)},
        {"ProxyAddress", Text(&O::SetProxyAddress)},
        {"ProxyUser", Text(&O::SetProxyUser)},
        {"ProxyUserPassword", Text(&O::SetProxyUserPassword)},
        {"ProxyServerPort", U16(&O::SetProxyServerPort)},
        {"TrackerUser", Text(&O::SetTrackerUser)},
        {"TrackerUserPassword", Text(&O::SetTrackerUserPassword)},
        {"TrackerAssignee", Text(&O::SetTrackerAssignee)},
        {"TrackerProject", Text(&O::SetTrackerProject)},
        {"TrackerCategory", Text(&O::SetTrackerCategory)},
        {"TrackerExtraId", Text(&O::SetTrackerExtraId)},
        {"ArchivePassword", Text(&O::SetArchivePassword)},
        {"BeforeBuildCommand", Text(&O::SetBeforeBuildCommand)},
        {"AfterBuildCommand", Text(&O::SetAfterBuildCommand)},
        {"FailedBuildCommand", Text(&O::SetFailedBuildCommand)},
        {"BuildFlags", U8(&O::SetBuildFlags)},
        {"TerminateButtonAction", U8(&O::SetTerminateButtonAction)},
        {"FreezeCheck", Flag(&O::SetFreezeCheck)},
        {"FreezeSeconds", I32(&O::SetFreezeSeconds)},
        {"ReportFields", NumberSetter(&O::SetReportFields, 0, int64_t(kAllReportFields))},
        {"DialogKind", U8(&O::SetDialogKind)},
        {"TextsLanguage", Text(&O::SetTextsLanguage)},
        {"LogActivation", Flag(&O::SetLogActivation)},
        {"UseFilters", Flag(&O::SetUseFilters)},
        {"AppendReportToMail", Flag(&O::SetAppendReportToMail)},
        {"SaveLog", Flag(&O::SetSaveLog)},
        {"LogFlags", U8(&O::SetLogFlags)},
        {"SendFlags", U16(&O::SetSendFlags)},
        {"FirstTab", U8(&O::SetFirstTab)},
        {"LogMaxReports", I32(&O::SetLogMaxReports)},
        {"TerminateButtonAfter", I32(&O::SetTerminateButtonAfter)},
        {"LogPath", Text(&O::SetLogPath)},
        {"MailRecipients", Text(&O::SetMailRecipients)},
        {"MailSubject", Text(&O::SetMailSubject)},
        {"MailBody", Text(&O::SetMailBody)},
        {"MailMethod", U8(&O::SetMailMethod)},
        {"WebMethod", U8(&O::SetWebMethod)},
        {"AttachedFileList", Text(&O::SetAttachedFileList)},
        {"DialogFlags", U16(&O::SetDialogFlags)},
        {"DialogAutoCloseSeconds", I32(&O::SetDialogAutoCloseSeconds)},
        {"SupportPage", Text(&O::SetSupportPage)},
        {"HtmlTemplate", Text(&O::SetHtmlTemplate)},
        {"RepeatAction", U8(&O::SetRepeatAction)},
        {"RepeatCount", I32(&O::SetRepeatCount)},
        {"RepeatMinutes", I32(&O::SetRepeatMinutes)},
        {"StackFlags", U8(&O::SetStackFlags)},
        {"BehaviourFlags", U16(&O::SetBehaviourFlags)},
        {"LeakFlags", U8(&O::SetLeakFlags)},
        {"WebAddress", Text(&O::SetWebAddress)},
        {"WebServerPort", NumberSetter(&O::SetWebServerPort, 0, UINT32_MAX)},
        {"WebUserPassword", Text(&O::SetWebUserPassword)},
        {"WebUser", Text(&O::SetWebUser)},
    };
    return setters;
}

void SetFilterField(TVessarExceptionFilter& f, const std::string& name, const std::string& v) {
    if (name == "Enabled")
        f.Enabled = Switch(v);
    else if (name == "ClassName")
        f.ClassName = Unescaped(v);
    else if (name == "CustomMessage")
        f.CustomMessage = Unescaped(v);
    else if (name == "Scope")
        f.Scope = uint8_t(Number(v, 0, 2));
    else if (name == "Dialog")
        f.Dialog = uint8_t(Number(v, 0, 4));
    else if (name == "Handling")
        f.Handling = uint8_t(Number(v, 0, 2));
    else if (name == "AfterAction")
        f.AfterAction = uint8_t(Number(v, 0, 2));
    else
        throw BadValue{"a filter has no field \"" + name + "\""};
}

void SetOption(TVessarModuleOptions& options, const std::string& name, const std::string& v) {
    const std::string textPrefix = "Text.";
    if (name.compare(0, textPrefix.size(), textPrefix) == 0) {
        options.SetText(int(Number(name.substr(textPrefix.size()), 0, kTextCount - 1)),
                        Unescaped(v));
        return;
    }
    auto setter = OptionSetters().find(name);
    if (setter == OptionSetters().end())
        throw BadValue{"there is no option \"" + name + "\""};
    setter->second(options, v);
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

} // namespace

void ApplyOptionsText(std::istream& text, const std::string& fileName,
                      TVessarModuleOptions& options) {
    std::vector<TVessarExceptionFilter> filters;
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = Trimmed(line);
        try {
            if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';')
                continue;
            if (trimmed == "[Filter]") {
                filters.emplace_back();
                continue;
            }
            size_t equals = line.find('=');
            if (equals == std::string::npos)
                throw BadValue{"expected Name=value"};
            const std::string name = Trimmed(line.substr(0, equals));
            const std::string value = line.substr(equals + 1);
            if (filters.empty())
                SetOption(options, name, value);
            else
                SetFilterField(filters.back(), name, value);
        } catch (const BadValue& bad) {
            throw OptionsTextError(fileName + ":" + std::to_string(number) + ": " + bad.what);
        }
    }
    options.Filters().Clear();
    for (const auto& filter : filters)
        options.Filters().Add(filter);
}

void ReadOptionsText(const std::string& fileName, TVessarModuleOptions& options) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw OptionsTextError(fileName + ": cannot be read");
    ApplyOptionsText(file, fileName, options);
}
