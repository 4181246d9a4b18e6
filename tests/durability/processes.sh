# shellcheck shell=bash
# Windows programs under test seen from Linux, for the tests that kill them: times and processes.

now_us() { echo "${EPOCHREALTIME/./}"; }
ms() { echo $((($1 + 500) / 1000)); } # microseconds → rounded milliseconds

# windows_process <pid> <program pattern>: the Linux process that runs the Windows program
# under <pid> (wine-run's timeout). Under QEMU it is qemu-i386-static executing wine, so it is
# found by the program's name, not the binary.
windows_process() {
    local root=$1 program=$2 deadline=$(($(now_us) + 10000000)) p q
    while (($(now_us) < deadline)); do
        for p in $(pgrep -P "$root"); do
            for q in "$p" $(pgrep -P "$p"); do
                if tr '\0' ' ' <"/proc/$q/cmdline" 2>/dev/null | grep -q "$program"; then
                    echo "$q"
                    return 0
                fi
            done
        done
        kill -0 "$root" 2>/dev/null || return 1
    done
    return 1
}
