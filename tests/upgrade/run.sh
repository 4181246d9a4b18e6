#!/bin/bash
# The upgrade program end to end under Wine. Each case makes a database with mkprofiledb (the
# old layout, or one with some listed columns present, or with a table left out), runs
# ProfileUpgrade.exe from a folder of its own that holds its own engine library and alias file,
# and checks the tables afterwards with pdxadmin, pdxtool and, when available, pxlib.
# ui_driver answers the password prompt of protected tables, and reads and closes the error box
# of a run that fails; its pictures land in build/artifacts/upgrade/<case>/.
#   run.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env (the test command provides it).
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
# shellcheck source=../ui/ui.sh
source "$ROOT/tests/ui/ui.sh"
TOOLS=$BUILD/tools
HOLDER=$BUILD/tests/upgrade/hold_shared.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-180} # one hung run must not eat the whole test
export LC_ALL=C                                  # table data is cp1252 bytes, not UTF-8

WORK=$(mktemp -d /tmp/upgrade-test.XXXXXX)
# Programs left in the background by a failing check end with the test.
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT
wine_run() { "$ROOT/scripts/wine-run" "$@" </dev/null; }
oneline() { tr -d '\r' <"$1" | grep -v '^$' | head -3 | tr '\n' '|' | cut -c1-300; }

# shellcheck source=columns.sh
source "$ROOT/tests/upgrade/columns.sh"
if [[ $(wc -l <<<"$COLUMNS") -ne 61 || ${#TABLES[@]} -ne 12 ]]; then
    verdict "column list" "the test's list does not hold 61 columns on 12 tables"
fi

# ---- running the upgrade

# new_case <folder> <rows> [mkprofiledb options...]: a folder $C with the database in $C/db and
# the program's own folder $C/app (engine, program, alias file written by mkprofiledb).
new_case() {
    C=$1
    DB=$C/db
    APP=$C/app
    local rows=$2
    shift 2
    mkdir -p "$APP"
    rm -rf "$BUILD/artifacts/upgrade/$(basename "$C")"
    cp "$TOOLS/IDAPI32.DLL" "$TOOLS/ProfileUpgrade.exe" "$APP/"
    wine_run "$TOOLS/mkprofiledb.exe" --ini "$(win "$APP/IDAPI32.INI")" "$@" \
        "$(win "$DB")" "$rows" >"$C/make.out" 2>&1 || {
        verdict "$(basename "$C"): make the database" "mkprofiledb: $(oneline "$C/make.out")"
        return 1
    }
}

# Background Windows programs are started by wine-run itself (not by a function, which would
# put a shell in between), so that their process id ends them.

# upgrade [<ui_driver steps>...]: runs the program in $APP while ui_driver takes the steps (to
# answer the password prompt) and then watches for an error box. Sets RC (the program's exit
# code), BOX (caption and message of the box it showed, "" when none) and STEPS (the number of
# steps the driver did, the watch not counted).
upgrade() {
    local box=$C/box up answer shots=$BUILD/artifacts/upgrade/${C##*/}
    mkdir -p "$shots"
    (cd "$APP" && exec "$ROOT/scripts/wine-run" ProfileUpgrade.exe) </dev/null \
        >"$C/upgrade.out" 2>&1 &
    up=$!
    "$ROOT/scripts/wine-run" "$UI_DRIVER" --shots "$(win "$shots")" "$WINE_RUN_TIMEOUT" "$@" \
        answer </dev/null >"$box" 2>"$C/driver.log" &
    answer=$!
    wait $up
    RC=$?
    # The driver prints the box before it closes it, so an empty file means it saw none.
    if [[ -s $box ]]; then
        wait $answer
    else
        kill $answer 2>/dev/null
        wait $answer 2>/dev/null
    fi
    BOX=$(tr -d '\r' <"$box")
    STEPS=$(tr -d '\r' <"$C/driver.log" | grep -c '^ui_driver: done [^a]')
    png_shots "$shots"
}

# answered <name> <steps>: the driver did all the steps given to upgrade.
answered() {
    verdict "$1" "$([[ $STEPS -eq $2 ]] || echo "$STEPS of $2 steps done: $(tail -1 "$C/driver.log")")"
}

# ran_clean <name>: the run ended with exit code 0 and showed no dialog.
ran_clean() {
    verdict "$1" "$([[ $RC -eq 0 && -z $BOX ]] || echo "exit $RC, dialog: ${BOX//$'\n'/ | }")"
}

# hold <how> <table>: another program keeps the table open in $DB until release: "shared"
# as any program that reads it, "exclusive" by our engine (pdxtool hold).
HOLD_PID=""
hold() {
    local out=$C/hold.out
    if [[ $1 == shared ]]; then
        "$ROOT/scripts/wine-run" "$HOLDER" "$(win "$DB/$2")" 600000 </dev/null >"$out" 2>&1 &
    else
        "$ROOT/scripts/wine-run" "$TOOLS/pdxtool.exe" hold "$(win "$DB")" "$2" 600000 \
            </dev/null >"$out" 2>&1 &
    fi
    HOLD_PID=$!
    for _ in $(seq 600); do
        grep -qs held "$out" && return 0
        kill -0 $HOLD_PID 2>/dev/null || break
        sleep 0.1
    done
    verdict "$(basename "$C"): hold $2" "the holder did not start: $(oneline "$out")"
    release
    return 1
}
release() {
    [[ -n $HOLD_PID ]] || return 0
    kill $HOLD_PID 2>/dev/null
    wait $HOLD_PID 2>/dev/null
    HOLD_PID=""
}

# ---- looking at the database

tables_in() { (cd "$1" && ls -- *.DB 2>/dev/null); }

# fields <out-dir>: pdxadmin's field lines of every table in $DB, one file per table. A case
# with protected tables sets PASSWORD (local to it) to their password.
fields() {
    local out=$1 list=$C/fields.out
    local -a password=()
    [[ -n ${PASSWORD:-} ]] && password=(--password "$PASSWORD")
    mkdir -p "$out"
    # shellcheck disable=SC2046
    wine_run "$TOOLS/pdxadmin.exe" "${password[@]}" fields "$(win "$DB")" $(tables_in "$DB") 2>&1 |
        tr -d '\r' >"$list"
    awk -F'\t' -v dir="$out" '$1 == "table" { f = dir "/" $2 } $1 == "field" { print > f }' "$list"
}

# want_fields <table> <field lines before>: the field lines after a complete upgrade.
want_fields() {
    cat "$2"
    missing "$1" "$2" |
        awk -v n="$(wc -l <"$2")" '{ printf "field\t%d\t%s\t%s\t%s\n", ++n, $1, $2, $3 }'
}

# first_diff <expected> <actual>: where two files part, for a failure message.
first_diff() {
    diff "$1" "$2" | grep '^[<>]' | head -2 | tr '\n' ' ' | cut -c1-240
}

# snapshot <out>: every file of $DB with its size, modification time and content hash.
snapshot() {
    (cd "$DB" && for f in *; do
        echo "$f $(stat -c '%s %.9Y' -- "$f") $(sha256sum <"$f" | cut -c1-64)"
    done) >"$1"
}

# untouched <before> <after> [table...]: no file came or went, and the files of the tables
# named (all when none) are as in the snapshot before. Prints what differs.
untouched() {
    local before=$1 after=$2 pattern='.'
    shift 2
    [[ $# -gt 0 ]] && pattern="^($(printf '%s|' "${@%.DB}" | sed 's/|$//'))\\."
    {
        diff <(cut -d' ' -f1 "$before") <(cut -d' ' -f1 "$after")
        diff <(grep -E "$pattern" "$before") <(grep -E "$pattern" "$after")
    } | grep '^[<>]' | head -2 | tr '\n' ' ' | cut -c1-240
}

# complete <before-fields> <after-fields> <table>...: for each table, the fields after are
# those before followed by the listed columns it lacked. Prints failures.
complete() {
    local before=$1 after=$2 t
    shift 2
    for t in "$@"; do
        if [[ ! -f $after/$t ]]; then
            echo "$t: no fields listed after the run"
        elif ! cmp -s <(want_fields "$t" "$before/$t") "$after/$t"; then
            echo "$t: $(first_diff <(want_fields "$t" "$before/$t") "$after/$t")"
        fi
    done | head -3 | tr '\n' ' '
}

# ---- pxlib's checker, built by the build with the host compiler
PXCHECK=$BUILD/interop/pxcheck

# ==== the old layout: every table lacks all its columns. The upgraded database stays for the
# cases that look at it again.
OLD=$SHARED_WORK/old
# use_old: $C, $DB and $APP of the upgraded old layout; skips when it was not made.
use_old() {
    C=$OLD DB=$OLD/db APP=$OLD/app
    [[ -f $OLD/upgraded ]] || skip_case "$1 (the old layout was not upgraded)"
}

# dumps <out-dir>: pdxtool's dump of every table in $DB, one file per table.
dumps() {
    local t
    mkdir -p "$1"
    for t in "${TABLES[@]}"; do
        wine_run "$TOOLS/pdxtool.exe" dump "$(win "$DB")" "$t" >"$1/$t" 2>&1
    done
}

# upgraded_sound <name>: after a run on a database in $C (fields in f0, dumps in d0 taken
# before): each table has exactly its listed columns added, every record its values, and
# pdxadmin verify finds the twelve tables sound.
upgraded_sound() {
    local t why=""
    fields "$C/f1"
    verdict "$1: each table gets exactly its listed columns, at its end, in list order" \
        "$(complete "$C/f0" "$C/f1" "${TABLES[@]}")"
    dumps "$C/d1"
    for t in "${TABLES[@]}"; do
        cmp -s <(want_dump "$t" "$C/f0/$t" "$C/d0/$t") "$C/d1/$t" ||
            why+="$t: $(first_diff <(want_dump "$t" "$C/f0/$t" "$C/d0/$t") "$C/d1/$t") "
    done
    verdict "$1: every record keeps its values, the new columns are empty" "$why"
    wine_run "$TOOLS/pdxadmin.exe" verify "$(win "$DB")" 2>&1 | tr -d '\r' >"$C/verify"
    verdict "$1: pdxadmin verify finds the twelve tables sound" \
        "$([[ $(grep -c ': ok$' "$C/verify") -eq 12 ]] || oneline "$C/verify")"
}

case_old_layout() { # ctest: FIXTURES_SETUP upgraded_old_layout LABELS slow
    rm -rf "$OLD"
    new_case "$OLD" 200 || return
    fields "$C/f0"
    dumps "$C/d0"
    upgrade
    ran_clean "old layout: exit code 0, no dialog"
    upgraded_sound "old layout"
    [[ $failed -eq 0 ]] && touch "$OLD/upgraded"
}

case_old_layout_read_by_pxlib() { # ctest: FIXTURES_REQUIRED upgraded_old_layout
    use_old "pxlib on the upgraded tables"
    [[ -x $PXCHECK ]] || skip_case "pxlib on the upgraded tables (no pxcheck in $PXCHECK)"
    local t px why=""
    for t in "${TABLES[@]}"; do
        px=$DB/${t%.DB}.PX
        if ! "$PXCHECK" dump "$DB/$t" "$px" >"$WORK/px" 2>&1; then
            why+="$t: pxlib cannot read it: $(oneline "$WORK/px") "
        elif ! cmp -s "$C/d1/$t" "$WORK/px"; then
            why+="$t: pxlib reads otherwise: $(first_diff "$C/d1/$t" "$WORK/px") "
        elif ! "$PXCHECK" verifypx "$DB/$t" "$px" >"$WORK/px" 2>&1; then
            why+="$t: primary index: $(oneline "$WORK/px") "
        fi
    done
    verdict "old layout: pxlib reads every upgraded table alike, primary indexes sound" "$why"
}

# ==== a second run, on the upgraded database, and one while another program reads it
case_second_run() { # ctest: FIXTURES_REQUIRED upgraded_old_layout
    use_old "a second run on the upgraded database"
    snapshot "$WORK/s1"
    upgrade
    ran_clean "second run: exit code 0, no dialog"
    snapshot "$WORK/s2"
    verdict "second run: every file keeps its size, content and modification time" \
        "$(untouched "$WORK/s1" "$WORK/s2")"
    if hold shared Subject.DB; then
        upgrade
        release
        ran_clean "second run while another program has Subject.DB open: exit code 0, no dialog"
        snapshot "$WORK/s3"
        verdict "second run while another program has Subject.DB open: nothing changes" \
            "$(untouched "$WORK/s1" "$WORK/s3")"
    fi
}

# ==== tables as older versions of the original engine left them: Subject.DB with a validity
# file of the 3.x era, Basics.DB without key and with an index that is not maintained
case_legacy_layouts() {
    new_case "$WORK/legacy" 30 --old-validity Subject --unkeyed Basics:DOT_Number || return
    fields "$C/f0"
    dumps "$C/d0"
    cp "$DB/Subject.VAL" "$C/val0"
    upgrade
    ran_clean "legacy layouts: exit code 0, no dialog"
    upgraded_sound "legacy layouts"
    verdict "legacy layouts: Subject.VAL keeps every byte but its stamp" \
        "$(cmp -s <(tail -c +2 "$C/val0") <(tail -c +2 "$DB/Subject.VAL") || echo "it changed")"
    # The index is not maintained, so verify takes its disagreements for notes: none may be left.
    verdict "legacy layouts: Basics.DB's index follows its records" \
        "$([[ -f $DB/Basics.X01 && -f $DB/Basics.Y01 ]] || echo "Basics.X01/.Y01 missing")$(
            grep -E '^note: Basics\.[XY]01: ' "$C/verify" | grep -v 'not maintained' | head -2)"
    if [[ -x $PXCHECK ]]; then
        "$PXCHECK" dump "$DB/Basics.DB" >"$WORK/px" 2>&1
        verdict "legacy layouts: pxlib reads Basics.DB alike" \
            "$(cmp -s "$C/d1/Basics.DB" "$WORK/px" || first_diff "$C/d1/Basics.DB" "$WORK/px")"
    else
        skip "legacy layouts: pxlib reads Basics.DB alike" "no pxcheck in $PXCHECK"
    fi
}

# ==== listed columns present already: in another letter case, out of list order, with
# another type, or the next one of the list without the one before
case_present_columns() {
    new_case "$WORK/partial" 20 --present Subject:MAIL_STATE_COUNTRY,ein \
        --present CrashDriver:dviols --present InspCarrier:VIN3,licnum2 \
        --present Basics:basics_name=A20 || return
    fields "$C/f0"
    upgrade
    ran_clean "present columns: exit code 0, no dialog"
    fields "$C/f1"
    verdict "present columns: kept as they are; only the missing ones added, in list order" \
        "$(complete "$C/f0" "$C/f1" "${TABLES[@]}")"
}

# ==== failing runs: the crash reporter's box names the engine's texts and its log keeps the
# report, the program still ends with 0, the columns added before the failing check stay and
# the later checks are not made.
# failing <name> <mkprofiledb options> <table held open, and how> <box message (ERE)>
#         <tables upgraded> [<ui_driver steps before the box>...]
failing() {
    local name=$1 options=$2 held=$3 message=$4 upgraded=$5 caption text logged why
    local -a others
    shift 5
    # shellcheck disable=SC2086
    new_case "$WORK/$name" 20 $options || return
    fields "$C/f0"
    snapshot "$C/s0"
    if [[ -n $held ]]; then
        hold "${held% *}" "${held#* }" || return
    fi
    upgrade "$@"
    release
    caption=$(sed -n 1p <<<"$BOX")
    text=$(sed -n 2p <<<"$BOX")
    verdict "$name: the crash reporter's error box names the engine's error" \
        "$([[ $caption == "Error occurred" ]] && grep -Eq "$message" <<<"$text" ||
            echo "caption \"$caption\", message \"$text\", not /$message/")"
    logged=$(tr -d '\r' <"$APP/ProfileUpgrade.elf" 2>/dev/null | sed -n 's/^  2\.6 Message *: //p')
    # The box's text has its line breaks as "\n"; the log's field line holds the first line.
    verdict "$name: the report logged beside the program" "$([[ -n $text && $logged == "${text%%\\n*}" ]] ||
        echo "message logged: \"$logged\", shown: \"$text\"")"
    verdict "$name: exit code 0 once the box is closed" "$([[ $RC -eq 0 ]] || echo "exit $RC")"
    fields "$C/f1"
    snapshot "$C/s1"
    readarray -t others < <(printf '%s\n' "${TABLES[@]}" | grep -vxF -e "$upgraded")
    # shellcheck disable=SC2086
    why=$(complete "$C/f0" "$C/f1" $upgraded)$(untouched "$C/s0" "$C/s1" "${others[@]}")
    verdict "$name: ${upgraded:-no table} upgraded, every other table untouched" "$why"
}

# The procedures of the exception thread's call stack in the log's last report.
exception_thread_procedures() {
    tr -d '\r' <"$APP/ProfileUpgrade.elf" 2>/dev/null | awk -F'|' '
        /^\|\*/ { inside = 1; next }
        inside && /^\|[0-9A-F]+\|/ { rows = 1; gsub(/ +$/, "", $6); print $6; next }
        inside && rows { inside = 0 }'
}

case_missing_table() {
    failing missing-table "--omit Crashes.DB" "" '^Table does not exist\..*Crashes\.DB' Subject.DB
    # Subject.DB was upgraded and closed before Crashes.DB failed to open: those calls returned,
    # and what their frames left on the stack is no frame of it.
    local stale
    stale=$(exception_thread_procedures | grep -xE 'UpgradeSubject|AddColumn|SetTableName|CloseTable|CloseDatabase')
    verdict "missing-table: the call stack lists no calls that had returned" \
        "$([[ -z $stale ]] || echo "listed: $(tr '\n' ' ' <<<"$stale")")"
}

case_unknown_alias() {
    failing unknown-alias "--alias OTHERDATA" "" '^Unknown database alias.*PROFILEDATA' ""
}

case_held_exclusive() {
    failing held-exclusive "" "exclusive Subject.DB" \
        '^Table is in use by another user or program\..*Subject\.DB' ""
}

# With the table free again, a new run completes the upgrade.
case_held_shared() {
    failing held-shared "" "shared Subject.DB" \
        '^Table is in use by another user or program\..*Subject\.DB' "" || return
    upgrade
    ran_clean "held-shared, run again: exit code 0, no dialog"
    fields "$C/f2"
    verdict "held-shared, run again: every table gets its missing columns" \
        "$(complete "$C/f0" "$C/f2" "${TABLES[@]}")"
}
# A restructure the engine refuses cannot be brought about from outside the program.

# ==== protected tables: the password prompt comes up at the first of them

PROMPT="Enter password"

# checksums <tables...>: each table's password check value as its header keeps it.
checksums() {
    local t
    for t in "$@"; do
        echo "$t $(od -An -tx1 -j 92 -N 4 "$DB/$t" | tr -d ' ')"
    done
}

# Subject.DB and Basics.DB share a password: typed once and Enter pressed, the whole upgrade
# goes through; both tables keep their protection and their rows.
case_protected_tables() {
    new_case "$WORK/protected" 20 --protect Subject=secret --protect Basics=secret || return
    local protected=(Subject.DB Basics.DB) t why="" PASSWORD=secret
    fields "$C/f0"
    mkdir -p "$C/d0" "$C/d1"
    for t in "${TABLES[@]}"; do
        wine_run "$TOOLS/pdxtool.exe" dump "$(win "$DB")" "$t" secret >"$C/d0/$t" 2>&1
    done
    checksums "${protected[@]}" >"$C/sums0"
    upgrade "wait:$PROMPT" shot:prompt type:secret shot:typed key:enter gone
    answered "protected: the password prompt answered" 6
    ran_clean "protected: exit code 0, no other dialog"
    fields "$C/f1"
    verdict "protected: each table gets exactly its listed columns" \
        "$(complete "$C/f0" "$C/f1" "${TABLES[@]}")"
    for t in "${TABLES[@]}"; do
        wine_run "$TOOLS/pdxtool.exe" dump "$(win "$DB")" "$t" secret >"$C/d1/$t" 2>&1
        cmp -s <(want_dump "$t" "$C/f0/$t" "$C/d0/$t") "$C/d1/$t" ||
            why+="$t: $(first_diff <(want_dump "$t" "$C/f0/$t" "$C/d0/$t") "$C/d1/$t") "
    done
    verdict "protected: every record keeps its values" "$why"
    checksums "${protected[@]}" >"$C/sums1"
    why=$(diff "$C/sums0" "$C/sums1" | grep '^[<>]' | tr '\n' ' ')
    for t in "${protected[@]}"; do
        wine_run "$TOOLS/pdxadmin.exe" fields "$(win "$DB")" "$t" >"$WORK/nopw" 2>&1 &&
            why+="$t opens without the password "
        grep -q 'Invalid password' "$WORK/nopw" || why+="$t: $(oneline "$WORK/nopw") "
    done
    verdict "protected: still protected with the same password" "$why"
    [[ -x $PXCHECK ]] || skip_case "pxlib on the protected tables (no pxcheck in $PXCHECK)"
    why=""
    for t in "${protected[@]}"; do
        "$PXCHECK" dump "$DB/$t" "$DB/${t%.DB}.PX" >"$WORK/px" 2>&1 && cmp -s "$C/d1/$t" "$WORK/px" ||
            why+="$t: $(first_diff "$C/d1/$t" "$WORK/px") "
    done
    verdict "protected: pxlib reads the upgraded protected tables alike" "$why"
}

# A wrong password brings the prompt again; Cancel then fails the open of Crashes.DB with the
# engine's error, which the crash reporter shows: Subject.DB's columns stay, nothing after it
# is done.
case_wrong_password() {
    local PASSWORD=secret
    failing wrong-password "--protect Crashes=secret" "" '^Invalid password\..*Crashes\.DB' \
        Subject.DB "wait:$PROMPT" type:wrong key:enter gone "wait:$PROMPT" shot:asked_again \
        press:Cancel gone || return
    answered "wrong-password: asked again after the wrong password, then cancelled" 8
}

run_cases
