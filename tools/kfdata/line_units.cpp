#include "line_units.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"
#include <algorithm>
#include <map>

namespace {

struct FirstLine {
    uint32_t File = 0;
    uint32_t Line = 0;
};

class UnitBuilder {
  public:
    explicit UnitBuilder(const std::vector<LineEntry>& entries);

    void Add(const LineEntry& e);
    std::vector<LineUnit> Take() { return std::move(units_); }

  private:
    bool Opens(const LineEntry& e) const {
        return e.Procedure >= 0 && (e.Entry || e.Procedure != inForce_);
    }
    bool Continues(const LineEntry& e, uint32_t size) const;
    void Start(const LineEntry& e, uint32_t size);
    void Append(UnitLine line);

    std::map<int32_t, FirstLine> firstLines_;
    std::vector<LineUnit> units_;
    int32_t inForce_ = -1;
};

UnitBuilder::UnitBuilder(const std::vector<LineEntry>& entries) {
    for (const auto& e : entries)
        if (e.Entry)
            firstLines_[e.Procedure] = {e.File, e.Line};
}

bool UnitBuilder::Continues(const LineEntry& e, uint32_t size) const {
    if (units_.empty())
        return false;
    const LineUnit& u = units_.back();
    const UnitLine& last = u.Lines.back();
    if (e.Begin != u.Begin + u.Size || e.File != u.File || (e.Procedure < 0 && inForce_ >= 0))
        return false;
    if (e.Line == last.Line)
        return !Opens(e) && last.Size + size <= line_table::kLargestStep;
    return e.Line > last.Line && e.Line - last.Line <= line_table::kLargestStep;
}

void UnitBuilder::Append(UnitLine line) {
    LineUnit& u = units_.back();
    u.Size += line.Size;
    if (line.Opens >= 0)
        inForce_ = line.Opens;
    if (!u.Lines.empty() && u.Lines.back().Line == line.Line && line.Opens < 0)
        u.Lines.back().Size += line.Size;
    else
        u.Lines.push_back(line);
}

void UnitBuilder::Start(const LineEntry& e, uint32_t size) {
    units_.push_back({e.File, e.Begin, 0, {}});
    inForce_ = -1;
    if (e.Procedure >= 0 && !e.Entry) {
        auto first = firstLines_.find(e.Procedure);
        if (first != firstLines_.end() && first->second.File == e.File &&
            first->second.Line < e.Line &&
            e.Line - first->second.Line <= line_table::kLargestStep) {
            Append({first->second.Line, 0, e.Procedure});
            Append({e.Line, size, -1});
            return;
        }
    }
    Append({e.Line, size, e.Procedure});
}

void UnitBuilder::Add(const LineEntry& e) {
    // Longer pieces than one step can hold lose their end; no line is that long in practice.
    const uint32_t size = std::min(e.End - e.Begin, line_table::kLargestStep);
    if (Continues(e, size))
        Append({e.Line, size, Opens(e) ? e.Procedure : -1});
    else
        Start(e, size);
}

} // namespace

std::vector<LineUnit> LineUnits(const std::vector<LineEntry>& entries) {
    UnitBuilder builder(entries);
    for (const auto& e : entries)
        builder.Add(e);
    return builder.Take();
}
