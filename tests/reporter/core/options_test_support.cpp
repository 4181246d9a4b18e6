#include "options_test_support.h"

std::string TestProgramFileName() {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, name, MAX_PATH);
    return name;
}

std::vector<TVessarExceptionFilter> FilterList(const TVessarExceptionsFilters& filters) {
    std::vector<TVessarExceptionFilter> list;
    for (size_t i = 0; i < filters.Count(); ++i)
        list.push_back(filters.Items(i));
    return list;
}

namespace {

// A value other than the default: text naming the field, the other truth value, the default's
// bits inverted (negative numbers and the top bits included).
std::string AwayFrom(const std::string&, const char* name) {
    return std::string(name) + " value";
}
bool AwayFrom(bool value, const char*) {
    return !value;
}
template <typename T> T AwayFrom(T value, const char*) {
    return T(~value);
}

// Every field the block carries, from the one list of them.
void SetBlockFields(TVessarModuleOptions& o) {
    const TVessarStoredOptions defaults;
#define OPTION_FIELD(Name, Type, Form, Default, Conversion, Setter)                                \
    o.Set##Name(AwayFrom(defaults.Name, #Name));
#define OPTION_OWN_FIELD(Name, Type, Form, Default, Conversion)                                    \
    o.Set##Name(AwayFrom(Type(Default), #Name));
#include "reporter/core/options/option_fields.def"
}

void SetFiltersAndTexts(TVessarModuleOptions& o) {
    o.Filters().Add({false, "EDatabaseError", "Database trouble", 1, 4, 1, 2});
    o.Filters().Add({true, "EAbort", "", 2, 0, 0, 1});
    o.Filters().Add({true, " EDBEngineError ", "%_ExceptMsg%", 0, 3, 2, 0});
    for (int index = 0; index < kTextCount; ++index)
        o.SetText(index, "Text number " + std::to_string(index));
}

void SetFieldsThatAreNotStored(TVessarModuleOptions& o) {
    o.SetReproduceText("Click twice");
    o.SetEnabled(false);
    o.SetBeforeBuildCommand("before.cmd");
    o.SetAfterBuildCommand("after.cmd");
    o.SetFailedBuildCommand("failed.cmd");
}

} // namespace

void SetEveryFieldAwayFromDefault(TVessarModuleOptions& options) {
    SetBlockFields(options);
    SetFiltersAndTexts(options);
    SetFieldsThatAreNotStored(options);
}
