// Exception filters: per exception class, whether and how the crash reporter handles it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TVessarModuleOptions;

constexpr uint8_t kScopeAny = 0;
constexpr uint8_t kScopeHandled = 1;
constexpr uint8_t kScopeUnhandled = 2;

struct TVessarExceptionFilter {
    bool Enabled = true;
    // Matches this class and every class derived from it, without regard to case.
    std::string ClassName;
    // When not empty, shown and written instead of the exception's message.
    std::string CustomMessage;
    // 0 any exception, 1 only handled ones, 2 only unhandled ones.
    uint8_t Scope = 0;
    // 0 none, 1 the options' DialogKind, 2 message box, 3 classic dialog, 4 detailed dialog.
    uint8_t Dialog = 0;
    // 0 ignore, 1 leave to the runtime's standard handler, 2 process with the crash reporter.
    uint8_t Handling = 0;
    // 0 nothing, 1 terminate, 2 restart after processing.
    uint8_t AfterAction = 0;

    bool operator==(const TVessarExceptionFilter&) const = default;
};

// The ordered filters of one options object; every change notifies that object.
class TVessarExceptionsFilters {
  public:
    explicit TVessarExceptionsFilters(TVessarModuleOptions& owner) : owner_(owner) {}
    TVessarExceptionsFilters(const TVessarExceptionsFilters&) = delete;
    TVessarExceptionsFilters& operator=(const TVessarExceptionsFilters&) = delete;

    // Filters are edited only through the list, so that every change notifies the owner.
    void Add(const TVessarExceptionFilter& filter);
    void Delete(size_t index);
    void Clear();
    // Replaces these filters by copies of `other`'s.
    void Assign(const TVessarExceptionsFilters& other);

    const TVessarExceptionFilter& Items(size_t index) const;
    size_t Count() const { return items_.size(); }

    // The first enabled filter naming one of `classNames` (the exception's class followed by its
    // ancestors) whose scope takes a `handled` or unhandled exception, or null. A filter whose
    // scope does not fit leaves the decision to the filters after it.
    const TVessarExceptionFilter* Match(const std::vector<std::string>& classNames,
                                        bool handled) const;

  private:
    void CheckIndex(size_t index) const;

    TVessarModuleOptions& owner_;
    std::vector<std::unique_ptr<TVessarExceptionFilter>> items_;
};
