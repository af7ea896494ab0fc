#!/usr/bin/env bash
# analysers.sh SET TOOL: TOOL (clang-tidy, clangd or cppcheck) reads real code with no facts and
# with the files kestrix-export writes from a probed personality. SET: headers (each library's
# standard headers), treeA (Arduino's AVR core, avr-libc's examples) or treeB (sdcc's library).
# Environment: KESTRIX_EXPORT, KESTRIX_PERSONALITIES (the probed personalities), KESTRIX_ANALYSERS_KEEP=DIR,
# KESTRIX_ANALYSERS_TIMEOUT (per tool and file, default 120 s), KESTRIX_ANALYSERS_MODES (default
# "none facts"; "dirs", the include directories alone, is the benchmark's). Prints per unit and mode
# "SET TOOL UNIT MODE files=N errors=E unknown=U findings=F seconds=S"; status 1 when a limit of the
# set is broken, 77 when a tool or personality is missing.
# shellcheck disable=SC2086,SC2046  # lists of headers and files are split into words on purpose
set -uo pipefail

set_name=${1:?usage: analysers.sh SET TOOL}
tool=${2:?usage: analysers.sh SET TOOL}
export_bin=${KESTRIX_EXPORT:?KESTRIX_EXPORT names the kestrix-export program}
personalities=${KESTRIX_PERSONALITIES:?KESTRIX_PERSONALITIES names the folder of the probed personalities}

command -v "$tool" >/dev/null || { echo "$tool is not installed."; exit 77; }

scratch=${KESTRIX_ANALYSERS_KEEP:-}
[ -n "$scratch" ] && mkdir -p "$scratch" || { scratch=$(mktemp -d "${TMPDIR:-/tmp}/kx-analysers.XXXXXX"); trap 'rm -rf "$scratch"' EXIT; }

arduino=/usr/share/arduino/hardware/arduino/avr
avr_examples=/usr/share/doc/avr-libc/examples
sdcc_sources=/usr/share/sdcc/lib/src

c17_headers="assert.h complex.h ctype.h errno.h fenv.h float.h inttypes.h iso646.h limits.h locale.h
  math.h setjmp.h signal.h stdalign.h stdarg.h stdatomic.h stdbool.h stddef.h stdint.h stdio.h stdlib.h
  stdnoreturn.h string.h tgmath.h threads.h time.h uchar.h wchar.h wctype.h"
posix_headers="unistd.h fcntl.h sys/types.h sys/stat.h sys/time.h sys/wait.h sys/mman.h sys/socket.h
  netinet/in.h arpa/inet.h netdb.h poll.h pthread.h semaphore.h dirent.h dlfcn.h regex.h termios.h
  strings.h syslog.h sched.h"
# newlib: the C library without what a hosted system adds (threads, sockets, ...).
newlib_headers="$(tr ' ' '\n' <<<"$c17_headers" | grep -vxE 'threads.h|uchar.h') unistd.h fcntl.h sys/types.h
  sys/stat.h sys/time.h strings.h"
# avr/wdt.h is left out: clang checks an asm operand's range in a branch avr-gcc never compiles
# where the watchdog register lies outside the I/O space (ATmega328P, ATmega2560).
avr_headers="assert.h ctype.h errno.h inttypes.h limits.h math.h setjmp.h stdbool.h stddef.h stdint.h
  stdio.h stdlib.h string.h time.h avr/io.h avr/interrupt.h avr/pgmspace.h avr/eeprom.h avr/sleep.h
  avr/power.h avr/cpufunc.h avr/boot.h util/atomic.h util/crc16.h util/delay.h util/twi.h"
# at89x52.h is left out: no macro can take away its __at 0x80 without parentheses.
sdcc_headers="assert.h ctype.h errno.h float.h iso646.h limits.h math.h setjmp.h stdalign.h stdarg.h
  stdbool.h stddef.h stdint.h stdio.h stdlib.h stdnoreturn.h string.h time.h wchar.h uchar.h
  8051.h 8052.h compiler.h"

# cppcheck's own limits: its preprocessor replaces the enumerators of glibc's <fenv.h> by the
# macros defined after them; from C++, <math.h>, <complex.h> and <tgmath.h> bring libstdc++'s
# <cmath> and <complex>, where it fails on __LDBL_MAX__ (beyond a double) and noexcept(noexcept(...)).
[ "$tool" = cppcheck ] && c17_headers=${c17_headers/fenv.h /}

# One source that includes every header of a list and uses a little of it.
write_header_source() {  # FILE HEADERS...
  local file=$1; shift
  { printf '#include <%s>\n' "$@"
    echo "int kx_main(void) { char text[8]; memset(text, 0, sizeof text); return (int)strlen(text); }"; } >"$file"
}

# A unit: a personality, the folder of its sources, the files to read and the project's flags.
units=()
declare -A unit_personality unit_files unit_flags unit_source

add_unit() {  # NAME PERSONALITY SOURCE_DIR FLAGS FILES...
  local name=$1 personality=$2 dir=$3 flags=$4; shift 4
  units+=("$name"); unit_personality[$name]=$personality; unit_source[$name]=$dir
  unit_flags[$name]=$flags; unit_files[$name]="$*"
}

case "$set_name" in
  headers)
    mkdir -p "$scratch/src"
    write_header_source "$scratch/src/glibc.c" $c17_headers $posix_headers
    cpp_headers=$c17_headers
    [ "$tool" = cppcheck ] && cpp_headers=$(tr ' ' '\n' <<<"$c17_headers" | grep -vxE 'math.h|complex.h|tgmath.h')
    write_header_source "$scratch/src/glibc.cpp" $cpp_headers $posix_headers
    write_header_source "$scratch/src/newlib.c" $newlib_headers
    write_header_source "$scratch/src/avr.c" $avr_headers
    write_header_source "$scratch/src/sdcc.c" $sdcc_headers
    # util/delay.h wants the clock (F_CPU), which every AVR project gives.
    add_unit gcc gcc "$scratch/src" "" glibc.c
    add_unit g++ gxx "$scratch/src" "" glibc.cpp
    add_unit clang clang "$scratch/src" "" glibc.c
    add_unit m68k-linux-gnu-gcc m68k-linux-gnu-gcc "$scratch/src" "" glibc.c
    add_unit arm-none-eabi-gcc arm-none-eabi-gcc "$scratch/src" "" newlib.c
    add_unit avr-gcc-atmega2560 avr-gcc "$scratch/src" "-DF_CPU=16000000UL" avr.c
    add_unit avr-gcc-attiny13 avr-gcc-attiny13 "$scratch/src" "-DF_CPU=1200000UL" avr.c
    add_unit avr-gcc-atmega328p avr-gcc-atmega328p "$scratch/src" "-DF_CPU=16000000UL" avr.c
    add_unit sdcc-mcs51 sdcc-mcs51 "$scratch/src" "" sdcc.c
    ;;
  treeA)
    [ -d "$arduino/cores/arduino" ] && [ -d "$avr_examples" ] || { echo "arduino-core-avr or avr-libc's examples are not installed."; exit 77; }
    mkdir -p "$scratch/src"
    cp "$arduino"/cores/arduino/*.c "$scratch/src/"
    for d in asmdemo demo largedemo stdiodemo twitest; do
      mkdir -p "$scratch/src/$d"
      cp "$avr_examples/$d"/* "$scratch/src/$d/"
      gunzip -f "$scratch/src/$d"/*.gz
    done
    arduino_files=$(cd "$scratch/src" && ls ./*.c | tr '\n' ' ')
    # The devices and clocks of each project's own build (the Arduino Uno for the core).
    add_unit arduino-core avr-gcc-atmega328p "$scratch/src" \
      "-DF_CPU=16000000L -DARDUINO=10819 -DARDUINO_AVR_UNO -DARDUINO_ARCH_AVR -I$arduino/cores/arduino -I$arduino/variants/standard" \
      $arduino_files
    add_unit asmdemo avr-gcc-attiny13 "$scratch/src/asmdemo" "-I." asmdemo.c
    add_unit demo avr-gcc-atmega8 "$scratch/src/demo" "-I." demo.c
    add_unit largedemo avr-gcc-atmega16 "$scratch/src/largedemo" "-I." largedemo.c
    add_unit stdiodemo avr-gcc-atmega16 "$scratch/src/stdiodemo" "-I." stdiodemo.c hd44780.c lcd.c uart.c
    add_unit twitest avr-gcc-atmega128 "$scratch/src/twitest" "-I." twitest.c
    ;;
  treeB)
    [ -d "$sdcc_sources" ] || { echo "sdcc-libraries is not installed."; exit 77; }
    mkdir -p "$scratch/src"
    cp "$sdcc_sources"/*.c "$sdcc_sources"/*.h "$scratch/src/" 2>/dev/null
    # The files sdcc -mmcs51 itself does not compile (they are for other ports).
    (cd "$scratch/src" && rm -f _divschar.c _divuchar.c _modschar.c _moduchar.c _mulschar.c _muluchar.c \
       atomic_flag_clear.c ser_ir_cts_rts.c)
    add_unit sdcc-lib sdcc-mcs51 "$scratch/src" "" $(cd "$scratch/src" && ls ./*.c | tr '\n' ' ')
    ;;
  *) echo "Unknown set $set_name." >&2; exit 2 ;;
esac

# Each unit is read in a folder of its own per mode, the exported files beside the sources.
# clang's errors, the unknown names and headers among them; the analyser's warnings are findings.
count_clang_tidy() {  # OUTPUT_FILE
  E=$((E + $(grep -cE ': (fatal )?error: ' "$1")))
  U=$((U + $(grep -E ': (fatal )?error: ' "$1" | grep -cE "file not found|unknown type name|undeclared identifier|implicit declaration")))
  F=$((F + $(grep -cE ': warning: .*\[clang-analyzer-' "$1")))
}

# clangd --check logs every diagnostic as "[NAME] Line N: text"; a warning's name is its -W flag.
count_clangd() {  # OUTPUT_FILE
  local diags=$1.diagnostics
  grep -E '^E\[[^]]*\] \[[^]]*\] Line [0-9]+:' "$1" >"$diags"
  E=$((E + $(grep -vcE '\] \[-W' "$diags")))
  U=$((U + $(grep -cE '\[(pp_file_not_found|unknown_typename|undeclared_var_use|undeclared_var_use_suggest|unknown_typename_suggest)\]' "$diags")))
  F=$((F + $(grep -cE '\] \[-W' "$diags")))
}

# cppcheck's parse and configuration errors by id; findings but for its notes on what it could not
# explore and for findings in the compiler's headers (below /usr), which clang-tidy hides too.
cppcheck_errors='syntaxError|preprocessorErrorDirective|unknownMacro|internalAstError|cppcheckError|internalError|unhandledChar|missingInclude'
count_cppcheck() {  # OUTPUT_FILE
  E=$((E + $(grep -cE "^kx:($cppcheck_errors):" "$1")))
  U=$((U + $(grep -cE '^kx:(unknownMacro|missingInclude):' "$1")))
  F=$((F + $(grep -E '^kx:' "$1" | grep -vE '^kx:[^:]*:/usr/' |
              grep -vcE "^kx:($cppcheck_errors|missingIncludeSystem|toomanyconfigs|ConfigurationNotChecked):")))
}

run_unit() {  # UNIT MODE(facts|none)
  local unit=$1 mode=$2 personality_dir=$personalities/${unit_personality[$1]} work=$scratch/$2/$1
  rm -rf "$work"; mkdir -p "$work"
  cp -r "${unit_source[$unit]}"/. "$work/"
  local -a flags
  read -r -a flags <<<"${unit_flags[$unit]}"
  if [ "$mode" != none ]; then
    cp "$personality_dir/personality.p_c" "$work/personality.p_c"
    [ -f "$personality_dir/personality.facts" ] && cp "$personality_dir/personality.facts" "$work/"
    "$export_bin" clang "$work/personality.p_c" >/dev/null || return 1
    "$export_bin" cppcheck "$work/personality.p_c" >/dev/null || return 1
    # The fragment as the project's .clangd; the exported flags aside, for the project's to be added.
    cp "$work/personality.clangd" "$work/.clangd"
    mv "$work/compile_flags.txt" "$work/personality.flags"
  fi
  if [ "$mode" = dirs ]; then
    sed 's/^/-isystem/' "$work/personality.includes.txt" >"$work/personality.flags"
    printf 'CompileFlags:\n  Add: [%s]\n' "$(sed 's/^/-isystem/' "$work/personality.includes.txt" | paste -sd, -)" >"$work/.clangd"
  fi
  local out=$work/kx-output.txt
  : >"$out"
  local started=$EPOCHREALTIME
  local file
  for file in ${unit_files[$unit]}; do
    local -a limit=(timeout -k 5 "${KESTRIX_ANALYSERS_TIMEOUT:-120}")
    case "$tool" in
      clang-tidy)
        # clang-tidy finds compile_flags.txt beside the source; the project's flags are added to it.
        { cat "$work/personality.flags" 2>/dev/null || echo "-DKX_NO_FACTS"; printf '%s\n' "${flags[@]}"; } >"$work/compile_flags.txt"
        (cd "$work" && "${limit[@]}" clang-tidy --checks='-*,clang-analyzer-*' "$file") >>"$out" 2>&1 ||
          [ $? -ne 124 ] || echo "$file:1:1: error: clang-tidy took longer than its limit" >>"$out"
        ;;
      clangd)
        printf '%s\n' "-DKX_NO_FACTS_IN_THIS_FILE" "${flags[@]}" >"$work/compile_flags.txt"
        (cd "$work" && "${limit[@]}" clangd --check="$file" --log=error) >>"$out" 2>&1 ||
          [ $? -ne 124 ] || echo "E[timeout] [timeout] Line 1: clangd took longer than its limit" >>"$out"
        ;;
      cppcheck)
        local -a args=(--enable=warning,style,information,missingInclude --inline-suppr
                       "--template=kx:{id}:{file}:{line}:{message}" -q)
        if [ "$mode" = dirs ]; then
          args+=(--includes-file=personality.includes.txt)
        elif [ "$mode" = facts ]; then
          # The project file pins cppcheck to the compiler's one configuration.
          args+=(--project=personality.cppcheck)
          local fi
          while IFS= read -r fi; do args+=("--include=$fi"); done < <(sed -n 's/^-fi "\(.*\)"$/\1/p' "$work/personality.p_c")
        fi
        (cd "$work" && "${limit[@]}" cppcheck "${args[@]}" "${flags[@]}" "$file") >>"$out" 2>&1 ||
          [ $? -ne 124 ] || echo "kx:syntaxError:$file:1:cppcheck took longer than its limit" >>"$out"
        ;;
    esac
  done
  E=0 U=0 F=0
  "count_${tool//-/_}" "$out"
  set -- ${unit_files[$unit]}
  echo "$set_name $tool $unit $mode files=$# errors=$E unknown=$U findings=$F seconds=$(awk "BEGIN { printf \"%.2f\", $EPOCHREALTIME - $started }")"
}

status=0
fail() { echo "FAILED: $*"; status=1; }

declare -A total_errors
for unit in "${units[@]}"; do
  p=$personalities/${unit_personality[$unit]}
  if [ -f "$p/missing.txt" ] || [ ! -f "$p/personality.p_c" ]; then
    echo "No personality for $unit at $p: $(cat "$p/missing.txt" 2>/dev/null || echo "ctest probes it first (fixture personality_${unit_personality[$unit]}).")"
    exit 77
  fi
  for mode in ${KESTRIX_ANALYSERS_MODES:-none facts}; do
    line=$(run_unit "$unit" "$mode") || { fail "kestrix-export failed for $unit"; continue; }
    echo "$line"
    e=$(sed 's/.* errors=\([0-9]*\).*/\1/' <<<"$line")
    u=$(sed 's/.* unknown=\([0-9]*\).*/\1/' <<<"$line")
    total_errors[$mode]=$(( ${total_errors[$mode]:-0} + e ))
    [ "$mode" = facts ] || continue
    case "$set_name" in
      headers)
        [ "$e" -eq 0 ] || fail "$tool reports $e errors in the standard headers of $unit with the facts."
        # clang with the exported flags holds every fact of the check source where a clang target
        # has the compiler's data model (the .clangd fragment names every size no target has).
        work=$scratch/facts/$unit
        if [ "$tool" = clang-tidy ]; then
          if grep -qE '^#   The .* is [0-9]+ bits;' "$work/personality.clangd"; then
            echo "$unit: no clang target has the compiler's data model; the check source is not compiled."
          else
            "$export_bin" check "$work/personality.p_c" >/dev/null || fail "kestrix-export check failed for $unit"
            check=$(ls "$work"/personality.check.c* 2>/dev/null | head -1)
            (cd "$work" && clang @personality.flags -fsyntax-only "$check") >"$work/check-output.txt" 2>&1 ||
              fail "clang refuses the check source of $unit with the exported flags: $(grep -m3 error: "$work/check-output.txt")"
          fi
        fi
        ;;
      treeA)
        [ "$u" -eq 0 ] || fail "$tool reports $u unknown macros, types or headers in $unit with the facts."
        ;;
    esac
  done
  [ "$status" -eq 0 ] || [ -z "${KESTRIX_ANALYSERS_KEEP:-}" ] || echo "Output kept in $scratch/facts/$unit/kx-output.txt"
done

case "$set_name" in
  treeA)
    # One error is the tools' own, in largedemo.c: clang rejects C statements in a naked function,
    # cppcheck #if lines inside a macro's argument (PSTR("..." #if ... "...")).
    [ "${total_errors[facts]}" -le 1 ] || fail "$tool reports ${total_errors[facts]} errors in tree A with the facts (at most 1)."
    ;;
  treeB)
    [ "${total_errors[facts]}" -lt "${total_errors[none]}" ] ||
      fail "$tool reports ${total_errors[facts]} errors in tree B with the facts, ${total_errors[none]} without."
    ;;
esac
echo "$set_name $tool total none errors=${total_errors[none]:-0} facts errors=${total_errors[facts]:-0}"
exit $status
