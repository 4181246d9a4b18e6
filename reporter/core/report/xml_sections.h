// The XML elements of a report's sections, each read from the section's lines (title first).
#pragma once
#include "reporter/base/xml_item.h"
#include <span>
#include <string>
#include <vector>

using TReportLines = std::span<const std::string>;

// The groups of the general part.
void AddGeneralXml(TXMLItem& general, TReportLines lines);
// Thread elements holding the rows of their blocks.
void AddCallStackXml(TXMLItem& callStack, TReportLines section);
// One `element` per table row, its cells as the attributes `names`.
void AddTableXml(TXMLItem& parent, TReportLines section, const std::string& element,
                 const std::vector<std::string>& names);
void AddAssemblerXml(TXMLItem& assembler, TReportLines section);
void AddCpuXml(TXMLItem& cpu, TReportLines section);

// The header row of a table, then its other rows.
std::vector<std::string> TableRows(TReportLines section);
// The trimmed cells of a "|"-separated row.
std::vector<std::string> RowCells(const std::string& row);
