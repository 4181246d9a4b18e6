// The call-stack table as XML: an element per thread block holding a Line per row.
#include "reporter/core/options/default_texts.h"
#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/xml_sections.h"

namespace {

enum TStackColumn : size_t { kAddress, kModule, kUnit, kClass, kProcedure, kLine, kColumns };

// Live blocks after the first have an empty row before their header. The first block tells
// its kind only by its text: a star for the exception's thread, else the calling thread's
// default label.
std::string ThreadElement(const std::string& description, bool afterEmptyRow, bool first) {
    if (description.starts_with("*"))
        return "ExceptionThread";
    if (afterEmptyRow)
        return "RunningThread";
    if (!first)
        return "CallingThread";
    static const std::string callingLabel = DefaultTexts()[101] + ": ";
    return description.starts_with(callingLabel) ? "CallingThread" : "RunningThread";
}

std::string AfterEquals(const std::string& part) {
    const size_t equals = part.find('=');
    return equals == std::string::npos ? std::string() : part.substr(equals + 1);
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

// "Label: ID=1; Priority=0; Class=TName; [Main] (name)": the thread's name is left out.
void AddThreadAttributes(TXMLItem& thread, const std::string& description) {
    const size_t colon = description.find(": ");
    std::string details = colon == std::string::npos ? description : description.substr(colon + 2);
    details = details.substr(0, details.find(" ("));
    const std::vector<std::string> parts = Split(details, "; ");
    std::string className;
    bool main = false;
    for (size_t i = 2; i < parts.size(); ++i) {
        if (parts[i].starts_with("["))
            main = true;
        else
            className = AfterEquals(parts[i]);
    }
    thread.AddAttribute("ID", AfterEquals(parts[0]));
    thread.AddAttribute("Priority", parts.size() > 1 ? AfterEquals(parts[1]) : "");
    thread.AddAttribute("Class", className);
    thread.AddAttribute("MainThread", main ? "True" : "False");
}

// The line cell is "line[offset]".
void AddEntryXml(TXMLItem& parent, const std::vector<std::string>& cells) {
    const std::string& lineCell = cells[kLine];
    const size_t bracket = lineCell.find('[');
    const std::string offset = bracket == std::string::npos
                                   ? ""
                                   : lineCell.substr(bracket + 1, lineCell.find(']') - bracket - 1);
    TXMLItem& line = parent.AddChild("Line");
    line.AddAttribute("Address", cells[kAddress]);
    line.AddAttribute("Module", cells[kModule]);
    line.AddAttribute("Unit", cells[kUnit]);
    line.AddAttribute("Class", cells[kClass]);
    line.AddAttribute("Procedure", cells[kProcedure]);
    line.AddAttribute("Line", lineCell.substr(0, bracket));
    line.AddAttribute("Offset", offset);
}

} // namespace

void AddCallStackXml(TXMLItem& callStack, TReportLines section) {
    const std::vector<std::string> rows = TableRows(section);
    TXMLItem* thread = nullptr;
    bool afterEmptyRow = false;
    for (size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> cells = RowCells(rows[i]);
        if (cells.size() >= kColumns) {
            AddEntryXml(thread ? *thread : callStack, cells);
        } else if (cells[0].empty()) {
            afterEmptyRow = true;
        } else if (!IsDashLine(cells[0])) {
            thread = &callStack.AddChild(ThreadElement(cells[0], afterEmptyRow, !thread));
            AddThreadAttributes(*thread, cells[0]);
            afterEmptyRow = false;
        }
    }
}
