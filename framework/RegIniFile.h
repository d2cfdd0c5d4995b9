#pragma once
// The registry seen as an initialisation file: one key stands for the file, its subkeys for the
// sections and their string values for the entries. An object opens its key when it is made and
// closes it when it goes; a section is opened for each read or write and closed right after, so
// nothing stays open between two accesses.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Registry.h"

class TRegIniFile {
 public:
  // Opens `path` below the predefined key `root` with full access, creating every missing level.
  // A key that can be neither opened nor created (as on the null registry) is not an error:
  // reads then answer their defaults and writes store nothing.
  TRegIniFile(platform::IRegistry& registry, platform::RegKey root, const std::string& path);
  TRegIniFile(const TRegIniFile&) = delete;
  TRegIniFile& operator=(const TRegIniFile&) = delete;

  bool HasKey() const { return key_.IsOpen(); }

  // The text of the string value `ident` of `section`, up to its first zero byte (a value
  // without a terminating zero is taken whole); REG_EXPAND_SZ is read as it is stored, without
  // expansion. Nothing when the section or the value does not exist. A value of any other type
  // raises ERegistryException "Type de données incorrect pour '<ident>'".
  std::optional<std::string> ReadValue(const std::string& section, const std::string& ident);
  // ReadValue, or `fallback` when there is no value.
  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& fallback);
  // The string value as a signed 32-bit integer, blanks around it ignored; `fallback` when there
  // is no value or its text is not an integer. The type rule of ReadValue applies.
  std::int32_t ReadInteger(const std::string& section, const std::string& ident,
                           std::int32_t fallback);

  // Stores `value` as REG_SZ with its terminating zero, creating the section (with full access)
  // when it is missing. Raises ERegistryException "Echec à la création de la clé <section>" when
  // the section cannot be created, "Echec à la définition des données pour '<ident>'" when the
  // value cannot be written.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& ident, std::int32_t value);

 private:
  platform::IRegistry& registry_;
  platform::ScopedRegKey key_;
};
