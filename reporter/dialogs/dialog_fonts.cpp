#include "reporter/dialogs/dialog_fonts.h"
#include <cstring>

namespace {

struct TFaces {
    int Size;
    const char* Caption;
    const char* Text;
    const char* List;
};

constexpr TFaces kWesternFaces{8, "Verdana", "Lucida Console", "Tahoma"};
constexpr TFaces kOtherFaces{10, "MS Sans Serif", "Courier New", "Courier New"};

HFONT FontOf(LOGFONTA font, LONG weight, bool underlined) {
    font.lfWeight = weight;
    font.lfUnderline = underlined;
    return CreateFontIndirectA(&font);
}

HFONT FixedFont(const char* face, int size, int charset) {
    LOGFONTA font{};
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(size, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = BYTE(charset);
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

NONCLIENTMETRICSA NonClientMetrics() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics;
}

} // namespace

int UserCharset() {
    CHARSETINFO info{};
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(uintptr_t(GetACP())), &info,
                              TCI_SRCCODEPAGE))
        return ANSI_CHARSET;
    return int(info.ciCharset);
}

TDialogFonts MakeDialogFonts() {
    TDialogFonts fonts;
    fonts.Charset = UserCharset();
    const TFaces& faces = fonts.Charset == ANSI_CHARSET ? kWesternFaces : kOtherFaces;
    const NONCLIENTMETRICSA metrics = NonClientMetrics();
    LOGFONTA caption = metrics.lfCaptionFont;
    std::strncpy(caption.lfFaceName, faces.Caption, LF_FACESIZE - 1);
    fonts.Caption = FontOf(caption, FW_BOLD, false);
    const LOGFONTA& message = metrics.lfMessageFont;
    fonts.Dialog = FontOf(message, message.lfWeight, false);
    fonts.UnderlinedBold = FontOf(message, FW_BOLD, true);
    fonts.Underlined = FontOf(message, message.lfWeight, true);
    fonts.Bold = FontOf(message, FW_BOLD, false);
    fonts.Text = FixedFont(faces.Text, faces.Size, fonts.Charset);
    fonts.List = FixedFont(faces.List, faces.Size, fonts.Charset);
    fonts.Size = faces.Size;
    fonts.TextFace = faces.Text;
    return fonts;
}

void FreeDialogFonts(TDialogFonts& fonts) {
    for (HFONT font : {fonts.Caption, fonts.Dialog, fonts.UnderlinedBold, fonts.Underlined,
                       fonts.Bold, fonts.Text, fonts.List})
        if (font)
            DeleteObject(font);
    fonts = {};
}
