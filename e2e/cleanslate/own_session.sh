#!/usr/bin/env bash
# Runs the command in a Wine session of its own, even inside another session:
# a reset ends every "explorer.exe" and its log-off every windowed program of
# the session, which must not reach the programs of other tests.
set -euo pipefail
unset DESKPLAN_WINE_SESSION
exec "$(dirname "$0")/../../scripts/wine-session" "$@"
