#!/usr/bin/env bash
# Builds the Windows x64 program and runs it under Wine.  Arguments are
# passed to velocane.exe.
#
# With $DISPLAY set, the program runs on that display in the foreground.
# Without, it runs on a private Xvfb; once its "Velocane" window is shown a
# screenshot is saved (build/screenshot.png) and its path printed; the
# program then keeps running until Ctrl-C / SIGTERM.
# Wine prefix: build/run-wine/prefix (separate from the tests' prefix).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=run.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"
# shellcheck source=tools/wine/wine-common.sh
source "$root/tools/wine/wine-common.sh"

install_packages
quiet configure-windows-x64 cmake --preset windows-x64
quiet build-windows-x64 cmake --build --preset windows-x64

exe=$root/build/windows-x64/app/velocane.exe
if [[ ! -f $exe ]]; then
  echo "run.sh: $exe was not built" >&2
  exit 1
fi

# Prefix, wineserver and (without $DISPLAY) Xvfb, all in build/run-wine.
export VELOCANE_WINE_DIR=$root/build/run-wine
if [[ -n ${DISPLAY:-} ]]; then
  export VELOCANE_WINE_USE_DISPLAY=$DISPLAY
else
  unset VELOCANE_WINE_USE_DISPLAY
fi

app_pid=""
cleanup() {
  trap - EXIT INT TERM
  if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
    kill -TERM "$app_pid" 2>/dev/null || true
  fi
  # Stops every Wine process of OUR prefix, then the Xvfb we started.
  bash tools/wine/wine-cleanup "$root/build/windows-x64" >/dev/null 2>&1 || true
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

quiet wine-setup bash tools/wine/wine-setup "$root/build/windows-x64"

wine_environment "$VELOCANE_WINE_DIR"
DISPLAY=$(cat "$VELOCANE_WINE_DIR/display")
export DISPLAY

if [[ -n ${VELOCANE_WINE_USE_DISPLAY:-} ]]; then
  echo "running velocane.exe on display $DISPLAY"
  rc=0
  "$WINE64" "$exe" "$@" </dev/null &
  app_pid=$!
  wait "$app_pid" || rc=$?
  app_pid=""
  exit "$rc"
fi

# Headless: private Xvfb, screenshot of the main window.
app_log=$VELOCANE_WINE_DIR/velocane.log
"$WINE64" "$exe" "$@" </dev/null >"$app_log" 2>&1 &
app_pid=$!

# Prints "ID WxH+X+Y" of the first viewable top-level window titled
# "Velocane" (absolute position), or nothing.
find_window() {
  local id line geom
  while read -r id; do
    line=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$line" || continue
    local x y w h
    x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$line")
    y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$line")
    w=$(awk '/^ *Width:/ {print $2}' <<<"$line")
    h=$(awk '/^ *Height:/ {print $2}' <<<"$line")
    geom="${w}x${h}+${x}+${y}"
    echo "$id $geom"
    return 0
  done < <(xwininfo -root -tree 2>/dev/null | awk '/"Velocane":/ {print $1}')
}

found=""
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    rc=0
    wait "$app_pid" || rc=$?
    app_pid=""
    echo "run.sh: velocane.exe exited with status $rc before showing its window" >&2
    echo "  (log: $app_log)" >&2
    exit "$rc"
  fi
  found=$(find_window || true)
  [[ -n $found ]] && break
  sleep 0.2
done

shot=$root/build/screenshot.png
sleep 0.5 # let the window finish painting
if [[ -n $found ]]; then
  geom=${found#* }
  w=${geom%%x*}
  # Crop to the window; clamp to the screen.
  if import -window root -crop "$geom" +repage "$shot" 2>"$logs/import.log" && [[ $w -gt 0 ]]; then
    :
  else
    import -window root "$shot" 2>>"$logs/import.log"
  fi
else
  echo "run.sh: no visible window titled \"Velocane\" within 30 s; full-screen screenshot" >&2
  import -window root "$shot" 2>>"$logs/import.log"
fi
echo "$shot"
echo "velocane.exe is running on Xvfb display $DISPLAY (pid $app_pid); Ctrl-C to stop"

rc=0
wait "$app_pid" || rc=$?
app_pid=""
exit "$rc"
