// Exceptions of the processor and the system as exception objects, and the runtime's routine
// that makes one from an exception record. The routine is held in a variable so that the crash
// reporter can wrap it.
#pragma once
#include "runtime/exception.h"
#include <windows.h>

// An exception that the system raised; keeps its record.
class EExternal : public Exception {
  public:
    EExternal(std::string message, const EXCEPTION_RECORD& record);
    const EXCEPTION_RECORD& ExceptionRecord() const { return record_; }

  private:
    EXCEPTION_RECORD record_;
};

class EExternalException : public EExternal {
    using EExternal::EExternal;
};
class EAccessViolation : public EExternal {
    using EExternal::EExternal;
};
class EStackOverflow : public EExternal {
    using EExternal::EExternal;
};
class EPrivilege : public EExternal {
    using EExternal::EExternal;
};
class EControlC : public EExternal {
    using EExternal::EExternal;
};
class EIntError : public EExternal {
    using EExternal::EExternal;
};
class EDivByZero : public EIntError {
    using EIntError::EIntError;
};
class EIntOverflow : public EIntError {
    using EIntError::EIntError;
};
class EMathError : public EExternal {
    using EExternal::EExternal;
};
class EZeroDivide : public EMathError {
    using EMathError::EMathError;
};
class EOverflow : public EMathError {
    using EMathError::EMathError;
};
class EUnderflow : public EMathError {
    using EMathError::EMathError;
};
class EInvalidOp : public EMathError {
    using EMathError::EMathError;
};

// Makes a new exception object for the record; the caller owns it. `context` may be null.
using TExceptObjProc = Exception* (*)(const EXCEPTION_RECORD* record, const CONTEXT* context);
extern TExceptObjProc ExceptObjProc;

// The runtime's own conversion: the class by exception code (EExternalException for codes it
// does not know), the message from the runtime's texts.
Exception* CreateOSExceptionObject(const EXCEPTION_RECORD* record, const CONTEXT* context);

// The exception by which a program names a thread for a debugger (code 0x406D1388, four
// arguments): no error at all.
bool IsThreadNamingException(const EXCEPTION_RECORD& record);

// "External exception C0000005": the text of an exception the runtime has no class for.
std::string ExternalExceptionMessage(DWORD code);
