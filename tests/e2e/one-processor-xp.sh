#!/usr/bin/env bash
# The program on one processor with Wine reporting Windows XP: the version text "Windows XP"
# makes the program discount the summary instance "_Total", so the count it works with is 1; the
# window is then narrowed to the first bar (62 pixels) and the first bar shows the served load.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

check_one_processor_xp() {
  wine_env_set_version winxp
  wine_env_script "scripted 75"
  e2e_start_tamik tamik-one-processor-xp 3 || return 1
  e2e_check "the window is at 198, 107 and narrowed to 62 x 100" e2e_geometry_is 198 107 62 100
  e2e_check "no error box" e2e_no_error_box

  wine_env_set_backdrop
  e2e_check "the backdrop is on the screen" \
    e2e_wait_until "the backdrop in the screen's corners" 30 wine_env_backdrop_shown

  e2e_expect_reset
  e2e_expect_bar 0 75 "the only bar (processor 0, 75 %)"
  e2e_expect_none 0 0 61 99 "$E2E_WHITE" "no white pixel in the window: white is keyed out"
  # The second bar's control starts at x = 63, outside the narrowed window: nothing of it shows,
  # and the screen there shows what is behind the window, up to where a full window would end.
  e2e_expect_backdrop 62 0 127 99 "nothing of the second bar (x = 63 on) is visible"
  e2e_screen_matches one-processor-xp 30
  wine_env_set_version ""
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "one processor, Windows XP" check_one_processor_xp; fi
