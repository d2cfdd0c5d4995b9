#pragma once
// The program's windows, made and wired together in the order the program starts them. The one
// place that knows both the main window and the options dialog: main.cpp runs it on the real
// ports, the tests on fakes.

class CpuUsage;
class TApplication;
class TCredit;
class TMainForm;
class TOption;

namespace platform {
class ISystem;
}  // namespace platform

// Hands the main window the dialog's opacity choice and binds its "Options" entry to the
// dialog; each forgets the other when it goes.
void ConnectWindows(TMainForm& mainForm, TOption& option);

// Creates the options dialog for `mainForm` (after it, so the main window stays the main form)
// and connects the two.
TOption* CreateOptionsDialog(TApplication& application, TMainForm& mainForm);

struct ProgramWindows {
  TMainForm* MainForm = nullptr;
  TOption* Option = nullptr;
  TCredit* Credit = nullptr;
};

// The main window, the options dialog and the credits window, in that order, connected.
ProgramWindows CreateProgramWindows(TApplication& application, CpuUsage& cpuUsage,
                                    platform::ISystem& system);
