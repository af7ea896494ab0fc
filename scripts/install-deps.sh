#!/usr/bin/env bash
# Installs the Debian packages that are missing for a purpose:
#   install-deps.sh build   - what building Kestrix needs
#   install-deps.sh test    - everything the whole test suite uses (every compiler it probes,
#                             Qt 6 for the wizard, clang's libFuzzer for the fuzz pass), so
#                             that no test is skipped
set -euo pipefail

build=(build-essential cmake g++ libgtest-dev libgmock-dev libbenchmark-dev)
test=("${build[@]}" clang libclang-rt-14-dev clang-tidy clangd cppcheck gcc-avr avr-libc sdcc sdcc-libraries
      arduino-core-avr gcc-arm-none-eabi libnewlib-arm-none-eabi gcc-m68k-linux-gnu
      cc65 bcc bin86 elks-libc gcc-mingw-w64-x86-64 gcc-riscv64-unknown-elf gcc-h8300-hms binutils-h8300-hms
      qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
      libconvert-binary-c-perl python3 python3-yaml)

case "${1:-build}" in
  build) wanted=("${build[@]}") ;;
  test) wanted=("${test[@]}") ;;
  *) echo "Usage: $0 build|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Missing packages: ${missing[*]}; run this as root." >&2; exit 1; }
  sudo=sudo
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
