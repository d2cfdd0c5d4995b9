#include "framework/RegIniFile.h"

#include <algorithm>
#include <limits>

#include "framework/Exception.h"
#include "framework/SysUtils.h"

namespace {

void RequireString(std::uint32_t type, const std::string& ident) {
  if (type != platform::kRegSz && type != platform::kRegExpandSz) {
    throw ERegistryException(Format("Type de données incorrect pour '%s'", ident.c_str()));
  }
}

}  // namespace

TRegIniFile::TRegIniFile(platform::IRegistry& registry, platform::RegKey root,
                         const std::string& path)
    : registry_(registry),
      key_(platform::CreateScopedKey(registry, root, path.c_str(), platform::kKeyAllAccess).key) {}

std::optional<std::string> TRegIniFile::ReadValue(const std::string& section,
                                                  const std::string& ident) {
  if (!key_.IsOpen()) return std::nullopt;
  const platform::ScopedKeyResult sectionKey =
      platform::OpenScopedKey(registry_, key_.Get(), section.c_str(), platform::kKeyRead);
  if (!sectionKey.Opened()) return std::nullopt;
  const platform::RegKey raw = sectionKey.key.Get();

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry_.QueryValue(raw, ident.c_str(), &type, nullptr, &size) != platform::kErrorSuccess) {
    return std::nullopt;
  }
  RequireString(type, ident);
  // The value may change between the size query and the read; a few rounds settle it, and a
  // value that keeps changing reads as missing.
  std::string data;
  for (int round = 0; round < 4; ++round) {
    data.assign(size, '\0');
    std::uint32_t got = size;
    auto* buffer = data.empty() ? nullptr : reinterpret_cast<std::uint8_t*>(data.data());
    const platform::RegResult result =
        registry_.QueryValue(raw, ident.c_str(), &type, buffer, &got);
    if (result == platform::kErrorMoreData) {
      size = std::max(got, size + 1);
      continue;
    }
    if (result != platform::kErrorSuccess) return std::nullopt;
    RequireString(type, ident);
    if (buffer == nullptr && got > 0) {  // an empty value has grown since the size query
      size = got;
      continue;
    }
    data.resize(std::min<std::size_t>(got, data.size()));
    data.resize(std::min(data.find('\0'), data.size()));
    return data;
  }
  return std::nullopt;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& fallback) {
  std::optional<std::string> value = ReadValue(section, ident);
  return value ? std::move(*value) : fallback;
}

std::int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& ident,
                                      std::int32_t fallback) {
  const std::optional<std::string> value = ReadValue(section, ident);
  if (!value) return fallback;
  return TryStrToInt(Trim(*value)).value_or(fallback);
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident,
                              const std::string& value) {
  if (!key_.IsOpen()) return;
  const platform::ScopedKeyResult sectionKey =
      platform::CreateScopedKey(registry_, key_.Get(), section.c_str(), platform::kKeyAllAccess);
  if (!sectionKey.Opened()) {
    throw ERegistryException(Format("Echec à la création de la clé %s", section.c_str()));
  }
  // The text goes with its terminating zero, as every string value is stored.
  const bool fits = value.size() < std::numeric_limits<std::uint32_t>::max();
  if (!fits ||
      registry_.SetValue(sectionKey.key.Get(), ident.c_str(), platform::kRegSz,
                         reinterpret_cast<const std::uint8_t*>(value.c_str()),
                         static_cast<std::uint32_t>(value.size() + 1)) != platform::kErrorSuccess) {
    throw ERegistryException(Format("Echec à la définition des données pour '%s'", ident.c_str()));
  }
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident,
                               std::int32_t value) {
  WriteString(section, ident, IntToStr(value));
}
