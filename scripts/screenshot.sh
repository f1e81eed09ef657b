#!/usr/bin/env bash
# Pictures of the desktop program under Xvfb: the main window with two sample laps fitted to
# the track, the lap chooser, a report window, a message with details, the saved map and a
# printed report (PDF), written into build/screenshots (or $1).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
build=$root/build/release
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMOVRANE_BUILD_TESTS=OFF -DMOVRANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target movrane-screenshot movrane-sample movrane-cli

sample=$root/build/sample-installation
"$build/tools/movrane-sample/movrane-sample" "$sample"
config=$(mktemp -d "${TMPDIR:-/tmp}/movrane-config.XXXXXX")
trap 'rm -rf "$config"' EXIT
export MOVRANE_CONFIG_DIR=$config
"$build/src/cli/movrane-cli" settings set OrvDirectory "$sample" >/dev/null
"$build/src/cli/movrane-cli" settings set DontShowQualReport 1 >/dev/null
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x900x24" "$build/tools/movrane-screenshot/movrane-screenshot" "$sample" "$out"
