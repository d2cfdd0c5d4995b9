#!/usr/bin/env bash
# What the user does with the main window through the mouse: dragging it by a bar, its popup menu
# ("Minimize" hides it to the notification area, a double click on the icon there brings it back,
# "Exit" ends the program and saves the settings), driven with xdotool.
#
# Without a window manager or an X notification area, Wine shows notification icons in a window
# of its own titled "Wine System Tray", mapped while it holds an icon; the icons sit in 20-pixel
# cells from its top-left corner. Keys reach a popup menu through the X window that has the
# keyboard focus, which a click on the main window gives it.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

E2E_TRAY_NAME='Wine System Tray'

# Whether the X window is mapped and viewable.
e2e_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
e2e_hidden() { ! e2e_viewable "$1"; }
# The notification window, while it is shown.
e2e_tray_window() { xdotool search --onlyvisible --name "^$E2E_TRAY_NAME\$" 2>/dev/null | head -1; }
e2e_tray_shown() { [[ -n $(e2e_tray_window) ]]; }
e2e_tray_gone() { [[ -z $(e2e_tray_window) ]]; }
# An icon's tooltip: another, untitled window of Wine's desktop process, once it shows its text
# (more than the one colour of its background).
e2e_tooltip_window() {
  xdotool search --onlyvisible --maxdepth 1 --class '^explorer\.exe$' 2>/dev/null |
    grep -vx "$(e2e_tray_window)" | head -1
}
e2e_tooltip_drawn() {
  local tip x y w h
  tip=$(e2e_tooltip_window)
  [[ -n $tip ]] || return 1
  read -r x y w h < <(wine_env_geometry "$tip")
  e2e_drawn_colours "$x" "$y" "$w" "$h" 2
}

# e2e_drag FROM_X FROM_Y TO_X TO_Y : a left-button drag of the main window in four steps. The
# press must be handled (the window captures the mouse) before the pointer leaves the window, and
# the window reads the pointer's position when it handles a move: so the press is awaited, and
# each move until the window stands where that pointer position puts it.
e2e_drag() {
  local x y width height step px py
  read -r x y width height < <(wine_env_geometry "$E2E_WINDOW")
  xdotool mousemove "$1" "$2"
  e2e_input "the press at $1, $2" mousedown 1
  for step in 1 2 3 4; do
    px=$(($1 + ($3 - $1) * step / 4))
    py=$(($2 + ($4 - $2) * step / 4))
    xdotool mousemove "$px" "$py"
    e2e_wait_until "the window to follow the pointer to $px, $py" 30 \
      e2e_geometry_is $((x + px - $1)) $((y + py - $2)) "$width" "$height" || break
  done
  xdotool mouseup 1
}

check_window_interaction() {
  wine reg delete 'HKCU\Software\Tamik' /f >/dev/null 2>&1 || true
  wine_env_set_version ""
  wine_env_script "scripted 50 25"
  e2e_start_tamik tamik-interaction 2 || return 1
  e2e_check "the window starts at 198, 107" e2e_geometry_is 198 107 124 100

  # A press on the right bar at (10, 20) of the bar, that is (73, 20) of the window; the pointer
  # then goes to (500, 300): the window follows to 500 - 73, 300 - 20.
  e2e_drag $((198 + 73)) $((107 + 20)) 500 300
  e2e_check "dragging by the right bar puts the window at 427, 280" \
    e2e_wait_until "the window at 427, 280" 30 e2e_geometry_is 427 280 124 100

  # "Minimize": Exit is the last item, Minimize the one above it.
  e2e_menu_open $((427 + 15)) $((280 + 50))
  wine_env_screenshot "$E2E_OUT/interaction-menu.png"
  xdotool key Up Up Return
  e2e_check "\"Minimize\" hides the window" \
    e2e_wait_until "the main window hidden" 30 e2e_hidden "$E2E_WINDOW"
  e2e_check "the icon appears in Wine's notification window" \
    e2e_wait_until "the window \"$E2E_TRAY_NAME\" shown" 30 e2e_tray_shown
  local tray
  tray=$(e2e_tray_window)
  if [[ -n $tray ]]; then
    local tx ty tw th
    read -r tx ty tw th < <(wine_env_geometry "$tray")
    e2e_check "the program's icon is drawn in the first cell" \
      e2e_wait_until "the icon drawn" 30 e2e_drawn_colours $((tx + 2)) $((ty + 2)) 16 16 4
    # Hovering shows the tooltip: the uptime text the refresh writes into the hint.
    xdotool mousemove $((tx + 10)) $((ty + 10))
    e2e_wait_until "the icon's tooltip drawn" 30 e2e_tooltip_drawn
    wine_env_screenshot "$E2E_OUT/interaction-tray-tooltip.png"
    # A double click on the icon (the first cell) is "Maximize". Input pacing, not a wait for a
    # state: the system pairs clicks less than the double-click time (500 ms) apart, so the
    # double click keeps that distance from any click before it, and its own two clicks 50 ms
    # apart are one xdotool call.
    sleep 0.7
    xdotool click --repeat 2 --delay 50 1
    # The show is quick; the icon's removal after it blocks Wine for about 2 s, and a loaded
    # machine takes longer still.
    e2e_check "a double click on the icon shows the window again" \
      e2e_wait_until "the main window shown" 30 e2e_viewable "$E2E_WINDOW"
    e2e_check "the window comes back where it was (no placement was stored)" \
      e2e_geometry_is 427 280 124 100
    e2e_check "the icon goes away again (it was off before the hide)" \
      e2e_wait_until "the window \"$E2E_TRAY_NAME\" gone" 30 e2e_tray_gone
  fi

  # "Exit" ends the program; the close saves the settings with the new position.
  e2e_menu_open $((427 + 15)) $((280 + 50))
  xdotool key Up Return
  e2e_check "\"Exit\" ends the program" e2e_wait_until "the program ended" 30 e2e_tamik_ended
  wine_env_stop
  e2e_check "the close stored the dragged position" e2e_store_value_is NormPos 427,280,551,380
  e2e_check "the close stored the slots" e2e_store_value_is Label3_Caption 1000
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "dragging, the menu and the tray" check_window_interaction; fi
