# Sourced by scripts/test-all: runs test tiers and keeps one summary line per
# tier (result, test counts, time). A tier of a Windows build runs only after
# the probe proved that the session's Wine runs that build (wine-probe.sh);
# otherwise it is reported as not run, with the reason, never as passed.
#
#   run_tier <name> <build> <command...>   runs a CTest command, counts its tests
#   run_build_tiers <build> <probe.exe> <name> <command...> [--- <name> <command...>]...
#   tier_summary                           prints the table; status 1 when any tier failed
# TIER_LOGS (a folder) keeps each tier's output.

. "$(dirname "${BASH_SOURCE[0]}")/i386-emulation.sh"

TIER_LINES=()
TIER_FAILED=()

# "passed failed skipped" of a CTest run's output; for a run that printed a
# GoogleTest summary of its own (one CTest test around a whole suite, as the
# contract tests under Wine), that suite's counts.
tier_counts() {
  local log=$1 total failed skipped gpassed gfailed plain
  total=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2/p' "$log" | tail -1)
  failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
  skipped=$(grep -c '(Skipped)$' "$log")
  gpassed=$(sed -n 's/.*\[  PASSED  \] \([0-9]*\) tests\{0,1\}.*/\1/p' "$log" | tail -1)
  gfailed=$(sed -n 's/.*\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$log" | tail -1)
  plain=$(sed -n 's/^[a-z]*: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$log" | tail -1)
  if [ -z "$total" ] && [ -z "$gpassed" ] && [ -n "$plain" ]; then
    echo "$plain 0"
  elif [ "${total:-0}" = 1 ] && [ -n "$gpassed" ]; then
    echo "$gpassed ${gfailed:-0} 0"
  else
    echo "$(( ${total:-0} - ${failed:-0} - skipped )) ${failed:-0} $skipped"
  fi
}

tier_record() {  # <name> <build> <result> <counts> <seconds> [note]
  TIER_LINES+=("$(printf '%-36s %-11s %-8s %-22s %5s  %s' "$1" "$2" "$3" "$4" "$5" "${6:-}")")
}

run_tier() {
  local name=$1 build=$2 start log passed failed skipped seconds
  shift 2
  echo
  echo "== $name ($build)"
  start=$(date +%s)
  mkdir -p "${TIER_LOGS:-/tmp}"
  log="${TIER_LOGS:-/tmp}/$(echo "$name $build" | tr -c 'a-zA-Z0-9\n' '-').log"
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  seconds=$(( $(date +%s) - start ))
  read -r passed failed skipped <<<"$(tier_counts "$log")"
  if [ "$status" -eq 0 ] && [ "$passed" -gt 0 ]; then
    echo "== $name ($build): passed, $passed tests, $skipped skipped ($seconds s)${TIER_NOTE:+, $TIER_NOTE}"
    tier_record "$name" "$build" passed "$passed passed, $skipped skipped" "${seconds}s" "${TIER_NOTE:-}"
  else
    [ "$status" -eq 0 ] && status="no test ran"
    echo "== $name ($build): FAILED ($status), $passed passed, $failed failed ($seconds s)${TIER_NOTE:+, $TIER_NOTE}"
    tier_record "$name" "$build" FAILED "$passed passed, $failed failed" "${seconds}s" "${TIER_NOTE:-}"
    TIER_FAILED+=("$name ($build)")
  fi
}

run_build_tiers() {
  local build=$1 probe=$2 tiers=() args=() name
  shift 2
  # The tiers, split at "---".
  while [ $# -gt 0 ]; do
    if [ "$1" = --- ]; then tiers+=("${#args[@]}"); else args+=("$1"); fi
    shift
  done
  tiers+=("${#args[@]}")

  echo
  echo "== probe: does Wine run the $build programs?"
  local refused=""
  if wine_probe "$probe"; then
    echo "== probe: the $build probe ran"
  else
    refused=$WINE_PROBE_REASON
    echo "== probe: $build programs do not run: $refused"
  fi

  # A build that cannot run here only fails the run where it should run: the
  # win64 build always, the win32 build where the machine executes 32-bit code.
  # A 32-bit build's tiers say whether its programs ran natively or under a
  # CPU emulator (i386-emulation.sh).
  local expected=yes TIER_NOTE=""
  if [ "$(pe_bits "$probe" 2>/dev/null)" = 32 ] || [ "$build" = win32 ]; then
    if TIER_NOTE="32-bit code runs $(i386_mode)"; then :; else expected=no; TIER_NOTE=""; fi
  fi

  local from=0 to
  for to in "${tiers[@]}"; do
    name=${args[from]}
    if [ -z "$refused" ]; then
      run_tier "$name" "$build" "${args[@]:from+1:to-from-1}"
    elif [ $expected = yes ]; then
      echo "== $name ($build): FAILED: not run: $refused"
      tier_record "$name" "$build" FAILED "-" "-" "not run: $refused"
      TIER_FAILED+=("$name ($build)")
    else
      echo "== $name ($build): not run: $refused"
      tier_record "$name" "$build" "not run" "-" "-" "$refused"
    fi
    from=$to
  done
}

tier_summary() {
  echo
  echo "test-all: tier summary"
  printf '%-36s %-11s %-8s %-22s %5s\n' tier build result tests time
  local line
  for line in "${TIER_LINES[@]}"; do echo "$line"; done
  tier_slowest
  [ ${#TIER_FAILED[@]} -eq 0 ]
}

# The slowest cases of every tier that ran under Wine, so that a run whose log
# is only seen from its end still says where its time went.
tier_slowest() {
  local log
  for log in "${TIER_LOGS:-/tmp}"/*Wine*.log; do
    [ -f "$log" ] || continue
    echo "slowest in $(basename "$log" .log):"
    grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: ' "$log" |
      sed -E 's/^.*Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec.*$/\2 \1/' | sort -rn | head -n 5 |
      awk '{printf "  %7.1f s  %s\n", $1, $2}'
  done
}
