#include "runtime/os_exceptions.h"
#include "runtime/format.h"
#include "runtime/module_names.h"

namespace {

// "Access violation at address 00401234 in module 'app.exe'. Read of address 00000000"
std::string AccessViolationMessage(const EXCEPTION_RECORD& r) {
    const char* access = "Read";
    if (r.NumberParameters >= 2 && r.ExceptionInformation[0] == 1)
        access = "Write";
    else if (r.NumberParameters >= 2 && r.ExceptionInformation[0] == 8)
        access = "Execution";
    const uintptr_t target = r.NumberParameters >= 2 ? r.ExceptionInformation[1] : 0;
    const HMODULE module = ModuleAt(r.ExceptionAddress);
    const std::string where = module ? " in module '" + ModuleFileName(module) + "'" : "";
    return Format("Access violation at address %08X%s. %s of address %08X",
                  unsigned(uintptr_t(r.ExceptionAddress)), where.c_str(), access, unsigned(target));
}

template <class E> Exception* Make(const char* message, const EXCEPTION_RECORD& r) {
    return new E(message, r);
}

} // namespace

EExternal::EExternal(std::string message, const EXCEPTION_RECORD& record)
    : Exception(std::move(message)), record_(record) {
    record_.ExceptionRecord = nullptr; // the chain belongs to the raising frame
}

bool IsThreadNamingException(const EXCEPTION_RECORD& record) {
    return record.ExceptionCode == 0x406D1388 && record.NumberParameters == 4;
}

std::string ExternalExceptionMessage(DWORD code) {
    return Format("External exception %X", unsigned(code));
}

Exception* CreateOSExceptionObject(const EXCEPTION_RECORD* record, const CONTEXT*) {
    const EXCEPTION_RECORD& r = *record;
    switch (r.ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
        return new EAccessViolation(AccessViolationMessage(r), r);
    case EXCEPTION_STACK_OVERFLOW:
        return Make<EStackOverflow>("Stack overflow", r);
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        return Make<EDivByZero>("Division by zero", r);
    case EXCEPTION_INT_OVERFLOW:
        return Make<EIntOverflow>("Integer overflow", r);
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
        return Make<EZeroDivide>("Floating point division by zero", r);
    case EXCEPTION_FLT_OVERFLOW:
        return Make<EOverflow>("Floating point overflow", r);
    case EXCEPTION_FLT_UNDERFLOW:
        return Make<EUnderflow>("Floating point underflow", r);
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_STACK_CHECK:
        return Make<EInvalidOp>("Invalid floating point operation", r);
    case EXCEPTION_PRIV_INSTRUCTION:
        return Make<EPrivilege>("Privileged instruction", r);
    case CONTROL_C_EXIT:
        return Make<EControlC>("Control-C hit", r);
    default:
        return new EExternalException(ExternalExceptionMessage(r.ExceptionCode), r);
    }
}

TExceptObjProc ExceptObjProc = CreateOSExceptionObject;
