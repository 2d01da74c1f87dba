# Sourced by the scripts: the machine a Windows executable, DLL or driver is
# built for, read from its PE header: i386, x86_64, or nothing for any other
# file (or none).
pe_machine() {  # file
  [[ -f "$1" && "$(head -c 2 "$1" 2>/dev/null)" == MZ ]] || return 0
  local at code
  at=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  code=$(od -An -t x2 -j $((at + 4)) -N 2 "$1" | tr -d ' ')
  case "$code" in
    014c) echo i386 ;;
    8664) echo x86_64 ;;
  esac
}
