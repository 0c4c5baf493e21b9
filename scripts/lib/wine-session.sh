# Sourced by the scripts: one Wine session = one Xvfb on a free display, a fresh
# win64 prefix with its own HOME in a temporary folder, and the French locale.
# The prefix serves 32-bit and 64-bit programs alike: with Wine's 32-bit support
# (wine32) installed, /usr/bin/wine starts either kind and WINELOADER must stay
# unset (the 32-bit loader starts 64-bit programs itself); without it the same
# command runs wine64, and 32-bit programs do not run (see wine-probe.sh).
# Programs are started with "$DESKPLAN_WINE" (exported here).
# wine_session_start exports the session's variables; wine_session_stop ends
# only what the session itself started (its Xvfb by PID, its wineserver by
# prefix), never Wine processes by name.

WINE_SESSION_LOADER=/usr/bin/wine
WINE_SESSION_LOADER64=/usr/lib/wine/wine64

wine_session_start() {
  local root display_fd
  root=$(mktemp -d "${TMPDIR:-/tmp}/deskplan-wine.XXXXXX") || return 1
  WINE_SESSION_ROOT=$root
  mkdir -p "$root/home" "$root/locale"

  # Xvfb chooses a free display itself and writes its number to the given fd.
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp >"$root/xvfb.log" 2>&1 &
  WINE_SESSION_XVFB_PID=$!
  local display="" tries=0
  while [ -z "$display" ] && [ $tries -lt 100 ]; do
    read -r -t 0.1 display <&"$display_fd" || true
    tries=$((tries + 1))
    kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null || break
  done
  exec {display_fd}<&-
  if [ -z "$display" ]; then
    echo "wine-session: Xvfb did not start" >&2
    cat "$root/xvfb.log" >&2
    wine_session_stop
    return 1
  fi

  if ! localedef -i fr_FR -f UTF-8 "$root/locale/fr_FR.UTF-8" >"$root/localedef.log" 2>&1; then
    # localedef warns on some sources yet still writes the locale.
    [ -d "$root/locale/fr_FR.UTF-8" ] || { cat "$root/localedef.log" >&2; wine_session_stop; return 1; }
  fi

  export DISPLAY=":$display"
  export HOME="$root/home"
  export WINEPREFIX="$root/prefix"
  export WINEARCH=win64
  export DESKPLAN_WINE=$WINE_SESSION_LOADER
  # 64-bit programs straight through the 64-bit loader: /usr/bin/wine would
  # first start the 32-bit one, which a machine without 32-bit support emulates
  # (about 0.5 s per start, measured).
  if [ -x "$WINE_SESSION_LOADER64" ]; then export DESKPLAN_WINE64=$WINE_SESSION_LOADER64; else unset DESKPLAN_WINE64; fi
  unset WINELOADER
  export WINEDEBUG=-all
  # Where a CPU emulator runs the 32-bit programs (i386-emulation.sh): the
  # whole 32-bit address space reserved up front. Without it each 32-bit start
  # took about five times as long, and older emulators cannot map Wine's shared
  # user data at all. Natively it is not read.
  export QEMU_RESERVED_VA=0xffff0000
  export LOCPATH="$root/locale"
  # This shell cannot load the new locale itself (it read LOCPATH at start),
  # only the programs it starts can: keep its warning quiet.
  { export LANG=fr_FR.UTF-8; unset LC_ALL; } 2>/dev/null
  export DESKPLAN_WINE_SESSION="$root"
  export WINE_SESSION_XVFB_PID WINE_SESSION_ROOT

  # A persistent server: programs started one after another share it, and no
  # server outlives the session (wine_session_stop ends it by its prefix).
  mkdir -p "$WINEPREFIX"
  if ! wineserver -p </dev/null >"$root/wineserver.log" 2>&1; then
    echo "wine-session: wineserver did not start" >&2
    cat "$root/wineserver.log" >&2
    wine_session_stop
    return 1
  fi
  if ! "$DESKPLAN_WINE" wineboot -i >"$root/wineboot.log" 2>&1; then
    echo "wine-session: wineboot failed" >&2
    cat "$root/wineboot.log" >&2
    wine_session_stop
    return 1
  fi
  wine_session_hold_desktop
}

# Wine ends the session's desktop process a few seconds after the last program
# with a window has ended, and the next program starts a new one. Where 32-bit
# code is emulated, a 32-bit program that has to wait for that new desktop
# takes about 10 s longer to start (measured under Wine 8.0 with qemu-i386
# 10.0.2), which every end-to-end case of the 32-bit build paid. A hidden
# window of the session's own holder keeps the desktop up until the session
# ends; without a built holder, the session only runs slower.
wine_session_hold_desktop() {
  local build_root holder
  build_root=${BUILD_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build}
  holder=$build_root/win64/bin/desktop_holder.exe
  if [ -f "$holder" ]; then
    "${DESKPLAN_WINE64:-$DESKPLAN_WINE}" "$holder" </dev/null >"$WINE_SESSION_ROOT/holder.log" 2>&1 &
  fi
}

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX}" ]; then
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
    WINEPREFIX="$WINEPREFIX" timeout 20 wineserver -w 2>/dev/null || true
  fi
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${WINE_SESSION_ROOT:-}" ] && [ -d "${WINE_SESSION_ROOT}" ]; then
    rm -rf "$WINE_SESSION_ROOT"
  fi
  unset DESKPLAN_WINE_SESSION WINE_SESSION_XVFB_PID WINE_SESSION_ROOT
}
