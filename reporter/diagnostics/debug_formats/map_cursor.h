// Reads the fields of one line of a linker map, left to right.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string_view>

class TMapCursor {
  public:
    explicit TMapCursor(std::string_view line) : line_(line) {}

    void SkipBlanks();
    bool AtEnd() const { return at_ >= line_.size(); }
    bool AtDigit() const;
    // Hexadecimal digits; a trailing "H" or "h" ends the number. False when there are none.
    bool ReadHex(uint32_t& value);
    bool ReadDecimal(uint32_t& value);
    // A hexadecimal segment, a ":" and a hexadecimal offset.
    bool ReadAddress(uint16_t& segment, uint32_t& offset);
    // "0x" and hexadecimal digits.
    bool ReadPrefixedHex(uint32_t& value);
    // The next run of characters up to a blank.
    std::string_view ReadWord();
    std::string_view Rest() const { return line_.substr(at_); }

  private:
    std::string_view line_;
    size_t at_ = 0;
};

// Calls `read` with every line of `text`, without its line feed.
template <class Reader> void ForEachLine(std::string_view text, Reader read) {
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        read(text.substr(start, end - start));
        start = end + 1;
    }
}

// True when `line` holds the words of `header` (blank-separated) in this order, each as a
// whole word, with any other words between them.
bool HasWordsInOrder(std::string_view line, std::string_view header);
