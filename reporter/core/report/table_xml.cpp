// Tables as XML: the modules and processes rows, and the row reading the call stack shares.
#include "reporter/core/report/xml_sections.h"
#include "runtime/text.h"

std::vector<std::string> TableRows(TReportLines section) {
    std::vector<std::string> rows;
    for (const std::string& line : section)
        if (line.starts_with("|"))
            rows.push_back(line);
    return rows;
}

std::vector<std::string> RowCells(const std::string& row) {
    std::vector<std::string> cells;
    const size_t end = row.ends_with("|") && row.size() > 1 ? row.size() - 1 : row.size();
    size_t start = 1;
    for (size_t bar = row.find('|', start); bar < end; bar = row.find('|', start)) {
        cells.push_back(Trim(row.substr(start, bar - start)));
        start = bar + 1;
    }
    cells.push_back(Trim(row.substr(start, end - start)));
    return cells;
}

void AddTableXml(TXMLItem& parent, TReportLines section, const std::string& element,
                 const std::vector<std::string>& names) {
    const std::vector<std::string> rows = TableRows(section);
    for (size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> cells = RowCells(rows[i]);
        TXMLItem& item = parent.AddChild(element);
        for (size_t k = 0; k < names.size(); ++k)
            item.AddAttribute(names[k], k < cells.size() ? cells[k] : std::string());
    }
}
