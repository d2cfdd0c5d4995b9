#!/usr/bin/env bash
# The settings store, end to end: closing the main window (WM_CLOSE, as the system sends it) saves
# the placement and the 47 listed properties under HKCU\Software\Tamik\TMainForm as strings, and
# the next start restores a position written there beforehand.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

e2e_store_counts_are() {
  local all strings
  all=$(e2e_store_values | wc -l)
  strings=$(e2e_store_values | awk '$2 == "REG_SZ"' | wc -l)
  ((all == $1 && strings == $1)) && return 0
  echo "        $all values, $strings of them strings; expected $1 strings"
  return 1
}

check_settings_store() {
  wine reg delete 'HKCU\Software\Tamik' /f >/dev/null 2>&1 || true
  wine_env_script "scripted 50 25"
  e2e_start_tamik tamik-store-first 2 || return 1
  e2e_check "the window asked to close accepts" wine "$E2E_POST_CLOSE"
  e2e_check "the program ends when its main window closes" \
    e2e_wait_until "the program ended" 30 e2e_tamik_ended
  wine_env_stop

  # FormVersion, seven placement values, Visible and 59 listed values (45 plain entries and seven
  # for each of the two fonts).
  e2e_check "the subkey holds 68 string values" e2e_store_counts_are 68
  local name data
  while read -r name data; do
    e2e_check "$name = $data" e2e_store_value_is "$name" "$data"
  done <<'VALUES'
FormVersion 0
Visible 0
ShowCmd 1
PixelsPerInch 96
NormPos(1024x768) 198,107,322,207
NormPos 198,107,322,207
RarBar1_Height 100
Timer1_Interval 1000
SpinEdit1_Value 100
CheckBox3_Checked True
Label7_Caption 16777215
RarBar1_FontName Small Fonts
RarBar1_FontSize 7
RarBar1_FontStyle [fsBold]
RarBar1_FontCharset 1
RarBar2_FontCharset 0
RarBar1_TopColor 16744576
VALUES

  # A position written beforehand comes back at the next start; the size stays the program's.
  wine reg add "$E2E_STORE_KEY" /v 'NormPos(1024x768)' /t REG_SZ /d '420,310,0,0' /f >/dev/null 2>&1
  wine_env_script "scripted 50 25"
  e2e_start_tamik tamik-store-second 2 || return 1
  e2e_check "the stored position is restored (420, 310), the size kept" e2e_geometry_is 420 310 124 100
  e2e_check "no error box" e2e_no_error_box
  wine_env_stop

  # A stored refresh slot that is not a number: the error box names it, accents and all. The box
  # is kept as error-box.png (its text is read back exactly by the Wine tier's Win32TextTest).
  wine reg add "$E2E_STORE_KEY" /v Label3_Caption /t REG_SZ /d abc /f >/dev/null 2>&1
  wine_env_start tamik-store-bad-interval "$E2E_TAMIK"
  if e2e_wait_until "the error box" 60 wine_env_windows "Tamik - a cOOL CPU Monitor"; then
    e2e_pass "a stored interval \"abc\" opens the error box"
    local box geometry
    box=$(wine_env_largest_window "Tamik - a cOOL CPU Monitor")
    read -r -a geometry <<<"$(wine_env_geometry "$box")"
    e2e_check "the error box shows its text" e2e_wait_until "the box's text drawn" 30 \
      e2e_drawn_colours "${geometry[0]}" "${geometry[1]}" "${geometry[2]}" "${geometry[3]}" 3
    wine_env_screenshot "$WINE_ENV_DIR/error-box-screen.png" &&
      /usr/bin/convert "$WINE_ENV_DIR/error-box-screen.png" \
        -crop "${geometry[2]}x${geometry[3]}+${geometry[0]}+${geometry[1]}" +repage \
        "$E2E_OUT/error-box.png"
  else
    e2e_fail "a stored interval \"abc\" opens the error box"
  fi
  wine_env_stop
  wine reg delete "$E2E_STORE_KEY" /v Label3_Caption /f >/dev/null 2>&1 || true
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "the settings store" check_settings_store; fi
