// Making sure the crash reporter can write where it means to keep a file.
#pragma once
#include <string>

// Creates `folder` and its missing parents. A path of fewer than 3 characters (a drive, the
// root) and an existing folder count as done. False when a folder could not be made.
bool ForceFolders(const std::string& folder);

// Whether `fileName` opens for reading and writing. A file made for the test is deleted again.
bool IsWritableFile(const std::string& fileName);

// `fileName` when it is writable; else the same file name in `fallbackFolder` (created when
// missing) when that is writable; else `fileName` all the same.
std::string WritableLocation(const std::string& fileName, const std::string& fallbackFolder);
