#!/bin/bash
# The report's archive read back by independent readers: Python's zipfile and Info-ZIP's unzip.
# Entry names, sizes, contents, CRCs, the DOS time of each file's last write in local time,
# the password (the right one opens, a wrong one does not), and files left out.
#   packing.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env.
set -u
source "$(dirname "$0")/../../checks.sh" "$@"
PACK=$BUILD/tests/reporter/send/pack_files.exe
# Local time away from UTC, for Wine and Python alike: the entries' times are local.
export TZ=Asia/Kolkata

new_work() {
    WORK=$(mktemp -d /tmp/packing-test.XXXXXX)
    trap 'rm -rf "$WORK"' EXIT
}

# pack <archive> <password|-> <args...>: pack_files under Wine, its output in $WORK/out.
pack() {
    local archive=$1 password=$2
    shift 2
    "$ROOT/scripts/wine-run" "$PACK" "$(win "$archive")" "$password" "$@" >"$WORK/out" 2>"$WORK/err" </dev/null
}

# read_back <archive> <password|-> <file>...: Python's verdict on the archive against the files
# (each an entry of its bare name, in order); empty when all is well.
read_back() {
    python3 - "$@" <<'PY'
import os, sys, time, zipfile, zlib
archive, password, files = sys.argv[1], sys.argv[2], sys.argv[3:]
problems = []
with zipfile.ZipFile(archive) as z:
    infos = z.infolist()
    names = [i.filename for i in infos]
    wanted = [os.path.basename(f) for f in files]
    if names != wanted:
        problems.append(f"entries {names}, expected {wanted}")
    for info, path in zip(infos, files):
        data = open(path, "rb").read()
        encrypted = bool(info.flag_bits & 1)
        if encrypted != (password != "-"):
            problems.append(f"{info.filename}: encrypted {encrypted}")
        if info.compress_type != zipfile.ZIP_DEFLATED or info.file_size != len(data) or info.CRC != zlib.crc32(data):
            problems.append(f"{info.filename}: method {info.compress_type}, size {info.file_size}, crc {info.CRC:08x}")
        local = time.localtime(os.path.getmtime(path))
        expected = (local.tm_year, local.tm_mon, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec // 2 * 2)
        if info.date_time != expected:
            problems.append(f"{info.filename}: time {info.date_time}, last write {expected}")
        # The zip library marks what deflate found to be text (bit 0); nothing else is set.
        if info.extra or info.comment or info.internal_attr & ~1 or info.external_attr:
            problems.append(f"{info.filename}: extra {info.extra!r}, comment {info.comment!r}, attributes {info.internal_attr} {info.external_attr}")
        pwd = None if password == "-" else password.encode()
        if z.read(info, pwd=pwd) != data:
            problems.append(f"{info.filename}: content differs")
        if pwd:
            try:
                z.read(info, pwd=b"wrong" + pwd)
                problems.append(f"{info.filename}: opens with a wrong password")
            except RuntimeError:
                pass
            except zlib.error:
                pass
print("; ".join(problems))
PY
}

# unzip_test <archive> <password|->: Info-ZIP's test of every entry; empty when it passes.
unzip_test() {
    local args=(-t -qq)
    [[ $2 != - ]] && args+=(-P "$2")
    unzip "${args[@]}" "$1" >"$WORK/unzip" 2>&1 || echo "unzip -t: $(head -c 200 "$WORK/unzip" | tr '\n' ' ')"
}

# Report-like files: a text, an empty file, more than 10 MB, a name beyond ASCII.
report_files() {
    printf 'Vessarion 6.0.24\r\n\r\nApplication:\r\n' >"$WORK/in/Profile.elf"
    : >"$WORK/in/empty.txt"
    python3 -c "import random; random.seed(7); open('$WORK/in/big.bin','wb').write(bytes(random.choice(b'0123456789ABCDEF \r\n') for _ in range(11*1024*1024)))"
    printf 'Grüße' >"$WORK/in/Grüße.txt"
    touch -d '2023-07-14 23:59:59' "$WORK/in/Profile.elf"
    touch -d '1999-12-31 12:00:01' "$WORK/in/empty.txt"
}

check_archive() { # check_archive <name> <password|->
    local name=$1 password=$2 files=("$WORK/in/Profile.elf" "$WORK/in/empty.txt" "$WORK/in/big.bin" "$WORK/in/Grüße.txt") args=()
    for f in "${files[@]}"; do args+=("$(win "$f")"); done
    if ! pack "$WORK/report.zip" "$password" "${args[@]}"; then
        bad "$name" "pack_files failed: $(errtext "$WORK/err")"
        return
    fi
    verdict "$name: read back by zipfile" "$(read_back "$WORK/report.zip" "$password" "${files[@]}")"
    verdict "$name: tested by unzip" "$(unzip_test "$WORK/report.zip" "$password")"
}

case_plain() {
    new_work
    mkdir "$WORK/in"
    report_files
    check_archive "without a password" -
}

case_password() {
    new_work
    mkdir "$WORK/in"
    report_files
    check_archive "with a password" "s3cret pass"
}

# Two files of one bare name become two entries of that name; a file held open without sharing
# is left out and said so, the others packed; the archive is whole.
case_same_names_and_a_locked_file() {
    new_work
    mkdir -p "$WORK/in/a" "$WORK/in/b"
    echo one >"$WORK/in/a/log.txt"
    echo two >"$WORK/in/b/log.txt"
    echo busy >"$WORK/in/locked.txt"
    pack "$WORK/report.zip" - "$(win "$WORK/in/a/log.txt")" --lock "$(win "$WORK/in/locked.txt")" "$(win "$WORK/in/b/log.txt")"
    verdict "the locked file is left out" "$(grep -q 'left out: .*locked.txt' "$WORK/out" || echo "output: $(tr '\n' ' ' <"$WORK/out")")"
    verdict "both files of one name packed" "$(read_back "$WORK/report.zip" - "$WORK/in/a/log.txt" "$WORK/in/b/log.txt")"
    verdict "tested by unzip" "$(unzip_test "$WORK/report.zip" -)"
}

run_cases
