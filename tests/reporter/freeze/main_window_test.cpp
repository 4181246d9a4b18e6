// Which window of the process freeze detection takes for the main window.
#include "reporter/core/processing/main_window.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr char kWindowClass[] = "FreezeTestWindow";
constexpr char kApplicationClass[] = "TApplication";

// Hidden owners: none of them can be taken for the main window itself.
enum TOwner {
    kNoOwner,
    kApplicationOwner,
    kPlainOwner,
    kToolOfApplicationOwner,
    kToolOfPlainOwner,
    kToolApplicationOwner,
};

void RegisterClasses() {
    for (const char* name : {kWindowClass, kApplicationClass}) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = name;
        RegisterClassA(&windowClass);
    }
}

HWND Window(const char* className, DWORD extendedStyle, DWORD visible, int height, HWND owner) {
    return CreateWindowExA(extendedStyle, className, "", WS_POPUP | visible, 10, 10, 200, height,
                           owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The owner of the window under test, and the windows it needs; all destroyed with it.
class TOwnerWindows {
  public:
    explicit TOwnerWindows(TOwner kind) {
        switch (kind) {
        case kNoOwner:
            break;
        case kApplicationOwner:
            Add(Window(kApplicationClass, 0, 0, 10, nullptr));
            break;
        case kPlainOwner:
            Add(Window(kWindowClass, 0, 0, 10, nullptr));
            break;
        case kToolOfApplicationOwner:
            Add(Window(kApplicationClass, 0, 0, 10, nullptr));
            Add(Window(kWindowClass, WS_EX_TOOLWINDOW, 0, 10, windows_.back()));
            break;
        case kToolOfPlainOwner:
            Add(Window(kWindowClass, 0, 0, 10, nullptr));
            Add(Window(kWindowClass, WS_EX_TOOLWINDOW, 0, 10, windows_.back()));
            break;
        case kToolApplicationOwner:
            Add(Window(kApplicationClass, WS_EX_TOOLWINDOW, 0, 10, nullptr));
            break;
        }
    }
    ~TOwnerWindows() {
        for (auto window = windows_.rbegin(); window != windows_.rend(); ++window)
            DestroyWindow(*window);
    }
    TOwnerWindows(const TOwnerWindows&) = delete;
    TOwnerWindows& operator=(const TOwnerWindows&) = delete;

    HWND Owner() const { return windows_.empty() ? nullptr : windows_.back(); }

  private:
    void Add(HWND window) { windows_.push_back(window); }
    std::vector<HWND> windows_;
};

TEST(MainWindow, VisibleSizedNoToolWindowOwnedByNothingOrTheApplication) {
    RegisterClasses();
    const struct {
        const char* name;
        DWORD extendedStyle;
        DWORD visible;
        int height;
        TOwner owner;
        bool taken;
    } cases[] = {
        {"plain", 0, WS_VISIBLE, 100, kNoOwner, true},
        {"hidden", 0, 0, 100, kNoOwner, false},
        {"no height", 0, WS_VISIBLE, 0, kNoOwner, false},
        {"tool window", WS_EX_TOOLWINDOW, WS_VISIBLE, 100, kNoOwner, false},
        {"tool window on the taskbar", WS_EX_TOOLWINDOW | WS_EX_APPWINDOW, WS_VISIBLE, 100,
         kNoOwner, true},
        {"owned by the application window", 0, WS_VISIBLE, 100, kApplicationOwner, true},
        {"owned by another window", 0, WS_VISIBLE, 100, kPlainOwner, false},
        {"owned by a tool window of the application window", 0, WS_VISIBLE, 100,
         kToolOfApplicationOwner, true},
        {"owned by a tool window of another window", 0, WS_VISIBLE, 100, kToolOfPlainOwner, false},
        {"owned by an application window that is a tool window", 0, WS_VISIBLE, 100,
         kToolApplicationOwner, true},
    };
    for (const auto& c : cases) {
        const TOwnerWindows owners(c.owner);
        HWND window = Window(kWindowClass, c.extendedStyle, c.visible, c.height, owners.Owner());
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_EQ(FindMainWindow(), c.taken ? window : nullptr) << c.name;
        DestroyWindow(window);
    }
}

} // namespace
