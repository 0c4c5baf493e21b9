#!/usr/bin/env bash
# i386-probe.sh [code]: does this machine execute 32-bit x86 code? Writes a
# 96-byte static i386 ELF program (one load segment: mov eax,1; mov ebx,CODE;
# int 0x80, i.e. exit(CODE)), runs it and compares its exit code with the one
# chosen. Exit status 0 when it ran; otherwise 1, with the reason on stdout.
# The kernel's name or version says nothing about this: some x86-64 kernels
# are built or booted without 32-bit support.
set -u
code=${1:-$(( RANDOM % 200 + 20 ))}
dir=$(mktemp -d "${TMPDIR:-/tmp}/i386-probe.XXXXXX") || { echo "no temporary folder"; exit 1; }
trap 'rm -rf "$dir"' EXIT

le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
base=0x08048000
{
  # ELF header: 32-bit, little-endian, executable, Intel 80386.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  printf "$(le32 1)$(le32 $((base + 84)))$(le32 52)$(le32 0)$(le32 0)"
  printf '\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # One program header: the whole file, readable and executable, at base.
  printf "$(le32 1)$(le32 0)$(le32 $base)$(le32 $base)$(le32 96)$(le32 96)$(le32 5)$(le32 4096)"
  # The code at offset 84.
  printf "\\xb8$(le32 1)\\xbb$(le32 "$code")\\xcd\\x80"
} >"$dir/probe"
chmod +x "$dir/probe"

error=$("$dir/probe" 2>&1)
status=$?
if [ $status -eq "$code" ]; then
  exit 0
fi
if [ -n "$error" ]; then
  echo "a static i386 program was refused (${error##*: }, exit status $status)"
else
  echo "a static i386 program answered $status instead of $code"
fi
exit 1
