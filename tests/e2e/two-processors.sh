#!/usr/bin/env bash
# The program on two processors served at 50 % and 25 %: the window's place and size, the two
# bars' fill levels and texts, the keyed-out white, and the bars following a change of load.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

check_two_processors() {
  wine_env_set_version ""
  wine_env_script "scripted 50 25"
  # Three samples: the one taken while the window is created and two ticks, so the bars show a
  # load measured over a real interval.
  e2e_start_tamik tamik-two-processors 3 || return 1
  e2e_check "the window is at 198, 107 and 124 x 100" e2e_geometry_is 198 107 124 100
  e2e_check "no error box" e2e_no_error_box

  # Wine's desktop process paints the root window when it starts; the backdrop goes up after it.
  wine_env_set_backdrop
  e2e_check "the backdrop is on the screen" \
    e2e_wait_until "the backdrop in the screen's corners" 30 wine_env_backdrop_shown

  e2e_expect_reset
  e2e_expect_bar 0 50 "left bar (processor 0, 50 %)"
  e2e_expect_bar 63 25 "right bar (processor 1, 25 %)"
  # The window and the bars' backgrounds are white, the colour key: nothing white remains, and
  # where only background lies the backdrop shows through.
  e2e_expect_none 0 0 123 99 "$E2E_WHITE" "no white pixel in the window: white is keyed out"
  e2e_expect_backdrop 0 0 123 4 "rows 0-4, above both lids, show what is behind the window"
  e2e_expect_backdrop 0 96 123 99 "rows 96-99, below both prisms, show what is behind the window"
  e2e_expect_backdrop 31 0 32 99 "columns 31-32, between the left prism and its text, show what is behind"
  e2e_expect_backdrop 94 0 95 99 "columns 94-95, between the right prism and its text, show what is behind"
  e2e_screen_matches two-processors 30

  # The bars follow the loads from tick to tick.
  wine_env_script "scripted 75 40"
  e2e_wait_until "2 samples of the new loads" 30 wine_env_has_queries 2 || true
  e2e_expect_reset
  e2e_expect_bar 0 75 "left bar after the change to 75 %"
  e2e_expect_bar 63 40 "right bar after the change to 40 %"
  e2e_screen_matches two-processors-changed 30
  e2e_check "no error box after the change" e2e_no_error_box
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "two processors at 50 % and 25 %" check_two_processors; fi
