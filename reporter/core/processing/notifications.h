// What user code hears of an exception being processed. Each kind of notification reaches three
// layers in turn: the module that raised the exception (its export of the kind's name, when it
// is another module carrying the crash reporter), the listeners registered in this process,
// newest first, and the global handlers.
#pragma once
#include "reporter/core/processing/exception_record.h"
#include <functional>
#include <string>
#include <vector>

// Actions announced through OnExceptionAction.
enum TVessarAction {
    kActionBeforeDialog = 0,
    kActionAfterDialog = 1,
    kActionBeforeSaveLog = 2,
    kActionAfterSaveLog = 3,
    kActionBeforeTerminate = 8,
};
// Errors announced through OnExceptionError.
constexpr int kErrorSaveLog = 3;

// One listener: any handler may be empty.
struct TVessarLogListener {
    // Clearing `continueProcessing` ends the processing: no dialog, log or sending.
    std::function<void(TVessarExceptionRecord&, bool& continueProcessing)> OnException;
    std::function<void(TVessarExceptionRecord&, bool& continueProcessing)> OnHandledException;
    // Clearing `execute` skips the announced action.
    std::function<void(TVessarExceptionRecord&, int action, bool& execute)> OnExceptionAction;
    // Setting `retry` tries the failed step again.
    std::function<void(TVessarExceptionRecord&, int error, bool& retry)> OnExceptionError;
    // Lines "name=value" for the report's custom-data section.
    std::function<void(TVessarExceptionRecord&, std::vector<std::string>& lines)> OnCustomData;
    std::function<void(TVessarExceptionRecord&, std::vector<std::string>& files)> OnAttachedFiles;
    std::function<void(TVessarExceptionRecord&, std::vector<std::string>& fields)> OnWebFields;
    std::function<void(TVessarExceptionRecord&, bool& closeDialog)> OnCustomButtonClick;
    std::function<void(TVessarExceptionRecord&, std::string& password)> OnPasswordRequest;

    // Whether any handler is set (names every handler above).
    bool HasHandler() const {
        return OnException || OnHandledException || OnExceptionAction || OnExceptionError ||
               OnCustomData || OnAttachedFiles || OnWebFields || OnCustomButtonClick ||
               OnPasswordRequest;
    }
};

// The process's listeners (the second layer); a listener stays the caller's.
void RegisterLogListener(TVessarLogListener& listener);
void UnregisterLogListener(TVessarLogListener& listener);
// The global handlers (the third layer).
TVessarLogListener& GlobalLogHandlers();

// Whether a notification of an exception raised in `raisingModule` may reach anyone: another
// module that may export listeners, a registered listener or a global handler.
bool AnyoneListens(HMODULE raisingModule);

// The three layers, in order, for the exception of `record` (raised in `raisingModule`).
void NotifyException(TVessarExceptionRecord& record, HMODULE raisingModule, bool handled,
                     bool& continueProcessing);
void NotifyAction(TVessarExceptionRecord& record, HMODULE raisingModule, int action, bool& execute);
void NotifyError(TVessarExceptionRecord& record, HMODULE raisingModule, int error, bool& retry);
void NotifyCustomData(TVessarExceptionRecord& record, HMODULE raisingModule,
                      std::vector<std::string>& lines);
void NotifyAttachedFiles(TVessarExceptionRecord& record, HMODULE raisingModule,
                         std::vector<std::string>& files);
void NotifyWebFields(TVessarExceptionRecord& record, HMODULE raisingModule,
                     std::vector<std::string>& fields);
void NotifyCustomButtonClick(TVessarExceptionRecord& record, HMODULE raisingModule,
                             bool& closeDialog);
void NotifyPasswordRequest(TVessarExceptionRecord& record, HMODULE raisingModule,
                           std::string& password);
