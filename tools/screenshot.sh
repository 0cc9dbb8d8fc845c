#!/usr/bin/env bash
# Starts pkvgzgl under Xvfb on a fresh program folder, logs in with xdotool and takes
# screenshots: splash, login window, main window (each navigation group), quick start.
# Usage: tools/screenshot.sh [OUTDIR]   (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
bin=$(pwd)/build/src/app/pkvgzgl
[ -x "$bin" ] || { echo "build first: tools/build.sh" >&2; exit 1; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

xvfb-run -a -s '-screen 0 1280x800x24' bash -s "$bin" "$home" "$out" <<'INNER'
set -u
bin=$1 home=$2 out=$3
shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }
"$bin" --home "$home" --today 2026-12-28 &
pid=$!
sleep 1.5; shot 01-splash
sleep 2.5; shot 02-year-end-reminder
xdotool key Return; sleep 1; shot 03-login
win=$(xdotool search --name '登录验证' | head -1)
if [ -n "$win" ]; then
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key --window "$win" Tab; sleep 0.2
  xdotool key --window "$win" Return
fi
sleep 2; shot 04-quick-start
xdotool key Escape; sleep 1; shot 05-main-basic
xdotool mousemove 45 230 click 1; sleep 0.7; shot 06-main-reports
xdotool mousemove 45 330 click 1; sleep 0.7; xdotool mousemove 300 400; sleep 0.5; shot 07-main-system
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
INNER
# The error dialog, rendered by the UI test under the offscreen platform.
if [ -x build/tests/ui/ui_tst_dialogs ]; then
  GZ_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=offscreen build/tests/ui/ui_tst_dialogs errorDialogShowsRowAndClears >/dev/null || true
fi
ls "$out"
