#!/usr/bin/env bash
# The Colors page, end to end: the colour list drops down as swatches, "Change Colors" takes a
# colour from the system's colour dialog into the preview, "Save" writes the preview to a scheme
# file through the system's save dialog (the extension added to a typed name), "Reset Bar"
# restores the preview, "Open" loads the file again, and "Apply Changes" gives both bars of the
# main window the loaded colours, which the next start shows again. Screenshots of the page and of
# the main window are kept.
#
# Places on the page (see common.sh for the page's corner): the preview at 8, 0 (73 x 134), "Open"
# and "Save" at 88 and 112 (25 x 25), the list at 144, 0 (113 wide, items 13 high below it),
# "Change Colors" at 176, 24, "Reset Bar" at 88, 128, "Apply Changes" at 176, 128 (81 x 25).

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

E2E_RESET_COLOURS='$007A408CI$0064408CIclBlackI$00C06868I$00DF8080I$00A06868I$00BF8080I$00FFB0B0I$00A060A0I$008060A0I$00D060E0I$00823C96I$008848C0I$00E06868I$00FF8080I$00FF8080I'
E2E_RESET_FONT='"Small Fonts", 7, [Bold], [clPurple]'

# e2e_red_pixels X Y WIDTH HEIGHT MIN : at least MIN pure red pixels in the rectangle.
e2e_red_pixels() {
  local shot=$WINE_ENV_DIR/red-check.png count
  wine_env_screenshot "$shot" || return 1
  count=$(wine_env_pixels "$shot" "$1" "$2" "$3" "$4" | awk '$3 == 255 && $4 == 0 && $5 == 0' | wc -l)
  ((count >= $5)) && return 0
  echo "        $count red pixels in the rectangle"
  return 1
}
e2e_no_red_pixels() { e2e_red_pixels "$@" >/dev/null && return 1 || return 0; }
e2e_top_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
e2e_top_window_shown() { [[ -n $(e2e_top_window "$1") ]]; }
e2e_top_window_gone() { [[ -z $(e2e_top_window "$1") ]]; }

# The scheme file ends with the red top and the font line.
e2e_scheme_has_red_top() {
  grep -qa 'IclRedI.."Small Fonts", 7, \[Bold\], \[clPurple\]$' <(tr '\r\n' '..' <"$1" 2>/dev/null)
}

# e2e_file_dialog TITLE PATH : waits for the file dialog that the last e2e_input opened, types the
# path and confirms. The dialog keeps the Options window disabled until it is gone, which takes
# Wine a moment.
e2e_file_dialog() {
  e2e_wait_until "the window \"$1\" shown" 30 e2e_top_window_shown "$1" || return 1
  xdotool type --delay 20 "$2"
  xdotool key Return
  e2e_wait_until "the window \"$1\" gone" 30 e2e_top_window_gone "$1"
}

# e2e_file_is FILE EXPECTED : FILE holds exactly the bytes of the file EXPECTED.
e2e_file_is() { cmp -s "$1" "$2"; }

check_colors_page() {
  local scheme=$WINE_ENV_DIR/red-top.cpu reset=$WINE_ENV_DIR/reset.cpu
  local preview=($((E2E_PAGE_X + 8)) "$E2E_PAGE_Y" 73 134)
  rm -f "$scheme" "$reset"
  e2e_start_with_dialog tamik-colors || return 1
  e2e_click_tab 80
  e2e_check "the Colors page shows the preview bar" \
    e2e_wait_until "the preview drawn" 30 e2e_drawn_colours "${preview[@]}" 8

  # The list drops down below its box: 16 swatches.
  xdotool mousemove $((E2E_PAGE_X + 200)) $((E2E_PAGE_Y + 9)) click 1
  e2e_check "the colour list drops down as swatches" \
    e2e_wait_until "the swatches drawn" 30 \
    e2e_drawn_colours $((E2E_PAGE_X + 144)) $((E2E_PAGE_Y + 22)) 113 208 12
  wine_env_screenshot "$E2E_OUT/colors-list.png"
  # TopColor, the last item; then "Change Colors" and red, the first colour of the dialog's
  # second row (its OK button at 50, 282 of the dialog). The open list covers "Change Colors":
  # the choice must be handled, and the list closed, before that click.
  e2e_input "the click on TopColor (the list closes)" \
    mousemove $((E2E_PAGE_X + 190)) $((E2E_PAGE_Y + 22 + 15 * 13 + 6)) click 1
  xdotool mousemove $((E2E_PAGE_X + 216)) $((E2E_PAGE_Y + 36)) click 1
  e2e_check "\"Change Colors\" opens the colour dialog" \
    e2e_wait_until "the window \"Color\" shown" 30 e2e_top_window_shown Color
  local x y w h
  read -r x y w h < <(wine_env_geometry "$(e2e_top_window Color)")
  e2e_input "the click on the red cell" mousemove $((x + 19)) $((y + 54)) click 1
  xdotool mousemove $((x + 50)) $((y + 282)) click 1
  e2e_wait_until "the window \"Color\" gone" 30 e2e_top_window_gone Color
  e2e_check "the chosen red tops the preview" \
    e2e_wait_until "red in the preview" 30 e2e_red_pixels "${preview[@]}" 20
  wine_env_screenshot "$E2E_OUT/colors-page.png"

  # "Save": a name without extension gets ".cpu". The program writes the file after the dialog
  # has gone, so the checks wait for the file's content.
  e2e_input "the click on \"Save\" (its dialog opens)" \
    mousemove $((E2E_PAGE_X + 124)) $((E2E_PAGE_Y + 12)) click 1
  e2e_check "\"Save\" writes through the save dialog" \
    e2e_file_dialog "Save As" "$(wine_env_windows_path "${scheme%.cpu}")"
  e2e_check "the scheme file holds 16 colours, the red top last, and the font" \
    e2e_wait_until "$scheme complete" 30 e2e_scheme_has_red_top "$scheme"

  # "Reset Bar", then "Open" brings the red top back; nothing reaches the main window before
  # "Apply Changes".
  xdotool mousemove $((E2E_PAGE_X + 128)) $((E2E_PAGE_Y + 140)) click 1
  e2e_check "\"Reset Bar\" takes the red away" \
    e2e_wait_until "no red in the preview" 30 e2e_no_red_pixels "${preview[@]}" 1
  # Saved right after a reset: the two known lines, 158 + 2 + 36 bytes.
  local known=$WINE_ENV_DIR/reset-known.cpu
  printf '%s\r\n%s' "$E2E_RESET_COLOURS" "$E2E_RESET_FONT" >"$known"
  e2e_input "the click on \"Save\" (its dialog opens)" \
    mousemove $((E2E_PAGE_X + 124)) $((E2E_PAGE_Y + 12)) click 1
  e2e_file_dialog "Save As" "$(wine_env_windows_path "$reset")"
  e2e_check "a save right after \"Reset Bar\" is the known file" \
    e2e_wait_until "$reset complete" 30 e2e_file_is "$reset" "$known"
  e2e_input "the click on \"Open\" (its dialog opens)" \
    mousemove $((E2E_PAGE_X + 100)) $((E2E_PAGE_Y + 12)) click 1
  e2e_check "\"Open\" reads through the open dialog" \
    e2e_file_dialog Open "$(wine_env_windows_path "$scheme")"
  e2e_check "the opened scheme tops the preview red again" \
    e2e_wait_until "red in the preview" 30 e2e_red_pixels "${preview[@]}" 20
  e2e_check "the main bars are unchanged before Apply" e2e_no_red_pixels 198 107 124 100 1
  xdotool mousemove $((E2E_PAGE_X + 216)) $((E2E_PAGE_Y + 140)) click 1
  e2e_check "\"Apply Changes\" tops both main bars red" \
    e2e_wait_until "red in the main bars" 30 e2e_red_pixels 198 107 124 100 40
  # The bars are painted one after the other.
  e2e_check "both bars, left and right" \
    e2e_wait_until "red in the left bar" 30 e2e_red_pixels 198 107 62 100 20
  e2e_check "the right bar too" \
    e2e_wait_until "red in the right bar" 30 e2e_red_pixels 261 107 61 100 20
  wine_env_screenshot "$E2E_OUT/colors-applied.png"
  e2e_check "no error box" e2e_no_error_box

  # The main window's store keeps what was applied: "Exit" (the menu's last item), a new start,
  # and the tops are still red.
  e2e_menu_open $((198 + 15)) $((107 + 50))
  xdotool key Up Return
  e2e_check "\"Exit\" ends the program" e2e_wait_until "the program ended" 30 e2e_tamik_ended
  wine_env_stop
  wine_env_script "scripted 50 25"
  e2e_start_tamik tamik-colors-again 2 || return 1
  e2e_check "the next start shows the applied red tops" \
    e2e_wait_until "red in the main bars" 30 e2e_red_pixels 198 107 124 100 40
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "the Colors page and scheme files" check_colors_page; fi
