# shellcheck shell=bash
# Driving dialogs from the shell: ui_driver's steps (see its usage), with the pictures it takes
# turned into PNG files under build/artifacts/ for a person to look at. Sourced after BUILD and
# ROOT are set; needs the Wine environment of scripts/wine-env.

UI_DRIVER=$BUILD/tests/ui/ui_driver.exe

# shots_folder <area> <case>: an empty folder for the pictures of one case; prints its path.
shots_folder() {
    local folder=$BUILD/artifacts/$1/$2
    rm -rf "$folder"
    mkdir -p "$folder"
    echo "$folder"
}

# png_shots <folder>: each picture ui_driver saved there as BMP becomes a PNG file.
png_shots() {
    local bmp
    for bmp in "$1"/*.bmp; do
        [[ -e $bmp ]] || continue
        bmptopnm "$bmp" 2>/dev/null | pnmtopng >"${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
    done
}

# ui_drive <shots folder> <seconds> <step>...: runs ui_driver in the foreground; its output goes
# to standard output, its progress to standard error. Returns its exit code.
ui_drive() {
    local shots=$1 rc=0
    shift
    "$ROOT/scripts/wine-run" "$UI_DRIVER" --shots "Z:${shots//\//\\}" "$@" </dev/null || rc=$?
    png_shots "$shots"
    return $rc
}

# drive_program <area> <case> <program> <arguments...> -- <ui_driver steps...>: runs the program
# in $APP while ui_driver takes the steps, its pictures under build/artifacts/<area>/<case>/.
# Sets HOST_OUT and HOST_RC (what the program printed, its exit code), DRIVEN (what the driver
# read) and DRIVE_RC.
drive_program() {
    local area=$1 name=$2 program=$3 host
    local -a args=()
    shift 3
    while [[ $1 != -- ]]; do
        args+=("$1")
        shift
    done
    shift
    (cd "$APP" && exec "$ROOT/scripts/wine-run" "$program" "${args[@]}") </dev/null \
        >"$APP/host.out" 2>&1 &
    host=$!
    DRIVE_RC=0
    ui_drive "$(shots_folder "$area" "$name")" "$WINE_RUN_TIMEOUT" "$@" >"$APP/driven" \
        2>"$APP/driver.err" || DRIVE_RC=$?
    # A dialog the driver could not close would keep the program waiting.
    [[ $DRIVE_RC -eq 0 ]] || kill $host 2>/dev/null
    wait $host
    # shellcheck disable=SC2034 # results for the caller
    HOST_RC=$? HOST_OUT=$(tr -d '\r' <"$APP/host.out")
    DRIVEN=$(tr -d '\r' <"$APP/driven")
}

# driven_ok <name>: the driver did every step.
driven_ok() {
    verdict "$1: every step of the driver done" \
        "$([[ $DRIVE_RC -eq 0 ]] || tail -2 "$APP/driver.err" | tr -d '\r' | tr '\n' ' ')"
}

# control <text> <field> [<reading>]: a field of the control with this text in the driver's
# reading (all it read when none is given): 3 class, 4 enabled|disabled, 5 focused|-,
# 6 left,top,right,bottom, 7 limit, 8 password mask, 9 visible|hidden, 10 checked|unchecked.
control() {
    awk -F'\t' -v text="$1" -v n="$2" '$1 == "control" && $2 == text { print $n; exit }' \
        <<<"${3:-$DRIVEN}"
}
# reading <n>: the driver's n-th reading of a dialog.
reading() {
    awk -F'\t' -v n="$1" '$1 == "dialog" { k++ } k == n && /^(dialog|control)\t/' <<<"$DRIVEN"
}
