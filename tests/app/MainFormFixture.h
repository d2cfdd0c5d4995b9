#pragma once
// The main window on fake ports: a sampler fed with scripted performance blocks, a registry, a
// screen, a shell, dialogs, files and a window system that record every native call. A test may
// leave out the registry or the screen before Start to see the window without them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/Tamik.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeScreen.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "framework/SysUtils.h"

class MainFormFixture : public ::testing::Test {
 protected:
  MainFormFixture() {
    // Wine's default answer: Windows 7, so no processor-count correction.
    system.SetVersion(platform::kVerPlatformWin32Nt, 6, 1, 7601);
    Serve(0, {0, 0});
  }
  ~MainFormFixture() override { FormatSettings.DecimalSeparator = '.'; }

  // Serves the next performance block: the second it was assembled and each processor's idle
  // counter.
  void Serve(int second, const std::vector<std::int64_t>& idle, bool withTotal = false) {
    perfblock::PerfDataBuilder builder(static_cast<int>(idle.size()) - (withTotal ? 1 : 0),
                                       withTotal);
    builder.SetSecond(static_cast<std::uint16_t>(second));
    builder.SetIdles(idle);
    registry.SetPerformanceData(builder.Build());
  }

  // Creates the sampler, the application and the main window (hidden, as before Run).
  void Start() {
    sampler = std::make_unique<CpuUsage>(registry, system);
    TApplication::Ports ports;
    ports.Windows = &windows;
    ports.Graphics = TGraphicsPorts(withScreen ? &screen : nullptr);
    ports.Registry = withRegistry ? &registry : nullptr;
    ports.System = &system;
    ports.Shell = &shell;
    ports.Dialogs = &dialogs;
    ports.Files = &files;
    application = std::make_unique<TApplication>(ports);
    application->SetTitle(kApplicationTitle);
    form = application->CreateForm<TMainForm>(*sampler, system);
  }
  // Start, then the message loop: the window is shown, `session` runs, the loop ends.
  void Run(std::function<void()> session = {}) {
    Start();
    windows.duringMessageLoop = std::move(session);
    application->Run();
  }

  FakeWindowPeer& Window() { return *windows.windows.at(0); }
  // How often FormCreate has run: its first step marks the application window every time.
  int FormCreateRuns() const {
    const auto& calls = windows.applicationWindow->calls;
    return static_cast<int>(std::count(calls.begin(), calls.end(), "SetExStyle 0x80"));
  }

  bool withScreen = true;
  bool withRegistry = true;
  FakeRegistry registry;
  FakeSystem system;
  FakeScreen screen;
  FakeShell shell;
  FakeDialogs dialogs;
  FakeFileSystem files;
  FakeWindowSystem windows;
  std::unique_ptr<CpuUsage> sampler;
  std::unique_ptr<TApplication> application;
  TMainForm* form = nullptr;
};
