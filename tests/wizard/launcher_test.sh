#!/bin/sh
# The launcher lays out a per-user deployment, copies the shipped catalogue once and
# never overwrites the user's copy.
# Usage: launcher_test.sh LAUNCHER
set -u
launcher=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

data="$scratch/share/kestrix"
mkdir -p "$data/lists" "$data/c_tests" "$data/images" "$data/TemplatePersonalities"
echo "int" > "$data/lists/c_keywords.txt"
echo "shipped" > "$data/compilers.txt"
echo "tpl" > "$data/TemplatePersonalities/shipped.p_c"

export KESTRIX_DATA="$data" XDG_DATA_HOME="$scratch/home-data"
unset KESTRIX_WIZARD_HOME
work=$("$launcher" --prepare-only) || fail "launcher exited with $?"
[ "$work" = "$scratch/home-data/kestrix/wizard/work" ] || fail "working directory is $work"
[ -f "$work/c_keywords.txt" ] || fail "list files missing"
[ -L "$work/../c_tests" ] && [ -d "$work/../c_tests" ] || fail "suite folder not linked one level up"
[ -d "$work/../images" ] || fail "images not one level up"
[ -f "$work/../TemplatePersonalities/shipped.p_c" ] || fail "shipped template not copied"
[ "$(cat "$work/compilers.txt")" = shipped ] || fail "catalogue not copied"

echo "mine" > "$work/compilers.txt"
echo "edited" > "$work/../TemplatePersonalities/shipped.p_c"
echo "changed upstream" > "$data/compilers.txt"
work2=$("$launcher" --prepare-only) || fail "second start exited with $?"
[ "$work2" = "$work" ] || fail "second start used $work2"
[ "$(cat "$work/compilers.txt")" = mine ] || fail "user's catalogue overwritten"
[ "$(cat "$work/../TemplatePersonalities/shipped.p_c")" = edited ] || fail "user's template overwritten"

# A suite copied by an earlier version is moved aside with what the user put into it.
rm "$work/../c_tests" && mkdir "$work/../c_tests" && echo "mine" > "$work/../c_tests/own.c"
"$launcher" --prepare-only >/dev/null 2>&1 || fail "start over a copied suite exited with $?"
[ -L "$work/../c_tests" ] || fail "copied suite not replaced by a link"
[ "$(cat "$work/../c_tests.copy/own.c")" = mine ] || fail "user's test in the copied suite lost"

KESTRIX_WIZARD_HOME="$scratch/elsewhere" "$launcher" --prepare-only >/dev/null || fail "KESTRIX_WIZARD_HOME start failed"
[ -f "$scratch/elsewhere/work/compilers.txt" ] || fail "KESTRIX_WIZARD_HOME not used"
echo "launcher: all checks passed"
