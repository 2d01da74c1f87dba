# Sourced by the scripts: whether this machine runs 32-bit programs, and so
# the 32-bit Windows build under Wine. Some kernels run no 32-bit code at all
# ("Exec format error"); there wine32 installs but cannot start, and Debian's
# wine, which prefers it once installed, stops working altogether.

# Runs a 96-byte i386 Linux program that only exits with 42: a sure test that
# needs nothing installed.
runs_32bit_code() {
  local probe code
  probe=$(mktemp) || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  code=$?
  rm -f "$probe"
  [[ $code -eq 42 ]]
}

# Wine's 32-bit loader, which wine32 installs.
WINE32_LOADER=/usr/lib/wine/wine

# Why 32-bit Windows programs cannot run here, or nothing when they can.
why_no_wine32() {
  if ! runs_32bit_code; then
    echo "this machine runs no 32-bit programs (its kernel has no 32-bit support)"
  elif [[ ! -x "$WINE32_LOADER" ]]; then
    echo "wine32 is not installed (scripts/setup --32bit installs it)"
  fi
}
