// A dialog of the crash reporter from a template of the module that carries it, run in a modal
// message loop of its own on the thread that processes the exception. Nothing thrown while a
// message is handled leaves the dialog procedure (a throw cannot cross the system's frames): it
// ends the dialog and is raised again once the loop is over.
//
// A window that is never painted counts as not shown: the dialog closes by itself, so that a
// plain message box can take its place.
#pragma once
#include "reporter/dialogs/paint_watch.h"
#include <exception>
#include <string>
#include <windows.h>

class TReporterDialog {
  public:
    virtual ~TReporterDialog() = default;
    TReporterDialog(const TReporterDialog&) = delete;
    TReporterDialog& operator=(const TReporterDialog&) = delete;

    // Shows the dialog until it is closed. Raises what a handler raised, or an Exception when
    // the window could not be made.
    void Run();

  protected:
    explicit TReporterDialog(const char* templateName);

    // The window exists, its controls too; before it is shown.
    virtual void Init() = 0;
    // A notification of a control or a menu command.
    virtual void Command(int id, int code) = 0;
    // Any other message; true when handled, with the dialog procedure's `result`.
    virtual bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // The window is about to be destroyed: the last moment its controls can be read.
    virtual void Closing() {}

    HWND Handle() const { return handle_; }
    HWND Item(int id) const { return GetDlgItem(handle_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool Checked(int id) const;
    void Check(int id, bool checked);
    void ShowItem(int id, bool shown);
    // Ends the modal loop; the window goes once the handler that asked has returned.
    void End();

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void WatchPainting();
    void RunLoop();

    const char* templateName_;
    HWND handle_ = nullptr;
    bool ended_ = false;
    TPaintWatch paintWatch_;
    std::exception_ptr failure_;
};

// The module whose resources hold the crash reporter's templates and pictures.
HINSTANCE ReporterResources();
