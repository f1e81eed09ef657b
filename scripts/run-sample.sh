#!/usr/bin/env bash
# make run: Movrane on the bundled sample installation. With a display it opens the main
# window with two sample laps loaded through -loadrpy, its settings in a throw-away
# configuration folder; without one it exports the reports of the sample race.
set -euo pipefail

build_dir=$1
sample_dir=$2
"$build_dir/tools/movrane-sample/movrane-sample" "$sample_dir"
replays=$(cd "$sample_dir/replay" && pwd)

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  config=$(mktemp -d "${TMPDIR:-/tmp}/movrane-config.XXXXXX")
  trap 'rm -rf "$config"' EXIT
  export MOVRANE_CONFIG_DIR=$config
  "$build_dir/src/cli/movrane-cli" settings set OrvDirectory "$(cd "$sample_dir" && pwd)" >/dev/null
  "$build_dir/src/cli/movrane-cli" settings set DontShowQualReport 1 >/dev/null
  "$build_dir/movrane" -loadrpy -c2 \
    "-f$replays/sample_hotlap.rpy" -s0 -d0 -l2 \
    "-f$replays/sample_race.rpy" -s1 -d1 -l4
else
  out=$(dirname "$sample_dir")/sample-reports
  mkdir -p "$out"
  "$build_dir/movrane" -expreports "-f$replays/sample_race.rpy" "-o$out/" -mech
  echo "No display found, so Movrane exported the reports of the sample race instead:"
  for f in "$out"/sample_race_*.txt; do echo "  $f"; done
fi
