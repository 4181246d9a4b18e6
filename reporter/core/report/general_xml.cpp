// The general part as XML: a Group per titled group, a Line per field.
#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/xml_sections.h"

namespace {

void AddGroupXml(TXMLItem& general, TReportLines group) {
    TXMLItem& item = general.AddChild("Group");
    std::vector<TLineRange> fields;
    for (size_t i = 1; i < group.size(); ++i)
        if (ParseFieldLine(group[i]))
            fields.push_back(FieldAt(group, i));
    const std::string firstKey = fields.empty() ? "" : ParseFieldLine(group[fields[0].First])->Key;
    item.AddAttribute("ID", firstKey.substr(0, firstKey.find('.')));
    item.AddAttribute("Label", group[0].substr(0, group[0].size() - 1));
    for (const TLineRange& range : fields) {
        const TFieldLine field = *ParseFieldLine(group[range.First]);
        TXMLItem& line = item.AddChild("Line");
        line.AddAttribute("ID", field.Key);
        line.AddAttribute("Label", field.Label);
        line.AddAttribute("Value", FieldValueText(group, range));
    }
}

} // namespace

void AddGeneralXml(TXMLItem& general, TReportLines lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsTitleLine(lines[i]))
            continue;
        const size_t end = GroupEnd(lines, i);
        AddGroupXml(general, lines.subspan(i, end - i));
        i = end;
    }
}
