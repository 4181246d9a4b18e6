// The application object: title, initialisation hooks, the run step and the default handling
// of exceptions that reach the application.
#pragma once
#include "runtime/component.h"
#include "runtime/exception.h"
#include "runtime/units.h"
#include <functional>
#include <string>

using TInitProc = void (*)();
using TExceptionEvent = std::function<void(TComponent* sender, Exception& e)>;

// The initialisation hook that Initialize runs. A layer that sets it keeps the one it
// replaces and calls it first.
extern TInitProc InitProc;

class TApplication : public TComponent {
  public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // The caption of the application's messages; the executable's name by default.
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Runs the registered initialisation hook.
    void Initialize();
    // Registers the exit procedure that destroys the application's components. Without a main
    // window there is no message loop, so it returns at once.
    void Run();
    // Handles the exception being caught: an EAbort is dropped, otherwise OnException gets it
    // when set, else ShowException. Call it only from inside a catch block. This and
    // ShowException stay real functions of their own: the crash reporter patches them by
    // address.
    [[gnu::noipa]] void HandleException(TComponent* sender);
    // An error box captioned with the title.
    [[gnu::noipa]] void ShowException(const Exception& e);

    TExceptionEvent OnException;

  private:
    void Dispatch(TComponent* sender, Exception& e);

    std::string title_;
    bool exitProcAdded_ = false;
};

extern TApplication* Application;

// Creates the application object at initialisation and deletes it at finalisation.
extern const TUnit ApplicationUnit;

// The message as the error box shows it: with "." appended when its last character sorts
// after ".".
std::string MessageWithPeriod(const std::string& message);
