// The own look of the crash reporter's dialogs (DialogFlags 0x0040): a caption and frame painted
// by the dialog itself in blue-grey shades, and its own background colour.
#pragma once
#include <string>
#include <windows.h>

// The dialog's background with the own look.
constexpr COLORREF kOwnLookBackground = 0xC8D0D4;

// One shading step of the caption: each of red, green and blue times 0.96, rounded, at most 255.
COLORREF ShadedCaptionColour(COLORREF colour);

// Paints the caption (its text in `captionFont`) and the frame of `window`.
void PaintOwnFrame(HWND window, HFONT captionFont, const std::string& caption, bool active);

// Handles the messages that paint the frame (WM_NCPAINT, WM_NCACTIVATE) for a dialog with the
// own look; true when handled, with the dialog procedure's `result`.
bool OwnLookMessage(HWND window, UINT message, WPARAM wParam, HFONT captionFont,
                    const std::string& caption, INT_PTR& result);
