#include "runtime/application.h"
#include "runtime/data_module.h"
#include "runtime/exit_procs.h"
#include "runtime/foreign_exception.h"
#include <windows.h>

TInitProc InitProc = nullptr;
TApplication* Application = nullptr;

namespace {

std::string ExecutableName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void DoneApplication() {
    if (Application)
        Application->DestroyComponents();
}

} // namespace

std::string MessageWithPeriod(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), title_(ExecutableName()) {
    ApplicationHandleException = [this](TComponent* sender) { HandleException(sender); };
}

TApplication::~TApplication() {
    ApplicationHandleException = nullptr;
}

void TApplication::Initialize() {
    if (InitProc)
        InitProc();
}

void TApplication::Run() {
    if (!exitProcAdded_) {
        AddExitProc(DoneApplication);
        exitProcAdded_ = true;
    }
}

void TApplication::HandleException(TComponent* sender) {
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
    } catch (Exception& e) {
        Dispatch(sender, e);
    } catch (...) {
        Exception e = ForeignException();
        Dispatch(sender, e);
    }
}

void TApplication::ShowException(const Exception& e) {
    MessageBoxA(nullptr, MessageWithPeriod(e.Message()).c_str(), title_.c_str(),
                MB_OK | MB_ICONERROR);
}

void TApplication::Dispatch(TComponent* sender, Exception& e) {
    if (OnException)
        OnException(sender, e);
    else
        ShowException(e);
}

const TUnit ApplicationUnit{
    "Application",
    [] { Application = new TApplication(nullptr); },
    [] {
        delete Application;
        Application = nullptr;
    },
};
