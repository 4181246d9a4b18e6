// Procedures whose bytes the tests know: the export fallback measures them, and debug files
// written beside copies of this library describe them.
asm(R"(
        .text
        .p2align 4, 0xCC
        .globl _plain_procedure
_plain_procedure:
        movl 4(%esp), %eax
        addl $1, %eax
        ret
        .p2align 4, 0xCC
# A return's byte inside an operand: only instruction decoding finds the real end.
        .globl _dotted_procedure
_dotted_procedure:
        movl $0xC3, %eax
        ret
        .p2align 4, 0xCC
        .globl _mangled_procedure
_mangled_procedure:
        xorl %eax, %eax
        ret
        .p2align 4, 0xCC
)");
