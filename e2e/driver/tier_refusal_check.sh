#!/usr/bin/env bash
# The tier runner of scripts/test-all with stand-in Wine commands: a build
# whose probe does not run is reported as not run (or failed, where it should
# have run), its tiers' commands are never started, and it never counts as
# passed; a build whose probe runs gets its tiers run and counted.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/tiers.sh"
. "$root/scripts/lib/wine-probe.sh"
export -f i386_registered_interpreter; export I386_MAGIC_HEX
dir=$(mktemp -d "${TMPDIR:-/tmp}/tier-check.XXXXXX")
trap 'rm -rf "$dir"' EXIT
TIER_LOGS=$dir/logs
failures=0
check() {  # <description> <command...>
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Probe images: PE headers of each machine (what pe_bits reads).
pe_image() {
  { printf 'MZ'; head -c 58 /dev/zero; printf '\x40\x00\x00\x00PE\x00\x00'; printf "$2"; head -c 200 /dev/zero; } >"$1"
}
pe_image "$dir/probe32.exe" '\x4c\x01'
pe_image "$dir/probe64.exe" '\x64\x86'
check "pe_bits tells the bitness" test "$(pe_bits "$dir/probe32.exe")/$(pe_bits "$dir/probe64.exe")" = 32/64

# wine64 without its 32-bit half: an error and exit code 0, nothing run.
cat >"$dir/wine-trap" <<'SCRIPT'
#!/bin/sh
echo "err:environ:init_peb starting in experimental wow64 mode" >&2
exit 0
SCRIPT
# A Wine that runs the probe: marker and exit code as asked.
cat >"$dir/wine-runs" <<'SCRIPT'
#!/bin/sh
marker=$(printf '%s' "$2" | sed -e 's/^Z://' -e 's|\\|/|g')
case $1 in *probe32*) echo "probe 32" ;; *) echo "probe 64" ;; esac >"$marker"
exit "$3"
SCRIPT
chmod +x "$dir/wine-trap" "$dir/wine-runs"
fake_ctest() { touch "$dir/ran-$1"; echo "100% tests passed, 0 tests failed out of $2"; }

unset DESKPLAN_WINE64
export DESKPLAN_WINE=$dir/wine-trap
run_build_tiers win32 "$dir/probe32.exe" contract fake_ctest contract32 4 --- e2e fake_ctest e2e32 9 >"$dir/out" 2>&1
output=$(cat "$dir/out")
summary=$(tier_summary)
check "the refused build's tiers did not start" test ! -e "$dir/ran-contract32" -a ! -e "$dir/ran-e2e32"
check "the probe's refusal is printed with its reason" grep -q "win32 programs do not run: Wine did not run the 32-bit probe" <<<"$output"
check "no tier of the refused build passed" bash -c '! grep -E "^(contract|e2e) .*passed" <<<"$1"' _ "$summary"
if LC_ALL=C "$root/scripts/lib/i386-probe.sh" >/dev/null; then
  check "where 32-bit code runs, a refused win32 build fails the run" test ${#TIER_FAILED[@]} -eq 2
else
  check "where 32-bit code does not run, the win32 tiers are reported as not run" \
    test "$(grep -cE '^(contract|e2e) +win32 +not run .*no marker written' <<<"$summary")" = 2
  check "and they do not fail the run" test ${#TIER_FAILED[@]} -eq 0
fi

TIER_LINES=()
TIER_FAILED=()
run_build_tiers win64 "$dir/probe64.exe" contract fake_ctest contract64 4 >/dev/null 2>&1
check "a refused win64 build fails the run" test ${#TIER_FAILED[@]} -eq 1
check "without having started its tiers" test ! -e "$dir/ran-contract64"

TIER_LINES=()
TIER_FAILED=()
export DESKPLAN_WINE=$dir/wine-runs
run_build_tiers win32 "$dir/probe32.exe" contract fake_ctest contract32 4 --- e2e fake_ctest e2e32 9 >/dev/null 2>&1
summary=$(tier_summary)
check "a build whose probe runs gets its tiers run" test -e "$dir/ran-contract32" -a -e "$dir/ran-e2e32"
check "and counted" bash -c 'grep -qE "^contract +win32 +passed +4 passed" <<<"$1" && grep -qE "^e2e +win32 +passed +9 passed" <<<"$1"' _ "$summary"
check "the summary passes" eval 'tier_summary >/dev/null'
LC_ALL=C "$root/scripts/lib/i386-probe.sh" >/dev/null && check "and says how the machine ran the 32-bit programs" \
  bash -c 'grep -qE "^contract +win32 +passed .*32-bit code runs (natively|under emulation \(qemu-i386 [0-9])" <<<"$1"' _ "$summary"

# The emulator's registration as binfmt_misc lists it (a folder standing in for it).
mkdir -p "$dir/binfmt"
printf '#!/bin/sh\necho "qemu-i386 version 10.0.2 (Debian 1:10.0.2+ds-2)"\n' >"$dir/qemu-i386"
chmod +x "$dir/qemu-i386"
printf 'enabled\ninterpreter %s\nflags: F\noffset 0\nmagic 7f454c4601010100000000000000000002003e00\n' /usr/bin/qemu-x86_64 >"$dir/binfmt/qemu-x86_64"
printf 'disabled\ninterpreter /old/qemu-i386\nflags: \noffset 0\nmagic %s\n' "$I386_MAGIC_HEX" >"$dir/binfmt/old-i386"
printf 'enabled\n' >"$dir/binfmt/status"
check "no enabled i386 entry: no emulator" bash -c '! I386_BINFMT_DIR=$1 i386_registered_interpreter' _ "$dir/binfmt"
printf 'enabled\ninterpreter %s\nflags: F\noffset 0\nmagic %s\nmask ffffffffff\n' "$dir/qemu-i386" "$I386_MAGIC_HEX" >"$dir/binfmt/qemu-i386"
check "the enabled i386 entry names its emulator" \
  test "$(I386_BINFMT_DIR=$dir/binfmt i386_registered_interpreter)" = "$dir/qemu-i386"
check "whose version is read" test "$(i386_emulator_version "$dir/qemu-i386")" = 10.0.2

[ $failures -eq 0 ] && echo "tier refusal checks: all passed" || echo "tier refusal checks: $failures failed"
exit $((failures != 0))
