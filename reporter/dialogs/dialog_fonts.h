// The fonts of the crash reporter's dialogs: the bold caption font, the system's message font
// with its underlined and bold forms, and two fixed-pitch fonts for report text and lists.
// Outside the Western character set the faces are those every such system has.
#pragma once
#include <string>
#include <windows.h>

struct TDialogFonts {
    HFONT Caption = nullptr;
    HFONT Dialog = nullptr;
    HFONT UnderlinedBold = nullptr;
    HFONT Underlined = nullptr;
    HFONT Bold = nullptr;
    HFONT Text = nullptr;
    HFONT List = nullptr;
    // The fixed fonts' size in points, the text font's face and the character set.
    int Size = 0;
    std::string TextFace;
    int Charset = ANSI_CHARSET;
};

TDialogFonts MakeDialogFonts();
void FreeDialogFonts(TDialogFonts& fonts);

// The character set of the system's code page.
int UserCharset();
