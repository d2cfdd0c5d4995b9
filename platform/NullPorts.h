#pragma once
// The null ports: what the program meets where a port is not there. Each answers the way "not
// there" has always behaved, so code reaches every port the same way and never asks whether it
// exists (docs/PORTS.md):
//   window system: makes no windows, widgets or message windows (forms stay models); its
//                  application window is a window that ignores everything; timers are accepted
//                  and never fire; menus close without a choice; message boxes show nothing.
//   registry:      opens and creates no key (access denied), so nothing is read or kept.
//   system:        no version (the query fails), no executable path, '.' as decimal separator,
//                  a clock and a time-stamp counter that stand at 0, an empty memory status,
//                  normal priorities that do not change, sleeps that return at once.
//   shell:         refuses notification-area icons and opens nothing.
//   dialogs:       every dialog answers "cancelled"; no current directory.
//   files:         nothing can be read (not found) or written (access denied); texts pass the
//                  code-page conversions unchanged.
// The instances are process-wide and keep no state.

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/Windowing.h"

namespace platform {

IWindowSystem& NullWindowSystem();
IRegistry& NullRegistry();
ISystem& NullSystem();
IShell& NullShell();
IDialogs& NullDialogs();
IFileSystem& NullFileSystem();

}  // namespace platform
