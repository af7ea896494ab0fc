#!/usr/bin/env bash
# Generates a full personality for each compiler the project is tested against, through
# kestrix-run, into docs/figures/personalities/ (used as figures in the documentation).
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/figures/personalities
mkdir -p "$out"
run() {
    local name=$1; shift
    local dir
    dir=$(mktemp -d)
    rmdir "$dir"
    echo "== $name"
    build/bin/kestrix-run --run-dir "$dir" "$@" -op "$PWD/$out/$name.p_c" > "$out/$name.log" 2>&1 || echo "   exit status $?"
    rm -rf "$dir"
}
dirs() { build/bin/kestrix-search-dirs "$@" | tr '\n' ' '; }
gcclike='"-o " -c -D .o "%c %d%j %o%e %s"'
# shellcheck disable=SC2046
eval run gcc zanth cmp gcc "$gcclike" $(dirs gcc c)
eval run gxx zanthpp cmp g++ "$gcclike" $(dirs g++ c++)
eval run avr-gcc zanth ccmp avr-gcc "$gcclike" $(dirs avr-gcc c) -i "$(dirname "$(avr-gcc -print-prog-name=cc1)")" -xs -mmcu=atmega2560
eval run arm-none-eabi-gcc zanth ccmp arm-none-eabi-gcc "$gcclike" $(dirs arm-none-eabi-gcc c)
eval run m68k-linux-gnu-gcc zanth ccmp m68k-linux-gnu-gcc "$gcclike" $(dirs m68k-linux-gnu-gcc c)
run sdcc-mcs51 zanth ccmp "sdcc -mmcs51" "-o " -c -D .rel "%c %d%j %o%e %s" -i /usr/share/sdcc/include/mcs51 -i /usr/share/sdcc/include -fi "$PWD/data/ForceIncludeFiles/sdcc_mcs51.h"
# The copy of the force-include file that the sdcc run made beside its personality is not a figure.
rm -rf "$out/vmtforceinclude"
