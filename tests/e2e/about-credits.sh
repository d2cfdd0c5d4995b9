#!/usr/bin/env bash
# The About page, the debug page and the credits window, end to end: the dialog opens on the
# About page with its banner, "Credits" shows the credits window with its picture, "Thanx To"
# swaps the picture for the credits texts and back, and the debug page's "Refresh" measures the
# clock and reads the memory. Screenshots of each are kept (docs/ holds copies).
#
# The credits window is a tool window at 619, 108, its client area at 622, 130.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

e2e_credits_window() { xdotool search --onlyvisible --name '^--==\[ Credits \]==-------$' 2>/dev/null | head -1; }
e2e_credits_shown() { [[ -n $(e2e_credits_window) ]]; }

check_about_credits() {
  e2e_start_with_dialog tamik-about || return 1
  # The banner (190 x 83 at 8, 1 of the About page).
  e2e_check "the About page shows its banner" \
    e2e_wait_until "the banner drawn" 30 \
    e2e_drawn_colours $((E2E_PAGE_X + 20)) $((E2E_PAGE_Y + 10)) 150 60 12
  wine_env_screenshot "$E2E_OUT/about-page.png"

  # "Credits" at 8, 88 of the page, 57 x 22.
  xdotool mousemove $((E2E_PAGE_X + 36)) $((E2E_PAGE_Y + 99)) click 1
  e2e_check "\"Credits\" shows the credits window" \
    e2e_wait_until "the credits window shown" 30 e2e_credits_shown
  e2e_check "the credits window shows its picture" \
    e2e_wait_until "the credits picture drawn" 30 e2e_drawn_colours 660 160 240 120 40
  wine_env_screenshot "$E2E_OUT/credits-picture.png"
  # "Thanx To" at 1, 213, 24 x 24: the picture gives way to the credits texts on the plain
  # background, and back.
  xdotool mousemove $((622 + 13)) $((130 + 225)) click 1
  e2e_check "\"Thanx To\" hides the picture" \
    e2e_wait_until "the credits picture gone" 30 e2e_not_drawn_colours 660 160 240 120 40
  wine_env_screenshot "$E2E_OUT/credits-texts.png"
  xdotool mousemove $((622 + 13)) $((130 + 225)) click 1
  e2e_check "pressed again, the picture is back" \
    e2e_wait_until "the credits picture drawn again" 30 e2e_drawn_colours 660 160 240 120 40

  # The debug page (tab at 255 of the client area); "Refresh" at 208, 8 of the page, 57 x 25.
  e2e_click_tab 255 || return 1
  # "Refresh" measures the clock over half a second, then writes the page's texts.
  e2e_input "the click on \"Refresh\"" mousemove $((E2E_PAGE_X + 236)) $((E2E_PAGE_Y + 20)) click 1
  wine_env_screenshot "$E2E_OUT/debug-page.png"
  e2e_check "no error box" e2e_no_error_box
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "the About page and the credits window" check_about_credits; fi
