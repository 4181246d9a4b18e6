#!/bin/bash
# Freeze detection and restart in a program that carries the crash reporter: a main window that
# stops answering for longer than FreezeSeconds is reported once, from the main thread where it
# stands; one that answers is not; the options switch detection off and on; a restart starts
# the program again with its command line in its start directory and ends with exit code 1; a
# frozen main window that is minimised is reported without waiting for it.
#   run.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env.
set -u
source "$(dirname "$0")/../../checks.sh" "$@"
PROGRAM=$BUILD/tests/reporter/freeze/freeze_program.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-180}

# Each case runs in a folder of its own, its start directory, removed when the case ends.
new_work() {
    WORK=$(mktemp -d /tmp/freeze-test.XXXXXX)
    trap 'rm -rf "$WORK"' EXIT
    cd "$WORK" || exit 2
}

# The program's standard error with its phase lines and, between them, one line per report:
# for now the hand-over's own line.
reports_and_phases() {
    tr -d '\r' <"$WORK/err" | grep -E '^(phase |Vessarion: handed over )'
}
# The reports made during phase $1.
reports_in() {
    reports_and_phases | sed -n "/^phase $1\$/,/^phase /p" | grep '^Vessarion: handed over '
}
# check_phase <phase> <expected count> [pattern every report matches]
check_phase() {
    local phase=$1 count=$2 pattern=${3:-} reports
    reports=$(reports_in "$phase")
    if [[ $(grep -c . <<<"$reports") -ne $count ]]; then
        bad "$phase" "$(grep -c . <<<"$reports") reports, expected $count: $(reports_and_phases | tr '\n' '|')"
    elif [[ -n $pattern ]] && grep -Evq "$pattern" <<<"$reports"; then
        bad "$phase" "not $pattern: $reports"
    else
        ok "$phase"
    fi
}

# One run through the phases: its main window answers, freezes, and freezes again with
# detection switched off and then on.
case_freeze() { # ctest: RESOURCE_LOCK display
    local rc main frozen
    new_work
    "$ROOT/scripts/wine-run" "$PROGRAM" freeze >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    main=$(tr -d '\r' <"$WORK/err" | sed -n 's/^main thread //p')
    frozen="^Vessarion: handed over EFrozenApplication at $(code_pattern "$PROGRAM"), unhandled, thread $main, thrown, to freeze_program.exe: The application seems to be frozen.$"
    check_phase answering 0
    check_phase frozen 1 "$frozen"
    check_phase "switched off" 0
    check_phase "switched on" 1 "$frozen"
    verdict "freeze detection stopped at shut-down" "$([[ $rc -eq 0 ]] || echo "exit code $rc: $(errtext "$WORK/err")")"
}

case_restart() {
    local rc marker parent child
    new_work
    # The new process outlives the one that started it: wait for its line.
    marker=$WORK/restart.txt
    "$ROOT/scripts/wine-run" "$PROGRAM" restart "$(win "$marker")" >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    for _ in $(seq 1 120); do
        [[ $(grep -c '^child: ' "$marker" 2>/dev/null) -ge 1 ]] && break
        sleep 0.5
    done
    parent=$(tr -d '\r' <"$marker" 2>/dev/null | sed -n 's/^parent: //p')
    child=$(tr -d '\r' <"$marker" 2>/dev/null | sed -n 's/^child: //p')
    verdict "restart ends the process with exit code 1" "$([[ $rc -eq 1 ]] || echo "exit code $rc")"
    verdict "restart: same command line, start directory" "$([[ -n $parent && $child == "$parent" ]] ||
        echo "parent \"$parent\", child \"$child\"")"
}

# A minimised main window whose thread answers nothing: restoring it for the report's message box
# must not wait for that thread. The freeze is reported, and a later exception too.
case_frozen_minimised_window() { # ctest: RESOURCE_LOCK display
    local rc
    new_work
    "$ROOT/scripts/wine-run" "$BUILD/tests/reporter/freeze/frozen_window_program.exe" >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    tr -d '\r' <"$WORK/out" >"$WORK/text"
    verdict "the main window is minimised" "$(grep -qx 'minimised: yes' "$WORK/text" || echo "$(head -1 "$WORK/text")")"
    verdict "frozen and minimised: reported, then a later exception, then the program ends" "$(
        diff <(grep -E '^(reported|later)' "$WORK/text") - <<<'reported: EFrozenApplication: The application seems to be frozen.
reported: Exception: raised after the freeze
later exception reported: yes' >/dev/null && [[ $rc -eq 0 ]] ||
            echo "exit $rc: $(tr '\n' ' ' <"$WORK/text") $(errtext "$WORK/err")")"
}

run_cases
