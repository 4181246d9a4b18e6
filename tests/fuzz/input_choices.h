// The first byte of an options block's or a line table's fuzz input picks what the bytes after
// it are read as; the seed maker writes its seeds with the same choices.
#pragma once
#include <cstdint>
#include <iterator>

namespace input_choices {

// Options block layouts: before and after each conversion of options_block.cpp.
constexpr int kOptionsVersions[] = {300, 421, 422, 449, 450, 500, 5999, 6000, 6024};

// Line table forms: before and after each change of line_table_format.h.
constexpr int kLineTableVersions[] = {300, 422, 423, 499, 500, 501, 502, 6024};
// With this bit the module's data carries a password check word; with the next one, that word
// fits the empty password the crash reporter tries first.
constexpr uint8_t kHasPasswordCheck = 0x80;
constexpr uint8_t kEmptyPasswordFits = 0x40;

template <size_t N> int Pick(const int (&versions)[N], uint8_t choice) {
    return versions[choice % N];
}

// The choice that picks `version`, or the one that picks the newest when none is that version.
template <size_t N> uint8_t ChoiceOf(const int (&versions)[N], int version) {
    for (size_t i = 0; i < N; ++i)
        if (versions[i] == version)
            return uint8_t(i);
    return uint8_t(N - 1);
}

} // namespace input_choices
