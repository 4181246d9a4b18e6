#include "tables/engine_error_report.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include <algorithm>

namespace {

constexpr size_t kMaxEngineText = 128;

std::string EngineText(const std::string& text) {
    return Trim(text.substr(0, kMaxEngineText));
}

// Message lines in order of arrival, without empty texts and exact repeats.
class MessageLines {
  public:
    void Add(const std::string& line) {
        if (!line.empty() && std::find(lines_.begin(), lines_.end(), line) == lines_.end())
            lines_.push_back(line);
    }
    std::string Joined() const {
        std::string text;
        for (const auto& line : lines_)
            text += (text.empty() ? "" : "\r\n") + line;
        return text;
    }

  private:
    std::vector<std::string> lines_;
};

bool EndOfStack(DBIResult status) {
    return status == DBIERR_NONE || status == DBIERR_ENTRYNOTFOUND;
}

TEngineErrorReport FromEngine(DBIResult status, const TEngineErrorSource& source) {
    // A server error carries its whole story in the context lines.
    const bool serverError = status == DBIERR_UNKNOWNSQL;
    TEngineErrorReport report;
    std::string text = EngineText(source.ErrorText(status));
    report.Errors.push_back({status, 0, text});
    MessageLines lines;
    if (!serverError)
        lines.Add(text);
    for (uint16_t number = 1; number != 0; ++number) {
        int32_t native = 0;
        std::string context;
        DBIResult code = DbiStatus16(source.ErrorEntry(number, native, context));
        if (EndOfStack(code))
            break;
        context = context.substr(0, kMaxEngineText);
        report.Errors.push_back({code, native, context});
        if (native == 0 && !serverError)
            lines.Add(EngineText(source.ErrorText(code)));
        lines.Add(Trim(context));
    }
    report.Message = lines.Joined();
    if (report.Message.empty())
        report.Message = Format("CDE error $%.4x", unsigned(status));
    return report;
}

TEngineErrorReport EngineNotStarted(DBIResult status) {
    std::string message = Format("An error occurred while attempting to initialize the Corvane "
                                 "Database Engine (error $%.4x)",
                                 unsigned(status));
    return {message, {{status, 0, message}}};
}

} // namespace

TEngineErrorReport BuildEngineErrorReport(DBIResult status, const TEngineErrorSource& source) {
    status = DbiStatus16(status);
    if (source.SessionStarted() || status == DBIERR_INTERFACEVER)
        return FromEngine(status, source);
    return EngineNotStarted(status);
}
