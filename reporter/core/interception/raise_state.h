// What the crash reporter keeps of a thread's last raise: where it was thrown, the stack and
// frame positions, and a copy of the live stack, so that a report made after the frames were
// unwound (a handled exception seen at the end of its handler) can still trace them.
//
// A C++ throw's copy is taken in parts, as most throws are handled close to where they were
// thrown and never reported: when the handler search finds the frame that catches it, the stack
// below that frame (which the unwinding and the handler will overwrite) is copied; the rest,
// still live while the handler runs, only when the exception is handed over.
#pragma once
#include <cstdint>
#include <windows.h>

constexpr size_t kRaiseStackCopyLimit = 102400;

// Plain data, so that a thread reaches its own without any construction on the raise path.
struct TRaiseState {
    void* Address;       // the instruction after the raising call; null before the first raise
    void* StackPosition; // the raiser's stack pointer
    void* Frame;         // the raiser's frame pointer
    uint32_t StackSize;  // bytes of Stack in use: from StackPosition up to the stack's base
    uint32_t Sequence;   // counts the thread's raises: tells two raises at one place apart
    const void* Thrown;  // the thrown object while the copy is still to be completed, else null
    uint8_t Stack[kRaiseStackCopyLimit];
};

// A C++ throw, or an exception raised through the system's raise call.
enum class TRaiseKind { Throw, System };

// Records a raise of the calling thread. A C++ throw that names its object (`thrown`) leaves
// the stack copy to the handler search and the hand-over; any other raise copies it now.
void RecordRaise(TRaiseKind kind, void* address, void* stackPosition, void* frame,
                 const void* thrown = nullptr);
// The handler search found the frame that catches `thrown`, which stood at `position` when it
// made its call: the stack below that is copied, as the unwinding will overwrite it.
void KeepRaiseStackBelow(const void* thrown, const void* position);
// The exception of the last raise is handed over: the copy is completed from the live stack.
void CompleteRaiseStack();
// The calling thread's last raise; empty Address when it raised nothing yet.
const TRaiseState& LastRaise();
// Once its exception is processed, the raise's stack is of no more use; where it was raised
// stays known, so that its handler's end does not report it again.
void ForgetRaiseStack();

// Whether the last exception this module's crash reporter saw raised, in any thread, was a
// C++ throw rather than an exception of the system.
bool LastRaiseWasThrow();
// A system exception (a fault) met on its way to becoming an exception object.
void NoteSystemException();

// The stack of a thread whose system exception (a fault) is handled and its frames unwound:
// taken before the unwinding, for tracing the exception afterwards.
struct TUnwoundStack {
    DWORD ThreadId; // 0 when none was taken
    void* Address;  // the exception's address
    void* StackPosition;
    uint32_t StackSize;
    uint8_t Stack[kRaiseStackCopyLimit];
};
// Takes the calling thread's stack from `stackPosition` to its base, up to 100 KB.
void KeepUnwoundStack(void* address, void* stackPosition);
// A copy of the last one taken.
void CopyUnwoundStack(TUnwoundStack& copy);
