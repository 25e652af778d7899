# Shared by wine-setup, wine-run, wine-cleanup and run.sh: where Wine is, the
# environment every Wine process of ours runs with, and how to tell that a
# process we started is still the one we think it is.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver || echo wineserver)

# The environment for the prefix in STATE (a folder holding prefix/ and display).
wine_environment() {
  local state=$1
  export WINEPREFIX=$state/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset WINESERVER_PERSISTENT || true
}

# Is PID alive and running a program whose name begins with NAME?
alive() {
  local pid=$1 name=$2 stat comm state
  [[ -n $pid ]] || return 1
  stat=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
  comm=${stat#*(}
  comm=${comm%)*}
  state=${stat##*) }
  state=${state%% *}
  [[ $state != [ZX] && $comm == "$name"* ]]
}
