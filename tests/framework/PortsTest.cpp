// How components reach the ports: PortsOf, the null ports an application fills in for missing
// ones, the event boundary (GuardedCall and GuardedCallOrDrop), and the owning registry keys.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowSystem.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/RegIniFile.h"
#include "platform/NullPorts.h"

namespace {

using platform::kHkeyCurrentUser;

class TPlainForm : public TForm {
 public:
  explicit TPlainForm(TComponent* owner) : TForm(owner) {}
};

TEST(PortsOfTest, ComponentsWithoutAnApplicationMeetTheNullPorts) {
  TComponent loose(nullptr);
  const AppPorts& ports = PortsOf(&loose);
  EXPECT_EQ(&ports.Windows, &platform::NullWindowSystem());
  EXPECT_EQ(&ports.Registry, &platform::NullRegistry());
  EXPECT_EQ(&ports.System, &platform::NullSystem());
  EXPECT_EQ(&ports.Shell, &platform::NullShell());
  EXPECT_EQ(&ports.Dialogs, &platform::NullDialogs());
  EXPECT_EQ(&ports.Files, &platform::NullFileSystem());
  EXPECT_EQ(&ports.Graphics.Screen(), &ClassicScreen());
  EXPECT_EQ(&PortsOf(nullptr), &ports);
}

TEST(PortsOfTest, ComponentsFindTheirApplicationsPortsThroughTheirOwners) {
  FakeWindowSystem windows;
  FakeShell shell;
  TApplication::Ports given;
  given.Windows = &windows;
  given.Shell = &shell;
  TApplication application(given);
  auto* form = application.CreateForm<TPlainForm>();
  auto* timer = new TTimer(form);
  const AppPorts& ports = PortsOf(timer);
  EXPECT_EQ(&ports.Windows, &windows);
  EXPECT_EQ(&ports.Shell, &shell);
  // The ports the program runs without are their null objects.
  EXPECT_EQ(&ports.Registry, &platform::NullRegistry());
  EXPECT_EQ(&ports.Dialogs, &platform::NullDialogs());
  EXPECT_EQ(&application.Registry(), &platform::NullRegistry());
}

TEST(NullPortsTest, AnApplicationWithoutPortsBehavesAsIfNoneWereThere) {
  TApplication application(TApplication::Ports{});
  auto* form = application.CreateForm<TPlainForm>();
  form->Show();
  EXPECT_FALSE(form->HandleAllocated());  // a model without a window

  // A timer is accepted and never fires.
  auto* timer = new TTimer(form);
  EXPECT_NO_THROW(timer->SetOnTimer([](TObject*) {}));

  // Dialogs answer "cancelled" and leave their values alone.
  auto* colors = new TColorDialog(form);
  colors->SetColor(clRed);
  EXPECT_FALSE(colors->Execute());
  EXPECT_EQ(colors->Color(), clRed);
  auto* open = new TOpenDialog(form);
  open->SetFileName("a.cpu");
  EXPECT_FALSE(open->Execute());
  EXPECT_EQ(open->FileName(), "a.cpu");

  // The registry keeps nothing.
  TRegIniFile storage(application.Registry(), kHkeyCurrentUser, "Software\\Tamik");
  EXPECT_FALSE(storage.HasKey());
  EXPECT_NO_THROW(storage.WriteString("S", "V", "x"));
  EXPECT_EQ(storage.ReadString("S", "V", "default"), "default");

  // Files can be neither read nor written.
  std::string bytes = "kept";
  EXPECT_NE(application.Files().ReadFile("a.cpu", bytes), platform::kFileOk);
  EXPECT_EQ(bytes, "kept");
  EXPECT_NE(application.Files().ReplaceFile("a.cpu", "x"), platform::kFileOk);

  // No icons, nothing opened, no executable, no version.
  EXPECT_FALSE(application.Shell().NotifyIcon(platform::kNimAdd, platform::NotifyIconData{}));
  EXPECT_FALSE(application.Shell().Execute({}, "open", "http://x/", platform::kSwShowDefault));
  EXPECT_EQ(application.System().ExecutablePath(), "");
  platform::OsVersionInfo version;
  EXPECT_FALSE(application.System().GetVersionEx(version));

  // The application window ignores everything; errors have no box to go to.
  EXPECT_EQ(application.ApplicationWindow().Handle(), platform::WindowHandle{});
  EXPECT_FALSE(application.ApplicationWindow().IsIconic());
  EXPECT_NO_THROW(application.ShowException(std::runtime_error("lost")));
  application.Run();
  EXPECT_FALSE(application.Terminated());
}

class GuardedCallTest : public ::testing::Test {
 protected:
  static void Fail() { throw std::runtime_error("Broken"); }

  FakeWindowSystem windows;
  TApplication application{TApplication::Ports{&windows, {}}};
};

TEST_F(GuardedCallTest, WithAnApplicationErrorsGoToTheErrorBox) {
  auto* form = application.CreateForm<TPlainForm>();
  TComponent owned(form);
  for (const auto& guard : {+[](const TComponent* c) { GuardedCall(c, Fail); },
                            +[](const TComponent* c) { GuardedCallOrDrop(c, Fail); }}) {
    windows.messageBoxes.clear();
    EXPECT_NO_THROW(guard(&owned));
    ASSERT_EQ(windows.messageBoxes.size(), 1u);
    EXPECT_EQ(windows.messageBoxes[0].text, "Broken.");
  }
}

TEST_F(GuardedCallTest, WithoutAnApplicationErrorsReachTheCallerOrAreDropped) {
  TComponent loose(nullptr);
  EXPECT_THROW(GuardedCall(&loose, Fail), std::runtime_error);
  EXPECT_NO_THROW(GuardedCallOrDrop(&loose, Fail));
  bool ran = false;
  GuardedCall(&loose, [&ran] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST(ScopedKeyTest, OpenAndCreateOwnTheKeyAndCarryTheResult) {
  struct Case {
    const char* name;
    bool create;
    bool keyExists;
    platform::RegResult failure;  // injected; kErrorSuccess: none
    platform::RegResult result;
  };
  const Case cases[] = {
      {"open existing", false, true, platform::kErrorSuccess, platform::kErrorSuccess},
      {"open missing", false, false, platform::kErrorSuccess, platform::kErrorFileNotFound},
      {"open refused", false, true, platform::kErrorAccessDenied, platform::kErrorAccessDenied},
      {"create missing", true, false, platform::kErrorSuccess, platform::kErrorSuccess},
      {"create refused", true, false, platform::kErrorAccessDenied, platform::kErrorAccessDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    if (c.keyExists) registry.AddKey(kHkeyCurrentUser, "Software\\Tamik");
    if (c.failure != platform::kErrorSuccess) {
      if (c.create) {
        registry.FailCreate(kHkeyCurrentUser, "Software\\Tamik", c.failure);
      } else {
        registry.FailOpen(kHkeyCurrentUser, "Software\\Tamik", c.failure);
      }
    }
    {
      const platform::ScopedKeyResult key =
          c.create ? platform::CreateScopedKey(registry, kHkeyCurrentUser, "Software\\Tamik",
                                               platform::kKeyAllAccess)
                   : platform::OpenScopedKey(registry, kHkeyCurrentUser, "Software\\Tamik",
                                             platform::kKeyRead);
      EXPECT_EQ(key.result, c.result);
      EXPECT_EQ(key.Opened(), c.result == platform::kErrorSuccess);
      EXPECT_EQ(registry.OpenKeyCount(), key.Opened() ? 1 : 0);
    }
    // An open key is closed once when it goes; a key that was not opened is not closed.
    EXPECT_EQ(registry.OpenKeyCount(), 0);
    EXPECT_EQ(registry.CloseCount(), c.result == platform::kErrorSuccess ? 1 : 0);
    EXPECT_EQ(registry.InvalidCloseCount(), 0);
  }
}

}  // namespace
