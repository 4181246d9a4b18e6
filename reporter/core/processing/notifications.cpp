#include "reporter/core/processing/notifications.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/reporter_options_unit.h"
#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

std::mutex& ListenersLock() {
    static std::mutex lock;
    return lock;
}

std::vector<TVessarLogListener*>& Listeners() {
    static std::vector<TVessarLogListener*> listeners;
    return listeners;
}

// Layers two and three: this process's listeners, newest first, then the global handlers.
template <class Handler, class... Arguments>
void NotifyLocal(Handler TVessarLogListener::*handler, TVessarExceptionRecord& record,
                 Arguments&... arguments) {
    std::vector<TVessarLogListener*> listeners;
    {
        std::lock_guard<std::mutex> hold(ListenersLock());
        listeners.assign(Listeners().rbegin(), Listeners().rend());
    }
    listeners.push_back(&GlobalLogHandlers());
    for (TVessarLogListener* listener : listeners)
        if (listener->*handler)
            (listener->*handler)(record, arguments...);
}

// Layer one: the raising module's export of that name, when it is another module that carries
// the crash reporter.
// The export is looked for first: reading the module's crash reporter data costs more.
template <class Export> Export RaisingModuleExport(HMODULE module, const char* name) {
    if (!module || module == ReporterModuleHandle())
        return nullptr;
    auto procedure =
        reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return procedure && ModuleCarriesReporter(module) ? procedure : nullptr;
}

using FlagExport = void (*)(TVessarExceptionRecord*, uint8_t*);
using CodeFlagExport = void (*)(TVessarExceptionRecord*, int, uint8_t*);
using ListExport = void (*)(TVessarExceptionRecord*, std::vector<std::string>*);
using PasswordExExport = void (*)(TVessarExceptionRecord*, char*, int);
using PasswordExport = void (*)(char*, int);

template <class Handler>
void NotifyWithFlag(const char* name, Handler TVessarLogListener::*handler,
                    TVessarExceptionRecord& record, HMODULE module, bool& flag) {
    if (auto remote = RaisingModuleExport<FlagExport>(module, name)) {
        uint8_t value = flag;
        remote(&record, &value);
        flag = value;
    }
    NotifyLocal(handler, record, flag);
}

template <class Handler>
void NotifyWithCodeAndFlag(const char* name, Handler TVessarLogListener::*handler,
                           TVessarExceptionRecord& record, HMODULE module, int code, bool& flag) {
    if (auto remote = RaisingModuleExport<CodeFlagExport>(module, name)) {
        uint8_t value = flag;
        remote(&record, code, &value);
        flag = value;
    }
    NotifyLocal(handler, record, code, flag);
}

template <class Handler>
void NotifyWithList(const char* name, Handler TVessarLogListener::*handler,
                    TVessarExceptionRecord& record, HMODULE module,
                    std::vector<std::string>& list) {
    if (auto remote = RaisingModuleExport<ListExport>(module, name))
        remote(&record, &list);
    NotifyLocal(handler, record, list);
}

// What an export of this module does for another module's processing: the record's options
// become this module's own for the listeners, and what they change is published back.
template <class Call> void AsThisModule(TVessarExceptionRecord* record, Call call) {
    if (!record || !ReporterModuleHasData())
        return;
    TVessarModuleOptionsEx* callers = record->CurrentModuleOptions;
    record->CurrentModuleOptions = &CurrentVessarionOptions();
    try {
        call(*record);
    } catch (...) {
        // a listener's failure is its own; the processing goes on
    }
    CurrentVessarionOptions().Changed();
    record->CurrentModuleOptions = callers;
}

template <class Handler>
void ExportedFlag(Handler TVessarLogListener::*handler, TVessarExceptionRecord* record,
                  uint8_t* flag) {
    AsThisModule(record, [&](TVessarExceptionRecord& current) {
        bool value = flag && *flag;
        NotifyLocal(handler, current, value);
        if (flag)
            *flag = value;
    });
}

template <class Handler>
void ExportedCodeFlag(Handler TVessarLogListener::*handler, TVessarExceptionRecord* record,
                      int code, uint8_t* flag) {
    AsThisModule(record, [&](TVessarExceptionRecord& current) {
        bool value = flag && *flag;
        NotifyLocal(handler, current, code, value);
        if (flag)
            *flag = value;
    });
}

template <class Handler>
void ExportedList(Handler TVessarLogListener::*handler, TVessarExceptionRecord* record,
                  std::vector<std::string>* list) {
    AsThisModule(record, [&](TVessarExceptionRecord& current) {
        if (list)
            NotifyLocal(handler, current, *list);
    });
}

void CopyPassword(const std::string& password, char* buffer, int size) {
    if (!buffer || size <= 0)
        return;
    const size_t count = std::min(password.size(), size_t(size - 1));
    std::memcpy(buffer, password.data(), count);
    buffer[count] = '\0';
}

} // namespace

void RegisterLogListener(TVessarLogListener& listener) {
    std::lock_guard<std::mutex> hold(ListenersLock());
    Listeners().push_back(&listener);
}

void UnregisterLogListener(TVessarLogListener& listener) {
    std::lock_guard<std::mutex> hold(ListenersLock());
    std::erase(Listeners(), &listener);
}

TVessarLogListener& GlobalLogHandlers() {
    static TVessarLogListener handlers;
    return handlers;
}

bool AnyoneListens(HMODULE raisingModule) {
    if (raisingModule && raisingModule != ReporterModuleHandle())
        return true;
    {
        std::lock_guard<std::mutex> hold(ListenersLock());
        if (!Listeners().empty())
            return true;
    }
    return GlobalLogHandlers().HasHandler();
}

void NotifyException(TVessarExceptionRecord& record, HMODULE module, bool handled,
                     bool& continueProcessing) {
    if (handled)
        NotifyWithFlag("Vessarion_HandledExceptionNotifyEvent",
                       &TVessarLogListener::OnHandledException, record, module, continueProcessing);
    else
        NotifyWithFlag("Vessarion_ExceptionNotifyEvent", &TVessarLogListener::OnException, record,
                       module, continueProcessing);
}

void NotifyAction(TVessarExceptionRecord& record, HMODULE module, int action, bool& execute) {
    NotifyWithCodeAndFlag("Vessarion_ExceptionActionNotifyEvent",
                          &TVessarLogListener::OnExceptionAction, record, module, action, execute);
}

void NotifyError(TVessarExceptionRecord& record, HMODULE module, int error, bool& retry) {
    NotifyWithCodeAndFlag("Vessarion_ExceptionErrorNotifyEvent",
                          &TVessarLogListener::OnExceptionError, record, module, error, retry);
}

void NotifyCustomData(TVessarExceptionRecord& record, HMODULE module,
                      std::vector<std::string>& lines) {
    NotifyWithList("Vessarion_CustomDataRequestEventEx", &TVessarLogListener::OnCustomData, record,
                   module, lines);
}

void NotifyAttachedFiles(TVessarExceptionRecord& record, HMODULE module,
                         std::vector<std::string>& files) {
    NotifyWithList("Vessarion_AttachedFilesRequestEvent", &TVessarLogListener::OnAttachedFiles,
                   record, module, files);
}

void NotifyWebFields(TVessarExceptionRecord& record, HMODULE module,
                     std::vector<std::string>& fields) {
    NotifyWithList("Vessarion_CustomWebFieldsRequestEvent", &TVessarLogListener::OnWebFields,
                   record, module, fields);
}

void NotifyCustomButtonClick(TVessarExceptionRecord& record, HMODULE module, bool& closeDialog) {
    NotifyWithFlag("Vessarion_CustomButtonClickEvent", &TVessarLogListener::OnCustomButtonClick,
                   record, module, closeDialog);
}

// The form with the exception record is preferred when a module offers both.
void NotifyPasswordRequest(TVessarExceptionRecord& record, HMODULE module, std::string& password) {
    char buffer[256] = {};
    CopyPassword(password, buffer, sizeof buffer);
    if (auto withRecord =
            RaisingModuleExport<PasswordExExport>(module, "Vessarion_PasswordRequestEventEx"))
        withRecord(&record, buffer, sizeof buffer);
    else if (auto plain =
                 RaisingModuleExport<PasswordExport>(module, "Vessarion_PasswordRequestEvent"))
        plain(buffer, sizeof buffer);
    password = buffer;
    NotifyLocal(&TVessarLogListener::OnPasswordRequest, record, password);
}

extern "C" {

__declspec(dllexport) void Vessarion_ExceptionNotifyEvent(TVessarExceptionRecord* record,
                                                          uint8_t* continueProcessing) {
    ExportedFlag(&TVessarLogListener::OnException, record, continueProcessing);
}

__declspec(dllexport) void Vessarion_HandledExceptionNotifyEvent(TVessarExceptionRecord* record,
                                                                 uint8_t* continueProcessing) {
    ExportedFlag(&TVessarLogListener::OnHandledException, record, continueProcessing);
}

__declspec(dllexport) void Vessarion_ExceptionActionNotifyEvent(TVessarExceptionRecord* record,
                                                                int action, uint8_t* execute) {
    ExportedCodeFlag(&TVessarLogListener::OnExceptionAction, record, action, execute);
}

__declspec(dllexport) void Vessarion_ExceptionErrorNotifyEvent(TVessarExceptionRecord* record,
                                                               int error, uint8_t* retry) {
    ExportedCodeFlag(&TVessarLogListener::OnExceptionError, record, error, retry);
}

__declspec(dllexport) void Vessarion_CustomDataRequestEventEx(TVessarExceptionRecord* record,
                                                              std::vector<std::string>* lines) {
    ExportedList(&TVessarLogListener::OnCustomData, record, lines);
}

__declspec(dllexport) void Vessarion_AttachedFilesRequestEvent(TVessarExceptionRecord* record,
                                                               std::vector<std::string>* files) {
    ExportedList(&TVessarLogListener::OnAttachedFiles, record, files);
}

__declspec(dllexport) void Vessarion_CustomWebFieldsRequestEvent(TVessarExceptionRecord* record,
                                                                 std::vector<std::string>* fields) {
    ExportedList(&TVessarLogListener::OnWebFields, record, fields);
}

__declspec(dllexport) void Vessarion_CustomButtonClickEvent(TVessarExceptionRecord* record,
                                                            uint8_t* closeDialog) {
    ExportedFlag(&TVessarLogListener::OnCustomButtonClick, record, closeDialog);
}

__declspec(dllexport) void Vessarion_PasswordRequestEventEx(TVessarExceptionRecord* record,
                                                            char* buffer, int size) {
    AsThisModule(record, [&](TVessarExceptionRecord& current) {
        std::string password = buffer ? buffer : "";
        NotifyLocal(&TVessarLogListener::OnPasswordRequest, current, password);
        CopyPassword(password, buffer, size);
    });
}

} // extern "C"
