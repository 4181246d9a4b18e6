// The report's section titles and its fixed-width tables: "|"-separated rows between dash
// lines, each column as wide as its widest cell.
#pragma once
#include <string>
#include <vector>

// "Title:" and its line end.
std::string SectionTitle(const std::string& title);
// A section left empty by the options: its title underlined, then an empty line.
std::string ShortSection(const std::string& title);

class TTextTable {
  public:
    TTextTable(std::vector<std::string> labels, size_t firstColumnMinimum);

    // Widens the columns to hold `cells`, one per column.
    void Fit(const std::vector<std::string>& cells);
    // Widens the last column so that a row of one cell holds `text`.
    void FitWholeRow(const std::string& text);

    size_t ColumnWidth(size_t column) const { return widths_[column]; }
    // Between the outer "|" of a row.
    size_t InnerWidth() const;

    // The dash line, the header row and the dash line again.
    std::string Header() const;
    std::string DashLine() const;
    std::string Row(const std::vector<std::string>& cells) const;
    // "|", `text` padded to the inner width, "|".
    std::string WholeRow(const std::string& text) const;
    // A whole row of "-".
    std::string SeparatorRow() const;

  private:
    std::vector<std::string> labels_;
    std::vector<size_t> widths_;
};
