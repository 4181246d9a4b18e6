#include "options_test_support.h"
#include <gtest/gtest.h>

namespace {

struct MatchCase {
    std::vector<std::string> classNames;
    std::string winner; // class name of the filter that should match; empty for none
};

std::string Winner(const TVessarExceptionsFilters& filters, const std::vector<std::string>& names,
                   bool handled = true) {
    const TVessarExceptionFilter* match = filters.Match(names, handled);
    return match == nullptr ? "" : match->ClassName;
}

TEST(ExceptionFilters, FirstEnabledFilterNamingTheClassOrAnAncestorWins) {
    TVessarModuleOptions options("");
    TVessarExceptionsFilters& filters = options.Filters();
    filters.Add({false, "EDBEngineError", "", 0, 0, 0, 0});
    filters.Add({true, "  edatabaseerror\t", "", 0, 0, 0, 0});
    filters.Add({true, "EDBEngineError", "", 0, 0, 0, 0});
    filters.Add({true, "EXCEPTION ", "", 0, 0, 0, 0});

    const MatchCase cases[] = {
        {{"EDBEngineError", "EDatabaseError", "Exception"}, "  edatabaseerror\t"},
        {{"EDatabaseError", "Exception"}, "  edatabaseerror\t"},
        {{"EAbort", "Exception"}, "EXCEPTION "},
        {{"bad_alloc", "exception"}, "EXCEPTION "},
        {{"EDBEngine"}, ""},
        {{}, ""},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(Winner(filters, c.classNames), c.winner)
            << (c.classNames.empty() ? "" : c.classNames.front());
}

// A filter for the other kind of exception does not stop the search: the next one that fits
// decides.
TEST(ExceptionFilters, ScopeThatDoesNotFitFallsThroughToTheNextFilter) {
    TVessarModuleOptions options("");
    TVessarExceptionsFilters& filters = options.Filters();
    filters.Add({true, "EDatabaseError", "", kScopeUnhandled, 0, 0, 0});
    filters.Add({true, "EDBEngineError", "", kScopeHandled, 0, 0, 0});
    filters.Add({true, "Exception", "", kScopeAny, 0, 0, 0});
    const std::vector<std::string> engineError = {"EDBEngineError", "EDatabaseError", "Exception"};
    EXPECT_EQ(Winner(filters, engineError, false), "EDatabaseError");
    EXPECT_EQ(Winner(filters, engineError, true), "EDBEngineError");
    EXPECT_EQ(Winner(filters, {"EDatabaseError", "Exception"}, true), "Exception");
}

TEST(ExceptionFilters, ListKeepsOrderCopiesDeeplyAndNotifiesEveryChange) {
    CountingOptions options;
    TVessarExceptionsFilters& filters = options.Filters();
    filters.Add({true, "A", "", 0, 0, 0, 0});
    filters.Add({true, "B", "", 0, 0, 0, 0});
    filters.Add({true, "C", "", 0, 0, 0, 0});
    filters.Delete(1);
    ASSERT_EQ(filters.Count(), 2u);
    EXPECT_EQ(filters.Items(0).ClassName, "A");
    EXPECT_EQ(filters.Items(1).ClassName, "C");

    TVessarModuleOptions other("");
    other.Filters().Add({false, "X", "message", 1, 2, 1, 2});
    filters.Assign(other.Filters());
    other.Filters().Clear();
    ASSERT_EQ(filters.Count(), 1u);
    EXPECT_EQ(filters.Items(0), (TVessarExceptionFilter{false, "X", "message", 1, 2, 1, 2}));

    filters.Clear();
    EXPECT_EQ(filters.Count(), 0u);
    EXPECT_EQ(options.changes, 6);
}

TEST(ExceptionFilters, IndexesOutsideTheListAreRefused) {
    TVessarModuleOptions options("");
    options.Filters().Add({});
    EXPECT_THROW(options.Filters().Items(1), Exception);
    EXPECT_THROW(options.Filters().Delete(1), Exception);
    EXPECT_EQ(options.Filters().Count(), 1u);
}

} // namespace
