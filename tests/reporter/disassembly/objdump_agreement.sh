#!/bin/bash
# The disassembler against the toolchain's objdump: the whole code section of ProfileUpgrade.exe
# and of a few Wine libraries, instruction by instruction. objdump_agreement (a host build of the
# decoder, made by the build) prints the agreement per image and fails on any difference that is
# not a known difference of notation.
#   objdump_agreement.sh <build-dir> [<case>]
set -u

# shellcheck source=../../checks.sh
source "$(dirname "$0")/../../checks.sh" "$@"
AGREEMENT=$BUILD/disassembly/objdump_agreement
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
WINE_LIBRARIES=/usr/lib/i386-linux-gnu/wine/i386-windows

compare() { # compare <image>
    local report
    report=$("$OBJDUMP" -d -M intel --insn-width=16 -j .text "$1" | "$AGREEMENT" "$(basename "$1")")
    local status=$?
    echo "$report"
    verdict "$(basename "$1") agrees with objdump" \
        "$([[ $status -eq 0 ]] || echo "differences above")"
}

case_program() {
    compare "$BUILD/tools/ProfileUpgrade.exe"
}

case_wine_libraries() { # ctest: LABELS unit slow
    [[ -d $WINE_LIBRARIES ]] || skip_case "Wine's libraries (none in $WINE_LIBRARIES)"
    local library
    for library in kernelbase ntdll msvcrt user32; do
        compare "$WINE_LIBRARIES/$library.dll"
    done
}

run_cases
