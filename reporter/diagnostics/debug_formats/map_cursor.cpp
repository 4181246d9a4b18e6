#include "reporter/diagnostics/debug_formats/map_cursor.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The words of `text`, one at a time.
class TWords {
  public:
    explicit TWords(std::string_view text) : cursor_(text) {}
    std::string_view Next() {
        cursor_.SkipBlanks();
        return cursor_.ReadWord();
    }

  private:
    TMapCursor cursor_;
};

} // namespace

void TMapCursor::SkipBlanks() {
    while (!AtEnd() && IsBlank(line_[at_]))
        ++at_;
}

bool TMapCursor::AtDigit() const {
    return !AtEnd() && line_[at_] >= '0' && line_[at_] <= '9';
}

bool TMapCursor::ReadHex(uint32_t& value) {
    const size_t start = at_;
    value = 0;
    for (; !AtEnd() && HexDigit(line_[at_]) >= 0; ++at_)
        value = value * 16 + uint32_t(HexDigit(line_[at_]));
    if (at_ == start)
        return false;
    if (!AtEnd() && (line_[at_] == 'H' || line_[at_] == 'h'))
        ++at_;
    return true;
}

bool TMapCursor::ReadDecimal(uint32_t& value) {
    const size_t start = at_;
    value = 0;
    for (; AtDigit(); ++at_)
        value = value * 10 + uint32_t(line_[at_] - '0');
    return at_ > start;
}

bool TMapCursor::ReadAddress(uint16_t& segment, uint32_t& offset) {
    uint32_t segmentValue = 0;
    if (!ReadHex(segmentValue) || AtEnd() || line_[at_] != ':')
        return false;
    ++at_;
    segment = uint16_t(segmentValue);
    return ReadHex(offset);
}

bool TMapCursor::ReadPrefixedHex(uint32_t& value) {
    if (line_.substr(at_, 2) != "0x")
        return false;
    at_ += 2;
    return ReadHex(value);
}

std::string_view TMapCursor::ReadWord() {
    const size_t start = at_;
    while (!AtEnd() && !IsBlank(line_[at_]))
        ++at_;
    return line_.substr(start, at_ - start);
}

bool HasWordsInOrder(std::string_view line, std::string_view header) {
    TWords lineWords(line);
    TWords headerWords(header);
    for (std::string_view wanted = headerWords.Next(); !wanted.empty();
         wanted = headerWords.Next()) {
        std::string_view word = lineWords.Next();
        while (!word.empty() && word != wanted)
            word = lineWords.Next();
        if (word.empty())
            return false;
    }
    return true;
}
