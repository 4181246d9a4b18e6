#!/bin/bash
# Every way a program can fail reaches the crash reporter's hand-over exactly once, in the
# thread that failed, with the exception's class; EAbort and the thread-naming exception never.
# The process ends as the failure demands: exit code 1 after an exception nothing handled,
# the exception code after a system exception.
#   run.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env.
set -u
source "$(dirname "$0")/../../checks.sh" "$@"
PROGRAM=$BUILD/tests/reporter/interception/crash_program.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-120}

# Each case runs in a folder of its own, removed when the case ends.
new_work() {
    WORK=$(mktemp -d /tmp/interception-test.XXXXXX)
    trap 'rm -rf "$WORK"' EXIT
}

# check <way> <thread|""> <exit code, empty: any> <class, empty: no hand-over> [thread's end code]
# The class may go on as a pattern: "Exception $IN_PROGRAM, unhandled" (an address in the
# program's own code, not handled by the program). The hand-over must name the thread that the
# program says is failing. An exception that reaches the application object's handler is the
# crash reporter's: the application's own handling does not run.
check() {
    local way=$1 thread=$2 code=$3 class=$4 ended=${5:-} name="$1${2:+ in a $2}" rc lines failing
    "$ROOT/scripts/wine-run" "$PROGRAM" "$way" $thread >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    lines=$(tr -d '\r' <"$WORK/err" | grep -c '^Vessarion: handed over ')
    failing=$(tr -d '\r' <"$WORK/out" | sed -n 's/^failing in thread //p' | tail -n 1)
    if [[ -n $class ]] && [[ $lines -ne 1 ]]; then
        bad "$name" "$lines hand-overs: $(errtext "$WORK/err")"
    elif [[ -n $class ]] && ! grep -Eq "^Vessarion: handed over $class" "$WORK/err"; then
        bad "$name" "not $class: $(errtext "$WORK/err")"
    elif [[ -n $class ]] && ! grep -q "^Vessarion: handed over .*, thread $failing, " "$WORK/err"; then
        bad "$name" "not in the failing thread $failing: $(errtext "$WORK/err")"
    elif [[ -z $class && $lines -ne 0 ]]; then
        bad "$name" "handed over: $(errtext "$WORK/err")"
    elif [[ $way == handled* ]] && grep -q "^application handled: " "$WORK/out"; then
        bad "$name" "the application's handler ran as well: $(tr -d '\r' <"$WORK/out")"
    elif [[ -n $ended ]] && ! grep -Eq "^(library )?thread ended $ended" "$WORK/out"; then
        bad "$name" "thread end: $(tr -d '\r' <"$WORK/out") (exit $rc)"
    elif [[ -n $code && $rc -ne $code ]]; then
        bad "$name" "exit code $rc, expected $code"
    else
        ok "$name"
    fi
}

# Exit codes as the shell sees them: the low byte of the Windows code. A thread's exception
# that nothing handled ends that thread only; a system exception ends the process. Where 32-bit
# code runs emulated, the system reports an access violation as an illegal instruction: the
# crash reporter must still take it for what it was, and end the process with its code.
ACCESS_CODE=$((0xC0000005 & 255)) ACCESS_CLASS=EAccessViolation
IN_PROGRAM="at $(code_pattern "$PROGRAM")"
THROWN="unhandled, thread [0-9]+, thrown"
SYSTEM="unhandled, thread [0-9]+, system"

case_throw() {
    new_work
    check throw "" 1 "Exception $IN_PROGRAM, $THROWN"
    check throw thread 0 "Exception $IN_PROGRAM, $THROWN" 1
    check throw std-thread 0 "Exception $IN_PROGRAM, $THROWN"
}

case_foreign_throw() {
    new_work
    check foreign-throw "" 1 "Exception $IN_PROGRAM, $THROWN, to crash_program.exe: a standard error"
}

case_handled() {
    new_work
    check handled "" 0 "Exception $IN_PROGRAM, $THROWN"
    check caught "" 0 "Exception $IN_PROGRAM, handled, thread [0-9]+, thrown"
    check handled-caught "" 0 "Exception $IN_PROGRAM, $THROWN"
}

case_library() {
    new_work
    check library "" 0 "Exception at [0-9A-F]{8}, $THROWN, to crash_program.exe: thrown in the library" 1
}

case_never_handed_over() {
    new_work
    check abort "" 1 ""
    check thread-name "" "" ""
}

case_access_violation() {
    new_work
    check access "" "$ACCESS_CODE" "$ACCESS_CLASS at [0-9A-F]{8}, $SYSTEM"
    check access thread "$ACCESS_CODE" "$ACCESS_CLASS at [0-9A-F]{8}, $SYSTEM"
}

case_stack_overflow() {
    new_work
    check overflow "" $((0xC00000FD & 255)) "EStackOverflow at [0-9A-F]{8}, $SYSTEM"
    check overflow thread $((0xC00000FD & 255)) "EStackOverflow at [0-9A-F]{8}, $SYSTEM"
}

case_foreign_exception() {
    new_work
    check foreign "" $((0xE0001234 & 255)) "EExternalException at [0-9A-F]{8}, $SYSTEM"
}

case_restore() {
    new_work
    "$ROOT/scripts/wine-run" "$PROGRAM" restore >"$WORK/out" 2>"$WORK/err" </dev/null
    if [[ $(tr -d '\r' <"$WORK/out" | grep -c ': patched, restored$') -eq 3 ]]; then
        ok "patched code restored at shut-down"
    else
        bad "patched code restored at shut-down" "$(tr -d '\r' <"$WORK/out" | tr '\n' ' ')"
    fi
}

case_cgi_page() {
    new_work
    GATEWAY_INTERFACE=CGI/1.1 "$ROOT/scripts/wine-run" "$PROGRAM" cgi >"$WORK/out" 2>"$WORK/err" </dev/null
    if tr -d '\r' <"$WORK/err" | grep -qx 'page file: <html>served</html>'; then
        ok "CGI page kept"
    else
        bad "CGI page kept" "$(errtext "$WORK/err")"
    fi
}

# Inside the development environment nothing is hooked: the runtime's own handling remains.
case_development_environment() {
    local rc
    new_work
    cp "$PROGRAM" "$WORK/DELPHI32.EXE"
    "$ROOT/scripts/wine-run" "$WORK/DELPHI32.EXE" throw >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    verdict "nothing hooked inside the development environment" "$([[ $rc -eq 1 ]] &&
        ! grep -q '^Vessarion: handed over' "$WORK/err" || echo "exit $rc: $(errtext "$WORK/err")")"
}

case_unwound_stack() {
    new_work
    "$ROOT/scripts/wine-run" "$PROGRAM" unwind >"$WORK/out" 2>"$WORK/err" </dev/null
    verdict "stack kept for an unwound fault" "$(tr -d '\r' <"$WORK/out" |
        grep -qx 'unwound stack: this thread yes, this address yes, some bytes' ||
        echo "$(tr -d '\r' <"$WORK/out") $(errtext "$WORK/err")")"
}

case_extension_page() {
    new_work
    "$ROOT/scripts/wine-run" "$PROGRAM" extension >"$WORK/out" 2>"$WORK/err" </dev/null
    verdict "web-server extension's page kept, its write call given back" "$(tr -d '\r' <"$WORK/out" |
        grep -c -x -e 'page file: <html>from the extension</html>' \
            -e "request's write call given back: yes" | grep -qx 2 ||
        echo "$(tr -d '\r' <"$WORK/out") $(errtext "$WORK/err")")"
}

case_module_phases() {
    local expected
    new_work
    "$ROOT/scripts/wine-run" "$PROGRAM" phases >"$WORK/out" 2>"$WORK/err" </dev/null
    expected='unit start: initialising yes, finalising no|running: initialising no, finalising no|unit end: initialising no, finalising yes|'
    verdict "module phases" "$(tr -d '\r' <"$WORK/out" | tr '\n' '|' | grep -qxF "$expected" || echo "$(tr -d '\r' <"$WORK/out" | tr '\n' ' ')")"
    verdict "another module's system exception: taken over in a thread, not in the main thread's run" \
        "$([[ $(grep -c '^Vessarion: handed over EExternalException at 00000000, unhandled' "$WORK/err") -eq 1 ]] || errtext "$WORK/err")"
}

case_thread_tracking() {
    local maker
    new_work
    "$ROOT/scripts/wine-run" "$PROGRAM" threads >"$WORK/out" 2>"$WORK/err" </dev/null
    tr -d '\r' <"$WORK/out" >"$WORK/threads"
    for maker in CreateThread std::thread; do
        if grep -qx "$maker tracked: yes, stack noted: yes, made by the main thread: yes" "$WORK/threads"; then
            ok "$maker thread tracked"
        else
            bad "$maker thread tracked" "$(tr '\n' ' ' <"$WORK/threads") $(errtext "$WORK/err")"
        fi
    done
    verdict "ended threads dropped" "$(grep -qx 'tracked after they ended: 1' "$WORK/threads" || echo "$(tr '\n' ' ' <"$WORK/threads")")"
}

run_cases
