#!/bin/bash
# The tools under Wine: mkprofiledb writes the PROFILEDATA database in its old layout, pdxadmin
# lists and verifies it and the sample tables of the original engine, finds damage planted in
# copies, and appends fields that leave the tables consistent.
#   run.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env (the test command provides it).
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-180} LC_ALL=C

WORK=$(mktemp -d /tmp/pdx-tools.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# tool <exe> <args...>: runs mkprofiledb or pdxadmin; stdout without CRs in $OUT, stderr in
# $ERR, the exit code in $RC.
OUT=$WORK/out
ERR=$WORK/err
RC=0
tool() {
    local exe=$BUILD/tools/$1.exe
    shift
    "$ROOT/scripts/wine-run" "$exe" "$@" 2>"$ERR" | tr -d '\r' >"$OUT"
    RC=${PIPESTATUS[0]}
}
shown() { head -c 300 "$OUT" "$ERR" | tr '\n' '|'; }
# expect <name> <exit code> <extended regex the output must match, or "">
expect() {
    local why=""
    if [[ $RC -ne $2 ]]; then
        why="exit $RC, not $2: $(shown)"
    elif [[ -n $3 ]] && ! grep -Eq "$3" "$OUT"; then
        why="no line matches /$3/: $(shown)"
    fi
    verdict "$1" "$why"
}

# The columns the upgrade adds, by table: none may be in the old layout.
UPGRADE_COLUMNS='
Subject.DB PHY_STATE_COUNTRY MAIL_STATE_COUNTRY EIN Truck_Units Bus_Units Mail_Street Mail_City
  Mail_State Mail_Zip_Code Revocation_Date Revocation_Rescinded_Date New_Entrant_Code
  New_Entrant_Entry_Date New_Entrant_Exit_Date New_Entrant_Code_Desc MSG_BIENNIAL
Profiles.DB Version
Inspections.DB RealRepNum
InspDriver.DB RealRepNum DViols
InspCarrier.DB RealRepNum Vin Company_Number2 Unit2 LicNum2 Vin2 Company_Number3 Unit3 LicNum3
  Vin3 Company_Number4 Unit4 LicNum4 Vin4 Company_Number5 Unit5 LicNum5 Vin5 Company_Number6
  Unit6 LicNum6 Vin6
Insp_Viols.DB RealRepNum Post_Crash_Flag
Crashes.DB RealRepNum
CrashDriver.DB RealRepNum DViols
CrashVeh.DB RealRepNum Unit2 LicNum2 Unit3 LicNum3 Unit4 LicNum4 Unit5 LicNum5 Unit6 LicNum6
CrashSeq.DB RealRepNum
CrashSummary.DB CYear
Basics.DB Basics_Name'
TABLES=$(grep -o '[A-Za-z_]*\.DB' <<<"$UPGRADE_COLUMNS")
listed_columns() { # the upgrade's columns of one table, in upper case
    awk -v t="$1" '/\.DB/ { on = $1 == t } on' <<<"$UPGRADE_COLUMNS" |
        tr ' ' '\n' | grep -v '\.DB' | grep . | tr '[:lower:]' '[:upper:]'
}
[[ $(for t in $TABLES; do listed_columns "$t"; done | wc -l) -eq 61 ]] ||
    verdict "column list" "the test's list does not hold 61 columns"

# ---- the database in the old layout, with its alias: made once, read by the cases after
DB=$SHARED_WORK/db
INI=$SHARED_WORK/idapi32.ini
ROWS=30

# The listings below need the database: without it they would only repeat its absence.
need_database() {
    [[ -f $INI && -f $DB/Subject.DB ]] || skip_case "$1 (the database was not made)"
}

case_make_database() { # ctest: FIXTURES_SETUP tools_database
    rm -rf "$SHARED_WORK"
    mkdir -p "$SHARED_WORK"
    tool mkprofiledb "$(win "$DB")" $ROWS --ini "$(win "$INI")"
    expect make 0 ""
    verdict "secondary index" \
        "$([[ -f $DB/Inspections.X02 && -f $DB/Inspections.Y02 ]] || echo "Inspections.X02/.Y02 missing")"
}

case_aliases_and_tables() { # ctest: FIXTURES_REQUIRED tools_database
    need_database "the alias and the table list"
    tool pdxadmin --ini "$(win "$INI")" aliases
    expect aliases 0 "^PROFILEDATA	$(sed 's/\\/\\\\/g' <<<"$(win "$DB")")$"
    tool pdxadmin --ini "$(win "$INI")" tables PROFILEDATA
    local want
    want=$(for t in $TABLES; do echo "$t	$ROWS"; done | sort -f)
    verdict tables "$([[ $RC -eq 0 && $(sort -f "$OUT") == "$want" ]] || echo "exit $RC: $(shown)")"
}

# One listing of all twelve tables, split into one file per table.
case_fields() { # ctest: FIXTURES_REQUIRED tools_database
    need_database "the field listings"
    # shellcheck disable=SC2086
    tool pdxadmin --ini "$(win "$INI")" fields PROFILEDATA $TABLES
    expect "fields" 0 ""
    mkdir -p "$WORK/fields"
    awk -F'\t' -v dir="$WORK/fields" '$1 == "table" { f = dir "/" $2 } f { print > f }' "$OUT"
    local memo=no t f why present
    for t in $TABLES; do
        f=$WORK/fields/$t
        why=""
        present=$(awk -F'\t' '$1 == "field" { print toupper($3) }' "$f" 2>/dev/null |
            grep -Fxf <(listed_columns "$t") | tr '\n' ' ')
        if [[ ! -f $f ]]; then
            why="not listed"
        elif ! grep -qx "records	$ROWS" "$f" || ! grep -q "^key fields	[1-9]" "$f"; then
            why="records or key missing: $(head -c 300 "$f" | tr '\n' '|')"
        elif [[ -n $present ]]; then
            why="upgrade columns present: $present"
        elif [[ $t == Subject.DB ]] && ! grep -qx 'level	4' "$f"; then
            why="not level 4"
        fi
        grep -qs '^field	.*	M	' "$f" && memo=yes
        verdict "fields $t" "$why"
    done
    verdict "memo column" "$([[ $memo == yes ]] || echo "no table has a memo field")"
}

case_verify_database() { # ctest: FIXTURES_REQUIRED tools_database
    need_database "the database's verification"
    tool pdxadmin --ini "$(win "$INI")" verify PROFILEDATA
    expect "verify database" 0 ""
    verdict "verify database lines" \
        "$([[ $(grep -c ': ok$' "$OUT") -eq 12 ]] || echo "not 12 tables ok: $(shown)")"
}

# The same seed gives the same rows.
case_same_content() { # ctest: FIXTURES_REQUIRED tools_database
    need_database "that the same seed gives the same rows"
    tool mkprofiledb "$(win "$WORK/again")" $ROWS --only basics
    "$ROOT/scripts/wine-run" "$BUILD/tools/pdxtool.exe" dump "$(win "$DB")" Basics.DB >"$WORK/a" 2>&1
    "$ROOT/scripts/wine-run" "$BUILD/tools/pdxtool.exe" dump "$(win "$WORK/again")" Basics.DB >"$WORK/b" 2>&1
    verdict "same content" "$(cmp -s "$WORK/a" "$WORK/b" && [[ -s $WORK/a ]] || echo "dumps differ")"
}

# Appending fields keeps every table consistent: a long integer raises a level-4 table, and a
# table with a secondary index gets its hints moved with its records. On a copy of the
# database, under an alias of its own.
case_add_fields() { # ctest: FIXTURES_REQUIRED tools_database
    need_database "appending fields to the database"
    local copy=$WORK/copy ini=$WORK/copy.ini
    cp -r "$DB" "$copy"
    printf '[PROFILEDATA]\r\nPATH=%s\r\nDEFAULT DRIVER=PARADOX\r\n' "$(win "$copy")" >"$ini"
    tool pdxadmin --ini "$(win "$ini")" add PROFILEDATA Subject.DB EIN I 0
    expect "add EIN" 0 ""
    tool pdxadmin --ini "$(win "$ini")" add PROFILEDATA Inspections.DB RealRepNum A 12
    expect "add RealRepNum" 0 ""
    tool pdxadmin --ini "$(win "$ini")" fields PROFILEDATA Subject.DB
    verdict "added EIN" "$(grep -qx 'level	5' "$OUT" && grep -qx "records	$ROWS" "$OUT" &&
        tail -1 "$OUT" | grep -qx 'field	20	EIN	I	4' || shown)"
    tool pdxadmin --ini "$(win "$ini")" verify PROFILEDATA Subject.DB Inspections.DB
    expect "verify after add" 0 "^Inspections.DB: ok$"
}

# ---- the sample tables of the original engine, copied
# verify_copy <folder> <name>: pdxadmin verify finds every table of a copy of the folder sound;
# notes are allowed.
verify_copy() {
    local copy=$WORK/verify/$2 odd
    mkdir -p "$WORK/verify"
    cp -r "$1" "$copy"
    chmod -R u+w "$copy"
    tool pdxadmin verify "$(win "$copy")"
    odd=$(grep -Ev '^note: |(^|: )ok$' "$OUT" | head -3 | tr '\n' '|')
    verdict "verify $2" "$([[ $RC -eq 0 && -z $odd ]] || echo "exit $RC: ${odd:-$(shown)}")"
}

case_verify_samples() {
    need_samples "pdxadmin verify on the original engine's tables"
    local d
    for d in "$SAMPLES"/*/; do
        verify_copy "${d%/}" "samples:$(basename "$d")"
    done
}

case_verify_legacy() {
    need_legacy "pdxadmin verify on the original engine's legacy families"
    verify_copy "$LEGACY" legacy
}

# plant <folder>: damage planted in copies of the folder's tables, one case a line on stdin:
# table | file | offset | bytes | the line expected
plant() {
    local root=$1 table file offset bytes finding copy
    while IFS='|' read -r table file offset bytes finding; do
        [[ -z $table ]] && continue
        copy=$WORK/damaged/$(basename "$root")-$file-$offset
        mkdir -p "$copy"
        cp "$root"/* "$copy"/
        chmod -R u+w "$copy"
        printf "$bytes" | dd of="$copy/$file" bs=1 seek=$((offset)) conv=notrunc status=none
        tool pdxadmin verify "$(win "$copy")" "$table"
        expect "damaged $(basename "$root")/$file@$offset" 1 "^$finding"
    done
}

case_damaged_samples() {
    need_samples "pdxadmin verify on damage planted in the original engine's tables"
    plant "$SAMPLES/customer" <<'CASES'
CUSTOMER.DB|CUSTOMER.PX|2048+6+6|\x80\x07|CUSTOMER.PX: leaf entry 1 names block 1 with 7 records
CUSTOMER.DB|CUSTOMER.PX|2048+6|\x80\x00\x00\x02|CUSTOMER.PX: leaf entry 1 does not carry the key
CUSTOMER.DB|CUSTOMER.X06|2048+6+19|\x80\x01|CUSTOMER.X06: entry 1: block 1 holds no record
CUSTOMER.DB|CUSTOMER.X06|0x2E|\x01|CUSTOMER.X06: stamp 1, CUSTOMER.DB 140
CASES
    plant "$SAMPLES/orders" <<'CASES'
ORDERS.DB|ORDERS.DB|6|\xdf|ORDERS.DB: header counts 223 records, the block chain holds 224
ORDERS.DB|ORDERS.DB|2048+2048+2|\x05|ORDERS.DB: block 2 links back to block 5
ORDERS.DB|ORDERS.DB|2048+6+71|\xff|ORDERS.DB: record 3 \(block 1\) does not follow the key order
CASES
    plant "$SAMPLES/fields" <<'CASES'
logical.db|logical.val|82|\x02|logical.val: lists 2 fields
CASES
}

# Damage is told from what the engine does not understand: a check of a fourth field of three
# is neither.
case_damaged_legacy() {
    need_legacy "pdxadmin verify on damage planted in the original engine's legacy families"
    plant "$LEGACY" <<'CASES'
EMPLOYEE.DB|EMPLOYEE.VAL|0|\x01|EMPLOYEE.VAL: stamp 1, EMPLOYEE.DB 175: the files were not
EMPLOYEE.DB|EMPLOYEE.VAL|0x35|\x03|not understood: EMPLOYEE.VAL: neither the layout of the 3.x era
fk4.db|fk4.XG0|0x2E|\x86|fk4.XG0: stamp 134, fk4.db 132: the files were not written together
CASES
    tool pdxadmin verify "$(win "$WORK/damaged/$(basename "$LEGACY")-EMPLOYEE.VAL-0x35")" EMPLOYEE.DB
    expect "not understood, not damaged" 1 "^not understood$"
}

# ---- partial layouts: listed columns present (in another letter case), a protected table
case_partial_layout() {
    local P=$WORK/partial
    tool mkprofiledb "$(win "$P")" 5 --only Subject --only crashdriver \
        --present Subject:ein,MAIL_STATE_COUNTRY --present CrashDriver:dviols --protect CrashDriver=pw1
    expect "make partial" 0 ""
    tool pdxadmin tables "$(win "$P")"
    verdict "partial tables" "$([[ $(wc -l <"$OUT") -eq 2 ]] || shown)"
    tool pdxadmin fields "$(win "$P")" Subject
    expect "present ein" 0 "^field	20	ein	I	4$"
    expect "present MAIL_STATE_COUNTRY" 0 "^field	21	MAIL_STATE_COUNTRY	A	50$"
    tool pdxadmin fields "$(win "$P")" CrashDriver
    verdict "protected without password" "$([[ $RC -eq 1 ]] && grep -q '^error 0x2902: ' "$ERR" || shown)"
    tool pdxadmin --password pw1 fields "$(win "$P")" CrashDriver
    expect "present dviols" 0 "^field	9	dviols	S	2$"
    expect "protected" 0 "^encrypted	yes$"
}

run_cases
