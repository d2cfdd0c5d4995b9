#pragma once
// Drives a modal window of the real system (Wine in the test tier) from a helper thread: a common
// dialog or a message box, both of the dialog class "#32770".

#ifdef _WIN32

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace testsupport {

// Runs `show` (a common dialog or a message box, modal on this thread) while a helper thread waits
// for the dialog's window and hands it to `drive`. Each wait is bounded: a dialog that does not
// appear, or does not close once driven, fails the test, and one left open is cancelled.
class DialogDriver {
 public:
  bool Run(const std::function<bool()>& show, const std::function<void(HWND)>& drive) {
    const DWORD thread = GetCurrentThreadId();
    std::thread helper([&] {
      const HWND dialog = WaitFor(thread, true);
      appeared_ = dialog != nullptr;
      if (dialog == nullptr) return;
      drive(dialog);
      closed_ = WaitFor(thread, false) == nullptr;
      // Whatever is still open is cancelled, so that the modal call returns.
      for (int attempt = 0; attempt < 50 && !closed_; ++attempt) {
        if (HWND left = FindDialog(thread)) PostMessageA(left, WM_COMMAND, IDCANCEL, 0);
        Sleep(100);
        closed_ = FindDialog(thread) == nullptr;
      }
    });
    const bool confirmed = show();
    helper.join();
    return confirmed;
  }

  bool appeared() const { return appeared_; }
  bool closed() const { return closed_; }

 private:
  static HWND FindDialog(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, &TakeDialog, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  // Keeps the first shown dialog window in the HWND at `data`. A function of its own, not a
  // lambda: the callback has the system's calling convention, which i686 lambdas lack.
  static BOOL CALLBACK TakeDialog(HWND hwnd, LPARAM data) {
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(data) = hwnd;
    return FALSE;
  }

  // Waits up to 20 s for a dialog to be shown (`shown`) or gone; answers the dialog, or null.
  static HWND WaitFor(DWORD thread, bool shown) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      HWND dialog = FindDialog(thread);
      if ((dialog != nullptr) == shown) return dialog;
      Sleep(100);
    }
    return shown ? nullptr : FindDialog(thread);
  }

  std::atomic<bool> appeared_ = false;
  std::atomic<bool> closed_ = false;
};

}  // namespace testsupport

#endif  // _WIN32
