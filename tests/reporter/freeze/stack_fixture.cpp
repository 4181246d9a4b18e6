#include "stack_fixture.h"

const TModuleRef& AppModule() {
    static const TModuleRef module = [] {
        auto app = std::make_shared<TVessarModuleInfo>();
        app->Handle = reinterpret_cast<HMODULE>(0x00400000);
        app->FileName = "C:\\Program Files\\App\\app.exe";
        return app;
    }();
    return module;
}

namespace {

TVessarDebugInfo EntryInApp(uint8_t detail, uint32_t address) {
    TVessarDebugInfo entry;
    entry.Detail = detail;
    entry.Module = AppModule();
    entry.Addr = address;
    return entry;
}

} // namespace

TVessarDebugInfo EntryWithLine() {
    TVessarDebugInfo entry = EntryInApp(kDetailLine, 0x00401234);
    entry.Unit = "main.cpp";
    entry.ClassName = "TForm1";
    entry.Procedure = "Button1Click";
    entry.Line = 42;
    entry.ProcLine = 3;
    return entry;
}

TVessarDebugInfo EntryWithoutLine() {
    return EntryInApp(kDetailModule, 0x00405678);
}

TVessarDebugInfo EntryOutsideModules() {
    TVessarDebugInfo entry;
    entry.Addr = 0x7C801234;
    return entry;
}

std::unique_ptr<TVessarStackList> StackOf(std::initializer_list<TVessarDebugInfo> entries) {
    auto list = std::make_unique<TVessarStackList>();
    for (const TVessarDebugInfo& entry : entries)
        list->Add(std::make_unique<TVessarDebugInfo>(entry));
    return list;
}
