#pragma once
// An in-memory shell: records every Shell_NotifyIconA call with its record, and accepts or
// refuses adds as the test says.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Shell.h"

class FakeShell : public platform::IShell {
 public:
  struct Call {
    std::uint32_t message;
    platform::NotifyIconData data;
    std::string Tip() const { return data.szTip; }
  };

  bool NotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) override {
    calls.push_back({message, data});
    if (message == platform::kNimAdd) {
      if (refuseAdds > 0) {
        --refuseAdds;
        return false;
      }
      shown = true;
      return true;
    }
    if (message == platform::kNimDelete) {
      const bool wasShown = shown;
      shown = false;
      return wasShown;
    }
    return shown;
  }

  struct ExecuteRecord {
    platform::WindowHandle owner;
    std::string verb;
    std::string file;
    int showCommand;
  };
  bool Execute(platform::WindowHandle owner, const std::string& verb, const std::string& file,
               int showCommand) override {
    executed.push_back({owner, verb, file, showCommand});
    return executeSucceeds;
  }

  // The messages sent so far, in order (kNim*).
  std::vector<std::uint32_t> Messages() const {
    std::vector<std::uint32_t> messages;
    for (const Call& call : calls) messages.push_back(call.message);
    return messages;
  }

  // The taskbar was re-created: the shell forgets its icons.
  void ForgetIcons() { shown = false; }

  std::vector<Call> calls;
  // How many of the next adds are refused.
  int refuseAdds = 0;
  // Whether an icon is in the notification area.
  bool shown = false;
  std::vector<ExecuteRecord> executed;
  bool executeSucceeds = true;
};
