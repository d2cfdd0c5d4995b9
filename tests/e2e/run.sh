#!/usr/bin/env bash
# Tier 3: every end-to-end check, in one Wine prefix on one private X server. Needs the mingw64
# build (Tamik.exe, the test provider and its probe); tools/test.sh builds it first.
#
#   bash tests/e2e/run.sh                    # all scenarios
#   bash tests/e2e/two-processors.sh         # one scenario, in an environment of its own
#
# TAMIK_BUILD_DIR chooses the build (default build/mingw64); screenshots and logs of the last run
# are kept in TAMIK_E2E_OUT (default build/e2e).

set -uo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tests/e2e/common.sh
source "$here/common.sh"
# shellcheck source=tests/e2e/provider.sh
source "$here/provider.sh"
# shellcheck source=tests/e2e/two-processors.sh
source "$here/two-processors.sh"
# shellcheck source=tests/e2e/one-processor-xp.sh
source "$here/one-processor-xp.sh"
# shellcheck source=tests/e2e/settings-store.sh
source "$here/settings-store.sh"
# shellcheck source=tests/e2e/window-interaction.sh
source "$here/window-interaction.sh"
# shellcheck source=tests/e2e/options-dialog.sh
source "$here/options-dialog.sh"
# shellcheck source=tests/e2e/about-credits.sh
source "$here/about-credits.sh"
# shellcheck source=tests/e2e/colors-page.sh
source "$here/colors-page.sh"
# shellcheck source=tests/e2e/package.sh
source "$here/package.sh"

e2e_setup || exit 1
e2e_scenario "the test provider, read by the probe" check_provider
e2e_scenario "two processors at 50 % and 25 %" check_two_processors
e2e_scenario "one processor, Windows XP" check_one_processor_xp
e2e_scenario "the settings store" check_settings_store
e2e_scenario "dragging, the menu and the tray" check_window_interaction
e2e_scenario "the options dialog" check_options_dialog
e2e_scenario "the About page and the credits window" check_about_credits
e2e_scenario "the Colors page and scheme files" check_colors_page
e2e_scenario "the release package" check_package
echo "e2e: screenshots and logs in $E2E_OUT; $SECONDS s in all"
e2e_summary
