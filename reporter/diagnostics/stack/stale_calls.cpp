#include "reporter/diagnostics/stack/stale_calls.h"
#include <limits>
#include <map>
#include <tuple>
#include <vector>

namespace {

// Each entry on the chain gains this much; a link that does not hold costs more, so that an
// entry reached that way stays only when a later entry's call confirms it.
constexpr int kEntryGain = 2;
constexpr int kBrokenLinkCost = 3;
constexpr int kNone = -1;

bool Named(const TVessarDebugInfo& entry) {
    return entry.Detail >= kDetailProcedure && entry.Detail <= kDetailLine;
}

// Procedures by number, so that links are compared cheaply.
class TProcedures {
  public:
    int Of(const TVessarDebugInfo& entry) {
        if (!Named(entry) || !entry.Module)
            return kNone;
        const auto key = std::make_tuple(entry.Module->Handle, entry.ClassName, entry.Procedure);
        return numbers_.try_emplace(key, int(numbers_.size())).first->second;
    }

  private:
    std::map<std::tuple<HMODULE, std::string, std::string>, int> numbers_;
};

// The procedure the entry's direct call enters, when debug data names it (export names alone do
// not tell where a procedure ends); kNone when the call cannot be checked.
int CalleeOf(const TVessarDebugInfo& entry, const TLocateAddress& locate, TProcedures& numbers) {
    TVessarDebugInfo callee;
    if (!entry.CallTarget ||
        !locate(reinterpret_cast<const void*>(uintptr_t(entry.CallTarget)), callee) ||
        callee.Detail < kDetailUnit || callee.Detail > kDetailLine)
        return kNone;
    return numbers.Of(callee);
}

struct TLinks {
    std::vector<int> Procedure; // by entry, from the first one of the scan
    std::vector<int> Callee;
    bool FirstIsUnknown = false; // a fault outside known code says nothing of who called there

    bool Holds(size_t from, size_t to) const {
        return Callee[to] == kNone || Procedure[from] == Callee[to] ||
               (from == 0 && FirstIsUnknown);
    }
};

// The best chain's entries, as a mark per entry.
std::vector<bool> BestChain(const TLinks& links) {
    const size_t count = links.Callee.size();
    std::vector<int> score(count, 0);
    std::vector<size_t> previous(count, 0);
    size_t end = 0;
    for (size_t to = 1; to < count; ++to) {
        score[to] = std::numeric_limits<int>::min();
        for (size_t from = 0; from < to; ++from) {
            const int reached =
                score[from] + kEntryGain - (links.Holds(from, to) ? 0 : kBrokenLinkCost);
            if (reached >= score[to]) {
                score[to] = reached;
                previous[to] = from;
            }
        }
        if (score[to] >= score[end])
            end = to;
    }
    std::vector<bool> onChain(count, false);
    for (size_t at = end; at != 0; at = previous[at])
        onChain[at] = true;
    onChain[0] = true;
    return onChain;
}

} // namespace

void MarkStaleCalls(TVessarStackList& list, size_t firstAppended, const TLocateAddress& locate) {
    if (firstAppended >= list.Count())
        return;
    TProcedures numbers;
    TLinks links;
    for (size_t i = firstAppended; i < list.Count(); ++i) {
        links.Procedure.push_back(numbers.Of(list[i]));
        links.Callee.push_back(i == firstAppended ? kNone : CalleeOf(list[i], locate, numbers));
    }
    links.FirstIsUnknown = links.Procedure[0] == kNone;
    const std::vector<bool> onChain = BestChain(links);
    for (size_t i = 0; i < onChain.size(); ++i)
        if (!onChain[i])
            list[firstAppended + i].Detail = kDetailNothing;
}
