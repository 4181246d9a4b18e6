// Finding one's way in a report's text: its general part, its field lines and its sections.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

// A group or section title: "Title:" at the left margin, its only colon at the end.
bool IsTitleLine(const std::string& line);
// A line of "-" alone.
bool IsDashLine(const std::string& line);

// The end of the group whose title is line `title`: the next empty line, or the line count.
size_t GroupEnd(std::span<const std::string> lines, size_t title);

// The line where the general part ends: the title of the first section that holds a table.
// The line count when there is none.
size_t GeneralPartEnd(std::span<const std::string> lines);

// The title lines, from line `from` on, of the sections: a title followed by a dash line.
std::vector<size_t> SectionStarts(std::span<const std::string> lines, size_t from);

// A field line of the general part: two blanks, the key, a blank, the label, ": ", the value.
struct TFieldLine {
    std::string Key;
    std::string Label; // without the blanks that align its colon
    std::string Value;
};
std::optional<TFieldLine> ParseFieldLine(const std::string& line);

// The lines [First, End) of one field: its field line and the continuation lines of its value.
struct TLineRange {
    size_t First = 0;
    size_t End = 0;
};
// The field whose line is `first`.
TLineRange FieldAt(std::span<const std::string> lines, size_t first);
// The field `key` among the lines before `end`.
std::optional<TLineRange> FindField(std::span<const std::string> lines, const std::string& key,
                                    size_t end);

// The value of a field as stored: the field line's value, then its continuation lines.
std::vector<std::string> StoredValueLines(std::span<const std::string> lines, TLineRange field);
// The value with its lines joined by CR LF, continuation lines without their leading blank.
std::string FieldValueText(std::span<const std::string> lines, TLineRange field);
