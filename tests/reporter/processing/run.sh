#!/bin/bash
# The processing of exceptions from the hand-over to the log file, one scenario per run of
# scenario_program: the report on the console, a filter that ignores, a duplicate counted, a
# listener that stops the processing, a burst that restarts the program, a known call chain
# (also in a build with enciphered names) and the stacks of four running threads, many threads
# raising at once, filters by scope, a log of another version, options a listener changes, an
# access violation's message, the processing's own failures, a halt while another thread is
# reported, and threads held meanwhile.
#   run.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env.
source "$(dirname "$0")/../../checks.sh" "$@"
PROGRAM=$BUILD/tests/reporter/processing/scenario_program.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-600}

# Each case runs in a folder of its own, removed when the case ends.
new_work() {
    WORK=$(mktemp -d /tmp/processing-test.XXXXXX)
    trap 'rm -rf "$WORK"' EXIT
}

# scenario <name> [arguments...]: a fresh log folder $LOGS, output in $WORK/out, exit code in rc.
scenario() {
    LOGS=$WORK/$1
    mkdir -p "$LOGS"
    "$ROOT/scripts/wine-run" "$PROGRAM" "$@" "$(win "$LOGS")" >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    LOG=$LOGS/scenario_program.elf
    tr -d '\r' <"$WORK/out" >"$WORK/text"
}
# The same program run again on the same log folder.
scenario_again() {
    "$ROOT/scripts/wine-run" "$PROGRAM" "$@" "$(win "$LOGS")" >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    tr -d '\r' <"$WORK/out" >"$WORK/text"
}
reports() { [[ -f $LOG ]] && grep -c '^Vessarion 6.0.24$' <(tr -d '\r' <"$LOG") || echo 0; }
field() { tr -d '\r' <"$LOG" | sed -n "s/^  $1 [^:]*: //p"; }

case_console() {
    local empty key
    new_work
    scenario console
    verdict "console program: text 4, an empty line, then the report" "$(
        head -4 "$WORK/text" | tr '\n' '|' |
            grep -qx 'An error has occurred during program execution.|Please read the following information for further details.||Vessarion 6.0.24|' ||
            echo "$(head -4 "$WORK/text" | tr '\n' ' ') $(errtext "$WORK/err")")"
    verdict "report logged" "$([[ $(reports) -eq 1 && $(field 2.6) == 'shown on the console' ]] ||
        echo "$(reports) reports, message '$(field 2.6)'")"
    # Every value the machine gives is there (Wine gives no printer, owner, company or version
    # numbers of these programs).
    empty=""
    for key in 1.1 1.2 1.4 1.5 1.6 2.1 2.2 2.3 2.5 2.6 2.7 2.8 2.9 3.1 3.5 5.1 5.2 5.3 5.4 5.5 5.6 \
        5.7 5.8 5.9 5.10 6.1 6.2 6.4 7.1 7.2 7.3 7.4 7.5 7.6; do
        [[ -z $(field "$key") ]] && empty+=" $key"
    done
    verdict "every value the machine gives is in the report" "${empty:+empty:$empty}"
    verdict "modules table: the program listed, a library freed before the exception not" "$(
        tr -d '\r' <"$LOG" | grep -q '^|00400000|scenario_program.exe' &&
            ! tr -d '\r' <"$LOG" | grep -qi '|lz32.dll' || echo "$(tr -d '\r' <"$LOG" | grep -ci 'lz32')")"
}

case_ignored() {
    new_work
    scenario ignored
    verdict "filter with handling 0: no report, no log, no standard handler" "$(
        [[ ! -s $WORK/text && ! -e $LOG && $rc -eq 0 ]] || echo "exit $rc, log: $(reports), out: $(head -2 "$WORK/text")")"
}

case_duplicate() {
    new_work
    scenario duplicate
    verdict "duplicate: one entry, counted twice" "$([[ $(reports) -eq 1 && $(field 2.8) == 2 ]] ||
        echo "$(reports) reports, count '$(field 2.8)'")"
}

case_stopped() {
    new_work
    scenario stopped
    verdict "listener stops: nothing logged, threads resumed, requested end happens" "$(
        [[ $rc -eq 1 && ! -e $LOG ]] && grep -qx 'terminating; worker went on: yes' "$WORK/text" ||
            echo "exit $rc, log: $(reports), out: $(tr '\n' ' ' <"$WORK/text") $(errtext "$WORK/err")")"
}

restarted() { # waits for the restarted program's mark
    for _ in $(seq 60); do [[ -e $LOGS/restarted ]] && return 0; sleep 0.5; done
    return 1
}

# One exception fewer than RepeatCount: the wait for a restart that must not come takes 30 s.
case_burst_below_limit() { # ctest: LABELS slow
    new_work
    scenario burst 9
    verdict "nine exceptions within a minute: no restart" "$(
        [[ $rc -eq 0 ]] && grep -qx 'no restart after 9' "$WORK/text" && ! restarted ||
            echo "exit $rc: $(tr '\n' ' ' <"$WORK/text")")"
}

case_burst_restart() {
    new_work
    scenario burst 10
    verdict "ten exceptions within a minute: restarted" "$([[ $rc -eq 1 ]] && restarted ||
        echo "exit $rc: $(tr '\n' ' ' <"$WORK/text") $(errtext "$WORK/err")")"
}

# Each link of the chain: its unit, class, procedure, the line of the call (or throw) and the
# line's offset in its procedure (from the procedure's first line, or the line before it, as the
# procedure's first instructions say).
verdict_chain_rows() {
    local program=$1 source file line text procedure class start offsets row
    for source in chain_start chain_step chain_end; do
        file=$(dirname "$0")/$source.cpp
        while IFS=: read -r line text; do
            procedure=${text##*chain: }
            class=$([[ $procedure == Run ]] && echo TChainStep)
            start=$(head -n "$line" "$file" | grep -n '^\[\[gnu::noinline\]\]' | tail -n 1 | cut -d: -f1)
            offsets="$((line - start))|$((line - start + 1))"
            row="^\|[0-9A-F]{8}\|$program\.exe *\|$source\.cpp *\|$class *\|$procedure *\|$line\[($offsets)\] *\|$"
            verdict "call chain${2:+ $2}: $procedure in $source.cpp, line $line" "$(tr -d '\r' <"$LOG" 2>/dev/null |
                grep -Eq "$row" || echo "no row /$row/: $(tr -d '\r' <"$LOG" 2>/dev/null | grep -E '^\|[0-9A-F]{8}\|' | head -8 | tr '\n' ' ')")"
        done < <(grep -n 'chain: ' "$file")
    done
}

case_chain() {
    new_work
    scenario chain
    verdict_chain_rows scenario_program
}

# The same chain in a build whose names are enciphered: the program's listener gives the
# password; a wrong one leaves every name of the program enciphered.
case_protected_chain() {
    local rows
    new_work
    SCENARIO_DEBUG_PASSWORD=processing-k3y PROGRAM=${PROGRAM%/*}/protected_scenario_program.exe scenario chain
    LOG=$LOGS/protected_scenario_program.elf
    verdict_chain_rows protected_scenario_program "with the password"
    rm -f "$LOG"
    SCENARIO_DEBUG_PASSWORD=wrong PROGRAM=${PROGRAM%/*}/protected_scenario_program.exe scenario chain
    LOG=$LOGS/protected_scenario_program.elf
    rows=$(tr -d '\r' <"$LOG" 2>/dev/null | grep -E '^\|[0-9A-F]{8}\|protected_scenario_program\.exe *\|')
    verdict "a wrong password: the program's names stay enciphered" "$(
        [[ -n $rows ]] && ! grep -q 'chain_' <<<"$rows" && grep -Eq '^\|[0-9A-F]{8}\|[^|]*\|\?p' <<<"$rows" ||
            echo "rows: $(head -4 <<<"$rows" | tr '\n' ' ')")"
}

# The first filter naming the class is for unhandled exceptions only; the caught exception is
# decided by the next one.
case_filter_scope() {
    new_work
    scenario filter-scope
    verdict "a filter whose scope does not fit falls through to the next" "$(
        [[ $(reports) -eq 1 && $(field 2.6) == 'second filter' ]] || echo "$(reports) reports, message '$(field 2.6)'")"
}

# The first report after a version change finds its twin in the old log; the old log goes and
# the report is the first of the new one.
case_new_version() {
    new_work
    scenario versions
    sed -i 's/^\(  1\.3 [^:]*: \).*\r$/\19.9.9.9\r/' "$LOG"
    local old
    old=$(field 1.3)
    scenario_again versions
    verdict "a log of another version: deleted, the new report saved, counted once" "$(
        [[ $old == 9.9.9.9 && $(reports) -eq 1 && $(field 1.3) != 9.9.9.9 && $(field 2.8) == 1 ]] ||
            echo "old version '$old', $(reports) reports, version '$(field 1.3)', count '$(field 2.8)'")"
}

case_move_log() {
    new_work
    scenario move-log
    local moved=$LOGS/moved.elf
    verdict "what a listener changes in the options applies to the exception in hand" "$(
        [[ -f $moved && ! -e $LOG ]] && LOG=$moved && [[ $(reports) -eq 1 ]] ||
            echo "moved log: $([[ -f $moved ]] && echo yes || echo no), old log: $(reports) reports")"
}

# One message everywhere: the listener's environment, the report.
case_access_violation() {
    local seen
    new_work
    scenario access
    seen=$(sed -n 's/^listener saw: //p' "$WORK/text")
    verdict "an access violation's message is written from its record, the same everywhere" "$(
        [[ $seen =~ ^Access\ violation\ at\ address\ [0-9A-F]{8}\ in\ module\ \'scenario_program\.exe\'\.\ Write\ of\ address\ 00000010\.$ &&
            $(field 2.6) == "$seen" ]] || echo "listener '$seen', report '$(field 2.6)', exit $rc $(errtext "$WORK/err")")"
    verdict_assembler_section
}

# The assembler section around the faulting write: its comment block names the procedure and a
# line of it, the faulting instruction is marked, and the call before it (through an import
# thunk) names the procedure it enters.
verdict_assembler_section() {
    local section first last
    section=$(tr -d '\r' <"$LOG" 2>/dev/null | sed -n '/^Assembler Information:$/,/^$/p')
    first=$(grep -n '^void ViolateAccess() {' "$(dirname "$0")/scenario_program.cpp" | cut -d: -f1)
    last=$((first + 9))
    verdict "the assembler section names the procedure and line, marks the fault, names calls" "$(
        line=$(sed -n 's/^; scenario_program\.ViolateAccess (Line=\([0-9]*\) - Offset=[0-9]*)$/\1/p' <<<"$section" | head -n 1)
        [[ -n $line && $line -ge $first && $line -le $last ]] &&
            grep -q '^[0-9A-F]\{8\}  mov .*  ; <-- EXCEPTION$' <<<"$section" &&
            grep -Eq '^[0-9A-F]{8}  call +([A-Za-z_0-9]+\.)*fflush$' <<<"$section" ||
            echo "section: $section")"
}

blocks() { tr -d '\r' <"$LOG" 2>/dev/null | grep -c "^|$1: ID="; }

case_all_threads() {
    new_work
    scenario all-threads
    # The four were made by the main thread: their creation stacks stand in one "Calling Thread"
    # block of that thread.
    verdict "four threads running: a block for each, and the stack that made them" "$(
        [[ $(blocks '\*Exception Thread') -eq 1 && $(blocks 'Running Thread') -ge 4 && $(blocks 'Calling Thread') -ge 1 ]] ||
            echo "exception $(blocks '\*Exception Thread'), running $(blocks 'Running Thread'), calling $(blocks 'Calling Thread'): $(errtext "$WORK/err")")"
}

case_threads() { # ctest: LABELS slow TIMEOUT 900
    local whole
    new_work
    scenario threads
    whole=$(tr -d '\r' <"$LOG" 2>/dev/null | grep -c '^Call Stack Information:$')
    verdict "8 threads, 200 exceptions each: every report whole, the log holds 32" "$(
        [[ $rc -eq 0 && $(reports) -eq 32 && $whole -eq 32 ]] && grep -qx 'threads done' "$WORK/text" ||
            echo "exit $rc, $(reports) reports, $whole whole: $(errtext "$WORK/err")")"
}

# The processing's own failures: every step fails in turn, by an access violation and by a throw.
# Each ends in the internal-error path (shown: a debugger looks), and the program goes on.
SECTIONS="1 101 2 201 3 4 5 7 703 705 8 9 11 12 13 14 15 16 17 18"
case_section_faults() { # ctest: RESOURCE_LOCK display
    local section kind missing=""
    new_work
    scenario section-faults
    for section in $SECTIONS; do
        for kind in "access violation:Access violation at address [0-9A-F]{8}.*" "throw:failed on purpose"; do
            grep -Eq "^${kind%%:*} in $section: \[ERROR\] - Section: $section - Address: [0-9A-F]{8} - Message: \"${kind#*:}\"$" "$WORK/text" ||
                missing+=" ${kind%%:*} in $section;"
        done
    done
    verdict "each failing step: the internal-error line" "${missing:+missing:$missing $(errtext "$WORK/err")}"
    verdict "the program went on and reported the next exception" "$(
        [[ $rc -eq 0 && $(field 2.6 | tail -n 1) == 'reported after the failures' ]] ||
            echo "exit $rc, last message '$(field 2.6 | tail -n 1)': $(errtext "$WORK/err")")"
}

case_fault_then_end() {
    new_work
    scenario fault-then-end
    verdict "processing failed after the filter asked to end: the program ends" "$(
        [[ $rc -eq 1 ]] && ! grep -q 'went on' "$WORK/text" ||
            echo "exit $rc: $(tr '\n' ' ' <"$WORK/text") $(errtext "$WORK/err")")"
}

case_fault_in_filter() {
    new_work
    scenario fault-in-filter
    verdict "processing failed in the system filter's thread: the process ends with the code" "$(
        [[ $rc -eq $((0xC0000005 & 255)) ]] && ! grep -q 'went on' "$WORK/text" ||
            echo "exit $rc: $(tr '\n' ' ' <"$WORK/text") $(errtext "$WORK/err")")"
}

case_halt_while_processing() {
    new_work
    scenario halt-while-processing
    verdict "halt while another thread's exception is processed: the report is saved" "$(
        [[ $rc -eq 0 && $(reports) -eq 1 && $(field 2.6) == 'reported while the program halts' ]] ||
            echo "exit $rc, $(reports) reports: $(errtext "$WORK/err")")"
}

case_held_threads() {
    new_work
    scenario held-threads
    verdict "threads held for an exception, not for the thread wrapper's, none without a list" "$(
        [[ $rc -eq 0 ]] && diff <(grep ': worker ' "$WORK/text") - <<<'ordinary: worker held
thread wrapper: worker goes on
no thread list: worker goes on' >/dev/null || echo "exit $rc: $(tr '\n' ' ' <"$WORK/text") $(errtext "$WORK/err")")"
}

run_cases
