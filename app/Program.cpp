#include "app/Program.h"

#include "app/Tamik.h"
#include "options/Credits.h"
#include "options/Options.h"

void ConnectWindows(TMainForm& mainForm, TOption& option) {
  mainForm.AttachOptionsDialog(option, option,
                               [&option](TObject* sender) { option.Options1Click(sender); });
}

TOption* CreateOptionsDialog(TApplication& application, TMainForm& mainForm) {
  auto* option = application.CreateForm<TOption>(mainForm);
  ConnectWindows(mainForm, *option);
  return option;
}

ProgramWindows CreateProgramWindows(TApplication& application, CpuUsage& cpuUsage,
                                    platform::ISystem& system) {
  ProgramWindows windows;
  windows.MainForm = application.CreateForm<TMainForm>(cpuUsage, system);
  windows.Option = CreateOptionsDialog(application, *windows.MainForm);
  windows.Credit = application.CreateForm<TCredit>();
  windows.Option->SetCredit(windows.Credit);
  return windows;
}
