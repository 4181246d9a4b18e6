// The log text seen last, read or written, with its reports: each report reads back the log the
// previous one wrote, and splitting that text again costs more than the rest of the saving.
#pragma once
#include <string>
#include <vector>

struct TSplitLog {
    std::vector<std::string> Reports; // as SplitLogText gives them
    bool JoinsBack = false;           // JoinLogText(Reports) is the text itself
};

// The reports of `text`; split again only when it is not the text seen last.
TSplitLog SplitKnownLogText(const std::string& text);

// `text` was just written for `reports` (it is JoinLogText(reports)).
void RememberLogText(std::string text, const std::vector<std::string>& reports);
