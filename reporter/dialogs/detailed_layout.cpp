#include "reporter/dialogs/detailed_layout.h"

namespace {

// The client size the layout's offsets are counted from.
constexpr int kBaseWidth = 466, kBaseHeight = 252;
constexpr int kButtonHeight = 25;
constexpr int kCheckHeight = 16;

RECT At(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

} // namespace

int BottomAreaHeight(const TBottomOffers& o) {
    if (!o.Send && !o.Screenshot && !o.Copy && !o.SupportLink)
        return 0;
    return (o.Send && o.Screenshot) || (o.Copy && o.SupportLink) ? 34 : 20;
}

TDetailedLayout LayOut(const TLayoutInput& in) {
    const int dx = in.Width - kBaseWidth;
    const int dy = in.Height - kBaseHeight;
    const int z = in.ButtonWidth;
    TDetailedLayout l;
    l.Tabs = At(4, 52, 458 + dx, 162 + dy - in.BottomArea);
    l.Text = At(48, 8, 410 + dx, 42);
    const int y = in.Height - in.BottomArea - 32;
    l.Terminate = At(5, y, z, kButtonHeight);
    l.Help = At(in.TerminateShown ? z + 13 : 5, y, z, kButtonHeight);
    // OK keeps clear of the buttons on its left.
    const int leftButtonsEnd = in.HelpShown        ? l.Help.right
                               : in.TerminateShown ? l.Terminate.right
                                                   : 0;
    int okLeft = (in.Width - z) / 2;
    if (leftButtonsEnd && okLeft < leftButtonsEnd + 8)
        okLeft = leftButtonsEnd + 8;
    l.Ok = At(okLeft, y, z, kButtonHeight);
    l.Details = At(in.Width - z - 5, y, z, kButtonHeight);
    const int half = (in.Width - 8) / 2;
    l.Send = At(4, y + 34, half, kCheckHeight);
    l.Copy = At(in.Width - half - 4, y + 34, half, kCheckHeight);
    l.Screenshot = At(23, y + 50, in.Width / 2, kCheckHeight);
    l.LinkTop = in.ScreenshotOffered ? y + 50 : y + 34;
    l.LinkRight = in.Width - 4;
    return l;
}
