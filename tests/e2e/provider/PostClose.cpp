// Asks one of the program's windows to close, as the system does when the user closes a window:
// posts WM_CLOSE to the largest top-level window of the program's class titled "Tamik" (the main
// window; the application window carries the same title but has no size), or titled as the first
// argument says ("Options" for the options dialog). Exits 0 when a window was found.
//
//   post_close.exe [TITLE]

#include <windows.h>

namespace {

struct Search {
  const char* title = "Tamik";
  HWND best = nullptr;
  long bestArea = -1;
};

BOOL CALLBACK Consider(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char className[64] = {};
  char title[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (lstrcmpA(className, "TamikWindow") != 0 || lstrcmpA(title, search->title) != 0) return TRUE;
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

int main(int argc, char** argv) {
  Search search;
  if (argc > 1) search.title = argv[1];
  EnumWindows(Consider, reinterpret_cast<LPARAM>(&search));
  if (search.best == nullptr) return 1;
  return PostMessageA(search.best, WM_CLOSE, 0, 0) ? 0 : 1;
}
