#!/usr/bin/env bash
# run_fuzzer.sh TARGET WORK SECONDS SEEDS REGRESSIONS [DICTIONARY]
# Replays every regression input once, then fuzzes TARGET for SECONDS seconds starting
# from the seeds and the regressions, with new inputs kept in WORK/corpus and any
# failing input written to WORK/. Each input gets 10 s and the process 2 GiB; a slower
# or larger run counts as a failure, as does any sanitizer report.
set -euo pipefail
target=$1 work=$2 seconds=$3 seeds=$4 regressions=$5 dictionary=${6:-}

mkdir -p "$work/corpus"
limits=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 -artifact_prefix="$work/")
shopt -s nullglob
replays=("$regressions"/*)
if ((${#replays[@]})); then
  "$target" "${limits[@]}" "${replays[@]}"
fi
options=("${limits[@]}" -max_total_time="$seconds" -print_final_stats=1)
if [ -n "$dictionary" ]; then options+=(-dict="$dictionary"); fi
inputs=("$work/corpus" "$seeds")
if [ -d "$regressions" ]; then inputs+=("$regressions"); fi
exec "$target" "${options[@]}" "${inputs[@]}"
