#!/bin/bash
# The crash reporter's dialogs as a user meets them: dialog_host raises one exception with the
# options of the case, ui_driver reads, clicks and takes pictures, and the host tells what the
# dialog decided. Pictures of every state visited land in build/artifacts/dialogs/<case>/.
#   dialogs.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env (the test command provides it).
set -u

# shellcheck source=../../checks.sh
source "$(dirname "$0")/../../checks.sh" "$@"
# shellcheck source=../../ui/ui.sh
source "$ROOT/tests/ui/ui.sh"
HOST_EXE=$BUILD/tests/reporter/dialogs/dialog_host.exe
READER_EXE=$BUILD/tests/reporter/dialogs/mailslot_reader.exe
export WINE_RUN_TIMEOUT=${WINE_RUN_TIMEOUT:-120}
CAPTION="Error occurred"

WORK=$(mktemp -d /tmp/reporter-dialogs.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT

# state_file: the crash reporter's state file in the Wine prefix's application data, its
# folder made.
state_file() {
    local roaming
    roaming=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | head -1)
    mkdir -p "$roaming/Vessarion"
    echo "$roaming/Vessarion/Vessarion.ini"
}

# app_folder <name>: $APP, a folder of its own with the host in it (the log and the state file
# go beside the program).
app_folder() {
    APP=$WORK/$1
    mkdir -p "$APP"
    cp "$HOST_EXE" "$APP/"
}

# dialog <case> <host options...> -- <ui_driver steps...>: runs the host in $APP while
# ui_driver takes the steps (drive_program).
dialog() {
    local name=$1
    shift
    drive_program dialogs "$name" dialog_host.exe "$@"
}

# dialog_field <field> [<reading>]: 3 client size, 4 window rectangle, 7 topmost|-.
dialog_field() {
    awk -F'\t' -v n="$1" '$1 == "dialog" { print $n; exit }' <<<"${2:-$DRIVEN}"
}
tabs_shown() {
    awk -F'\t' '$1 == "control" && $3 == "SysTabControl32" { print $9; exit }' <<<"${1:-$DRIVEN}"
}
decided() {
    sed -n 's/^decided //p' <<<"$HOST_OUT"
}
has_word() {
    grep -qw -- "$2" <<<"$1" || echo "not \"$2\" in \"$1\""
}
log_report() {
    tr -d '\r' <"$APP/dialog_host.elf"
}
# The text without its trailing empty lines (the log keeps some between its reports).
without_trailing_lines() {
    awk '{ line[NR] = $0 } END { n = NR; while (n > 0 && line[n] == "") n--
        for (i = 1; i <= n; i++) print line[i] }'
}

# unmet_checks <checks>: each "<control text> <field> <value>" of the ";"-separated list that the
# driver's reading does not show, and a driver that failed.
unmet_checks() {
    local check text field want got
    local -a list
    [[ $DRIVE_RC -eq 0 ]] || printf 'driver %s; ' "$DRIVE_RC"
    IFS=';' read -r -a list <<<"$1"
    for check in "${list[@]}"; do
        want=${check##* } field=${check% *}
        field=${field##* } text=${check% * *}
        got=$(control "$text" "$field")
        [[ $got == "$want" ]] || printf '"%s" %s, not %s; ' "$text" "$got" "$want"
    done
}

# ==== what each DialogFlags bit shows: one run per row with the row's flags (and an e-mail
# method, so that 0x0080 can offer sending), then what the driver must read: a control's text,
# the field (9 visible|hidden, 10 checked|unchecked) and its value, separated by ";".
SEND="&Send this error via Internet"
SHOT="&Attach a Screenshot image"
FLAG_EFFECTS="none|0x0000|&Help 9 hidden;&Details >> 9 hidden;&Copy to Clipboard 9 hidden;$SEND 9 hidden;$SHOT 9 hidden
offer_send|0x0080|$SEND 9 visible;$SEND 10 unchecked;$SHOT 9 hidden
send_checked|0x0081|$SEND 9 visible;$SEND 10 checked
offer_screenshot_checked|0x0183|$SHOT 9 visible;$SHOT 10 checked
offer_screenshot|0x0181|$SHOT 9 visible;$SHOT 10 unchecked
help_details_copy|0x020C|&Help 9 visible;&Details >> 9 visible;&Copy to Clipboard 9 visible"

case_flag_effects() { # ctest: TIMEOUT 600
    app_folder flags
    local name flags checks
    while IFS='|' read -r name flags checks; do
        dialog "flag-$name" flags="$flags" mail=2 -- "wait:$CAPTION" read "shot:$name" \
            "press:&OK" gone
        verdict "flags $flags ($name): ${checks//;/, }" "$(unmet_checks "$checks")"
    done <<<"$FLAG_EFFECTS"
}

# 0x0010 starts in detailed mode (the tabs shown, "<< &Details"), 0x0020 keeps the dialog on
# top; without them it starts compact and not top-most.
case_start_detailed_and_topmost() {
    app_folder start
    dialog start-detailed flags=0x0038 -- "wait:$CAPTION" read shot:detailed_topmost "press:&OK" gone
    driven_ok "start detailed"
    verdict "0x0010: the tabs shown, the button says \"<< &Details\"" \
        "$([[ $(tabs_shown) == visible && $(control '<< &Details' 9) == visible ]] ||
            echo "tabs $(tabs_shown), button $(control '<< &Details' 9)")"
    verdict "0x0020: top-most" "$(has_word "$(dialog_field 7)" topmost)"
    dialog start-compact flags=0x0008 -- "wait:$CAPTION" read shot:compact "press:&OK" gone
    verdict "no 0x0010 nor 0x0020: compact, not top-most" \
        "$([[ $(tabs_shown) == hidden && $(dialog_field 7) == - ]] ||
            echo "tabs $(tabs_shown), $(dialog_field 7)")"
}

# 0x0040 paints the caption itself: its first band is the start colour shaded once (active
# 0xC29B82, inactive 0x979797, each channel times 0.96).
case_own_look() {
    app_folder ownlook
    dialog own-look flags=0x0058 -- "wait:$CAPTION" shot:own_look "press:&OK" gone
    driven_ok "own look"
    local picture=$BUILD/artifacts/dialogs/own-look/own_look.png colours
    colours=$(pngtopnm "$picture" 2>/dev/null | pnmcut -left 40 -top 0 -width 1 -height 12 |
        pnmnoraw | tail -n +4 | tr -s ' \n' ' ')
    verdict "own look: the caption's first band painted" "$(
        [[ " $colours " == *" 125 149 186 "* || " $colours " == *" 145 145 145 "* ]] ||
            echo "column 40 from the top: $colours"
    )"
}

# ==== compact and detailed mode, and the geometry kept in the state file

# Details switches to the detailed mode (745 x 468 and the bottom area, centred, when nothing
# was saved) and back; closing in detailed mode saves where the dialog was, and the next
# dialog comes up there.
case_detailed_geometry_kept() {
    app_folder geometry
    local ini compact detailed again
    ini=$(state_file)
    rm -f "$ini"
    dialog geometry flags=0x0008 -- "wait:$CAPTION" read shot:compact "press:&Details >>" read \
        shot:detailed "press:<< &Details" read shot:compact_again "press:&Details >>" read \
        "press:&OK" gone
    driven_ok "geometry"
    compact=$(dialog_field 4 "$(reading 1)") detailed=$(dialog_field 4 "$(reading 2)")
    again=$(dialog_field 4 "$(reading 3)")
    verdict "compact: no tabs, at least 340 wide" "$(
        IFS=, read -r l _ r _ <<<"${compact#window }"
        [[ $(tabs_shown "$(reading 1)") == hidden ]] && ((r - l >= 340)) || echo "$compact"
    )"
    verdict "detailed: 745 wide by default, the tabs shown" "$(
        IFS=, read -r l _ r _ <<<"${detailed#window }"
        [[ $(tabs_shown "$(reading 2)") == visible ]] && ((r - l == 745)) || echo "$detailed"
    )"
    verdict "back to compact: the same size as before" \
        "$([[ $again == "$compact" ]] || echo "$again after $compact")"
    verdict "closed in detailed mode: the state file has the size" "$(
        tr -d '\r' <"$ini" | grep -qx 'Width=745' && tr -d '\r' <"$ini" | grep -qx 'Height=468' &&
            tr -d '\r' <"$ini" | grep -qx 'WindowsState=1' || tr -d '\r' <"$ini" | tr '\n' ' ')"
    printf '[Coordinates]\r\nWidth=600\r\nHeight=380\r\nLeft=40\r\nTop=30\r\nWindowsState=1\r\n' \
        >"$ini"
    dialog geometry-saved flags=0x0018 -- "wait:$CAPTION" read shot:saved_place "press:&OK" gone
    verdict "the next dialog at the saved place and width" \
        "$([[ $(dialog_field 4) == "window 40,30,640,"* ]] || echo "$(dialog_field 4)")"
}

# A saved place outside the screen: the dialog comes up centred on the work area.
case_detailed_geometry_outside_centred() {
    app_folder outside
    printf '[Coordinates]\r\nWidth=500\r\nHeight=300\r\nLeft=5000\r\nTop=4000\r\n' \
        >"$(state_file)"
    dialog outside flags=0x0018 -- "wait:$CAPTION" read shot:centred "press:&OK" gone
    driven_ok "outside"
    local l t r b sw sh
    IFS=, read -r l t r b <<<"$(dialog_field 4 | sed 's/^window //')"
    IFS=x read -r sw sh <<<"$(awk -F'\t' '$1 == "dialog" { print $5; exit }' <<<"$DRIVEN" |
        sed 's/^screen //')"
    verdict "outside the screen: centred, 500 wide" \
        "$(((r - l == 500 && l >= 0 && r <= sw && b <= sh && (l + r - sw) ** 2 <= 4)) ||
            echo "$l,$t,$r,$b on ${sw}x$sh")"
}

# ==== the pages

# Each text page shows its section of the logged report; the list pages come up.
case_pages_show_the_report() {
    app_folder pages
    dialog pages flags=0x0018 logflags=0x30 -- "wait:$CAPTION" page shot:general tab:1 \
        shot:call_stack tab:2 shot:modules tab:3 shot:processes tab:4 page shot:assembler tab:5 \
        page shot:cpu "press:&OK" gone
    driven_ok "pages"
    local report general titles
    report=$(log_report)
    titles=$(grep '^page' <<<"$DRIVEN" | cut -f2 | tr '\n' '|')
    verdict "pages: the information lines of General, Assembler and CPU" \
        "$([[ $titles == "General Information|Assembler Information|CPU Information|" ]] ||
            echo "$titles")"
    general=$(awk '/^page\tGeneral/ { getline; print; exit }' <<<"$DRIVEN")
    verdict "General page: the report's general section" "$(
        for key in 2.6 1.1; do
            line=$(grep -m1 "^  $key " <<<"$report")
            [[ -n $line && $general == *"$line"* ]] || echo "no \"$line\""
        done
    )"
    verdict "Assembler and CPU pages: their sections' lines" "$(
        asm=$(awk '/^page\tAssembler/ { getline; print; exit }' <<<"$DRIVEN")
        cpu=$(awk '/^page\tCPU/ { getline; print; exit }' <<<"$DRIVEN")
        [[ $asm == *"Assembler Information"* ]] || echo "assembler: ${asm:0:80}"
        [[ $cpu == *"EAX"* ]] || echo "cpu: ${cpu:0:80}"
    )"
}

# The call-stack page draws its rows itself: a click on a thread's header folds its block and a
# second unfolds it; a double click on a row with a line sends the jump to its source to the
# mailslot of the development environment, which a reader stands in for here.
case_call_stack_fold_and_jump() {
    app_folder fold
    cp "$READER_EXE" "$APP/"
    (cd "$APP" && exec "$ROOT/scripts/wine-run" mailslot_reader.exe 120) </dev/null \
        >"$APP/reader.out" 2>&1 &
    local reader=$! i counts record
    for i in $(seq 1 120); do
        [[ -f $APP/ready ]] && break
        sleep 1
    done
    dialog fold flags=0x0018 -- "wait:$CAPTION" tab:1 rows shot:unfolded row:0 rows shot:folded \
        row:0 rows open:1 "press:&OK" gone
    driven_ok "fold and jump"
    wait $reader
    counts=$(awk -F'\t' '$1 == "rows" { printf "%s ", $2 }' <<<"$DRIVEN")
    verdict "a header click folds its block, a second unfolds it" "$(
        read -r open folded again <<<"$counts"
        ((folded < open && again == open)) || echo "rows $counts"
    )"
    record=$(tr -d '\r' <"$APP/reader.out")
    verdict "the double click: a 376-byte record with the row's procedure and line" "$(
        read -r -a words <<<"$record"
        n=${#words[@]}
        texts=${record#record 376 }
        texts=${texts% * * *}
        IFS='|' read -r first _ _ procedure <<<"$texts"
        [[ ${words[0]} == record && ${words[1]} == 376 && -z $first && -n $procedure &&
            ${words[n - 3]} -gt 0 ]] || echo "$record"
    )"
}

# ==== the decisions reach the program

# The send box cleared: nothing to send. Esc: cancelled, nothing sent. The copy box checked:
# the clipboard holds the report as logged.
case_decisions() {
    app_folder decisions
    dialog unchecked flags=0x0081 mail=2 -- "wait:$CAPTION" "toggle:&Send this error via Internet" \
        read shot:send_unchecked "press:&OK" gone
    driven_ok "send unchecked"
    verdict "send box cleared: no send" "$(has_word "$(decided)" send=0)"
    dialog escape flags=0x0081 mail=2 -- "wait:$CAPTION" key:escape gone
    verdict "Esc: cancelled, no send" "$(has_word "$(decided)" cancelled=1)$(has_word \
        "$(decided)" send=0)"
    rm -f "$APP/dialog_host.elf"
    dialog copy flags=0x0004 -- "wait:$CAPTION" "toggle:&Copy to Clipboard" shot:copy_checked \
        "press:&OK" gone
    verdict "copy box checked: the clipboard holds the logged report" "$(
        [[ -s $APP/clipboard.txt ]] &&
            cmp -s <(tr -d '\r' <"$APP/clipboard.txt") <(log_report | without_trailing_lines) ||
            echo "$(wc -c <"$APP/clipboard.txt") bytes copied")"
}

# Terminate ends the program with exit code 1; Restart starts it again.
case_terminate_and_restart() {
    app_folder terminate
    dialog terminate action=1 after=0 -- "wait:$CAPTION" read shot:terminate "press:&Terminate" gone
    driven_ok "terminate"
    verdict "Terminate: exit code 1, the program goes no further" \
        "$([[ $HOST_RC -eq 1 && -z $(decided) ]] || echo "exit $HOST_RC, $(decided)")"
    dialog restart action=2 after=0 -- "wait:$CAPTION" shot:restart "press:&Restart" gone
    local i
    for i in $(seq 1 60); do
        [[ -f $APP/restarted ]] && break
        sleep 1
    done
    verdict "Restart: exit code 1, the program started again" \
        "$([[ $HOST_RC -eq 1 && -f $APP/restarted ]] || echo "exit $HOST_RC, restarted: $(ls "$APP")")"
}

# Auto-close after two idle seconds: the dialog ends as OK does; a close request does the same.
case_auto_close() {
    app_folder autoclose
    dialog auto flags=0x0081 mail=2 autoclose=2 -- "wait:$CAPTION" shot:before_auto_close gone
    driven_ok "auto-close"
    verdict "auto-close: closed as OK, the checked send kept" \
        "$(has_word "$(decided)" cancelled=0)$(has_word "$(decided)" send=1)"
    dialog request flags=0x0081 mail=2 -- "wait:$CAPTION" shot:before_close_request close gone
    verdict "close request: closed as OK" "$(has_word "$(decided)" cancelled=0)"
}

# ==== the classic dialog

CLASSIC_SEND="&Send Error Report"
TELL_US="Please tell us about this problem."
SEE_DATA="To see what data the error report contains, "
EMAIL_LABEL="Email address (optional): "
WHAT_DOING="What were you doing when the problem happened (optional)?"
# What the classic dialog shows for its options: name, host options, then control text, field
# and value as in FLAG_EFFECTS.
CLASSIC_ROWS="no_delivery|flags=0x0088|&OK 9 visible;$CLASSIC_SEND 9 hidden;$TELL_US 9 hidden;$EMAIL_LABEL 9 hidden;$SEE_DATA 9 visible
smtp|flags=0x0080 mail=2|$CLASSIC_SEND 9 visible;&Don't Send 9 visible;$TELL_US 9 visible;$EMAIL_LABEL 9 visible;$SEE_DATA 9 hidden
mail_client|flags=0x0080 mail=1|$CLASSIC_SEND 9 visible;$EMAIL_LABEL 9 hidden
reproduce_help|flags=0x0200 logflags=0x02|$WHAT_DOING 9 visible;&Help 9 visible;&OK 9 visible"

case_classic_rows() { # ctest: TIMEOUT 600
    app_folder classic
    local name options checks
    local -a opts
    while IFS='|' read -r name options checks; do
        read -r -a opts <<<"$options"
        dialog "classic-$name" kind=2 "${opts[@]}" -- "wait:$CAPTION" read "shot:$name" \
            key:escape gone
        verdict "classic dialog, $options ($name): ${checks//;/, }" "$(unmet_checks "$checks")"
    done <<<"$CLASSIC_ROWS"
}

# The link beside "To see what data…" replaces the classic dialog by the detailed one, which
# comes in detailed mode without its Details button.
case_classic_link() {
    app_folder link
    dialog classic-link kind=2 flags=0x0088 -- "wait:$CAPTION" shot:classic \
        "clickbeside:$SEE_DATA" gone "wait:$CAPTION" read shot:detailed "press:&OK" gone
    driven_ok "classic link"
    verdict "after the link: the detailed dialog in detailed mode, no Details button" \
        "$([[ $(tabs_shown) == visible && -z $(control '&Details >>' 9) &&
            $(control '<< &Details' 9) != visible ]] ||
            echo "tabs $(tabs_shown), details $(control '<< &Details' 9)")"
}

# An address without "@" or "." is refused with a message and the dialog stays; a good one is
# kept in the state file and written into the logged report.
case_classic_email() {
    app_folder email
    local ini
    ini=$(state_file)
    rm -f "$ini"
    dialog classic-email kind=2 flags=0x0080 mail=2 -- "wait:$CAPTION" focus:1 type:nobody \
        shot:invalid "press:$CLASSIC_SEND" answer:Error. focus:1 erase type:user@example.com \
        shot:valid "press:$CLASSIC_SEND" gone
    driven_ok "classic e-mail"
    verdict "an invalid address: \"Invalid email.\"" \
        "$(grep -qx 'Invalid email.' <<<"$DRIVEN" || echo "$DRIVEN" | head -3)"
    verdict "the good address: sent, kept in the state file and the report" "$(
        has_word "$(decided)" send=1
        tr -d '\r' <"$ini" | grep -qx 'Email=user@example.com' || echo "state file: $(cat "$ini")"
        log_report | grep -q '^  3\.3 .*: user@example.com$' || echo "report: $(log_report |
            grep -m1 '^  3\.3 ')"
    )"
}

# With the idle close on, an invalid address asks the person once; the idle close that follows
# drops the address and ends the dialog instead of asking again and again.
case_classic_email_unattended() {
    app_folder unattended
    local ini
    ini=$(state_file)
    rm -f "$ini"
    dialog classic-unattended kind=2 flags=0x0080 mail=2 autoclose=2 -- "wait:$CAPTION" focus:1 \
        type:nobody close answer:Error. gone
    driven_ok "classic unattended"
    verdict "one message, then closed by the idle close without the address" "$(
        [[ $(grep -cx 'Invalid email.' <<<"$DRIVEN") -eq 1 ]] || echo "$DRIVEN" | head -3
        has_word "$(decided)" cancelled=0
        ! grep -q 'Email=' "$ini" 2>/dev/null || echo "state file: $(cat "$ini")"
    )"
}

# ==== the reproduce request

# After the detailed dialog, with LogFlags 0x02: the request asks for the steps, and what the
# user typed lands in the logged report.
case_reproduce_request() {
    app_folder reproduce
    dialog reproduce logflags=0x02 -- "wait:$CAPTION" "press:&OK" wait:Request read shot:request \
        "type:Opened the table twice" shot:typed "press:&OK" gone
    driven_ok "reproduce request"
    verdict "the request: its text, the edit focused" "$(
        [[ $(control "Please describe the steps to reproduce the error:" 9) == visible ]] ||
            echo "label $(control "Please describe the steps to reproduce the error:" 9)"
        [[ $(awk -F'\t' '$1 == "control" && $5 == "focused" { print $3 }' <<<"$DRIVEN") == Edit ]] ||
            echo "focus elsewhere"
    )"
    verdict "the typed steps are in the logged report" \
        "$(log_report | grep -q 'Opened the table twice' || echo "not in the log")"
}

run_cases
