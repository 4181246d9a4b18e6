#!/bin/bash
# The password and login dialogs of the table layer, driven as a user would: open_table brings
# a dialog up from a folder of its own (engine, alias file, Subject.DB and Basics.DB made by
# mkprofiledb), ui_driver reads, types and clicks, and open_table tells what came of it.
# Pictures of the states the driver visits land in build/artifacts/table-dialogs/<case>/.
#   dialogs.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env (the test command provides it).
set -u

# shellcheck source=../checks.sh
source "$(dirname "$0")/../checks.sh" "$@"
# shellcheck source=../ui/ui.sh
source "$ROOT/tests/ui/ui.sh"
TOOLS=$BUILD/tools
HOST=$BUILD/tests/tables/open_table.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-120} # one hung run must not eat the whole test
PROMPT="Enter password"
LOGIN="Database Login"

WORK=$(mktemp -d /tmp/table-dialogs.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT

# app_folder <name> [mkprofiledb options...]: $APP with the engine and an alias file for a
# database of Subject.DB and Basics.DB, 5 rows each, made with the options.
app_folder() {
    APP=$WORK/$1
    shift
    mkdir -p "$APP"
    cp "$TOOLS/IDAPI32.DLL" "$APP/"
    "$ROOT/scripts/wine-run" "$TOOLS/mkprofiledb.exe" --ini "$(win "$APP/IDAPI32.INI")" \
        --only Subject --only Basics "$@" "$(win "$APP/db")" 5 </dev/null >"$APP/make.out" 2>&1 ||
        bad "$(basename "$APP"): make the database" "mkprofiledb: $(errtext "$APP/make.out")"
}

# dialog <case> <open_table arguments...> -- <ui_driver steps...>: runs open_table in $APP
# while ui_driver takes the steps (drive_program).
dialog() {
    local name=$1
    shift
    drive_program table-dialogs "$name" "$HOST" "$@"
}

# focused <field> [<reading>]: that field of the control that has the focus.
focused() {
    awk -F'\t' -v n="$1" '$1 == "control" && $5 == "focused" { print $n; exit }' <<<"${2:-$DRIVEN}"
}
# dialog_line <field>: 2 caption, 3 client size, 4 window rectangle, 5 screen size, 6 default
# button.
dialog_line() {
    awk -F'\t' -v n="$1" '$1 == "dialog" { print $n; exit }' <<<"$DRIVEN"
}
# has_line <text> <line>: the text holds that line exactly, else prints the text.
has_line() {
    grep -qxF -- "$2" <<<"$1" || echo "not \"$2\" in: ${1//$'\n'/ | }"
}

# ==== the password prompt

# Its layout: centred, the client area 273 x 132, the controls with their captions, the edit
# focused and masking what is typed, OK the default button.
case_password_layout() {
    app_folder layout
    dialog password-layout --prompt -- "wait:$PROMPT" read shot:shown type:abc read \
        shot:typed press:Cancel gone
    driven_ok "password layout"
    local window screen x y r b sw sh c why=""
    window=$(dialog_line 4) screen=$(dialog_line 5)
    IFS=, read -r x y _ _ <<<"${window#window }"
    IFS=x read -r sw sh <<<"${screen#screen }"
    IFS=, read -r _ _ r b <<<"${window#window }"
    [[ $(dialog_line 2) == "$PROMPT" ]] || why+="caption \"$(dialog_line 2)\" "
    [[ $(dialog_line 3) == "client 273x132" ]] || why+="$(dialog_line 3) "
    ((x + r == sw || x + r == sw - 1)) && ((y + b == sh || y + b == sh - 1)) ||
        why+="$window on a $screen "
    [[ $(dialog_line 6) == "default &OK" ]] || why+="$(dialog_line 6) "
    verdict "password layout: caption, 273 x 132 client area, centred, OK the default" "$why"
    why=""
    for c in Password "&Add" "&Remove" "Re&move all" "&OK" Cancel; do
        [[ -n $(control "$c" 3) ]] || why+="no \"$c\" "
    done
    [[ $(focused 3) == Edit && $(focused 8) == "*" ]] || why+="focused: $(focused 3) $(focused 8) "
    verdict "password layout: every control there, the starred edit focused" "$why"
    verdict "password layout: Cancel answers no" "$(has_line "$HOST_OUT" "prompt cancel")"
}

# The enabling rules: each row the steps after the prompt shows, then whether &Add, &Remove and
# &OK are enabled (1) or not (0). Steps are separated by ";".
ENABLING='nothing||0 0 0
typed|type:a|1 1 1
typed_then_erased|type:ab;erase|0 0 0
added|type:a;press:&Add|0 0 1
added_then_typed_and_erased|type:a;press:&Add;type:b;erase|0 0 1
removed|type:a;press:&Remove|0 0 0
removed_all|press:Re&move all|0 0 0
removed_all_after_adding|type:a;press:&Add;press:Re&move all|0 0 1'

# One prompt after another, the driver taking each row's steps in its own.
case_password_enabling_rules() {
    app_folder rules
    local name steps want got row=0 seen c
    local -a names=() wants=() list all=()
    while IFS='|' read -r name steps want; do
        IFS=';' read -r -a list <<<"$steps"
        all+=("wait:$PROMPT" "${list[@]}" read "shot:$name" press:Cancel gone)
        names+=("$name") wants+=("$want")
    done <<<"$ENABLING"
    dialog password-rules --prompt ${#names[@]} -- "${all[@]}"
    driven_ok "enabling rules"
    for name in "${names[@]}"; do
        seen=$(reading $((row + 1)))
        got=""
        for c in "&Add" "&Remove" "&OK"; do
            [[ $(control "$c" 4 "$seen") == enabled ]] && got+="1 " || got+="0 "
        done
        verdict "enabling rules, $name: &Add &Remove &OK are ${wants[row]}, the edit focused" \
            "$([[ ${got% } == "${wants[row]}" && $(focused 3 "$seen") == Edit ]] ||
                echo "got $got, focused $(focused 3 "$seen")")"
        row=$((row + 1))
    done
}

# Two passwords given with &Add, then &OK with the edit empty: the open is tried again with
# both in the session, so the second table opens without asking.
case_two_passwords_added() {
    app_folder two --protect Subject=one --protect Basics=two
    dialog two-passwords PROFILEDATA Subject.DB Basics.DB -- "wait:$PROMPT" type:one press:\&Add \
        type:two press:\&Add read shot:added_two press:\&OK gone
    driven_ok "two passwords"
    verdict "two passwords: OK enabled with the edit empty" \
        "$([[ $(control '&OK' 4) == enabled && -z $(focused 2) ]] ||
            echo "OK $(control '&OK' 4), edit \"$(focused 2)\"")"
    verdict "two passwords: both tables open after one prompt" "$(
        has_line "$HOST_OUT" "opened Subject.DB: 19 columns"
        has_line "$HOST_OUT" "opened Basics.DB: 10 columns"
        has_line "$HOST_OUT" "prompts 1"
    )"
}

# Re&move all, then Cancel: the open fails with the engine's error, and the password added
# before is gone from the session (an open without a prompt fails too).
case_remove_all_then_cancel() {
    app_folder removed --protect Subject=one
    dialog remove-all --again PROFILEDATA Subject.DB -- "wait:$PROMPT" type:one press:\&Add \
        "press:Re&move all" shot:removed_all press:Cancel gone
    driven_ok "remove all"
    verdict "remove all, cancel: the open fails with status 2902, again without a prompt" "$(
        grep -q '^failed Subject.DB: EDBEngineError 2902: Invalid password\.' <<<"$HOST_OUT" ||
            echo "first: $(head -1 <<<"$HOST_OUT")"
        grep -q '^again failed Subject.DB: EDBEngineError 2902: ' <<<"$HOST_OUT" ||
            echo "again: $(grep '^again' <<<"$HOST_OUT")"
    )"
}

# A session operation that raises inside the dialog: the error is shown in a box, the prompt
# stays open with its text, and the program goes on (no engine here, so adding a password
# cannot start one).
case_add_refused() {
    APP=$WORK/refused
    mkdir -p "$APP"
    dialog add-refused --prompt -- "wait:$PROMPT" type:x press:\&Add answer:open_table read \
        shot:after_error press:Cancel gone
    driven_ok "refused add"
    verdict "refused add: the error shown in a box" "$(
        [[ $(sed -n 1p <<<"$DRIVEN") == open_table ]] &&
            grep -q 'initialize the Corvane Database Engine' <<<"$(sed -n 2p <<<"$DRIVEN")" ||
            echo "box: $(head -2 <<<"$DRIVEN" | tr '\n' '|')"
    )"
    verdict "refused add: the prompt stays with its text; Cancel, and the program ends well" \
        "$([[ $(focused 2) == x && $HOST_RC -eq 0 ]] || echo "edit \"$(focused 2)\", exit $HOST_RC")$(
            has_line "$HOST_OUT" "prompt cancel")"
}

# ==== the database login

# The alias names a user: the login shows the database, the user name preset, the password
# edit focused, 31 characters at most in either edit; OK opens with the name given.
case_login() {
    app_folder login --alias LOGINDATA --user guest
    dialog login LOGINDATA Subject.DB -- "wait:$LOGIN" read shot:shown type:pw shot:typed \
        press:\&OK gone
    driven_ok "login"
    local edits
    edits=$(awk -F'\t' '$1 == "control" && $3 == "Edit" { print $2 "/" $7 "/" $8 }' <<<"$DRIVEN")
    verdict "login: the database named, the user name preset, the password edit focused" \
        "$([[ -n $(control LOGINDATA 3) && $(control guest 3) == Edit && $(focused 8) == "*" ]] ||
            echo "label $(control LOGINDATA 3), edits ${edits//$'\n'/ }, focused $(focused 8)")"
    verdict "login: both edits take 31 characters at most" \
        "$([[ $(grep -c '/31/' <<<"$edits") -eq 2 ]] || echo "edits: ${edits//$'\n'/ }")"
    verdict "login: OK opens the database with the user name" "$(
        has_line "$HOST_OUT" "opened Subject.DB: 19 columns"
        has_line "$HOST_OUT" "user guest"
    )"
}

# An empty user name: that edit has the focus. A database name too long for the panel: its
# label ends inside the panel. Cancel: the open fails.
case_login_cancelled() {
    local name=PROFILEDATA_WITH_A_NAME_FAR_TOO_LONG_FOR_THE_PANEL_OF_THE_LOGIN
    app_folder login-cancelled --alias "$name" --user ""
    dialog login-cancelled "$name" Subject.DB -- "wait:$LOGIN" read shot:shown press:Cancel gone
    driven_ok "login cancelled"
    verdict "login cancelled: the user name edit focused" \
        "$([[ $(focused 3) == Edit && $(focused 8) != "*" ]] || echo "focused: $(focused 3)")"
    local label panel panel_left caption
    IFS=, read -r _ _ label _ <<<"$(control "$name" 6)"
    IFS=, read -r panel_left _ panel _ <<<"$(awk -F'\t' '$1 == "control" && $2 == "" &&
        $3 == "Static" { print $6; exit }' <<<"$DRIVEN")"
    IFS=, read -r caption _ <<<"$(control Database: 6)"
    verdict "login cancelled: the database label narrowed to the panel" \
        "$([[ -n $label && -n $panel ]] && ((label <= panel - (caption - panel_left))) ||
            echo "label ends at ${label:-?}, panel at ${panel:-?}")"
    verdict "login cancelled: the open fails" "$(has_line "$HOST_OUT" \
        "failed Subject.DB: EDatabaseError: Cannot connect to database '$name'")"
}

run_cases
