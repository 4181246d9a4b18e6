#include "reporter/core/report/text_table.h"
#include "reporter/core/report/report_text.h"
#include <algorithm>

std::string SectionTitle(const std::string& title) {
    return title + ":" + kCrLf;
}

std::string ShortSection(const std::string& title) {
    return SectionTitle(title) + std::string(title.size() + 1, '-') + kCrLf + kCrLf;
}

TTextTable::TTextTable(std::vector<std::string> labels, size_t firstColumnMinimum)
    : labels_(std::move(labels)), widths_(labels_.size()) {
    Fit(labels_);
    widths_[0] = std::max(widths_[0], firstColumnMinimum);
}

void TTextTable::Fit(const std::vector<std::string>& cells) {
    for (size_t i = 0; i < widths_.size() && i < cells.size(); ++i)
        widths_[i] = std::max(widths_[i], cells[i].size());
}

void TTextTable::FitWholeRow(const std::string& text) {
    if (text.size() > InnerWidth())
        widths_.back() += text.size() - InnerWidth();
}

size_t TTextTable::InnerWidth() const {
    size_t width = widths_.size() - 1;
    for (size_t columnWidth : widths_)
        width += columnWidth;
    return width;
}

std::string TTextTable::Header() const {
    return DashLine() + Row(labels_) + DashLine();
}

std::string TTextTable::DashLine() const {
    return std::string(InnerWidth() + 2, '-') + kCrLf;
}

std::string TTextTable::Row(const std::vector<std::string>& cells) const {
    std::string row = "|";
    for (size_t i = 0; i < widths_.size(); ++i)
        row += PaddedRight(i < cells.size() ? cells[i] : std::string(), widths_[i]) + "|";
    return row + kCrLf;
}

std::string TTextTable::WholeRow(const std::string& text) const {
    return "|" + PaddedRight(text, InnerWidth()) + "|" + kCrLf;
}

std::string TTextTable::SeparatorRow() const {
    return WholeRow(std::string(InnerWidth(), '-'));
}
