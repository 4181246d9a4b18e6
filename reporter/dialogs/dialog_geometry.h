// The detailed dialog's size, place and window state, kept in the state file between runs
// (section "Coordinates").
#pragma once
#include <windows.h>

constexpr int kWindowNormal = 1;
constexpr int kWindowMaximised = 3;
constexpr int kWindowMinimised = 6;

struct TDialogGeometry {
    // The outer rectangle without the bottom area.
    RECT Bounds{};
    int State = kWindowNormal;
};

// The saved geometry; defaults 745 x 468 centred on the work area with room for the bottom
// area below. A saved rectangle not wholly inside the work area is centred.
TDialogGeometry LoadDialogGeometry(int bottomArea);
// Writes the state, and the rectangle when the state is normal and a size is known.
void SaveDialogGeometry(const TDialogGeometry& geometry);
