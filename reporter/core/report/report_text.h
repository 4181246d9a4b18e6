// Text pieces the report and the log file are made of: CR LF lines and blank padding.
#pragma once
#include <string>
#include <vector>

constexpr char kCrLf[] = "\r\n";

// `text` with every lone CR or LF made a CR LF pair.
std::string WithCrLf(const std::string& text);

// The pieces between CR LF pairs; JoinLines gives the text back exactly.
std::vector<std::string> SplitLines(const std::string& text);
std::string JoinLines(const std::vector<std::string>& lines);

// `text` with blanks added up to `width` characters; longer text stays as it is.
std::string PaddedRight(const std::string& text, size_t width);
