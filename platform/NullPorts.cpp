#include "platform/NullPorts.h"

#include "platform/Widgets.h"

namespace platform {
namespace {

// A window that is never shown and ignores every request: the null window system's
// application window.
class NullWindowPeer final : public IWindowPeer {
 public:
  WindowHandle Handle() const override { return {}; }
  void SetBounds(int, int, int, int) override {}
  void SetText(const std::string&) override {}
  void SetBackgroundColor(std::uint32_t) override {}
  bool Show(int) override { return false; }
  bool IsVisible() const override { return false; }
  std::int32_t ExStyle() const override { return 0; }
  void SetExStyle(std::int32_t) override {}
  bool SetLayeredAttributes(std::uint32_t, std::uint8_t, std::uint32_t) override { return false; }
  bool SetPosition(WindowHandle, int, int, int, int, std::uint32_t) override { return false; }
  bool Redraw(std::uint32_t) override { return false; }
  void InvalidateArea(int, int, int, int) override {}
  void CopyPixels(int, int, int, int, const std::uint32_t*, int) override {}
  bool GetPlacement(WindowPlacement&) const override { return false; }
  bool SetPlacement(const WindowPlacement&) override { return false; }
  bool IsIconic() const override { return false; }
  bool PostSysCommand(std::uint32_t) override { return false; }
  void SetCapture() override {}
  void ReleaseCapture() override {}
  void CancelMode() override {}
  bool IsEnabled() const override { return false; }
  bool SetForeground() override { return false; }
};

class NullWindowSystemImpl final : public IWindowSystem {
 public:
  IWindowPeer& ApplicationWindow() override { return applicationWindow_; }
  std::unique_ptr<IWindowPeer> CreateWindowPeer(const WindowParams&, IWindowEvents&) override {
    return nullptr;
  }
  std::unique_ptr<IWidgetPeer> CreateWidget(const WidgetParams&, IWidgetEvents&) override {
    return nullptr;
  }
  std::unique_ptr<IWindowPeer> CreateMessageWindow(IMessageEvents&) override { return nullptr; }
  IconHandle LoadIconResource(const std::string&, int) override { return {}; }
  int TrackPopupMenu(const std::vector<MenuEntry>&, int, int) override { return -1; }
  void ProcessMessages() override {}
  WindowFrame FrameOf(std::uint32_t, std::int32_t) override { return {}; }
  bool HasLayeredWindows() const override { return false; }
  // Accepted, so that a timer component stays a model that ticks only when told to; never fires.
  std::uintptr_t StartTimer(std::uint32_t, ITimerEvents&) override { return kNeverFiringTimer; }
  void StopTimer(std::uintptr_t) override {}
  void RunMessageLoop() override {}
  void QuitMessageLoop() override {}
  int ShowMessageBox(const std::string&, const std::string&, std::uint32_t) override { return 0; }

 private:
  static constexpr std::uintptr_t kNeverFiringTimer = 1;
  NullWindowPeer applicationWindow_;
};

class NullRegistryImpl final : public IRegistry {
 public:
  RegResult OpenKey(RegKey, const char*, std::uint32_t, RegKey*) override {
    return kErrorAccessDenied;
  }
  RegResult CreateKey(RegKey, const char*, std::uint32_t, RegKey*) override {
    return kErrorAccessDenied;
  }
  RegResult CloseKey(RegKey) override { return kErrorSuccess; }
  RegResult QueryValue(RegKey, const char*, std::uint32_t*, std::uint8_t*,
                       std::uint32_t*) override {
    return kErrorFileNotFound;
  }
  RegResult SetValue(RegKey, const char*, std::uint32_t, const std::uint8_t*,
                     std::uint32_t) override {
    return kErrorAccessDenied;
  }
  RegResult DeleteValue(RegKey, const char*) override { return kErrorFileNotFound; }
  RegResult DeleteKey(RegKey, const char*) override { return kErrorFileNotFound; }
};

class NullSystemImpl final : public ISystem {
 public:
  bool GetVersionEx(OsVersionInfo&) override { return false; }
  std::string ExecutablePath() override { return {}; }
  char DecimalSeparator() override { return '.'; }
  std::uint32_t TickCount() override { return 0; }
  MemoryStatus QueryMemoryStatus() override { return {}; }
  std::uint32_t PriorityClass() override { return kNormalPriorityClass; }
  void SetPriorityClass(std::uint32_t) override {}
  int ThreadPriority() override { return kThreadPriorityNormal; }
  void SetThreadPriority(int) override {}
  void Sleep(std::uint32_t) override {}
  std::uint64_t TimeStampCounter() override { return 0; }
};

class NullShellImpl final : public IShell {
 public:
  bool NotifyIcon(std::uint32_t, const NotifyIconData&) override { return false; }
  bool Execute(WindowHandle, const std::string&, const std::string&, int) override { return false; }
};

class NullDialogsImpl final : public IDialogs {
 public:
  bool ChooseColor(WindowHandle, std::uint32_t&) override { return false; }
  bool ChooseFont(WindowHandle, WidgetFont&) override { return false; }
  bool GetOpenFileName(WindowHandle, FileDialogParams&) override { return false; }
  bool GetSaveFileName(WindowHandle, FileDialogParams&) override { return false; }
  std::string CurrentDirectory() override { return {}; }
};

class NullFileSystemImpl final : public IFileSystem {
 public:
  FileResult ReadFile(const std::string&, std::string&) override { return kFileNotFound; }
  FileResult ReplaceFile(const std::string&, const std::string&) override { return kAccessDenied; }
  // No code page to convert to: texts pass unchanged.
  bool ToAnsi(std::string_view text, std::string& ansi) override {
    ansi.assign(text);
    return true;
  }
  std::string FromAnsi(std::string_view ansi) override { return std::string(ansi); }
};

}  // namespace

IWindowSystem& NullWindowSystem() {
  static NullWindowSystemImpl instance;
  return instance;
}

IRegistry& NullRegistry() {
  static NullRegistryImpl instance;
  return instance;
}

ISystem& NullSystem() {
  static NullSystemImpl instance;
  return instance;
}

IShell& NullShell() {
  static NullShellImpl instance;
  return instance;
}

IDialogs& NullDialogs() {
  static NullDialogsImpl instance;
  return instance;
}

IFileSystem& NullFileSystem() {
  static NullFileSystemImpl instance;
  return instance;
}

}  // namespace platform
