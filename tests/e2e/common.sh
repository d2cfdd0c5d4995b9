# shellcheck shell=bash
# shellcheck disable=SC2034 # constants used by the scenario files
# Sourced by the end-to-end checks: the Wine environment they share, the counting of checks, and
# the screen expectations that are evaluated against screenshots.
#
# A scenario file defines one function and runs it in an environment of its own when executed
# directly; tests/e2e/run.sh sources every scenario file and runs them all in one environment.

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=tools/wine-env.sh
source "$E2E_ROOT/tools/wine-env.sh"

E2E_BUILD=${TAMIK_BUILD_DIR:-$E2E_ROOT/build/mingw64}
E2E_OUT=${TAMIK_E2E_OUT:-$E2E_ROOT/build/e2e}  # screenshots and logs of the last run
E2E_TAMIK=$E2E_BUILD/app/Tamik.exe
E2E_PROVIDER=$E2E_BUILD/tests/e2e/provider/TamikPerf.dll
E2E_PROBE=$E2E_BUILD/tests/e2e/provider/perf_probe.exe
E2E_POST_CLOSE=$E2E_BUILD/tests/e2e/provider/post_close.exe

E2E_PASSED=0
E2E_FAILED=0
E2E_READY=0

e2e_pass() {
  E2E_PASSED=$((E2E_PASSED + 1))
  echo "  ok    $1"
}

e2e_fail() {
  E2E_FAILED=$((E2E_FAILED + 1))
  echo "  FAIL  $1"
}

# e2e_check LABEL COMMAND... : one check, passed when COMMAND succeeds.
e2e_check() {
  local label=$1
  shift
  if "$@"; then e2e_pass "$label"; else e2e_fail "$label"; fi
}

# ---- Waiting ----------------------------------------------------------------------------------
#
# The checks never sleep for a state: Wine, the X server and the program each take their own time,
# which a loaded machine stretches. They poll for what they need instead (a window shown or gone,
# a file complete, a registry value written, pixels drawn, a process ended, the program done with
# an input), each poll with a generous bound that costs time only when something is wrong.

# e2e_wait_until WHAT SECONDS COMMAND... : the one way to wait. Runs COMMAND (quietly) every 0.2 s
# until it succeeds; once SECONDS have passed it runs COMMAND one last time with its details shown,
# says what was awaited and fails.
e2e_wait_until() {
  local what=$1 seconds=$2
  shift 2
  wine_env_poll "$seconds" "$@" >/dev/null && return 0
  "$@" && return 0
  echo "        waited $seconds s for $what"
  return 1
}

# e2e_input WHAT XDOTOOL_ARGS... : sends the input with xdotool and waits until the program has
# handled it and painted what it changed. The program's thread takes queued input first, then
# painting, and timer messages only when nothing else is queued; so once the refresh timer has
# sampled the provider twice after the input was sent (the first tick may already have been under
# way), the input is handled, including a menu or dialog it opened (their loops dispatch the
# timer too) and the keyboard focus it set.
e2e_input() {
  local what=$1 before
  shift
  before=$(wine_env_queries)
  xdotool "$@"
  e2e_wait_until "the program to handle $what (two refresh ticks after it)" 30 \
    wine_env_has_queries $((before + 2))
}

# Prepares the shared environment once: a prefix with the provider registered, on a private X
# server.
e2e_setup() {
  ((E2E_READY)) && return 0
  for file in "$E2E_TAMIK" "$E2E_PROVIDER" "$E2E_PROBE" "$E2E_POST_CLOSE"; do
    if [[ ! -f $file ]]; then
      echo "e2e: $file is missing; build the mingw64 preset first" >&2
      return 1
    fi
  done
  mkdir -p "$E2E_OUT"
  rm -f "$E2E_OUT"/*.png "$E2E_OUT"/*.log "$E2E_OUT"/*.txt
  trap 'wine_env_destroy' EXIT
  wine_env_create ""
  wine_env_start_x
  local started=$SECONDS
  wine_env_boot || return 1
  echo "e2e: Wine prefix ready in $((SECONDS - started)) s ($WINEPREFIX, DISPLAY $DISPLAY)"
  wine_env_register_provider "$E2E_PROVIDER"
  E2E_READY=1
}

# Keeps the logs of the programs run so far beside the screenshots.
e2e_keep_logs() { cp "$WINE_ENV_DIR"/*.log "$E2E_OUT"/ 2>/dev/null || true; }

# e2e_scenario NAME FUNCTION : runs one scenario function; its checks count towards the totals.
e2e_scenario() {
  echo "== $1"
  local failedBefore=$E2E_FAILED
  if ! "$2"; then e2e_fail "$1 could not run to its end"; fi
  wine_env_stop
  e2e_keep_logs
  ((E2E_FAILED == failedBefore))
}

# The closing line that counts.
e2e_summary() {
  echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
  ((E2E_FAILED == 0))
}

# For a scenario file executed on its own.
e2e_run_alone() {
  set -uo pipefail
  e2e_setup || exit 1
  e2e_scenario "$1" "$2"
  e2e_summary
}

# ---- The program's windows ---------------------------------------------------------------------

# The program's main window: of the top-level windows titled "Tamik" (the framework's application
# window is one too, 1 x 1), the largest.
e2e_main_window() { wine_env_largest_window Tamik; }

# No error box: the framework's message box carries the application title.
e2e_no_error_box() { ! wine_env_windows "Tamik - a cOOL CPU Monitor" >/dev/null; }

# e2e_start_tamik NAME SAMPLES : starts the program (its output goes to NAME.log) and waits for
# its main window and for SAMPLES samples of the provider (the first is taken while the window is
# created, each tick of the refresh timer takes one more).
e2e_start_tamik() {
  local name=$1 samples=$2
  wine_env_start "$name" "$E2E_TAMIK"
  if ! e2e_wait_until "a window titled Tamik" 60 wine_env_windows Tamik; then
    e2e_fail "the program's window appears within 60 s (output: $E2E_OUT/$name.log)"
    return 1
  fi
  if ! e2e_wait_until "$samples samples" 30 wine_env_has_queries "$samples"; then
    e2e_fail "the program samples the provider $samples times within 30 s (it did $(wine_env_queries))"
    e2e_no_error_box || echo "        an error box is open"
    return 1
  fi
  E2E_WINDOW=$(e2e_main_window)
}

# e2e_geometry_is X Y WIDTH HEIGHT : the main window's place and size on the screen.
e2e_geometry_is() {
  local actual
  actual=$(wine_env_geometry "$E2E_WINDOW")
  [[ $actual == "$*" ]] && return 0
  echo "        window at $actual (x y width height), expected $*"
  return 1
}

# Whether the program started last has ended, or still runs.
e2e_tamik_ended() { ! kill -0 "${WINE_ENV_PIDS[-1]}" 2>/dev/null; }
e2e_tamik_running() { kill -0 "${WINE_ENV_PIDS[-1]}" 2>/dev/null; }

# e2e_window_is ID X Y WIDTH HEIGHT : a window's place and size on the screen.
e2e_window_is() {
  local id=$1 actual
  shift
  actual=$(wine_env_geometry "$id")
  [[ $actual == "$*" ]] && return 0
  echo "        window at $actual (x y width height), expected $*"
  return 1
}

# e2e_menu_open X Y : a right click at the screen point opens the main window's menu there. Its
# items: Options, a separator, Maximize, Minimize, Exit; keys choose one (Up from the top chooses
# the last). Keys sent before the menu's loop runs would reach the main window instead, so this
# waits until the click is handled: the menu is then shown and its loop running.
e2e_menu_open() {
  e2e_input "the right click at $1, $2 (the menu opens)" mousemove "$1" "$2" click 3
}


# e2e_drawn_colours X Y WIDTH HEIGHT MIN : the rectangle of the screen holds at least MIN colours
# (a picture, not a plain background).
e2e_drawn_colours() {
  local shot=$WINE_ENV_DIR/colours-check.png colours
  wine_env_screenshot "$shot" || return 1
  colours=$(wine_env_pixels "$shot" "$1" "$2" "$3" "$4" | awk '{ print $3, $4, $5 }' | sort -u | wc -l)
  ((colours >= $5)) && return 0
  echo "        $colours colours in the rectangle"
  return 1
}

# The opposite of e2e_drawn_colours, for polling.
e2e_not_drawn_colours() { ! e2e_drawn_colours "$@" >/dev/null; }

# ---- The options dialog -----------------------------------------------------------------------
#
# The dialog is a tool window at 332, 107 with a 3-pixel border and a 19-pixel caption drawn by
# Wine, so its client area starts at 335, 129. The tabs are flat buttons in one row; the pages
# start 4 pixels right of and 27 pixels below the client area's corner.

E2E_CLIENT_X=335
E2E_CLIENT_Y=129
E2E_PAGE_X=$((E2E_CLIENT_X + 4))
E2E_PAGE_Y=$((E2E_CLIENT_Y + 27))

e2e_dialog_window() { xdotool search --onlyvisible --name '^Options$' 2>/dev/null | head -1; }
e2e_dialog_shown() { [[ -n $(e2e_dialog_window) ]]; }
e2e_dialog_gone() { [[ -z $(e2e_dialog_window) ]]; }

# A fresh start of the program with nothing stored and the usual loads, then "Options", the
# menu's first item: the dialog is shown. NAME names the program's log.
e2e_start_with_dialog() {
  wine reg delete 'HKCU\Software\Tamik' /f >/dev/null 2>&1 || true
  wine_env_set_version ""
  wine_env_script "scripted 50 25"
  e2e_start_tamik "$1" 2 || return 1
  e2e_menu_open $((198 + 15)) $((107 + 50))
  xdotool key Down Return
  e2e_check "\"Options\" opens the dialog" \
    e2e_wait_until "the Options window shown" 30 e2e_dialog_shown
}

# e2e_click_tab X : a click on the tab whose middle is X pixels into the client area; returns
# once the program has shown and painted the tab's page.
e2e_click_tab() {
  e2e_input "the click on the tab at $1 (its page shown)" \
    mousemove $((E2E_CLIENT_X + $1)) $((E2E_CLIENT_Y + 8)) click 1
}

# ---- The main window's settings in the registry ------------------------------------------------

E2E_STORE_KEY='HKCU\Software\Tamik\TMainForm'

# The values of the main window's subkey, one "NAME TYPE DATA" line each.
e2e_store_values() {
  wine reg query "$E2E_STORE_KEY" 2>/dev/null | tr -d '\r' |
    awk 'NF >= 2 && $2 ~ /^REG_/ { name = $1; type = $2; $1 = ""; $2 = "";
           sub(/^  */, ""); print name, type, $0 }'
}

# e2e_store_value_is NAME DATA : the value NAME holds the string DATA.
e2e_store_value_is() {
  local actual
  actual=$(e2e_store_values | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^  */, ""); print }')
  [[ $actual == "$2" ]] && return 0
  echo "        $1 is '$actual', expected '$2'"
  return 1
}

# ---- Screen expectations -----------------------------------------------------------------------
#
# Expectations are collected with the functions below, in coordinates relative to the main
# window's top-left corner (E2E_ORIGIN_X/Y), then evaluated together on screenshots by
# e2e_screen_matches, which retakes the screenshot until they all hold or the time is up (a tick's
# drawing reaches the screen a moment after the sample that the checks wait for).

E2E_ORIGIN_X=198
E2E_ORIGIN_Y=107
E2E_EXPECT=()

# Colours of the bars' default scheme, "r g b".
E2E_FILLED_LINE="224 96 208"
E2E_EMPTY_LINE="176 176 255"
E2E_FILLED_SIDE_1="150 60 130"
E2E_FILLED_SIDE_2="192 72 136"
E2E_SIDE_1="104 104 224"
E2E_SIDE_2="128 128 255"
E2E_FILLED="160 96 160"
E2E_WHITE="255 255 255"

e2e_expect_reset() { E2E_EXPECT=(); }

# e2e_expect_at X Y "R G B" LABEL : the pixel has that colour.
e2e_expect_at() { E2E_EXPECT+=("at $1 $2 $1 $2 $3 $4"); }

# e2e_expect_backdrop X0 Y0 X1 Y1 LABEL : every pixel of the rectangle (both corners included)
# shows the backdrop, that is, nothing of the window.
e2e_expect_backdrop() { E2E_EXPECT+=("backdrop $1 $2 $3 $4 0 0 0 $5"); }

# e2e_expect_none X0 Y0 X1 Y1 "R G B" LABEL : no pixel of the rectangle has that colour.
e2e_expect_none() { E2E_EXPECT+=("none $1 $2 $3 $4 $5 $6"); }

# e2e_expect_drawn X0 Y0 X1 Y1 LABEL : some pixel of the rectangle differs from the backdrop.
e2e_expect_drawn() { E2E_EXPECT+=("drawn $1 $2 $3 $4 0 0 0 $5"); }

# The fill height in pixels of a bar 100 pixels high (lid at Y 5, so H = 90 and the fill range
# h = 80) for a bar value: value x 80 / 100 rounded to the nearest integer, halves to even.
e2e_fill_height() {
  local numerator=$(($1 * 80)) quotient remainder
  quotient=$((numerator / 100))
  remainder=$((numerator % 100))
  if ((2 * remainder > 100 || (2 * remainder == 100 && quotient % 2 == 1))); then
    quotient=$((quotient + 1))
  fi
  echo "$quotient"
}

# e2e_expect_bar LEFT VALUE NAME : the bar whose control starts LEFT pixels into the window shows
# VALUE. Its prism starts at the control's left edge (X 0) with the lid's top on row 5 (Y 5);
# the fill surface's front corner lies on row Y + H - P = 95 - P, its left and right corners on
# row 90 - P and its back corner on row 85 - P. Above the fill level the vertical edges are drawn
# in the empty line colour, from the fill level down in the filled line colour; the side faces
# show the filled colours below the fill surface and the empty ones above it; the percentage text
# stands 33 pixels right of the prism's left edge with its cell ending just above row 95 - P.
e2e_expect_bar() {
  local x=$1 value=$2 name=$3 p front
  p=$(e2e_fill_height "$value")
  front=$((95 - p))
  e2e_expect_at $((x + 15)) $front "$E2E_FILLED_LINE" "$name: front edge at the fill surface's front corner (row $front) in the filled line colour"
  e2e_expect_at $((x + 15)) $((front - 1)) "$E2E_EMPTY_LINE" "$name: front edge one row above it in the empty line colour"
  e2e_expect_at "$x" $((front - 5)) "$E2E_FILLED_LINE" "$name: left edge at the fill level (row $((front - 5))) in the filled line colour"
  e2e_expect_at "$x" $((front - 6)) "$E2E_EMPTY_LINE" "$name: left edge one row above it in the empty line colour"
  e2e_expect_at $((x + 30)) $((front - 5)) "$E2E_FILLED_LINE" "$name: right edge at the fill level in the filled line colour"
  e2e_expect_at $((x + 30)) $((front - 6)) "$E2E_EMPTY_LINE" "$name: right edge one row above it in the empty line colour"
  e2e_expect_at $((x + 13)) $((front + 3)) "$E2E_FILLED_SIDE_1" "$name: left face just below the fill surface is FilledSideColor1"
  e2e_expect_at $((x + 17)) $((front + 3)) "$E2E_FILLED_SIDE_2" "$name: right face just below the fill surface is FilledSideColor2"
  e2e_expect_at $((x + 13)) $((front - 12)) "$E2E_SIDE_1" "$name: left face just above the fill surface is SideColor1"
  e2e_expect_at $((x + 17)) $((front - 12)) "$E2E_SIDE_2" "$name: right face just above the fill surface is SideColor2"
  e2e_expect_at $((x + 10)) $((front - 5)) "$E2E_FILLED" "$name: the fill surface is FilledColor"
  e2e_expect_drawn $((x + 33)) $((front - 12)) $((x + 60)) $((front - 1)) "$name: the percentage text stands right of the prism, just above the fill level"
  e2e_expect_backdrop $((x + 33)) "$front" $((x + 60)) $((front + 6)) "$name: nothing is drawn right of the prism below the fill level"
}

# Evaluates the expectations on one screenshot; prints one line per expectation: "ok LABEL" or
# "FAIL LABEL (details)".
e2e_evaluate() {
  local shot=$1
  printf '%s\n' "${E2E_EXPECT[@]}" >"$WINE_ENV_DIR/expectations.txt"
  wine_env_pixels "$shot" "$E2E_ORIGIN_X" "$E2E_ORIGIN_Y" 128 100 |
    awk -v ox="$E2E_ORIGIN_X" -v oy="$E2E_ORIGIN_Y" '
      FILENAME != "-" {
        n++
        kind[n] = $1; x0[n] = $2; y0[n] = $3; x1[n] = $4; y1[n] = $5
        color[n] = $6 " " $7 " " $8
        label[n] = $0
        for (i = 1; i <= 8; i++) sub(/^[^ ]+ /, "", label[n])
        next
      }
      { pixel[($1 - ox) "," ($2 - oy)] = $3 " " $4 " " $5 }
      function backdrop(x, y) {
        x += ox; y += oy
        return ((int(x / 4) + int(y / 4)) % 2 == 0) ? "107 60 42" : "60 110 71"
      }
      END {
        for (e = 1; e <= n; e++) {
          bad = ""; found = 0
          for (y = y0[e]; y <= y1[e]; y++) for (x = x0[e]; x <= x1[e]; x++) {
            p = ((x "," y) in pixel) ? pixel[x "," y] : "none"
            if (kind[e] == "at" && p != color[e]) bad = "(" x "," y ") is " p ", expected " color[e]
            if (kind[e] == "backdrop" && p != backdrop(x, y) && bad == "")
              bad = "(" x "," y ") is " p ", not the backdrop " backdrop(x, y)
            if (kind[e] == "none" && p == color[e] && bad == "") bad = "(" x "," y ") is " p
            if (kind[e] == "drawn" && p != backdrop(x, y)) found = 1
          }
          if (kind[e] == "drawn" && !found) bad = "every pixel shows the backdrop"
          if (bad == "") print "ok " label[e]; else print "FAIL " label[e] " -- " bad
        }
      }' "$WINE_ENV_DIR/expectations.txt" -
}

# e2e_screen_holds SHOT : takes the screenshot and evaluates the expectations on it into
# E2E_RESULTS; succeeds when every one holds.
e2e_screen_holds() {
  wine_env_screenshot "$1"
  E2E_RESULTS=$(e2e_evaluate "$1")
  ! grep -q '^FAIL' <<<"$E2E_RESULTS"
}

# e2e_screen_matches NAME SECONDS : takes screenshots until every expectation holds or SECONDS
# have passed, then counts each expectation of the last one as a check. The last screenshot is
# kept as $E2E_OUT/NAME.png.
e2e_screen_matches() {
  local name=$1 seconds=$2 verdict label
  E2E_RESULTS=""
  e2e_wait_until "every expectation on the screen ($name)" "$seconds" \
    e2e_screen_holds "$E2E_OUT/$name.png" >/dev/null || true
  while read -r verdict label; do
    if [[ $verdict == ok ]]; then e2e_pass "$label"; else e2e_fail "$label"; fi
  done <<<"$E2E_RESULTS"
}
