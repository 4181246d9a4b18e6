// The arithmetic of the detailed dialog's layout, apart from the windows: what its bottom area
// holds and where each control goes for a client size.
#pragma once
#include <windows.h>

// What the dialog offers below its buttons.
struct TBottomOffers {
    bool Send = false;
    bool Screenshot = false;
    bool Copy = false;
    bool SupportLink = false;
};

// 0 when nothing is offered; 34 for two rows (send and screenshot, or copy and the link);
// else 20.
int BottomAreaHeight(const TBottomOffers& offers);

struct TDetailedLayout {
    RECT Tabs{};
    RECT Text{};
    RECT Terminate{}, Help{}, Ok{}, Details{};
    RECT Send{}, Copy{}, Screenshot{};
    // The support link's row and right edge; its width is the text's.
    int LinkTop = 0;
    int LinkRight = 0;
};

struct TLayoutInput {
    int Width = 0, Height = 0; // the client area
    int BottomArea = 0;
    int ButtonWidth = 0;
    bool TerminateShown = false;
    bool HelpShown = false;
    bool ScreenshotOffered = false;
};

TDetailedLayout LayOut(const TLayoutInput& in);
