#!/usr/bin/env bash
# Installs what is missing, builds Kestrix and generates a personality for the host's gcc
# (C analyser, native mode, gcc's own include directories), then shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"

# gcc's own #include <...> search list, one -i per directory.
mapfile -t dirs < <(build/bin/kestrix-search-dirs gcc c | sed 's/^-i //')
args=()
for dir in "${dirs[@]}"; do
  args+=(-i "$dir")
done

run_dir="${XDG_STATE_HOME:-$HOME/.local/state}/kestrix/runs/quickstart-$(date +%Y%m%d-%H%M%S)-$$"
build/bin/kestrix-run --run-dir "$run_dir" zanth cmp gcc "-o " -c -D .o "%c %d%j %o%e %s" "${args[@]}"
echo
echo "Run directory: $run_dir"
echo "Personality ($run_dir/personality.p_c):"
cat "$run_dir/personality.p_c"
