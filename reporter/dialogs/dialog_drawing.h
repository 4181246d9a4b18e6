// Measuring, placing and painting shared by the crash reporter's dialogs.
#pragma once
#include <string>
#include <windows.h>

// The size of `text` in `font`; wrapped at `wrapWidth` when it is above 0, else on one line.
SIZE TextSize(HWND window, HFONT font, const std::string& text, int wrapWidth);
void Place(HWND control, const RECT& r);

// A picture of the module's resources (the magenta of our pictures stays transparent when drawn).
HBITMAP LoadReporterPicture(const char* name);
void DrawPicture(HDC dc, HBITMAP picture, int x, int y);

// A link: `text` in `font` and `colour` inside `rect`, with `format` (DT_LEFT or DT_RIGHT).
void DrawLink(HDC dc, HFONT font, COLORREF colour, const RECT& rect, const std::string& text,
              UINT format);
// The hand cursor while the mouse is over `link` of `dialog`; answers WM_SETCURSOR for the
// dialog itself. True when it set the cursor.
bool SetLinkCursor(HWND dialog, WPARAM wParam, const RECT& link);
// Whether a mouse message's position lies on `link`.
bool OnLink(LPARAM lParam, const RECT& link);
