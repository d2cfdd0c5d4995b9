# shellcheck shell=bash
# Sourced helper: runs the Windows build under Wine in a throw-away prefix, on a private X server,
# fed by the test performance provider (tests/e2e/provider). Used by tools/test.sh, tools/run.sh
# and the end-to-end checks in tests/e2e/.
#
#   source tools/wine-env.sh
#   wine_env_create [dir]                # prefix under dir (default: a new temp dir)
#   wine_env_start_x                     # private Xvfb, DISPLAY set for everything below
#   wine_env_boot                        # wineboot, with one retry for Wine's own start-up
#   wine_env_register_provider DLL       # copies DLL beside the prefix and registers it
#   wine_env_script "scripted 50 25"     # what the provider serves; resets its query count
#   wine_env_set_version winxp           # or "" for Wine's default (GetVersionExA 6.1)
#   wine_env_start NAME EXE [ARGS...]    # starts a program in the background
#   wine_env_wait_windows NAME SECONDS   # ids of the windows titled exactly NAME, once there are any
#   wine_env_screenshot FILE
#   wine_env_destroy                     # stops all of the above, removes a temp dir
#
# Everything lives under WINE_ENV_DIR: prefix/ (the WINEPREFIX), the provider's library, its
# script provider.txt and its state provider.state, program logs. Only processes started here are
# stopped, by their ids; the prefix's wineserver is stopped with `wineserver -k` for this prefix.

WINE_ENV_CONVERT=/usr/bin/convert
# The service name sorts after Wine's own services: Wine stamps a performance-data block after the
# last service has been looked at, so a provider enumerated last sees the least lag (see
# tests/e2e/provider/PerfProvider.cpp).
WINE_ENV_SERVICE=ZTamikTestPerf
WINE_ENV_DIR=${WINE_ENV_DIR:-}
WINE_ENV_OWNS_DIR=0
WINE_ENV_XVFB_PID=
WINE_ENV_PIDS=()

wine_env_log() { echo "wine-env: $*" >&2; }

# wine_env_poll SECONDS COMMAND... : runs COMMAND every 0.2 s until it succeeds; fails after
# SECONDS. The bounded wait that every "until it is there" below uses.
wine_env_poll() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

wine_env_create() {
  if [[ -n ${1:-} ]]; then
    WINE_ENV_DIR=$1
    mkdir -p "$WINE_ENV_DIR"
  else
    WINE_ENV_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tamik-wine.XXXXXX")
    WINE_ENV_OWNS_DIR=1
  fi
  export WINEPREFIX=$WINE_ENV_DIR/prefix
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko: nothing here needs them, and without the overrides wineboot looks for them.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Starts Xvfb on a free display and exports DISPLAY.
wine_env_start_x() {
  local displayFile=$WINE_ENV_DIR/xvfb.display
  rm -f "$displayFile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayFile" \
    >"$WINE_ENV_DIR/xvfb.log" 2>&1 &
  WINE_ENV_XVFB_PID=$!
  if ! wine_env_poll 20 grep -q '^[0-9]' "$displayFile"; then
    wine_env_log "Xvfb did not start (see $WINE_ENV_DIR/xvfb.log)"
    return 1
  fi
  DISPLAY=:$(head -n1 "$displayFile")
  export DISPLAY
}

# Creates the prefix. The wineserver is kept running until wine_env_destroy, so that Wine's
# desktop process starts once and every later command attaches to it quickly.
wine_env_boot() {
  local attempt
  for attempt in 1 2; do
    mkdir -p "$WINEPREFIX"
    wineserver -p
    if timeout 300 wineboot -i >"$WINE_ENV_DIR/wineboot.log" 2>&1; then return 0; fi
    wine_env_log "wineboot failed (attempt $attempt, see $WINE_ENV_DIR/wineboot.log)"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  done
  return 1
}

# Imports a .reg text (REGEDIT4) into the prefix.
wine_env_import_reg() {
  local file=$WINE_ENV_DIR/import.reg
  printf '%s\n' "$@" >"$file"
  wine reg import "$(wine_env_windows_path "$file")" >/dev/null 2>&1
}

# The Windows path (drive Z: is the Unix root) of a Unix path.
wine_env_windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# Copies the provider library beside the prefix (it finds its script and state beside itself) and
# registers it as the performance library of a service.
wine_env_register_provider() {
  # A new file rather than new contents: a program still running may have the old one mapped.
  cp "$1" "$WINE_ENV_DIR/TamikPerf.dll.new"
  mv -f "$WINE_ENV_DIR/TamikPerf.dll.new" "$WINE_ENV_DIR/TamikPerf.dll"
  local library
  library=$(wine_env_windows_path "$WINE_ENV_DIR/TamikPerf.dll")
  wine_env_import_reg 'REGEDIT4' '' \
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\$WINE_ENV_SERVICE\\Performance]" \
    "\"Library\"=\"${library//\\/\\\\}\"" \
    '"Open"="OpenPerfData"' \
    '"Collect"="CollectPerfData"' \
    '"Close"="ClosePerfData"'
}

# Sets what the provider serves ("live", "scripted 50 25", or "" for nothing) and resets its
# query count.
wine_env_script() {
  rm -f "$WINE_ENV_DIR/provider.state"
  if [[ -n $1 ]]; then
    echo "$1" >"$WINE_ENV_DIR/provider.txt"
  else
    rm -f "$WINE_ENV_DIR/provider.txt"
  fi
}

# The number of queries the provider has served since the last wine_env_script.
wine_env_queries() {
  local count
  count=$(awk '$1 == "queries" { print $2 }' "$WINE_ENV_DIR/provider.state" 2>/dev/null)
  echo "${count:-0}"
}

wine_env_has_queries() { (($(wine_env_queries) >= $1)); }

# The Windows version Wine reports: "winxp" (5.1), ... or "" for Wine's default.
wine_env_set_version() {
  if [[ -n $1 ]]; then
    wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1" /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
  fi
}

# wine_env_start NAME EXE [ARGS...]: starts EXE under Wine in the background; output goes to
# $WINE_ENV_DIR/NAME.log. The pid is remembered for wine_env_stop.
wine_env_start() {
  local name=$1
  shift
  wine "$@" >"$WINE_ENV_DIR/$name.log" 2>&1 &
  WINE_ENV_PIDS+=($!)
}

# Stops the programs started with wine_env_start and waits until Wine has let them go.
wine_env_stop() {
  local pid
  for pid in "${WINE_ENV_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${WINE_ENV_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  WINE_ENV_PIDS=()
}

# The ids of the top-level windows titled exactly NAME (none: empty output, failure).
wine_env_windows() {
  local ids
  ids=$(xdotool search --name "^$1\$" 2>/dev/null) || return 1
  [[ -n $ids ]] && echo "$ids"
}

wine_env_wait_windows() {
  wine_env_poll "$2" wine_env_windows "$1" >/dev/null && wine_env_windows "$1"
}

# The id of the largest of the windows titled exactly NAME.
wine_env_largest_window() {
  local id best="" bestArea=-1 x y w h
  for id in $(wine_env_windows "$1"); do
    read -r x y w h < <(wine_env_geometry "$id")
    if ((w * h > bestArea)); then
      best=$id
      bestArea=$((w * h))
    fi
  done
  [[ -n $best ]] && echo "$best"
}

# "X Y WIDTH HEIGHT" of a window, on the screen.
wine_env_geometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $4 }
    /Absolute upper-left Y:/ { y = $4 }
    /^ *Width:/ { w = $2 }
    /^ *Height:/ { h = $2 }
    END { print x, y, w, h }'
}

wine_env_screenshot() { import -window root "$1"; }

# wine_env_pixels FILE X Y WIDTH HEIGHT: one line "x y r g b" per pixel of the rectangle, with
# screen coordinates.
wine_env_pixels() {
  "$WINE_ENV_CONVERT" "$1" -crop "$4x$5+$2+$3" +repage -colorspace sRGB -type TrueColor -depth 8 \
    txt:- | sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p' |
    awk -v dx="$2" -v dy="$3" '{ print $1 + dx, $2 + dy, $3, $4, $5 }'
}

# wine_env_pixel FILE X Y: "r g b" of one pixel.
wine_env_pixel() { wine_env_pixels "$1" "$2" "$3" 1 1 | awk '{ print $3, $4, $5 }'; }

# The backdrop: a checkerboard of 4-pixel squares, brown (107,60,42) where (x/4 + y/4) is even and
# green (60,110,71) where it is odd, in neither white nor any colour of the bars. Set as the root
# window's background it shows through wherever no window covers the screen, so a pixel that a
# window keys out shows the backdrop's colour for its position. Wine's desktop process paints the
# root when it starts: set the backdrop once a program's window is up.
wine_env_backdrop_color() {
  if (((($1 / 4) + ($2 / 4)) % 2 == 0)); then echo "107 60 42"; else echo "60 110 71"; fi
}

wine_env_set_backdrop() {
  local image=$WINE_ENV_DIR/backdrop.png
  if [[ ! -f $image ]]; then
    "$WINE_ENV_CONVERT" -size 8x8 xc:'rgb(60,110,71)' -fill 'rgb(107,60,42)' \
      -draw 'rectangle 0,0 3,3 rectangle 4,4 7,7' -write mpr:tile +delete \
      -size 1024x768 tile:mpr:tile "$image"
  fi
  # display leaves the image as the root's background and exits (with status 1 on this path).
  display -window root "$image" >/dev/null 2>&1 || true
}

# Whether the screen's four corners show the backdrop.
wine_env_backdrop_shown() {
  local shot=$WINE_ENV_DIR/backdrop-check.png x y expected
  wine_env_screenshot "$shot" || return 1
  for x in 0 1023; do
    for y in 0 767; do
      expected=$(wine_env_backdrop_color "$x" "$y")
      [[ $(wine_env_pixel "$shot" "$x" "$y") == "$expected" ]] || return 1
    done
  done
}

wine_env_destroy() {
  wine_env_stop
  if [[ -n ${WINEPREFIX:-} && -d ${WINEPREFIX:-} ]]; then wineserver -k 2>/dev/null || true; fi
  if [[ -n $WINE_ENV_XVFB_PID ]]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=
  fi
  if ((WINE_ENV_OWNS_DIR)) && [[ -n $WINE_ENV_DIR ]]; then rm -rf "$WINE_ENV_DIR"; fi
  WINE_ENV_OWNS_DIR=0
}
