#include "reporter/core/report/known_log_text.h"
#include "reporter/core/report/log_text.h"
#include <mutex>

namespace {

struct TKnownLog {
    std::mutex Lock;
    std::string Text;
    TSplitLog Split{{}, true}; // of the empty text
};

TKnownLog& Known() {
    static TKnownLog known;
    return known;
}

} // namespace

TSplitLog SplitKnownLogText(const std::string& text) {
    TKnownLog& known = Known();
    const std::lock_guard<std::mutex> hold(known.Lock);
    if (text != known.Text) {
        known.Split.Reports = SplitLogText(text);
        known.Split.JoinsBack = JoinLogText(known.Split.Reports) == text;
        known.Text = text;
    }
    return known.Split;
}

void RememberLogText(std::string text, const std::vector<std::string>& reports) {
    TKnownLog& known = Known();
    const std::lock_guard<std::mutex> hold(known.Lock);
    known.Text = std::move(text);
    known.Split = {reports, true};
}
