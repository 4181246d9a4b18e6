// A modal dialog from a template in the program's resources, run by an object of ours: the
// dialog procedure hands each message to the object, and nothing thrown while handling one
// leaves the procedure (a throw cannot cross the system's frames around it): it goes to the
// application object's exception handler, and the dialog stays open.
#pragma once
#include "runtime/component.h"
#include <string>
#include <windows.h>

class TModalDialog : public TComponent {
  public:
    // Shows the dialog until it is closed; the id of the button that closed it (IDOK, IDCANCEL).
    int ShowModal();

  protected:
    TModalDialog(TComponent* owner, int templateId);

    virtual void InitDialog() = 0;
    // A notification of a control: a click on an enabled button, a change of an edit's text.
    virtual void Command(int id, int code) = 0;

    HWND Item(int id) const { return GetDlgItem(handle_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    void EnableItem(int id, bool enabled);
    void FocusItem(int id);
    // The client area made width x height pixels, the dialog centred on the screen.
    void SetClientSize(int width, int height);
    void Close(int result);

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    template <typename Body> void Guarded(Body body);

    int templateId_;
    HWND handle_ = nullptr;
};
