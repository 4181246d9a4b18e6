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
