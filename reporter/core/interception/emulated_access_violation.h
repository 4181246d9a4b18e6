// Some emulators of 32-bit code (QEMU's user mode under Wine) deliver a memory fault without the
// processor's trap number, and the system then reports it as an illegal instruction with no
// arguments. The instruction itself tells what happened: when it is a valid one whose memory
// operand starts in memory that its access cannot reach, the fault was that access violation.
#pragma once
#include <windows.h>

// Fills `violation` with the access-violation record (read or write, and the address) that the
// illegal-instruction record `record` stands for; false when it stands for none, for any other
// code, or when the instruction or its operand cannot be worked out for sure.
bool RecogniseEmulatedAccessViolation(const EXCEPTION_RECORD& record, const CONTEXT& context,
                                      EXCEPTION_RECORD& violation);
