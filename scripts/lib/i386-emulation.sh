# Sourced by the scripts: how this machine runs 32-bit x86 programs. Some
# x86-64 kernels are built or booted without 32-bit support; there Linux's
# binfmt_misc can still hand every i386 ELF program to a user-mode CPU
# emulator (qemu-i386), and Wine's 32-bit half runs on top of it.
#
#   i386_mode                 prints "natively" or "under emulation (qemu-i386 X.Y.Z)";
#                             status 1 (and the reason) when 32-bit code does not run
#   i386_emulation_setup      installs and registers the emulator (idempotent);
#                             status 1 with the reason when that cannot be done
#
# The emulator's version matters: qemu 7.2 (Debian 12's own) mishandles
# MAP_FIXED_NOREPLACE, and Wine's address-space reservation then costs about
# a minute of CPU per 32-bit program start; 8.0 and later start one in a
# fraction of a second. Debian 12 gets a recent one from its backports suite.
# Every Wine run needs QEMU_RESERVED_VA (see wine-session.sh).

I386_EMULATOR=/usr/bin/qemu-i386
I386_BINFMT_DIR=/proc/sys/fs/binfmt_misc
I386_BINFMT_NAME=qemu-i386
# The ELF header of an i386 executable or shared object (e_type 2 or 3).
I386_ELF_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_ELF_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
I386_MAGIC_HEX=7f454c46010101000000000000000000020003

# The interpreter of the enabled binfmt_misc entry that takes i386 programs, if any.
i386_registered_interpreter() {
  local entry
  for entry in "$I386_BINFMT_DIR"/*; do
    [ -f "$entry" ] && [ "${entry##*/}" != status ] && [ "${entry##*/}" != register ] || continue
    grep -qx enabled "$entry" 2>/dev/null || continue
    grep -q "^magic $I386_MAGIC_HEX" "$entry" 2>/dev/null || continue
    sed -n 's/^interpreter //p' "$entry"
    return 0
  done
  return 1
}

i386_emulator_version() {
  "$1" --version 2>/dev/null | sed -n '1s/.*version \([0-9][0-9.]*\).*/\1/p'
}

i386_mode() {
  local reason interpreter
  if ! reason=$(LC_ALL=C "$(dirname "${BASH_SOURCE[0]}")/i386-probe.sh"); then
    echo "$reason"
    return 1
  fi
  if interpreter=$(i386_registered_interpreter); then
    echo "under emulation (${interpreter##*/} $(i386_emulator_version "$interpreter"))"
  else
    echo natively
  fi
}

# The URI of the configured Debian archive that serves the release itself.
i386_debian_archive() {
  local codename=$1 file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v suite="$codename" '
      /^URIs:/ { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) { print uri; exit } }
      /^$/ { uri = "" }' "$file"
  done | head -1
  [ -f /etc/apt/sources.list ] &&
    awk -v suite="$codename" '$1 == "deb" && $3 == suite { print $2; exit }' /etc/apt/sources.list
}

# The emulator from the release's backports suite (the only package taken from it).
i386_install_emulator() {
  local codename version archive list=/etc/apt/sources.list.d/deskplan-backports.sources
  version=$(i386_emulator_version "$I386_EMULATOR")
  if [ -n "$version" ] && [ "${version%%.*}" -ge 8 ]; then
    return 0
  fi
  codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || { echo "the Debian release is not known (/etc/os-release)"; return 1; }
  if ! grep -rqs "$codename-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    archive=$(i386_debian_archive "$codename" | head -1)
    [ -n "$archive" ] || { echo "no Debian archive for $codename among the package sources"; return 1; }
    printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$archive" "$codename" | $SUDO tee "$list" >/dev/null
  fi
  apt_get update -q >/dev/null || { echo "apt-get update failed"; return 1; }
  if ! apt_get install -y -q -t "$codename-backports" qemu-user-static </dev/null >/dev/null; then
    apt_get install -y -q qemu-user-static </dev/null >/dev/null || { echo "qemu-user-static could not be installed"; return 1; }
  fi
  version=$(i386_emulator_version "$I386_EMULATOR")
  [ -n "$version" ] || { echo "no $I386_EMULATOR after installing qemu-user-static"; return 1; }
  [ "${version%%.*}" -ge 8 ] || echo "setup: warning: qemu-i386 $version is old: each 32-bit program start will cost about a minute" >&2
}

i386_emulation_setup() {
  local current
  i386_install_emulator || return 1
  if [ ! -e "$I386_BINFMT_DIR/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$I386_BINFMT_DIR" 2>/dev/null ||
      { echo "binfmt_misc cannot be mounted at $I386_BINFMT_DIR"; return 1; }
  fi
  # Re-register when another interpreter (or an older registration) holds the name.
  if [ -e "$I386_BINFMT_DIR/$I386_BINFMT_NAME" ]; then
    current=$(sed -n 's/^interpreter //p' "$I386_BINFMT_DIR/$I386_BINFMT_NAME")
    if [ "$current" = "$I386_EMULATOR" ] && grep -q '^flags: .*F' "$I386_BINFMT_DIR/$I386_BINFMT_NAME" &&
       grep -qx enabled "$I386_BINFMT_DIR/$I386_BINFMT_NAME"; then
      return 0
    fi
    echo -1 | $SUDO tee "$I386_BINFMT_DIR/$I386_BINFMT_NAME" >/dev/null || { echo "the old $I386_BINFMT_NAME entry cannot be removed"; return 1; }
  fi
  # F: the kernel opens the interpreter now, so it also serves programs started
  # in other mount namespaces or after a chroot.
  echo ":$I386_BINFMT_NAME:M::$I386_ELF_MAGIC:$I386_ELF_MASK:$I386_EMULATOR:F" | $SUDO tee "$I386_BINFMT_DIR/register" >/dev/null ||
    { echo "the emulator cannot be registered with binfmt_misc"; return 1; }
}
