// Parts of Windows file names, taken apart as text; nothing here touches the disk.
#pragma once
#include <string>

// The folder part including its closing "\" (or the drive's ":"); empty when there is none.
std::string FolderOf(const std::string& fileName);

// The part after the folder.
std::string FileNameOf(const std::string& fileName);

// The extension including its ".", or empty; a "." inside a folder name does not count.
std::string ExtensionOf(const std::string& fileName);

// `fileName` with its extension replaced by `extension` (which may be empty to drop it).
std::string WithExtension(const std::string& fileName, const std::string& extension);

// `folder` ending in exactly one "\" more when it had none.
std::string WithTrailingBackslash(const std::string& folder);

// `folder` without a closing "\".
std::string WithoutTrailingBackslash(const std::string& folder);

// `text` with every occurrence of `part` removed.
std::string WithoutEvery(const std::string& text, const std::string& part);
