#pragma once
// The registry port on the Win32 registry (advapi32). Handles pass through unchanged: the port's
// predefined roots carry the Win32 values. Key names, value names and text values are UTF-8 here
// and UTF-16 in the registry (Win32Text.h).

#include "platform/Registry.h"

namespace platform::win32 {

class Win32Registry final : public IRegistry {
 public:
  RegResult OpenKey(RegKey parent, const char* subKey, std::uint32_t access,
                    RegKey* result) override;
  RegResult CreateKey(RegKey parent, const char* subKey, std::uint32_t access,
                      RegKey* result) override;
  RegResult CloseKey(RegKey key) override;
  RegResult QueryValue(RegKey key, const char* valueName, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  RegResult SetValue(RegKey key, const char* valueName, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  RegResult DeleteValue(RegKey key, const char* valueName) override;
  RegResult DeleteKey(RegKey parent, const char* subKey) override;
};

}  // namespace platform::win32
