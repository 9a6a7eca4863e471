#!/usr/bin/env bash
# Makes sure GoogleTest and Python 3 (the golden runner) are there for the tests
# (`make test` and friends call it):
#
#   tests/need_packages.sh native|windows
#
# native: GoogleTest that CMake finds (Debian/Ubuntu package libgtest-dev);
# windows: its sources in /usr/src/googletest (package googletest), which the
# cross build compiles. What is missing is installed with apt-get where the
# machine has it and this user may run it (as root, or through sudo without a
# password); otherwise the script stops with the list of packages.
set -euo pipefail

mode=${1:-native}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

have_gtest() {
  local probe
  probe=$(mktemp -d)
  # The probe asks CMake itself, so that every place it searches counts.
  if cmake -S "$root/cmake/gtest_probe" -B "$probe" >/dev/null 2>&1; then
    rm -rf "$probe"
    return 0
  fi
  rm -rf "$probe"
  return 1
}

missing=()
case $mode in
  native) have_gtest || missing+=(libgtest-dev) ;;
  windows) [[ -f /usr/src/googletest/CMakeLists.txt ]] || missing+=(googletest) ;;
  *) echo "usage: $0 native|windows" >&2; exit 2 ;;
esac
command -v python3 >/dev/null 2>&1 || missing+=(python3)
((${#missing[@]} == 0)) && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]] && command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root=(sudo -n)
fi
if command -v apt-get >/dev/null 2>&1 && { [[ $(id -u) -eq 0 ]] || ((${#as_root[@]})); }; then
  echo "Installing for the tests: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
  exit 0
fi
echo "The tests need GoogleTest and Python 3. Install these packages (Debian/Ubuntu names), then run make again:" >&2
echo "  ${missing[*]}" >&2
exit 1
