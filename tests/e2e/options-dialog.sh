#!/usr/bin/env bash
# The options dialog, end to end: opened from the main window's menu, its Options page changes the
# refresh (slider to 0: 150 ms) and the bar height (spin button up: 101, 102, 103) of the main
# window at once; closing the dialog saves its values under HKCU\Software\Tamik\TOption, and
# "Exit" saves the main window's slots. Screenshots of the Options and Opacity pages are kept.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

E2E_OPTION_KEY='HKCU\Software\Tamik\TOption'

# e2e_option_value_is NAME DATA : the dialog's stored value NAME holds DATA.
e2e_option_value_is() {
  local actual
  actual=$(wine reg query "$E2E_OPTION_KEY" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^  */, ""); print }')
  [[ $actual == "$2" ]] && return 0
  echo "        $1 is '$actual', expected '$2'"
  return 1
}

# The provider's queries grow by at least N within one second: the refresh runs that often. The
# second is the span of a measured rate, not a wait for a state; the caller polls the measurement.
e2e_samples_per_second_at_least() {
  local before after
  before=$(wine_env_queries)
  sleep 1
  after=$(wine_env_queries)
  ((after - before >= $1)) && return 0
  echo "        $((after - before)) samples in one second"
  return 1
}

check_options_dialog() {
  e2e_start_with_dialog tamik-options || return 1
  local dialog
  dialog=$(e2e_dialog_window)
  [[ -n $dialog ]] || return 1
  e2e_check "the dialog is at 332, 107 with a 279 x 184 client area" \
    e2e_window_is "$dialog" 332 107 285 206

  e2e_click_tab 26 || return 1
  wine_env_screenshot "$E2E_OUT/options-page.png"
  # The slider's thumb sits at position 2 of 0..6 on a 137-pixel ruler at (136, 80) of the page;
  # a click on it gives it the keyboard, and Home moves it to 0: a refresh every 150 ms. A key
  # sent before the click is handled would reach the control that had the focus before.
  e2e_input "the click on the slider (it takes the keyboard)" \
    mousemove $((E2E_PAGE_X + 136 + 46)) $((E2E_PAGE_Y + 80 + 10)) click 1
  xdotool key Home
  e2e_check "slider at 0: the main window samples about every 150 ms" \
    e2e_wait_until "a second with 5 samples" 30 e2e_samples_per_second_at_least 5
  # The spin edit at (176, 24) of the page, 49 x 21, its up button in the top half at the right;
  # each step is seen in the main window's height before the next click.
  local step
  for step in 1 2 3; do
    xdotool mousemove $((E2E_PAGE_X + 176 + 44)) $((E2E_PAGE_Y + 24 + 5)) click 1
    e2e_wait_until "the main window $((100 + step)) pixels high" 30 \
      e2e_geometry_is 198 107 124 $((100 + step)) || break
  done
  e2e_check "three steps up make the main window 103 pixels high" \
    e2e_wait_until "the main window 103 pixels high" 30 e2e_geometry_is 198 107 124 103

  e2e_click_tab 144 || return 1
  wine_env_screenshot "$E2E_OUT/opacity-page.png"
  e2e_click_tab 26 || return 1

  # The dialog stores its values as it closes; the checks wait for each value.
  e2e_check "the dialog asked to close accepts" wine "$E2E_POST_CLOSE" Options
  e2e_check "closing hides the dialog" e2e_wait_until "the Options window gone" 30 e2e_dialog_gone
  e2e_check "the dialog stored the slider" \
    e2e_wait_until "Slider1_Value written" 30 e2e_option_value_is Slider1_Value 0
  e2e_check "the dialog stored the bar height" \
    e2e_wait_until "SpinEdit1_Value written" 30 e2e_option_value_is SpinEdit1_Value 103
  e2e_check "the dialog stored the page shown" \
    e2e_wait_until "PageControl1_ActivePage written" 30 \
    e2e_option_value_is PageControl1_ActivePage Options
  e2e_check "the program is still running" e2e_tamik_running

  e2e_check "no error box" e2e_no_error_box
  e2e_menu_open $((198 + 15)) $((107 + 50))
  xdotool key Up Return
  e2e_check "\"Exit\" ends the program" e2e_wait_until "the program ended" 30 e2e_tamik_ended
  wine_env_stop
  e2e_check "the main window stored the interval" e2e_store_value_is Label3_Caption 150
  e2e_check "the main window stored the bar height" e2e_store_value_is SpinEdit1_Value 103
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "the options dialog" check_options_dialog; fi
