// Asks the program's main window to close, as the system does when the user closes a window:
// posts WM_CLOSE to the largest top-level window of the program's class titled "Tamik" (the
// application window carries the same title but has no size). Exits 0 when a window was found.

#include <windows.h>

namespace {

struct Search {
  HWND best = nullptr;
  long bestArea = -1;
};

BOOL CALLBACK Consider(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char className[64] = {};
  char title[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (lstrcmpA(className, "TamikWindow") != 0 || lstrcmpA(title, "Tamik") != 0) return TRUE;
  RECT bounds;
  GetWindowRect(window, &bounds);
  const long area = (bounds.right - bounds.left) * (bounds.bottom - bounds.top);
  if (area > search->bestArea) {
    search->best = window;
    search->bestArea = area;
  }
  return TRUE;
}

}  // namespace

int main() {
  Search search;
  EnumWindows(Consider, reinterpret_cast<LPARAM>(&search));
  if (search.best == nullptr) return 1;
  return PostMessageA(search.best, WM_CLOSE, 0, 0) ? 0 : 1;
}
