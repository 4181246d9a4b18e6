#!/bin/bash
# Durability of the whole upgrade: ProfileUpgrade.exe on a database of 20,000 rows a table,
# killed with SIGKILL again and again. Each run starts from what the last kill left, so that one
# upgrade's work is cut at moments spread over all its columns, without paying a whole upgrade
# for every kill. After each kill every table opens (the open finishes or undoes the commit the
# kill cut short) and is exactly its state before or after some whole number of its columns;
# the last run, left alone, ends with all 61 columns and every record unchanged. Tables are read
# back with pxlib.
#   upgrade_kill_test.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env. KILL_UPGRADE_ROWS (rows a table) and
# KILL_UPGRADE_KILLS (kills) change the sizes.
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
# shellcheck source=processes.sh
source "$ROOT/tests/durability/processes.sh"
# shellcheck source=../upgrade/columns.sh
source "$ROOT/tests/upgrade/columns.sh"
TOOLS=$BUILD/tools
MAKER=$BUILD/tests/profile_database_maker.exe
PXCHECK=$BUILD/interop/pxcheck
ROWS=${KILL_UPGRADE_ROWS:-20000}
KILLS=${KILL_UPGRADE_KILLS:-30}
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-300} # one hung run must not eat the whole test
export LC_ALL=C

RUNNER="" WPID="" # the wine-run of an upgrade under test and its Windows process
cleanup() {
    [[ -n $WPID ]] && kill -9 "$WPID" 2>/dev/null
    [[ -n $RUNNER ]] && kill -9 "$RUNNER" 2>/dev/null
    rm -rf "$WORK"
}

# pause: a short wait without starting a process, so that the watch leaves the upgrade the CPU:
# a read from a pipe that nobody writes to, nor closes.
pause() { read -r -t 0.005 -u "$PAUSE"; }

temporaries() { compgen -G "$DB/*~new" >/dev/null; }

# upgrade_killed <n> <fraction %>: runs the upgrade and kills it once it has begun writing its
# n-th column, a fraction of the column before's time later (more than 100 reaches into the
# next one). Sets AT (µs after the n-th column began) and returns 1 when the upgrade ended by
# itself (RC its exit code).
upgrade_killed() {
    local n=$1 fraction=$2 seen=0 was=no t t_prev=0 t_last=0 at=""
    (cd "$APP" && exec "$ROOT/scripts/wine-run" ProfileUpgrade.exe) </dev/null >"$WORK/up.out" 2>&1 &
    RUNNER=$!
    AT=""
    if WPID=$(windows_process "$RUNNER" 'ProfileUpgrade\.exe'); then
        while kill -0 "$WPID" 2>/dev/null; do
            t=$(now_us)
            if temporaries; then
                if [[ $was == no ]]; then
                    seen=$((seen + 1)) t_prev=$t_last t_last=$t
                    ((seen == n)) && at=$((t + (t - t_prev) * fraction / 100))
                fi
                was=yes
            else
                was=no
            fi
            if [[ -n $at ]] && ((t >= at)); then
                kill -9 "$WPID" 2>/dev/null
                AT=$((t - t_last))
                break
            fi
            pause
        done
    fi
    wait "$RUNNER" 2>/dev/null
    RC=$?
    RUNNER="" WPID=""
    [[ -n $AT ]]
}

# open_all <out-dir>: every table opened through the engine (which recovers what a kill left)
# and its field lines, one file per table; fails when a table does not open.
open_all() {
    local list=$WORK/fields.out
    rm -rf "$1"
    mkdir -p "$1"
    "$ROOT/scripts/wine-run" "$TOOLS/pdxadmin.exe" fields "$(win "$DB")" "${TABLES[@]}" \
        </dev/null 2>&1 | tr -d '\r' >"$list"
    awk -F'\t' -v dir="$1" '$1 == "table" { f = dir "/" $2 } $1 == "field" { print > f }' "$list"
    [[ $(grep -c '^table' "$list") -eq ${#TABLES[@]} ]] && ! grep -q '^error' "$list"
}

# states <label>: each table, as pxlib reads it, is its old state with a whole number of its
# columns added; ADDED is the number of columns added over all tables.
states() {
    local t k why="" left
    ADDED=0
    if ! open_all "$WORK/f"; then
        bad "$1" "not every table opens: $(errtext "$WORK/fields.out")"
        return 1
    fi
    for t in "${TABLES[@]}"; do
        k=$(($(wc -l <"$WORK/f/$t") - $(wc -l <"$WORK/f0/$t")))
        ADDED=$((ADDED + k))
        "$PXCHECK" dump "$DB/$t" "$DB/${t%.DB}.PX" >"$WORK/px" 2>&1
        cmp -s <(want_dump "$t" "$WORK/f0/$t" "$WORK/d0/$t" "$k") "$WORK/px" ||
            why+="$t ($k columns): $(diff <(want_dump "$t" "$WORK/f0/$t" "$WORK/d0/$t" "$k") \
                "$WORK/px" | grep '^[<>]' | head -2 | tr '\n' ' ' | cut -c1-160) "
    done
    left=$(find "$DB" -name '*~*' -printf '%f ')
    verdict "$1: every table whole, $ADDED columns in" "$why${left:+left: $left}"
}

case_upgrade_kills() { # ctest: LABELS slow
    local kill t0 random=$RANDOM
    [[ -x $PXCHECK ]] || skip_case "kills of the upgrade (no pxcheck in $PXCHECK)"
    WORK=$(mktemp -d /tmp/upgrade-kills.XXXXXX)
    trap cleanup EXIT
    mkfifo "$WORK/pause"
    exec {PAUSE}<>"$WORK/pause"
    DB=$WORK/db APP=$WORK/app
    mkdir -p "$APP"
    cp "$TOOLS/IDAPI32.DLL" "$TOOLS/ProfileUpgrade.exe" "$APP/"
    # Written as the upgrade benchmark writes it: mkprofiledb takes many minutes for this size.
    t0=$(now_us)
    if ! "$ROOT/scripts/wine-run" "$MAKER" "$(win "$DB")" "$ROWS" </dev/null >"$WORK/make.out" 2>&1
    then
        bad "make the database" "$(errtext "$WORK/make.out")"
        return
    fi
    printf '[PROFILEDATA]\r\nPATH=%s\r\nDEFAULT DRIVER=PARADOX\r\n' "$(win "$DB")" >"$APP/IDAPI32.INI"
    echo "# $ROWS rows a table made in $(ms $(($(now_us) - t0))) ms"
    open_all "$WORK/f0" || {
        bad "tables before" "$(errtext "$WORK/fields.out")"
        return
    }
    mkdir -p "$WORK/d0"
    for t in "${TABLES[@]}"; do
        "$PXCHECK" dump "$DB/$t" "$DB/${t%.DB}.PX" >"$WORK/d0/$t" 2>&1
    done
    # Each run is killed in its second column (its first runs whole), at a moment spread over
    # that column and into the next: every run moves the upgrade on by a column or two.
    t0=$(now_us)
    for ((kill = 1; kill <= KILLS; kill++)); do
        RANDOM=$((random + kill))
        if ! upgrade_killed 2 $((RANDOM % 120)); then
            echo "# the upgrade ended by itself (exit $RC) before kill $kill"
            break
        fi
        states "kill $kill, $(ms "$AT") ms into a column" || return
    done
    (cd "$APP" && "$ROOT/scripts/wine-run" ProfileUpgrade.exe) </dev/null >"$WORK/up.out" 2>&1
    RC=$?
    verdict "the upgrade after $((kill - 1)) kills ends well" \
        "$([[ $RC -eq 0 ]] || echo "exit $RC: $(errtext "$WORK/up.out")")"
    states "after the last run" || return
    verdict "after the last run: all 61 columns" "$([[ $ADDED -eq 61 ]] || echo "$ADDED columns")"
    echo "# the whole upgrade, $((kill - 1)) kills, in $(ms $(($(now_us) - t0))) ms"
}

run_cases
