#include "reporter/diagnostics/debug_formats/map_parser.h"
#include "reporter/diagnostics/debug_formats/gnu_map_parser.h"
#include "reporter/diagnostics/debug_formats/map_cursor.h"

namespace {

enum class TMapSection { None, Segments, DetailedSegments, PublicsByName, PublicsByValue, Lines };

constexpr std::string_view kLineNumbersFor = "Line numbers for";

TMapSection SectionOf(std::string_view line) {
    if (HasWordsInOrder(line, "Start Length Name Class"))
        return TMapSection::Segments;
    if (HasWordsInOrder(line, "Detailed map of segments"))
        return TMapSection::DetailedSegments;
    if (HasWordsInOrder(line, "Address Publics by Name"))
        return TMapSection::PublicsByName;
    if (HasWordsInOrder(line, "Address Publics by Value"))
        return TMapSection::PublicsByValue;
    return TMapSection::None;
}

// "0001:00000000 0000A3C4 C=CODE S=.text G=(none) M=System ACBP=A9"
void ReadDetailedSegment(TMapCursor& row, TKFMapItems& items) {
    uint16_t segment = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
    if (!row.ReadAddress(segment, offset))
        return;
    row.SkipBlanks();
    if (!row.ReadHex(length))
        return;
    const std::string_view rest = row.Rest();
    const size_t unit = rest.find("M=");
    items.SegmentItem(segment, offset, length,
                      unit == std::string_view::npos ? std::string_view() : rest.substr(unit + 2));
}

void ReadPublic(TMapCursor& row, TKFMapItems& items) {
    uint16_t segment = 0;
    uint32_t offset = 0;
    if (!row.ReadAddress(segment, offset))
        return;
    row.SkipBlanks();
    items.PublicByValueItem(segment, offset, row.Rest());
}

// Repeated pairs: "   123 0001:00000010   124 0001:00000020"
void ReadLineNumbers(TMapCursor& row, TKFMapItems& items) {
    uint32_t line = 0;
    uint16_t segment = 0;
    uint32_t offset = 0;
    while (row.ReadDecimal(line)) {
        row.SkipBlanks();
        if (!row.ReadAddress(segment, offset))
            return;
        items.LineNumberItem(line, segment, offset);
        row.SkipBlanks();
    }
}

void ReadRow(TMapSection section, TMapCursor& row, TKFMapItems& items) {
    switch (section) {
    case TMapSection::DetailedSegments:
        ReadDetailedSegment(row, items);
        break;
    case TMapSection::PublicsByValue:
        ReadPublic(row, items);
        break;
    case TMapSection::Lines:
        ReadLineNumbers(row, items);
        break;
    default: // segment list and publics by name: nothing in them is needed
        break;
    }
}

// "Line numbers for System(System.pas) segment .text"
void OpenLineNumbers(std::string_view header, TKFMapItems& items) {
    TMapCursor rest(header.substr(kLineNumbersFor.size()));
    rest.SkipBlanks();
    const std::string_view unit = rest.Rest();
    const size_t source = unit.find('(');
    items.LineNumbersUnitItem(unit, source == std::string_view::npos ? std::string_view()
                                                                     : unit.substr(source));
}

// A line that is not a row ends the rows before it and may start another section.
TMapSection ReadHeading(std::string_view line, TKFMapItems& items) {
    if (line.starts_with(kLineNumbersFor)) {
        OpenLineNumbers(line, items);
        return TMapSection::Lines;
    }
    return SectionOf(line);
}

void ParseSegmentedMap(std::string_view text, TKFMapItems& items) {
    TMapSection section = TMapSection::None;
    ForEachLine(text, [&](std::string_view line) {
        TMapCursor row(line);
        row.SkipBlanks();
        if (row.AtDigit())
            ReadRow(section, row, items);
        else if (!row.AtEnd())
            section = ReadHeading(row.Rest(), items);
    });
}

} // namespace

void TKFAbstractMapParser::Parse() {
    if (!ParseGnuMap(text_, *this))
        ParseSegmentedMap(text_, *this);
}
