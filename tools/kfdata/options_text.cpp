#include "options_text.h"
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <type_traits>

namespace {

using Setter = std::function<void(TVessarModuleOptions&, const std::string&)>;

// A line's failure, completed with the file and line by the reader.
struct BadValue {
    std::string what;
};

int64_t Number(const std::string& text, int64_t low, int64_t high) {
    const char* begin = text.c_str();
    char* end = nullptr;
    long long value = std::strtoll(begin, &end, 0);
    if (text.empty() || *end != '\0' || value < low || value > high)
        throw BadValue{"\"" + text + "\" is not a number from " + std::to_string(low) + " to " +
                       std::to_string(high)};
    return value;
}

bool Switch(const std::string& text) {
    if (text == "1" || text == "true")
        return true;
    if (text == "0" || text == "false")
        return false;
    throw BadValue{"\"" + text + "\" is not 0 or 1"};
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            throw BadValue{std::string("unknown escape \\") + text[i]};
        }
    }
    return out;
}

// A setter of `set` for the text form of its value: a number within the type's range, 0 or 1,
// or text with escapes.
template <class T> Setter ValueSetter(void (TVessarModuleOptions::*set)(T), int64_t high = 0) {
    return [=](TVessarModuleOptions& o, const std::string& v) {
        if constexpr (std::is_same_v<T, std::string>)
            (o.*set)(Unescaped(v));
        else if constexpr (std::is_same_v<T, bool>)
            (o.*set)(Switch(v));
        else
            (o.*set)(T(Number(v, std::numeric_limits<T>::min(),
                              high ? high : int64_t(std::numeric_limits<T>::max()))));
    };
}

// Six bytes of the block hold it.
constexpr int64_t kBits48High = int64_t(kAllReportFields);
#define OPTION_HIGH_Bits48 kBits48High
#define OPTION_HIGH_Bool 0
#define OPTION_HIGH_U8 0
#define OPTION_HIGH_U16 0
#define OPTION_HIGH_I16 0
#define OPTION_HIGH_I32 0
#define OPTION_HIGH_U32 0
#define OPTION_HIGH_Str 0
#define OPTION_HIGH_Word 0

// Every option of the block by its name, and the build commands the block does not carry.
const std::map<std::string, Setter>& OptionSetters() {
    using O = TVessarModuleOptions;
    static const std::map<std::string, Setter> setters = {
#define OPTION_FIELD(Name, Type, Form, Default, Conversion, Setter)                                \
    {#Name, ValueSetter<Type>(&O::Set##Name, OPTION_HIGH_##Form)},
#define OPTION_OWN_FIELD(Name, Type, Form, Default, Conversion)                                    \
    {#Name, ValueSetter<Type>(&O::Set##Name, OPTION_HIGH_##Form)},
#include "reporter/core/options/option_fields.def"
        {"BeforeBuildCommand", ValueSetter<std::string>(&O::SetBeforeBuildCommand)},
        {"AfterBuildCommand", ValueSetter<std::string>(&O::SetAfterBuildCommand)},
        {"FailedBuildCommand", ValueSetter<std::string>(&O::SetFailedBuildCommand)},
    };
    return setters;
}

void SetFilterField(TVessarExceptionFilter& f, const std::string& name, const std::string& v) {
    if (name == "Enabled")
        f.Enabled = Switch(v);
    else if (name == "ClassName")
        f.ClassName = Unescaped(v);
    else if (name == "CustomMessage")
        f.CustomMessage = Unescaped(v);
    else if (name == "Scope")
        f.Scope = uint8_t(Number(v, 0, 2));
    else if (name == "Dialog")
        f.Dialog = uint8_t(Number(v, 0, 4));
    else if (name == "Handling")
        f.Handling = uint8_t(Number(v, 0, 2));
    else if (name == "AfterAction")
        f.AfterAction = uint8_t(Number(v, 0, 2));
    else
        throw BadValue{"a filter has no field \"" + name + "\""};
}

void SetOption(TVessarModuleOptions& options, const std::string& name, const std::string& v) {
    const std::string textPrefix = "Text.";
    if (name.compare(0, textPrefix.size(), textPrefix) == 0) {
        options.SetText(int(Number(name.substr(textPrefix.size()), 0, kTextCount - 1)),
                        Unescaped(v));
        return;
    }
    auto setter = OptionSetters().find(name);
    if (setter == OptionSetters().end())
        throw BadValue{"there is no option \"" + name + "\""};
    setter->second(options, v);
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

} // namespace

void ApplyOptionsText(std::istream& text, const std::string& fileName,
                      TVessarModuleOptions& options) {
    std::vector<TVessarExceptionFilter> filters;
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = Trimmed(line);
        try {
            if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';')
                continue;
            if (trimmed == "[Filter]") {
                filters.emplace_back();
                continue;
            }
            size_t equals = line.find('=');
            if (equals == std::string::npos)
                throw BadValue{"expected Name=value"};
            const std::string name = Trimmed(line.substr(0, equals));
            const std::string value = line.substr(equals + 1);
            if (filters.empty())
                SetOption(options, name, value);
            else
                SetFilterField(filters.back(), name, value);
        } catch (const BadValue& bad) {
            throw OptionsTextError(fileName + ":" + std::to_string(number) + ": " + bad.what);
        }
    }
    options.Filters().Clear();
    for (const auto& filter : filters)
        options.Filters().Add(filter);
}

void ReadOptionsText(const std::string& fileName, TVessarModuleOptions& options) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw OptionsTextError(fileName + ": cannot be read");
    ApplyOptionsText(file, fileName, options);
}
