#include "reporter/dialogs/dialog_geometry.h"
#include "reporter/core/options/ini_file_name.h"
#include "reporter/dialogs/dialog_placement.h"
#include <string>

namespace {

constexpr char kSection[] = "Coordinates";
constexpr int kDefaultWidth = 745;
constexpr int kDefaultHeight = 468;
// A key absent from the file.
constexpr int kUnset = INT32_MIN;

int ReadInt(const std::string& file, const char* key, int fallback) {
    return int(GetPrivateProfileIntA(kSection, key, fallback, file.c_str()));
}

void WriteInt(const std::string& file, const char* key, long value) {
    WritePrivateProfileStringA(kSection, key, std::to_string(value).c_str(), file.c_str());
}

RECT Centred(int width, int height, const RECT& area) {
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    return {left, top, left + width, top + height};
}

} // namespace

TDialogGeometry LoadDialogGeometry(int bottomArea) {
    const std::string file = IniFileName();
    const RECT area = DesktopWorkArea();
    const int width = ReadInt(file, "Width", kDefaultWidth);
    const int height = ReadInt(file, "Height", kDefaultHeight);
    const int left = ReadInt(file, "Left", kUnset);
    const int top = ReadInt(file, "Top", kUnset);
    TDialogGeometry geometry;
    geometry.State = ReadInt(file, "WindowsState", kWindowNormal);
    geometry.Bounds = {left, top, left + width, top + height + bottomArea};
    if (left == kUnset || top == kUnset || width <= 0 || height <= 0 ||
        !Inside(geometry.Bounds, area))
        geometry.Bounds = Centred(width > 0 ? width : kDefaultWidth,
                                  (height > 0 ? height : kDefaultHeight) + bottomArea, area);
    geometry.Bounds.bottom -= bottomArea;
    return geometry;
}

void SaveDialogGeometry(const TDialogGeometry& geometry) {
    const std::string file = IniFileName();
    const RECT& b = geometry.Bounds;
    if (geometry.State == kWindowNormal && b.right > b.left && b.bottom > b.top) {
        WriteInt(file, "Width", b.right - b.left);
        WriteInt(file, "Height", b.bottom - b.top);
        WriteInt(file, "Left", b.left);
        WriteInt(file, "Top", b.top);
    }
    WriteInt(file, "WindowsState", geometry.State);
}
