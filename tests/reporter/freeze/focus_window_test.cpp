// What the report says of the windows: the foreground form and the focused control, each text on
// one line.
#include "reporter/core/processing/focus_window.h"
#include "tests/reporter/support/test_window.h"
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr char kFormClass[] = "FocusTestForm";

TEST(FoldControlCharacters, EveryRunBecomesOneSpace) {
    const struct {
        const char* text;
        const char* folded;
    } cases[] = {
        {"Upgrade\r\n\tstep 2", "Upgrade step 2"},
        {"\x01\x02x", " x"},
        {"x\r\n", "x "},
        {"a\rb\nc", "a b c"},
        {"", ""},
        {"no change", "no change"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FoldControlCharacters(c.text), c.folded) << c.text;
}

class ForegroundForm : public testing::Test {
  protected:
    void SetUp() override {
        form_ = CreateTestWindow(kFormClass, "Upgrade\r\n\tstep 2");
        button_ = CreateWindowExA(0, "Button", "Go\r\non", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30,
                                  form_, nullptr, nullptr, nullptr);
        SetForegroundWindow(form_);
        SetFocus(button_);
    }
    void TearDown() override { DestroyWindow(form_); }

    HWND form_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(ForegroundForm, FocusedControlAndItsFormOnOneLine) {
    ASSERT_EQ(GetForegroundWindow(), form_);
    const TFocusWindow focus = FocusWindowOf(GetCurrentThreadId());
    EXPECT_EQ(focus.FormClassName, kFormClass);
    EXPECT_EQ(focus.FormText, "Upgrade step 2");
    EXPECT_EQ(focus.ClassName, "Button");
    EXPECT_EQ(focus.Text, "Go on");
}

// A worker thread fails: it has no focus, and the form is still the one the user looks at.
TEST_F(ForegroundForm, ThreadWithoutFocusStillNamesTheForegroundForm) {
    TFocusWindow focus;
    std::thread([&] { focus = FocusWindowOf(GetCurrentThreadId()); }).join();
    EXPECT_EQ(focus.FormClassName, kFormClass);
    EXPECT_EQ(focus.FormText, "Upgrade step 2");
    EXPECT_EQ(focus.ClassName, "");
    EXPECT_EQ(focus.Text, "");
}

} // namespace
