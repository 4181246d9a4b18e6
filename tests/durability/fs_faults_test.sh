#!/bin/bash
# Faults of the file system under a restructure and under the crash reporter's log: a disk that
# fills up part-way, a read-only folder, read-only files. Each must end in a clear error with
# every file as it was and nothing left over. The folder is a small tmpfs the test mounts (and
# remounts read-only), so the cases need root.
#   fs_faults_test.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env.
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
TOOL=$BUILD/tools/pdxtool.exe
PROGRAM=$BUILD/tests/reporter/processing/scenario_program.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-120}
export LC_ALL=C

MOUNTED=""
cleanup() {
    [[ -n $MOUNTED ]] && umount "$MOUNTED"
    rm -rf "$WORK"
}
new_work() {
    WORK=$(mktemp -d /tmp/fs-faults.XXXXXX)
    trap cleanup EXIT
}

# small_disk <what is not checked>: a tmpfs at $DISK (Windows path $WDISK), or the case skips.
small_disk() {
    [[ $EUID -eq 0 ]] || skip_case "$1 (not root: no file system of its own can be mounted)"
    DISK=$WORK/disk
    mkdir -p "$DISK"
    mount -t tmpfs -o size=64m tmpfs "$DISK" 2>"$WORK/mount.err" ||
        skip_case "$1 (mounting a tmpfs fails: $(errtext "$WORK/mount.err"))"
    MOUNTED=$DISK
    WDISK=$(win "$DISK")
    PAGE=$(stat -f -c %S "$DISK")
}

# leave_free <pages>: takes up the small disk's space but that many pages.
leave_free() {
    rm -f "$DISK/.filler"
    fallocate -l $((($(stat -f -c %a "$DISK") - $1) * PAGE)) "$DISK/.filler"
}

pages() { echo $((($(stat -c %s "$1") + PAGE - 1) / PAGE)); }

# read_only <yes|no>: the small disk remounted read-only, or writable again.
read_only() {
    if [[ $1 == yes ]]; then mount -o remount,ro "$DISK"; else mount -o remount,rw "$DISK"; fi
}

# frozen <yes|no> <file>...: files made immutable, as a read-only file is to Windows programs,
# or made changeable again. Root writes through permission bits, and Wine running as root too.
frozen() {
    local flag=-i
    [[ $1 == yes ]] && flag=+i
    shift
    chattr "$flag" "$@"
}

# refused <label> <expected error> <copy> <folder> <command...>: the run fails with that error on
# stderr and leaves the folder byte for byte as its copy, with no file more or less.
refused() {
    local label=$1 want=$2 copy=$3 folder=$4 rc changed
    shift 4
    "$ROOT/scripts/wine-run" "$@" >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
    changed=$(diff -r "$copy" "$folder" 2>&1 | head -2 | tr '\n' ' ')
    if [[ $rc -eq 0 ]]; then
        bad "$label" "succeeded"
    elif ! tr -d '\r' <"$WORK/err" | grep -q -- "$want"; then
        bad "$label" "exit $rc, not '$want': $(errtext "$WORK/err")"
    elif [[ -n $changed ]]; then
        bad "$label" "refused, but the folder changed: $changed"
    else
        ok "$label: $(tr -d '\r' <"$WORK/err" | grep -m1 -- "$want" | cut -c1-120)"
    fi
}

# ---- the restructure

# new_table: a keyed table of 2,000 rows in $WORK/made, and in $WORK/grown the family one add
# makes of it, for the sizes the add's new files need.
new_table() {
    mkdir -p "$WORK/made"
    if ! pdx "$WORK/fill" "$WORK/err" fill "$(win "$WORK/made")" t.db 2000 keyed; then
        bad fill "$(errtext "$WORK/err")"
        return 1
    fi
    cp -a "$WORK/made" "$WORK/grown"
    if ! pdx "$WORK/add" "$WORK/err" add "$(win "$WORK/grown")" t.db EIN I 0; then
        bad "add on a roomy disk" "$(errtext "$WORK/err")"
        return 1
    fi
}

# table_on_disk: a fresh copy of the table on the small disk, in $DB.
table_on_disk() {
    DB=$DISK/db
    [[ -d $DB ]] && frozen no "$DB"/*
    rm -rf "$DB"
    cp -a "$WORK/made" "$DB"
}

add_on_disk() { refused "$1" "$2" "$WORK/made" "$DB" "$TOOL" add "$WDISK\\db" t.db EIN I 0; }

# The new files fill the disk at each of their steps: the table, its index, the journal.
case_restructure_disk_full() {
    local db px room
    new_work
    small_disk "restructures on a full disk"
    new_table || return
    db=$(pages "$WORK/grown/t.db") px=$(pages "$WORK/grown/t.PX")
    for room in "no room for the new table:$((db - 1))" \
        "room for the new table, not its index:$((db + px - 1))" \
        "room for the new files, not the commit's journal:$((db + px))"; do
        table_on_disk
        leave_free "${room##*:}"
        add_on_disk "add with ${room%%:*}" "disk is full"
    done
}

case_restructure_read_only() {
    new_work
    small_disk "restructures in a read-only folder"
    new_table || return
    table_on_disk
    frozen yes "$DB"/*
    add_on_disk "add on read-only table files" "^error 0x2A0B: "
    table_on_disk
    frozen yes "$DB"/t.PX
    add_on_disk "add on a table whose index file is read-only" "^error 0x2A0B: "
    table_on_disk
    read_only yes
    add_on_disk "add in a read-only folder" "^error 0x2A0B: "
    read_only no
}

# ---- the crash reporter's log

# log_run <folder>: one report saved to the log in the folder (Linux path) by the scenario
# program, which then prints the warning the save left ("eeNone" when it left none).
log_run() {
    "$ROOT/scripts/wine-run" "$PROGRAM" log-warning "$(win "$1")" >"$WORK/out" 2>"$WORK/err" </dev/null
}

# A log of two reports on the small disk, in $LOGS, and its copy in $WORK/logs.
log_on_disk() {
    local _
    LOGS=$DISK/logs
    rm -rf "$LOGS" "$WORK/logs"
    mkdir -p "$WORK/logs"
    for _ in 1 2; do
        if ! log_run "$WORK/logs" || ! grep -q '^warning: eeNone' "$WORK/out"; then
            bad "a log of two reports" "$(errtext "$WORK/out") $(errtext "$WORK/err")"
            return 1
        fi
    done
    cp -a "$WORK/logs" "$LOGS"
}

# log_refused <label>: a report whose save fails; the program goes on with the warning, and the
# log stays as its copy.
log_refused() {
    local changed warning
    log_run "$LOGS"
    warning=$(tr -d '\r' <"$WORK/out" | grep -m1 '^warning: ')
    changed=$(diff -r "$WORK/logs" "$LOGS" 2>&1 | head -2 | tr '\n' ' ' | cut -c1-200)
    if [[ $warning != "warning: eeLogError [Log] Cannot write the log file"* ]]; then
        bad "$1" "not the log's warning: ${warning:-none} $(errtext "$WORK/err")"
    elif [[ -n $changed ]]; then
        bad "$1" "the warning, but the log changed: $changed"
    else
        ok "$1: ${warning#warning: }"
    fi
}

# log_elsewhere <label>: a report for a log that cannot be written; it goes to the crash
# reporter's own folder in the user's profile, and the log stays as its copy.
log_elsewhere() {
    local own changed warning
    own=$(find "$WINEPREFIX/drive_c/users" -path '*/Vessarion/scenario_program' -type d)
    [[ -n $own ]] && rm -rf "$own"
    log_run "$LOGS"
    warning=$(tr -d '\r' <"$WORK/out" | grep -m1 '^warning: ')
    changed=$(diff -r "$WORK/logs" "$LOGS" 2>&1 | head -2 | tr '\n' ' ' | cut -c1-200)
    own=$(find "$WINEPREFIX/drive_c/users" -path '*/Vessarion/scenario_program/*.elf')
    if [[ $warning != "warning: eeNone"* || -z $own ]]; then
        bad "$1" "${warning:-no warning line}, report in the own folder: ${own:-none}"
    elif [[ -n $changed ]]; then
        bad "$1" "the log changed: $changed"
    else
        ok "$1: the report in ${own#"$WINEPREFIX"/}, the log as it was"
    fi
}

# A disk that fills up while a report is saved: the warning, and the log as it was (never a
# torn report at its end). A read-only log file or folder: the report goes elsewhere.
case_log_faults() {
    new_work
    [[ -f $PROGRAM ]] || skip_case "saving reports on a full disk ($PROGRAM is not built)"
    small_disk "saving reports on a full disk or a read-only folder"
    log_on_disk || return
    leave_free 0
    log_refused "report saved to a full disk"
    rm -f "$DISK/.filler"
    log_on_disk || return
    frozen yes "$LOGS"/*
    log_elsewhere "report for a read-only log file"
    frozen no "$LOGS"/*
    log_on_disk || return
    read_only yes
    log_elsewhere "report for a log in a read-only folder"
    read_only no
}

run_cases
