#include "reporter/core/options/exception_filters.h"
#include "reporter/core/options/module_options.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include <algorithm>

void TVessarExceptionsFilters::Add(const TVessarExceptionFilter& filter) {
    items_.push_back(std::make_unique<TVessarExceptionFilter>(filter));
    owner_.CheckChanged();
}

const TVessarExceptionFilter& TVessarExceptionsFilters::Items(size_t index) const {
    CheckIndex(index);
    return *items_[index];
}

void TVessarExceptionsFilters::Delete(size_t index) {
    CheckIndex(index);
    items_.erase(items_.begin() + static_cast<ptrdiff_t>(index));
    owner_.CheckChanged();
}

void TVessarExceptionsFilters::Clear() {
    items_.clear();
    owner_.CheckChanged();
}

void TVessarExceptionsFilters::Assign(const TVessarExceptionsFilters& other) {
    if (&other != this) {
        items_.clear();
        for (const auto& filter : other.items_)
            items_.push_back(std::make_unique<TVessarExceptionFilter>(*filter));
    }
    owner_.CheckChanged();
}

const TVessarExceptionFilter*
TVessarExceptionsFilters::Match(const std::vector<std::string>& classNames, bool handled) const {
    const uint8_t scope = handled ? kScopeHandled : kScopeUnhandled;
    for (const auto& filter : items_) {
        if (!filter->Enabled || (filter->Scope != kScopeAny && filter->Scope != scope))
            continue;
        std::string wanted = Trim(filter->ClassName);
        auto named = [&](const std::string& name) { return AnsiSameText(wanted, name); };
        if (std::any_of(classNames.begin(), classNames.end(), named))
            return filter.get();
    }
    return nullptr;
}

void TVessarExceptionsFilters::CheckIndex(size_t index) const {
    if (index >= items_.size())
        throw Exception(Format("Filter index %u out of range (%u filters).", unsigned(index),
                               unsigned(items_.size())));
}
