# Sourced by the scripts: does the session's Wine really run the programs of a
# build? A Wine without its 32-bit half fails to start a 32-bit program yet
# answers an exit code (0 was measured with some, 1 with others), so neither the exit code
# nor silence proves a run. The probe (e2e/probe, built by both Windows
# builds) writes "probe 32" or "probe 64" to a marker file and answers an exit
# code chosen here; only both together count.
#
# wine_probe <probe.exe>: 0 when it ran; otherwise 1 with the reason in
# WINE_PROBE_REASON. Needs an active session (DESKPLAN_WINE, WINEPREFIX).

# The bitness of a PE image: 32, 64, or empty when it is not one.
pe_bits() {
  local offset machine
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 1
  [ "$(od -An -c -j "$offset" -N 2 "$1" 2>/dev/null | tr -d ' ')" = PE ] || return 1
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')
  case $machine in
    014c) echo 32 ;;
    8664) echo 64 ;;
    *) return 1 ;;
  esac
}

wine_probe() {
  local probe=$1 bits code dir output status marker=""
  WINE_PROBE_REASON=""
  if [ ! -f "$probe" ]; then
    WINE_PROBE_REASON="no probe program at $probe (build that preset)"
    return 1
  fi
  bits=$(pe_bits "$probe") || { WINE_PROBE_REASON="$probe is not a Windows program"; return 1; }
  dir=$(mktemp -d "${TMPDIR:-/tmp}/wine-probe.XXXXXX") || { WINE_PROBE_REASON="no temporary folder"; return 1; }
  code=$(( RANDOM % 200 + 20 ))
  local loader=${DESKPLAN_WINE:-/usr/bin/wine}
  [ "$bits" = 64 ] && [ -n "${DESKPLAN_WINE64:-}" ] && loader=$DESKPLAN_WINE64
  output=$(timeout 120 "$loader" "$probe" "Z:${dir//\//\\}\\marker" "$code" 2>&1 </dev/null)
  status=$?
  [ -f "$dir/marker" ] && marker=$(tr -d '\r' <"$dir/marker")
  rm -rf "$dir"
  if [ $status -eq "$code" ] && [ "$marker" = "probe $bits" ]; then
    return 0
  fi
  if [ -z "$marker" ]; then
    WINE_PROBE_REASON="Wine did not run the $bits-bit probe (exit code $status instead of $code, no marker written)"
  else
    WINE_PROBE_REASON="the $bits-bit probe answered $status instead of $code, marker \"$marker\""
  fi
  if [ "$bits" = 32 ]; then
    local machine
    if machine=$(LC_ALL=C "$(dirname "${BASH_SOURCE[0]}")/i386-probe.sh"); then
      WINE_PROBE_REASON+="; is wine32:i386 installed (scripts/setup)?"
    else
      WINE_PROBE_REASON+="; this machine does not execute 32-bit code: $machine"
    fi
  fi
  [ -n "$output" ] && WINE_PROBE_REASON+=" [Wine said: $(printf '%s' "$output" | iconv -f CP850 -t UTF-8 2>/dev/null | tr '\r\n' '  ' | cut -c1-160)]"
  return 1
}
