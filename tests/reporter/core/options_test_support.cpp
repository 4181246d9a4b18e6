#include "options_test_support.h"

std::string TestProgramFileName() {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, name, MAX_PATH);
    return name;
}

std::vector<TVessarExceptionFilter> FilterList(const TVessarExceptionsFilters& filters) {
    std::vector<TVessarExceptionFilter> list;
    for (size_t i = 0; i < filters.Count(); ++i)
        list.push_back(filters.Items(i));
    return list;
}

namespace {

void SetMailAndProxyFields(TVessarModuleOptions& o) {
    o.SetMailSender("sender@example.org");
    o.SetMailServer("smtp.example.org");
    o.SetMailUser("mail user");
    o.SetMailUserPassword("mail secret");
    o.SetMailServerPort(-2);
    o.SetProxyAddress("proxy.example.org");
    o.SetProxyUser("proxy user");
    o.SetProxyUserPassword("proxy secret");
    o.SetProxyServerPort(65001);
    o.SetTrackerUser("tracker user");
    o.SetTrackerUserPassword("tracker secret");
    o.SetTrackerAssignee("assignee");
    o.SetTrackerProject("project");
    o.SetTrackerCategory("category");
    o.SetTrackerExtraId("extra");
    o.SetArchivePassword("zip secret");
    o.SetMailRecipients("a@example.org;b@example.org");
    o.SetMailSubject("Bug in %_MainModuleName%");
    o.SetMailBody("Line one\r\nline two");
    o.SetMailMethod(3);
    o.SetAppendReportToMail(true);
}

void SetLogAndDialogFields(TVessarModuleOptions& o) {
    o.SetBuildFlags(0x82);
    o.SetTerminateButtonAction(1);
    o.SetFreezeCheck(true);
    o.SetFreezeSeconds(-7);
    o.SetReportFields(0xA5A5'1234'5678ull);
    o.SetDialogKind(3);
    o.SetTextsLanguage("Deutsch");
    o.SetLogActivation(true);
    o.SetUseFilters(false);
    o.SetSaveLog(false);
    o.SetLogFlags(0xCF);
    o.SetSendFlags(0xFDAE);
    o.SetFirstTab(4);
    o.SetLogMaxReports(0x01020304);
    o.SetTerminateButtonAfter(-1);
    o.SetLogPath("C:\\Logs\\app.elf");
    o.SetDialogFlags(0xFE70);
    o.SetDialogAutoCloseSeconds(45);
    o.SetSupportPage("https://support.example.org/");
    o.SetHtmlTemplate("<p><%HTML_TAG%></p>");
}

void SetBehaviourAndWebFields(TVessarModuleOptions& o) {
    o.SetWebMethod(4);
    o.SetAttachedFileList("a.txt;%TEMP%\\b.txt");
    o.SetRepeatAction(0);
    o.SetRepeatCount(99);
    o.SetRepeatMinutes(7);
    o.SetStackFlags(0xE0);
    o.SetBehaviourFlags(0xFEA7);
    o.SetLeakFlags(0xE1);
    o.SetWebAddress("http://tracker.example.org/");
    o.SetWebServerPort(0xFEDCBA98);
    o.SetWebUserPassword("web secret");
    o.SetWebUser("web user");
}

void SetFiltersAndTexts(TVessarModuleOptions& o) {
    o.Filters().Add({false, "EDatabaseError", "Database trouble", 1, 4, 1, 2});
    o.Filters().Add({true, "EAbort", "", 2, 0, 0, 1});
    o.Filters().Add({true, " EDBEngineError ", "%_ExceptMsg%", 0, 3, 2, 0});
    for (int index = 0; index < kTextCount; ++index)
        o.SetText(index, "Text number " + std::to_string(index));
}

void SetFieldsThatAreNotStored(TVessarModuleOptions& o) {
    o.SetReproduceText("Click twice");
    o.SetEnabled(false);
    o.SetBeforeBuildCommand("before.cmd");
    o.SetAfterBuildCommand("after.cmd");
    o.SetFailedBuildCommand("failed.cmd");
}

} // namespace

void SetEveryFieldAwayFromDefault(TVessarModuleOptions& options) {
    SetMailAndProxyFields(options);
    SetLogAndDialogFields(options);
    SetBehaviourAndWebFields(options);
    SetFiltersAndTexts(options);
    SetFieldsThatAreNotStored(options);
}
