# shellcheck shell=bash
# What every shell test here starts with. A test is a script of cases: each case is a function
# `case_<name>` whose checks report through `verdict`, `ok`, `bad` and `skip`. CTest runs one
# case per test; by hand, all run in the order they are written:
#   run.sh <build-dir> [<case>]
# Sourced with the test's own arguments; the script ends with `run_cases`:
#   source "$(dirname "$0")/../checks.sh" "$@"
# A case line may carry CTest properties for its test: `case_x() { # ctest: LABELS slow`.

if [[ $# -lt 1 || $# -gt 2 || ! -d $1 ]]; then
    echo "usage: $0 <build-dir> [<case>]" >&2
    exit 2
fi
# shellcheck disable=SC2034 # for the tests that source this
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CASE=${2:-}
# The test's script, as its cases are listed from it.
TEST_SCRIPT=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
# Sample tables of the original engine: one setting for every test (CMake's PARADOX_SAMPLES),
# and one for its legacy families (PARADOX_LEGACY_SAMPLES).
SAMPLES=${PARADOX_SAMPLES:-$ROOT/../shared/paradox-samples}
LEGACY=${PARADOX_LEGACY_SAMPLES:-$ROOT/../shared/paradox-legacy}
# A folder that outlives one case, for what a case leaves for others (CTest fixtures).
SHARED_WORK=$BUILD/test-work/$(basename "$(dirname "$TEST_SCRIPT")")-$(basename "$TEST_SCRIPT" .sh)

passed=0
failed=0
ok() { echo "ok $1"; passed=$((passed + 1)); }
bad() { echo "FAIL $1: $2"; failed=$((failed + 1)); }
skip() { echo "skip $1: $2"; } # not counted: a check this machine cannot make
verdict() { # verdict <name> <failure text, empty when it passed>
    if [[ -z $2 ]]; then ok "$1"; else bad "$1" "$2"; fi
}
# skip_case <what is not checked>: the whole case cannot run here (CTest shows it skipped).
skip_case() {
    echo "skipped: $1"
    exit 77
}
# need_samples <what is not checked>: skips the case when the sample tables are absent.
need_samples() {
    [[ -d $SAMPLES ]] || skip_case "$1 (no sample tables in $SAMPLES)"
}
# need_legacy <what is not checked>: likewise for the legacy sample families.
need_legacy() {
    [[ -d $LEGACY ]] || skip_case "$1 (no legacy sample tables in $LEGACY)"
}

case_names() {
    sed -n 's/^case_\([a-z0-9_]*\)() {.*/\1/p' "$TEST_SCRIPT"
}

run_cases() {
    local name counts p f
    if [[ -n $CASE ]]; then
        if ! case_names | grep -qx "$CASE"; then
            echo "$0: no case '$CASE'; cases: $(case_names | tr '\n' ' ')" >&2
            exit 2
        fi
        "case_$CASE"
    else
        counts=$(mktemp /tmp/checks-counts.XXXXXX)
        for name in $(case_names); do
            echo "== $name"
            # Each case in a subshell of its own: a skipped case ends only itself.
            (
                passed=0 failed=0
                "case_$name"
                echo "$passed $failed" >"$counts"
            )
            read -r p f <"$counts" || { p=0 f=0; }
            : >"$counts"
            passed=$((passed + ${p:-0})) failed=$((failed + ${f:-0}))
        done
        rm -f "$counts"
    fi
    echo "$passed passed, $failed failed"
    [[ $failed -eq 0 ]]
    exit
}

# A Linux path as Wine's programs see it, on drive Z:.
win() { local p=${1//\//\\}; echo "Z:$p"; }

# code_pattern <program>: a pattern for an address in the program's code section, to whole
# megabytes (the code grows with the crash reporter; it stays below 16 MB).
code_pattern() {
    local size vma
    read -r size vma < <(i686-w64-mingw32-objdump -h "$1" | awk '$2 == ".text" { print $3, $4 }')
    printf '00[%X-%X][0-9A-F]{5}' $((0x$vma >> 20)) $(((0x$vma + 0x$size - 1) >> 20))
}

# The first lines of an error output, on one line for a failure message.
errtext() { tr -d '\r' <"$1" | grep -v '^$' | head -2 | tr '\n' ' ' | cut -c1-200; }

# pdx <out> <err> <args...>: one run of $TOOL (pdxtool); stdout lands in <out> with CRLF made LF.
pdx() {
    local out=$1 err=$2 rc
    shift 2
    "$ROOT/scripts/wine-run" "$TOOL" "$@" >"$out.raw" 2>"$err"
    rc=$?
    tr -d '\r' <"$out.raw" >"$out"
    return $rc
}
