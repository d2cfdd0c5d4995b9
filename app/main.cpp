// Program entry and composition root: the one place that builds the real ports and hands them
// down; the windows are made and connected by app/Program.cpp.

#include <exception>

#include "app/Program.h"
#include "app/Tamik.h"
#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/SysUtils.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32GlyphRasterizer.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Screen.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32WindowSystem.h"

int main() {
  platform::win32::Win32Registry registry;
  platform::win32::Win32System system;
  platform::win32::Win32Screen screen;
  platform::win32::Win32GlyphRasterizer glyphs;
  platform::win32::Win32WindowSystem windows;
  platform::win32::Win32Shell shell;
  platform::win32::Win32Dialogs dialogs;
  platform::win32::Win32FileSystem files;
  TFont::SetDefaultPixelsPerInch(screen.PixelsPerInch());
  FormatSettings.DecimalSeparator = system.DecimalSeparator();

  TApplication application({.Windows = &windows,
                            .Graphics = {&screen, &glyphs},
                            .Registry = &registry,
                            .System = &system,
                            .Shell = &shell,
                            .Dialogs = &dialogs,
                            .Files = &files});
  application.SetTitle(kApplicationTitle);

  // The sampler starts before any window: without the version query there is no program.
  std::unique_ptr<CpuUsage> cpuUsage;
  try {
    cpuUsage = std::make_unique<CpuUsage>(registry, system);
  } catch (const std::exception& error) {
    application.ShowException(error);
    return 1;
  }

  CreateProgramWindows(application, *cpuUsage, system);
  application.Run();
  return 0;
}
