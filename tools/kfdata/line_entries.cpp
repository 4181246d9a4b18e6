#include "line_entries.h"
#include <algorithm>

namespace {

// Code that belongs to a procedure, or to an inlined call.
struct Interval {
    uint32_t Begin = 0;
    uint32_t End = 0;
    int32_t Procedure = -1;
    bool Entry = false; // the procedure's first range
    uint32_t File = 0;  // of the call
    uint32_t Line = 0;
};

// Joins the piece before when it goes on from it with the same line in the same procedure.
void Append(std::vector<LineEntry>& pieces, const LineEntry& e) {
    const bool joins = !pieces.empty() && pieces.back().End == e.Begin &&
                       pieces.back().File == e.File && pieces.back().Line == e.Line &&
                       pieces.back().Procedure == e.Procedure && !e.Entry;
    if (joins)
        pieces.back().End = e.End;
    else
        pieces.push_back(e);
}

void AddSequence(const DwarfSequence& s, uint32_t codeBegin, uint32_t codeEnd,
                 std::vector<LineEntry>& pieces) {
    for (size_t i = 0; i < s.Rows.size(); ++i) {
        const DwarfLineRow& row = s.Rows[i];
        const uint32_t end = i + 1 < s.Rows.size() ? s.Rows[i + 1].Address : s.End;
        if (end <= row.Address || row.Address < codeBegin || end > codeEnd)
            continue; // empty, or code the linker dropped
        if (row.Line != 0 && row.File != 0)
            Append(pieces, {row.Address, end, row.File, row.Line});
        else if (!pieces.empty() && pieces.back().End == row.Address)
            pieces.back().End = end;
    }
}

// Sorted by address; an item that overlaps the one before keeps only what lies after it.
template <class T> void SortWithoutOverlaps(std::vector<T>& items) {
    std::sort(items.begin(), items.end(), [](const T& a, const T& b) { return a.Begin < b.Begin; });
    std::vector<T> kept;
    for (T item : items) {
        if (!kept.empty())
            item.Begin = std::max(item.Begin, kept.back().End);
        if (item.Begin < item.End)
            kept.push_back(item);
    }
    items = std::move(kept);
}

std::vector<Interval> ProcedureIntervals(const std::vector<DwarfProcedure>& procedures) {
    std::vector<Interval> intervals;
    for (size_t p = 0; p < procedures.size(); ++p)
        for (size_t r = 0; r < procedures[p].Ranges.size(); ++r)
            intervals.push_back(
                {procedures[p].Ranges[r].Begin, procedures[p].Ranges[r].End, int32_t(p), r == 0});
    SortWithoutOverlaps(intervals);
    return intervals;
}

std::vector<Interval> CallIntervals(const DwarfLines& lines,
                                    const std::vector<DwarfInlinedCall>& calls) {
    std::vector<Interval> intervals;
    for (const auto& call : calls) {
        auto files = lines.ProgramFiles.find(call.LineProgram);
        if (files == lines.ProgramFiles.end() || call.File >= files->second.size() ||
            call.Line == 0)
            continue;
        const uint32_t file = files->second[call.File];
        for (const auto& r : call.Ranges)
            intervals.push_back({r.Begin, r.End, -1, false, file, call.Line});
    }
    SortWithoutOverlaps(intervals);
    return intervals;
}

// Walks sorted intervals that do not overlap along addresses that only go up: the interval
// holding an address and the next one after it, in one pass over both.
class IntervalWalk {
  public:
    explicit IntervalWalk(const std::vector<Interval>& intervals) : intervals_(intervals) {}

    void MoveTo(uint32_t address) {
        while (after_ < intervals_.size() && intervals_[after_].Begin <= address)
            ++after_;
        address_ = address;
    }
    // The interval holding the address, or null.
    const Interval* Holding() const {
        return after_ > 0 && intervals_[after_ - 1].End > address_ ? &intervals_[after_ - 1]
                                                                   : nullptr;
    }
    // The first interval that begins after the address, or null.
    const Interval* Next() const {
        return after_ < intervals_.size() ? &intervals_[after_] : nullptr;
    }

  private:
    const std::vector<Interval>& intervals_;
    size_t after_ = 0; // intervals beginning at or before the address
    uint32_t address_ = 0;
};

// Where the part of `e` from its start ends: at the next interval's start, and with `atEnds`
// also where the interval holding its start ends.
uint32_t NextCut(const IntervalWalk& walk, const LineEntry& e, bool atEnds) {
    uint32_t cut = e.End;
    if (const Interval* next = walk.Next())
        cut = std::min(cut, next->Begin);
    const Interval* holding = walk.Holding();
    if (atEnds && holding)
        cut = std::min(cut, holding->End);
    return cut;
}

// Cuts every piece at the intervals' bounds and hands each part, with the interval holding its
// start (null when none), to `apply`. The pieces are in address order and do not overlap.
template <class Apply>
std::vector<LineEntry> CutAt(const std::vector<LineEntry>& pieces,
                             const std::vector<Interval>& intervals, bool atEnds, Apply apply) {
    std::vector<LineEntry> parts;
    parts.reserve(pieces.size());
    IntervalWalk walk(intervals);
    for (LineEntry rest : pieces) {
        while (rest.Begin < rest.End) {
            walk.MoveTo(rest.Begin);
            LineEntry part = rest;
            part.End = NextCut(walk, rest, atEnds);
            Append(parts, apply(part, walk.Holding()));
            rest.Begin = part.End;
        }
    }
    return parts;
}

LineEntry AtCall(LineEntry e, const Interval* call) {
    if (call) {
        e.File = call->File;
        e.Line = call->Line;
    }
    return e;
}

LineEntry InProcedure(LineEntry e, const Interval* procedure) {
    if (procedure) {
        e.Procedure = procedure->Procedure;
        e.Entry = procedure->Entry && procedure->Begin == e.Begin;
    }
    return e;
}

} // namespace

std::vector<LineEntry> LineEntries(const DwarfLines& lines, const DwarfProcedures& procedures,
                                   uint32_t codeBegin, uint32_t codeEnd) {
    std::vector<LineEntry> pieces;
    for (const auto& s : lines.Sequences)
        AddSequence(s, codeBegin, codeEnd, pieces);
    SortWithoutOverlaps(pieces);
    pieces = CutAt(pieces, CallIntervals(lines, procedures.InlinedCalls), true, AtCall);
    return CutAt(pieces, ProcedureIntervals(procedures.Procedures), false, InProcedure);
}
