#include "reporter/core/interception/runtime_hooks.h"
#include "reporter/core/interception/current_exception.h"
#include "reporter/core/interception/exception_manager.h"
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include "reporter/core/interception/listed_procedures.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "runtime/application.h"
#include <cstring>
#include <cxxabi.h>
#include <unwind.h>

extern "C" _Unwind_Reason_Code __gxx_personality_v0(int, _Unwind_Action, _Unwind_Exception_Class,
                                                    _Unwind_Exception*, _Unwind_Context*);

namespace {

constexpr uint8_t kHandleExceptionId = 0;
constexpr uint8_t kShowExceptionId = 1;

using ThrowProc = decltype(&__cxxabiv1::__cxa_throw);
// The destructor argument's type as the runtime declares it (its own calling convention).
template <class> struct DestructorOf;
template <class R, class A, class B, class D> struct DestructorOf<R (*)(A, B, D)> {
    using Type = D;
};
using Destructor = DestructorOf<ThrowProc>::Type;

using PersonalityProc = decltype(&__gxx_personality_v0);
using EndCatchProc = decltype(&__cxxabiv1::__cxa_end_catch);
using HandleExceptionProc = void (TApplication::*)(TComponent*);
using ShowExceptionProc = void (TApplication::*)(const Exception&);

ThrowProc originalThrow = nullptr;
PersonalityProc originalPersonality = nullptr;
EndCatchProc originalEndCatch = nullptr;
HandleExceptionProc originalHandleException = nullptr;
ShowExceptionProc originalShowException = nullptr;
HMODULE applicationModule = nullptr;
thread_local int insideHandleException = 0;

// Jumps on into the runtime's throw rather than calling it, so that unwinding does not pass
// through a frame of ours.
void ThrowHook(void* object, std::type_info* type, Destructor destroy) {
    // Our frame pointer: above it the saved frame of the thrower, then the return address, then
    // the thrower's stack at the call.
    // Without the handler search's hook the stack is copied at once.
    void** frame = static_cast<void**>(__builtin_frame_address(0));
    RecordRaise(TRaiseKind::Throw, __builtin_return_address(0), frame + 2, frame[0],
                originalPersonality ? object : nullptr);
    return originalThrow(object, type, destroy);
}

// The runtime's handler search asks this for every frame before anything is unwound. Once it
// finds the catching frame, the stack below it is copied while it is still intact: the unwinder's
// frame address there is the catching frame's stack position at its call. The thrown object
// follows the unwinder's header of the exception.
_Unwind_Reason_Code PersonalityHook(int version, _Unwind_Action actions,
                                    _Unwind_Exception_Class kind, _Unwind_Exception* exception,
                                    _Unwind_Context* context) {
    const _Unwind_Reason_Code result =
        originalPersonality(version, actions, kind, exception, context);
    if ((actions & _UA_SEARCH_PHASE) && result == _URC_HANDLER_FOUND)
        KeepRaiseStackBelow(exception + 1, reinterpret_cast<void*>(_Unwind_GetCFA(context)));
    return result;
}

// Code addresses and non-virtual member functions, both ways: a member function pointer holds
// the code address, then a this-adjustment of 0.
template <class Member> void* CodeOf(Member member) {
    void* code;
    std::memcpy(&code, &member, sizeof code);
    return code;
}
template <class Member> Member MemberAt(void* code) {
    Member member{};
    std::memcpy(&member, &code, sizeof code);
    return member;
}

// The end of every handler block: with BehaviourFlags 0x0100, exceptions the application
// handled itself are reported there, unless this thread just handed the same one over.
void EndCatchHook() {
    if (!LookingAtHandledException() && (CurrentVessarionOptions().Stored().BehaviourFlags &
                                         BehaviourFlag::ReportHandledExceptions)) {
        const Exception* caught = HandledException();
        if (caught && !ReportedLastInThisThread(*caught, LastRaise().Address))
            ExceptionManager(caught, LastRaise().Address, 0, applicationModule, true);
    }
    return originalEndCatch();
}

// Stands in for the application object: its methods are called with the object's address,
// in the runtime's member calling convention.
struct ApplicationHooks {
    TApplication* Self() { return reinterpret_cast<TApplication*>(this); }

    void HandleException(TComponent* sender) {
        if (!ExceptionManager(HandledException(), LastRaise().Address, kPresentConsoleOrDialog,
                              applicationModule))
            return;
        ++insideHandleException;
        (Self()->*originalHandleException)(sender);
        --insideHandleException;
    }

    // Called by HandleException for an exception already processed, it shows it as it would.
    void ShowException(const Exception& e) {
        if (insideHandleException ||
            ExceptionManager(&e, LastRaise().Address, kPresentConsoleOrDialog, applicationModule))
            (Self()->*originalShowException)(e);
    }
};

template <class Member>
void HookListed(HMODULE module, const TKFDataContainer& container, uint8_t id, void* replacement,
                Member& original) {
    if (void* trampoline = HookListedProcedure(module, container, id, replacement))
        original = MemberAt<Member>(trampoline);
}

template <class Member> void UnhookMember(Member& original) {
    UnhookProcedure(CodeOf(original));
    original = nullptr;
}

} // namespace

void HookRaise() {
    originalPersonality = reinterpret_cast<PersonalityProc>(
        HookProcedure(reinterpret_cast<void*>(&__gxx_personality_v0),
                      reinterpret_cast<void*>(&PersonalityHook), "__gxx_personality_v0"));
    originalThrow = reinterpret_cast<ThrowProc>(
        HookProcedure(reinterpret_cast<void*>(&__cxxabiv1::__cxa_throw),
                      reinterpret_cast<void*>(&ThrowHook), "__cxa_throw"));
}

void HookHandlerEnd() {
    originalEndCatch = reinterpret_cast<EndCatchProc>(
        HookProcedure(reinterpret_cast<void*>(&__cxxabiv1::__cxa_end_catch),
                      reinterpret_cast<void*>(&EndCatchHook), "__cxa_end_catch"));
}

void UnhookHandlerEnd() {
    UnhookKept(originalEndCatch);
}

void UnhookRaise() {
    UnhookKept(originalThrow);
    UnhookKept(originalPersonality);
}

void HookApplicationProcedures(HMODULE module, const TKFDataContainer& container) {
    applicationModule = module;
    HookListed(module, container, kHandleExceptionId, CodeOf(&ApplicationHooks::HandleException),
               originalHandleException);
    HookListed(module, container, kShowExceptionId, CodeOf(&ApplicationHooks::ShowException),
               originalShowException);
}

void UnhookApplicationProcedures() {
    UnhookMember(originalShowException);
    UnhookMember(originalHandleException);
}
