#include "reporter/core/report/system_info/registry_values.h"
#include <cstring>
#include <vector>

namespace {

// A key opened for reading, closed when it goes out of scope.
class TRegistryKey {
  public:
    TRegistryKey(HKEY root, const std::string& key) {
        const char* path = key.c_str();
        if (*path == '\\')
            ++path;
        if (RegOpenKeyExA(root, path, 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~TRegistryKey() {
        if (key_)
            RegCloseKey(key_);
    }
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

std::vector<char> ValueBytes(HKEY root, const std::string& key, const std::string& name) {
    TRegistryKey opened(root, key);
    DWORD size = 0;
    if (!opened.Get() || RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr, nullptr,
                                          &size) != ERROR_SUCCESS)
        return {};
    std::vector<char> bytes(size);
    if (size && RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

} // namespace

std::string ReadRegistryString(HKEY root, const std::string& key, const std::string& name) {
    std::vector<char> bytes = ValueBytes(root, key, name);
    if (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    return std::string(bytes.begin(), bytes.end());
}

DWORD ReadRegistryDword(HKEY root, const std::string& key, const std::string& name) {
    const std::vector<char> bytes = ValueBytes(root, key, name);
    DWORD value = 0;
    if (bytes.size() == sizeof value)
        memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::string RegistrySubkeyName(HKEY root, const std::string& key, DWORD index) {
    TRegistryKey opened(root, key);
    char name[1025] = {};
    DWORD size = sizeof name;
    if (!opened.Get() || RegEnumKeyExA(opened.Get(), index, name, &size, nullptr, nullptr, nullptr,
                                       nullptr) != ERROR_SUCCESS)
        return {};
    return std::string(name, size);
}
