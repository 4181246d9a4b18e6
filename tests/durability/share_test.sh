#!/bin/bash
# Two processes on one table: an exclusive open (`pdxtool hold`) keeps every other process out,
# a shared open (a dump kept reading by a pipe nobody empties) admits readers but no restructure,
# a refused process changes no byte, and everything works again once the holder lets go.
#   share_test.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env.
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
TOOL=$BUILD/tools/pdxtool.exe
HOLD_MS=${HOLD_MS:-8000} # long enough for two refused runs on a slow machine
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-60}
export LC_ALL=C

# new_table: a case's own folder $WORK with the table in $DIR (Windows path $WDIR) and its dump
# in $WORK/before. The table's dump is well over a pipe's buffer, so that a reader can be
# stopped mid-table. The folder goes when the case ends, with the holder or reader it started.
new_table() {
    if [[ ! -f $TOOL ]]; then
        bad pdxtool "$TOOL is missing"
        return 1
    fi
    WORK=$(mktemp -d /tmp/pdx-sharing.XXXXXX)
    trap 'kill $(jobs -p) 2>/dev/null; exec 3<&-; rm -rf "$WORK"' EXIT
    DIR=$WORK/db
    SNAP=$WORK/snap
    WDIR=$(win "$DIR")
    mkdir -p "$DIR"
    if ! pdx "$WORK/fill" "$WORK/err" fill "$WDIR" t.db 2000 keyed; then
        bad fill "$(errtext "$WORK/err")"
        return 1
    fi
    if ! pdx "$WORK/before" "$WORK/err" dump "$WDIR" t.db; then
        bad dump "$(errtext "$WORK/err")"
        return 1
    fi
}

# refused <label> <args...>: the run must fail with "table in use" and change no file, not
# even the temporaries that belong to the holder.
refused() {
    local label=$1 rc diffs
    shift
    pdx "$WORK/r.out" "$WORK/r.err" "$@"
    rc=$?
    diffs=$(diff -rq "$SNAP" "$DIR" 2>&1 | head -3 | tr '\n' ' ')
    if [[ $rc -eq 0 ]]; then
        bad "$label" "succeeded"
    elif ! tr -d '\r' <"$WORK/r.err" | grep -q '^error 0x2801: '; then
        bad "$label" "exit $rc, not error 0x2801: $(errtext "$WORK/r.err")"
    elif [[ -n $diffs ]]; then
        bad "$label" "refused, but files changed: $diffs"
    else
        ok "$label"
    fi
}

same() { # same <label> <expected> <actual>
    if cmp -s "$2" "$3"; then ok "$1"; else
        bad "$1" "$(diff "$2" "$3" | head -3 | tr '\n' ' ' | cut -c1-200)"
    fi
}

# An exclusive holder, with the temporaries a restructure of its own would have made.
case_exclusive_holder() {
    local holder rc f left
    new_table || return
    "$ROOT/scripts/wine-run" "$TOOL" hold "$WDIR" t.db "$HOLD_MS" >"$WORK/hold.out" 2>"$WORK/hold.err" &
    holder=$!
    for _ in $(seq 600); do
        grep -q held "$WORK/hold.out" && break
        kill -0 $holder 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q held "$WORK/hold.out"; then
        bad hold "never held the table: $(errtext "$WORK/hold.err")"
        return
    fi
    for f in "$DIR"/*; do cp -p "$f" "$f~new"; done
    cp -a "$DIR" "$SNAP"
    refused "dump while another process holds the table exclusively" dump "$WDIR" t.db
    refused "add while another process holds the table exclusively" add "$WDIR" t.db EIN I 0
    if ! kill -0 $holder 2>/dev/null; then
        bad hold "let go before the refused runs ended; raise HOLD_MS"
    fi
    wait $holder
    rc=$?
    [[ $rc -eq 0 ]] || bad hold "exit $rc: $(errtext "$WORK/hold.err")"
    if ! pdx "$WORK/dump1" "$WORK/err" dump "$WDIR" t.db; then
        bad "dump once the exclusive holder has let go" "$(errtext "$WORK/err")"
    elif left=$(find "$DIR" -name '*~*' -printf '%f ') && [[ -n $left ]]; then
        bad "dump once the exclusive holder has let go" "unjournalled leftovers stay: $left"
    else
        same "dump once the exclusive holder has let go, leftovers cleared" "$WORK/before" "$WORK/dump1"
    fi
}

# A shared reader: a dump stalls on a full pipe with its cursor open. Once it has let go, the
# restructure goes through.
case_shared_reader() {
    local reader first rc
    new_table || return
    cp -a "$DIR" "$SNAP"
    mkfifo "$WORK/pipe"
    "$ROOT/scripts/wine-run" "$TOOL" dump "$WDIR" t.db >"$WORK/pipe" 2>"$WORK/reader.err" &
    reader=$!
    exec 3<"$WORK/pipe"
    if ! IFS= read -r -t 60 first <&3; then
        bad reader "no output: $(errtext "$WORK/reader.err")"
        return
    fi
    if pdx "$WORK/dump2" "$WORK/err" dump "$WDIR" t.db; then
        same "dump while another process reads the table" "$WORK/before" "$WORK/dump2"
    else
        bad "dump while another process reads the table" "$(errtext "$WORK/err")"
    fi
    refused "add while another process reads the table" add "$WDIR" t.db EIN I 0
    kill -0 $reader 2>/dev/null || bad reader "ended before it was let go"
    {
        echo "$first"
        cat <&3
    } | tr -d '\r' >"$WORK/dump3"
    exec 3<&-
    wait $reader
    rc=$?
    if [[ $rc -eq 0 ]]; then
        same "the stalled reader's dump" "$WORK/before" "$WORK/dump3"
    else
        bad "the stalled reader's dump" "exit $rc: $(errtext "$WORK/reader.err")"
    fi

    # Nobody holds it now.
    awk 'NR == 1 { nf = $2; print "fields " nf + 1 " records " $4 " keys " $6 }
         NR > 1 && NR <= nf + 1 { print }
         NR == nf + 1 { print "field " nf + 1 " EIN 04 4" }
         NR > nf + 1 { print $0 "|NULL" }' "$WORK/before" >"$WORK/want"
    if ! pdx "$WORK/add" "$WORK/err" add "$WDIR" t.db EIN I 0; then
        bad "add once nobody holds the table" "$(errtext "$WORK/err")"
    elif pdx "$WORK/after" "$WORK/err" dump "$WDIR" t.db; then
        same "add once nobody holds the table" "$WORK/want" "$WORK/after"
    else
        bad "add once nobody holds the table" "dump after: $(errtext "$WORK/err")"
    fi
}

# Restructures while another process keeps opening the table. Every open recovers first, under
# the table lock, and must never take a running commit's files for leftovers: each add either
# goes through or is refused as in use, and the table ends with exactly the fields of the adds
# that went through, every record whole, nothing left over.
case_restructures_among_opens() {
    local opener rc i added=() left
    new_table || return
    "$ROOT/scripts/wine-run" "$TOOL" reopen "$WDIR" t.db "$HOLD_MS" >"$WORK/reopen.out" \
        2>"$WORK/reopen.err" &
    opener=$!
    for i in $(seq 40); do
        kill -0 $opener 2>/dev/null || break
        pdx "$WORK/add" "$WORK/err" add "$WDIR" t.db "F$i" I 0
        rc=$?
        if [[ $rc -eq 0 ]]; then
            added+=("F$i")
        elif ! tr -d '\r' <"$WORK/err" | grep -q '^error 0x2801: '; then
            bad "add F$i among opens" "exit $rc, not error 0x2801: $(errtext "$WORK/err")"
        fi
    done
    wait $opener
    rc=$?
    if [[ $rc -ne 0 ]]; then
        bad "opener" "exit $rc: $(errtext "$WORK/reopen.err")"
    elif [[ ${#added[@]} -eq 0 ]]; then
        bad "adds among opens" "none went through ($(tr -d '\r' <"$WORK/reopen.out"))"
    fi
    echo "# ${#added[@]} adds went through among opens: $(tr -d '\r' <"$WORK/reopen.out")"
    with_fields "$WORK/before" "${added[@]}" >"$WORK/want"
    if ! pdx "$WORK/after" "$WORK/err" dump "$WDIR" t.db; then
        bad "table after adds among opens" "$(errtext "$WORK/err")"
    else
        same "table after adds among opens: the fields of the adds that went through" \
            "$WORK/want" "$WORK/after"
    fi
    left=$(find "$DIR" -name '*~*' -printf '%f ')
    verdict "adds among opens leave nothing over" "${left:+left: $left}"
}

# with_fields <dump> <field>...: the dump once long integer fields of those names are appended.
with_fields() {
    local dump=$1
    shift
    awk -v names="$*" '
        BEGIN { k = split(names, add, " "); for (i = 1; i <= k; i++) nulls = nulls "|NULL" }
        NR == 1 { nf = $2; print "fields " nf + k " records " $4 " keys " $6; next }
        NR <= nf + 1 {
            print
            for (i = 1; NR == nf + 1 && i <= k; i++) print "field " nf + i " " add[i] " 04 4"
            next
        }
        { print $0 nulls }' "$dump"
}

run_cases
