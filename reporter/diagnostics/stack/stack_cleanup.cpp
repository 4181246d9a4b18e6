#include "reporter/diagnostics/stack/stack_cleanup.h"

namespace {

bool Named(const TVessarDebugInfo& entry) {
    return entry.Detail >= kDetailProcedure && entry.Detail <= kDetailLine;
}

bool SameModule(const TVessarDebugInfo& a, const TVessarDebugInfo& b) {
    return (a.Module ? a.Module->Handle : nullptr) == (b.Module ? b.Module->Handle : nullptr);
}

void DropUnnamed(TVessarStackList& list, size_t firstAppended) {
    for (size_t i = list.Count(); i-- > firstAppended;)
        if (!Named(list[i]) || list[i].Procedure.find("HandleException") != std::string::npos)
            list.Delete(i);
}

// The next named entry after `from` in the module of `entry`; Count() when there is none.
size_t NextInModule(const TVessarStackList& list, size_t from, const TVessarDebugInfo& entry) {
    size_t next = from + 1;
    while (next < list.Count() && !(Named(list[next]) && SameModule(list[next], entry)))
        ++next;
    return next;
}

bool RepeatedLater(const TVessarStackList& list, size_t index) {
    const TVessarDebugInfo& entry = list[index];
    size_t next = NextInModule(list, index, entry);
    if (next < list.Count() && list[next].Addr != entry.Addr)
        next = NextInModule(list, next, entry);
    return next < list.Count() && list[next].Addr == entry.Addr;
}

void MarkDuplicates(TVessarStackList& list, size_t firstAppended) {
    for (size_t i = list.Count() - 1; i-- > firstAppended;)
        if (Named(list[i]) && RepeatedLater(list, i))
            list[i].Detail = kDetailNothing;
}

bool EntryPoint(const TVessarDebugInfo& entry) {
    return entry.Detail == kDetailLine && entry.ProcLine == 0;
}

// Whether the walk back from a procedure's entry point goes on past `walked`: not a position
// inside that procedure, and of the same stack.
bool PassedOver(const TVessarDebugInfo& walked, const TVessarDebugInfo& entryPoint) {
    const bool elsewhere = walked.Unit != entryPoint.Unit ||
                           walked.ClassName != entryPoint.ClassName ||
                           walked.Procedure != entryPoint.Procedure || walked.ProcLine == 0;
    return elsewhere && walked.ThreadId == entryPoint.ThreadId &&
           walked.RunningThread == entryPoint.RunningThread;
}

void MarkStaleFrames(TVessarStackList& list) {
    for (size_t e = list.Count(); e-- > 1;) {
        if (!EntryPoint(list[e]))
            continue;
        size_t stop = e - 1;
        while (stop > 0 && PassedOver(list[stop], list[e]))
            --stop;
        if (PassedOver(list[stop], list[e]))
            continue; // the walk ran out at the first entry: nothing shows the frames stale
        for (size_t i = stop + 1; i < e; ++i)
            list[i].Detail = kDetailNothing;
    }
}

} // namespace

void CleanUpStack(TVessarStackList& list, size_t firstAppended, bool dropUnnamed) {
    if (dropUnnamed)
        DropUnnamed(list, firstAppended);
    if (list.Count() > 0)
        MarkDuplicates(list, firstAppended);
    MarkStaleFrames(list);
}
