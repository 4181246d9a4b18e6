#!/bin/bash
# Interop test: pdxtool.exe (our engine, under Wine) against pxlib on the Linux side.
#   run.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env and pxcheck (built by the build from
# pxcheck.c with the host gcc). Makes fixture tables with pxlib, copies the sample tables, and
# checks that both sides dump them alike, before and after pdxtool appends three fields.
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
TOOL=$BUILD/tools/pdxtool.exe
PXCHECK=$BUILD/interop/pxcheck
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-180} # one hung run must not eat the whole test
export LC_ALL=C                                  # table data is cp1252 bytes, not UTF-8

WORK=$(mktemp -d /tmp/pdx-interop.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# The table argument pdxtool gets: the file name as it lies in the folder.
tablearg() { basename "$1"; }

first_diff() {
    local msg n
    msg=$(cmp "$1" "$2" 2>&1)
    n=$(sed -n 's/.*line \([0-9]*\).*/\1/p' <<<"$msg")
    [[ -n $n ]] || n=0
    [[ $msg == *EOF* ]] && n=$((n + 1)) # cmp names the last line both files have
    printf 'line %s: expected "%s", got "%s" (%s vs %s lines)' "$n" \
        "$(sed -n "${n}p" "$1" | cut -c1-160)" "$(sed -n "${n}p" "$2" | cut -c1-160)" \
        "$(wc -l <"$1")" "$(wc -l <"$2")"
}

same() { # same <name> <expected> <actual>
    if cmp -s "$2" "$3"; then ok "$1"; else bad "$1" "$(first_diff "$2" "$3")"; fi
}

hexat() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

# The dump expected after adding NEWA A12, NEWS S, NEWI I to a table dumped as $1.
expect_added() {
    awk 'NR == 1 { nf = $2; print "fields " nf + 3 " records " $4 " keys " $6 }
         NR > 1 && NR <= nf + 1 { print }
         NR == nf + 1 {
             print "field " nf + 1 " NEWA 01 12"
             print "field " nf + 2 " NEWS 03 2"
             print "field " nf + 3 " NEWI 04 4" }
         NR > nf + 1 { print $0 "|NULL|NULL|NULL" }' "$1"
}

pxfile() { # the .px/.PX beside a table, if any
    local b=${1%.*} e
    for e in px PX; do [[ -f $b.$e ]] && { echo "$b.$e"; return; }; done
}

# check_table <name> <table path> <sample|fixture> <dup:yes|no> [password]
check_table() {
    local name=$1 db=$2 kind=$3 dup=$4 pw=${5:-} dir px t=$WORK/$1 rc keyed autoinc=""
    local -a pwarg=()
    [[ -n $pw ]] && pwarg=("$pw")
    dir=$(win "$(dirname "$db")")
    px=$(pxfile "$db")
    if ! "$PXCHECK" dump "$db" ${px:+"$px"} >"$t.ref" 2>"$t.err"; then
        if [[ $kind == sample && -n $px ]] && "$PXCHECK" dump "$db" >"$t.ref" 2>"$t.err"; then
            # pxlib cannot use some engine indexes (more than two levels); the chain has the same order
            skip "index-before $name" "pxlib cannot use $(basename "$px"), compared in chain order"
        elif [[ $kind == sample ]]; then
            skip "$name" "pxlib cannot read it: $(errtext "$t.err")"
            return
        else
            bad "dump $name" "pxlib cannot read the fixture: $(errtext "$t.err")"
            return
        fi
    fi
    keyed=$(awk 'NR == 1 { print $6 }' "$t.ref")
    # the "+" counter lives in the header and must survive the restructure
    grep -q '^field [0-9]* .* 16 4$' "$t.ref" && autoinc=$(hexat "$db" $((0x49)) 4)

    if pdx "$t.dump" "$t.err" dump "$dir" "$(tablearg "$db")" "${pwarg[@]}"; then
        same "dump $name" "$t.ref" "$t.dump"
    else
        bad "dump $name" "pdxtool exit $?: $(errtext "$t.err")"
    fi

    for f in "NEWA A 12" "NEWS S 0" "NEWI I 0"; do
        # shellcheck disable=SC2086
        pdx "$t.add" "$t.err" add "$dir" "$(tablearg "$db")" $f "${pwarg[@]}"
        rc=$?
        if [[ $rc -ne 0 ]]; then
            bad "add $name" "pdxtool add ${f%% *} exit $rc: $(errtext "$t.err")"
            return
        fi
    done

    expect_added "$t.ref" >"$t.want"
    [[ -z $px ]] && px=$(pxfile "$db") # a keyed table may gain its index
    if "$PXCHECK" dump "$db" ${px:+"$px"} >"$t.after" 2>"$t.err"; then
        same "add $name" "$t.want" "$t.after"
    else
        bad "add $name" "pxlib cannot read the result: $(errtext "$t.err")"
        cp "$t.want" "$t.after"
    fi
    if pdx "$t.dump2" "$t.err" dump "$dir" "$(tablearg "$db")" "${pwarg[@]}"; then
        same "dump-after $name" "$t.after" "$t.dump2"
    else
        bad "dump-after $name" "pdxtool exit $?: $(errtext "$t.err")"
    fi

    if [[ $keyed != 0 ]]; then
        if [[ -z $px ]]; then
            skip "index $name" "keyed table without a primary index file"
        elif "$PXCHECK" verifypx "$db" "$px" >"$t.px" 2>"$t.err"; then
            ok "index $name ($(cat "$t.px"))"
        else
            bad "index $name" "$(cat "$t.px") $(errtext "$t.err")"
        fi
    fi
    if [[ -n $autoinc ]]; then
        local now
        now=$(hexat "$db" $((0x49)) 4)
        if [[ $now == "$autoinc" ]]; then ok "autoinc $name"; else
            bad "autoinc $name" "header 0x49 was $autoinc, now $now"
        fi
    fi

    [[ $dup == yes ]] && check_dup "$name" "$db" "$dir" "${pwarg[@]}"
}

# A second NEWA must be refused and leave every file of the folder as it was.
check_dup() {
    local name=$1 db=$2 dir=$3 t=$WORK/$1 snap=$WORK/$1.snap rc diffs
    shift 3
    rm -rf "$snap"
    cp -a "$(dirname "$db")" "$snap"
    pdx "$t.dup" "$t.err" add "$dir" "$(tablearg "$db")" NEWA A 12 "$@"
    rc=$?
    diffs=$(diff -rq "$snap" "$(dirname "$db")" 2>&1 | head -3 | tr '\n' ' ')
    if [[ $rc -eq 0 ]]; then
        bad "dup-add $name" "a second NEWA was accepted"
    elif ! tr -d '\r' <"$t.err" | grep -qiE '^error 0x[0-9a-f]{4}: '; then
        bad "dup-add $name" "exit $rc, stderr not 'error 0xHHHH: text': $(errtext "$t.err")"
    elif [[ -n $diffs ]]; then
        bad "dup-add $name" "files changed: $diffs"
    else
        ok "dup-add $name"
    fi
}

# The fixture tables pxlib writes (slowly): made once by the first case, copied by the others
# into $FX.
FIXTURES=$SHARED_WORK/fixtures
FX=$WORK/fx
make_fixtures() {
    [[ -f $FIXTURES/plain.db ]] || skip_case "$1 (pxlib's fixture tables were not made)"
    rm -rf "$FX"
    cp -r "$FIXTURES" "$FX"
}

case_pxlib_fixtures() { # ctest: FIXTURES_SETUP interop_fixtures
    local stage b out
    rm -rf "$FIXTURES"
    mkdir -p "$SHARED_WORK"
    stage=$(mktemp -d "$SHARED_WORK/.fixtures.XXXXXX")
    if ! "$PXCHECK" make "$stage" 2>"$WORK/make.err"; then
        bad make "$(errtext "$WORK/make.err")"
        rm -rf "$stage"
        return
    fi
    ok make
    for b in keyed keyed2 big secretk; do
        if out=$("$PXCHECK" verifypx "$stage/$b.db" "$stage/$b.px" 2>&1); then ok "pxlib-index $b ($out)"; else
            bad "pxlib-index $b" "$out"
        fi
    done
    mv "$stage" "$FIXTURES"
}

case_secret_without_password() { # ctest: FIXTURES_REQUIRED interop_fixtures
    make_fixtures "a protected table opened without its password"
    if pdx "$WORK/nopw" "$WORK/nopw.err" dump "$(win "$FX")" "$(tablearg secret.db)"; then
        bad "no-password secret" "dump without password succeeded"
    elif tr -d '\r' <"$WORK/nopw.err" | grep -qi '^error 0x2902: '; then
        ok "no-password secret"
    else
        bad "no-password secret" "expected error 0x2902, got: $(errtext "$WORK/nopw.err")"
    fi
}

# fixture <name> <dup:yes|no> [password]: one of pxlib's fixture tables, both ways.
fixture() {
    make_fixtures "pxlib's $1 table"
    check_table "$1" "$FX/$1.db" fixture "$2" "${3:-}"
}
case_plain() { fixture plain yes; } # ctest: FIXTURES_REQUIRED interop_fixtures
case_keyed() { fixture keyed yes; } # ctest: FIXTURES_REQUIRED interop_fixtures
case_keyed_two_fields() { fixture keyed2 no; } # ctest: FIXTURES_REQUIRED interop_fixtures
case_big() { fixture big no; } # ctest: FIXTURES_REQUIRED interop_fixtures
case_secret_keyed() { fixture secretk no 123; } # ctest: FIXTURES_REQUIRED interop_fixtures

# The restructure keeps the table encrypted with the same password.
case_secret() { # ctest: FIXTURES_REQUIRED interop_fixtures
    make_fixtures "the protected table's encryption kept"
    local before after
    before=$(hexat "$FX/secret.db" $((0x25)) 4)/$(hexat "$FX/secret.db" $((0x5C)) 4)
    check_table secret "$FX/secret.db" fixture yes 123
    after=$(hexat "$FX/secret.db" $((0x25)) 4)/$(hexat "$FX/secret.db" $((0x5C)) 4)
    if [[ $before == 00ff00ff/* && $before != */00000000 && $after == "$before" ]]; then
        ok "still-encrypted secret"
    else
        bad "still-encrypted secret" "header 0x25/0x5C was $before, now $after"
    fi
}

# sample_tables <folder> <name>: every table of a folder of sample tables, copied as <name>.
sample_tables() {
    local S=$WORK/samples db rel dup
    mkdir -p "$S"
    cp -r "$1" "$S/$2"
    chmod -R u+w "$S"
    while IFS= read -r db; do
        rel=${db#"$S"/}
        case $rel in
        customer/CUSTOMER.DB | types/TypSammlung.DB | orders/ORDERS.DB) dup=yes ;;
        legacy/EMPLOYEE.DB | legacy/indexed.db) dup=yes ;;
        *) dup=no ;;
        esac
        check_table "${rel//\//:}" "$db" sample "$dup"
    done < <(find "$S/$2" -type f \( -name '*.db' -o -name '*.DB' \) | sort)
}

# samples <folder>: the sample tables of the original engine in one folder of the samples.
samples() {
    need_samples "pxlib and our engine on the original engine's tables in $1/"
    sample_tables "$SAMPLES/$1" "$1"
}
case_samples_customer() { samples customer; }
case_samples_fields() { samples fields; } # ctest: LABELS slow
case_samples_hercules() { samples hercules; }
case_samples_misc() { samples misc; }
case_samples_orders() { samples orders; }
case_samples_types() { samples types; }
# 3.0 tables with validity files of their era, an unkeyed table with a secondary index, an index
# stamp as the original engine left it.
case_samples_legacy() {
    need_legacy "pxlib and our engine on the original engine's legacy families"
    sample_tables "$LEGACY" legacy
}

# A folder of samples without a case above would go unchecked.
case_sample_folders() {
    need_samples "that every folder of sample tables has its case"
    local d why=""
    for d in "$SAMPLES"/*/; do
        d=$(basename "$d")
        grep -q "^case_samples_$d() {" "$TEST_SCRIPT" || why+="$d "
    done
    verdict "every folder of samples has its case" "${why:+no case for: $why}"
}

run_cases
