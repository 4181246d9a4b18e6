#include "reporter/dialogs/report_rtf.h"
#include "runtime/format.h"
#include <map>
#include <vector>

namespace {

// The colour table's entries.
constexpr int kTeal = 1, kBlack = 2, kDarkGrey = 3, kDarkBlue = 4, kDarkRed = 5, kGrey = 6,
              kDarkGreen = 7;
constexpr int kTwipsPerPixel = 15;
constexpr size_t kCpuTitleLines = 2;
constexpr size_t kFirstRegisterLine = 3, kLastRegisterLine = 6;
constexpr size_t kStackHeaderLine = 8, kDumpHeaderLine = 9, kFirstDumpLine = 10;
constexpr size_t kStackColumn = 21;
// The columns where the dump header and dump lines give three blanks to a tab.
constexpr size_t kDumpHeaderTab = 19, kDumpLineTab = 29, kTabWidth = 3;

std::string Colour(int index) {
    return "\\cf" + std::to_string(index) + " ";
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

// A raw line with rich-text codes put in at the given columns (past its end: at its end), the
// pieces between them escaped.
std::string Marked(const std::string& line, const std::multimap<size_t, std::string>& codes) {
    std::string out;
    size_t from = 0;
    for (const auto& [column, code] : codes) {
        const size_t at = std::min(column, line.size());
        if (at > from)
            out += Escaped(line.substr(from, at - from));
        from = std::max(from, at);
        out += code;
    }
    return out + Escaped(line.substr(std::min(from, line.size())));
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Document(const std::vector<std::string>& lines, const TRtfFont& font) {
    std::string body;
    for (size_t i = 0; i < lines.size(); ++i)
        body += (i ? "\\par\r\n" : "") + lines[i];
    return Format("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1040{\\fonttbl{\\f0\\fmodern\\fprq1"
                  "\\fcharset%d %s;}}\r\n",
                  font.Charset, font.Face.c_str()) +
           "{\\colortbl ;\\red0\\green100\\blue100;\\red0\\green0\\blue0;\\red40\\green40\\blue40;"
           "\\red0\\green0\\blue160;\\red160\\green0\\blue0;\\red80\\green80\\blue80;"
           "\\red0\\green100\\blue0;}\r\n" +
           "\\f0\\fs" + std::to_string(font.Size * 2) + "\r\n" + body + "}";
}

std::string GeneralLine(const std::string& line, bool first) {
    if (first)
        return "\\cf1\\b " + Escaped(line) + "\\b0";
    if (!line.empty() && line.back() == ':' && line.front() != ' ')
        return Colour(kDarkGrey) + "\\b " + Escaped(line) + "\\b0";
    if (!line.empty() && line.front() == '-')
        return Colour(kDarkGrey) + Escaped(line);
    const size_t colon = line.find(": ");
    if (colon == std::string::npos)
        return Escaped(line);
    std::multimap<size_t, std::string> codes{{0, Colour(kDarkRed)}, {colon + 1, Colour(kDarkBlue)}};
    const size_t blank = line.find(' ', 2);
    if (blank < colon)
        codes.emplace(blank, Colour(kBlack));
    return Marked(line, codes);
}

std::string AssemblerLine(const std::string& line) {
    constexpr size_t kCodeColumn = 15, kOperandSearch = 23;
    std::multimap<size_t, std::string> codes;
    const size_t comment = line.find(';');
    if (line.empty() || line.front() != ';') {
        codes.emplace(0, Colour(kDarkRed));
        codes.emplace(kCodeColumn, Colour(kDarkBlue) + "\\b ");
        const size_t blank = line.find(' ', kOperandSearch);
        const size_t end = std::min(blank, comment);
        codes.emplace(end == std::string::npos ? line.size() : end,
                      end == blank && blank != std::string::npos ? "\\b0" + Colour(kDarkGreen)
                                                                 : "\\b0 ");
    }
    if (comment != std::string::npos)
        codes.emplace(comment, Colour(kGrey));
    return Marked(line, codes);
}

// Three characters from `column` on become a tab.
std::string WithTab(const std::string& line, size_t column) {
    if (line.size() <= column)
        return line;
    return line.substr(0, column) + '\t' + line.substr(std::min(line.size(), column + kTabWidth));
}

std::string CpuLine(const std::string& line, size_t number, const TRtfFont& font) {
    if (number == 1)
        return Colour(kDarkGrey) + "\\b " + Escaped(line) + Colour(kBlack) + "\\b0 ";
    if (number == kCpuTitleLines)
        return Colour(kDarkGrey) + Escaped(line) + Colour(kBlack);
    if (number >= kFirstRegisterLine && number <= kLastRegisterLine)
        return Marked(line, {{6, Colour(kDarkBlue)},
                             {19, Colour(kBlack)},
                             {32, Colour(kDarkBlue)},
                             {45, Colour(kBlack)}});
    if (number == kStackHeaderLine) {
        const std::string left = Trimmed(line.substr(0, std::min(line.size(), kStackColumn)));
        const std::string right =
            line.size() > kStackColumn ? Trimmed(line.substr(kStackColumn)) : "";
        return "\\tx" + std::to_string(kTwipsPerPixel * font.StackColumnPixels) + " " +
               Escaped(left) + "\\tab " + Escaped(right);
    }
    if (number == kDumpHeaderLine) {
        const std::string tabbed = WithTab(line, kDumpHeaderTab);
        return Marked(tabbed, {{0, Colour(kDarkGrey)}, {kDumpHeaderTab, Colour(kBlack)}});
    }
    if (number >= kFirstDumpLine) {
        // Columns after the tab are one place left of theirs in the report.
        const size_t shift = kTabWidth - 1;
        const std::string tabbed = WithTab(line, kDumpLineTab);
        return Marked(tabbed, {{11, Colour(kDarkBlue)},
                               {24, Colour(kBlack)},
                               {44 - shift, Colour(kDarkBlue)},
                               {96 - shift, Colour(kDarkRed)},
                               {tabbed.size(), Colour(kBlack)}});
    }
    return Escaped(line);
}

} // namespace

std::string GeneralSectionRtf(const std::string& section, const TRtfFont& font) {
    std::vector<std::string> lines = Lines(section);
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = GeneralLine(lines[i], i == 0);
    return Document(lines, font);
}

std::string AssemblerSectionRtf(const std::string& section, const TRtfFont& font) {
    std::vector<std::string> lines = Lines(section);
    for (std::string& line : lines)
        line = AssemblerLine(line);
    return Document(lines, font);
}

std::string CpuSectionRtf(const std::string& section, const TRtfFont& font) {
    std::vector<std::string> lines = Lines(section);
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = CpuLine(lines[i], i + 1, font);
    return Document(lines, font);
}
