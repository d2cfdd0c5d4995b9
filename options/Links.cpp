#include "options/Links.h"

#include "framework/Forms.h"
#include "platform/Shell.h"

namespace links {

void Open(TApplication* application, const std::string& address) {
  if (application == nullptr || application->Shell() == nullptr) return;
  platform::IWindowPeer* owner = application->ApplicationWindow();
  application->Shell()->Execute(owner != nullptr ? owner->Handle() : platform::WindowHandle{},
                                "open", address, platform::kSwShowDefault);
}

}  // namespace links
