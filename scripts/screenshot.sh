#!/usr/bin/env bash
# Starts vextools-ide on the sample project under Xvfb, with its own settings and add-in directory, and
# saves a picture of the screen: the code window open and the VexTools tool window docked.
#   scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/screenshot.png}
mkdir -p "$(dirname "$out")"
work=$(mktemp -d)
trap 'kill "${ide:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export VEXTOOLS_SETTINGS="$work/settings.ini" VEXTOOLS_HOME="$work/addin"
# The tool window shows at connection when it was shown at the last disconnection.
"$build/vextools" options set --raw DisplayVexToolsOnConnect 1 >/dev/null
cp -r examples/sample "$work/sample"
display=:$((90 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display "$build/src/app/vextools-ide" "$work/sample/Sample.vbp" &
ide=$!
sleep 3
DISPLAY=$display import -window root "$out"
echo "saved $out"
