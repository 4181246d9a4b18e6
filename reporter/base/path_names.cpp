#include "reporter/base/path_names.h"

namespace {

// Where the folder part ends: the last "\" or ":", or npos.
size_t FolderEnd(const std::string& fileName) {
    return fileName.find_last_of("\\:");
}

// The "." that starts the extension, or npos.
size_t ExtensionStart(const std::string& fileName) {
    size_t position = fileName.find_last_of(".\\:");
    return position != std::string::npos && fileName[position] == '.' ? position
                                                                      : std::string::npos;
}

bool EndsWithBackslash(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\';
}

} // namespace

std::string FolderOf(const std::string& fileName) {
    size_t end = FolderEnd(fileName);
    return end == std::string::npos ? std::string() : fileName.substr(0, end + 1);
}

std::string FileNameOf(const std::string& fileName) {
    size_t end = FolderEnd(fileName);
    return end == std::string::npos ? fileName : fileName.substr(end + 1);
}

std::string ExtensionOf(const std::string& fileName) {
    size_t start = ExtensionStart(fileName);
    return start == std::string::npos ? std::string() : fileName.substr(start);
}

std::string WithExtension(const std::string& fileName, const std::string& extension) {
    return fileName.substr(0, ExtensionStart(fileName)) + extension;
}

std::string WithTrailingBackslash(const std::string& folder) {
    return EndsWithBackslash(folder) ? folder : folder + "\\";
}

std::string WithoutTrailingBackslash(const std::string& folder) {
    return EndsWithBackslash(folder) ? folder.substr(0, folder.size() - 1) : folder;
}

std::string WithoutEvery(const std::string& text, const std::string& part) {
    std::string result = text;
    if (part.empty())
        return result;
    for (size_t position = result.find(part); position != std::string::npos;
         position = result.find(part, position))
        result.erase(position, part.size());
    return result;
}
