#include "options/Links.h"

#include "framework/Forms.h"
#include "platform/Shell.h"

namespace links {

void Open(TApplication* application, const std::string& address) {
  const AppPorts& ports = PortsOf(application);
  ports.Shell.Execute(ports.Windows.ApplicationWindow().Handle(), "open", address,
                      platform::kSwShowDefault);
}

}  // namespace links
