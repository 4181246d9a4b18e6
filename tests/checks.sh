# shellcheck shell=bash
# What every shell test here starts with: the build folder argument, BUILD and ROOT, the
# passed/failed counts, and Windows paths for Wine. Sourced with the test's own arguments:
#   source "$(dirname "$0")/../checks.sh" "$@"

if [[ $# -ne 1 || ! -d $1 ]]; then
    echo "usage: $0 <build-dir>" >&2
    exit 2
fi
# shellcheck disable=SC2034 # for the tests that source this
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

passed=0
failed=0
ok() { echo "ok $1"; passed=$((passed + 1)); }
bad() { echo "FAIL $1: $2"; failed=$((failed + 1)); }
skip() { echo "skip $1: $2"; } # not counted: a check this machine cannot make
verdict() { # verdict <name> <failure text, empty when it passed>
    if [[ -z $2 ]]; then ok "$1"; else bad "$1" "$2"; fi
}
finish() {
    echo "$passed passed, $failed failed"
    [[ $failed -eq 0 ]]
    exit
}

# A Linux path as Wine's programs see it, on drive Z:.
win() { local p=${1//\//\\}; echo "Z:$p"; }

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
