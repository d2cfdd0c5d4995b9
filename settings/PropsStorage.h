#pragma once
// TPropsStorage: keeps properties of components as named texts, reaching each property by name
// through its class's property table. It converts between a property's value and its text and
// hands the texts to a reader and a writer it is given (the settings store's registry section).
//
// Text forms, by kind; every text is trimmed of blanks and control characters before it is
// written and after it is read:
// - integer (sizes, colours, intervals): signed 32-bit decimal, so a system colour is negative
//   and an unsigned value above 2^31 comes out negative too (it reads back to the same bits).
//   Text that is not an integer, the empty text included, reads as 0.
// - enumeration (booleans included): the value's name ("True", "fpDefault"); read back by the
//   first name equal to the text without regard to case; any other text leaves the property.
// - float: general format with 18 significant digits and "." as decimal separator, whatever the
//   locale; read back after every "." is replaced by the locale's separator; text that is not a
//   number leaves the property.
// - text: the text itself, written even when empty.
// - set: "[" + the member names in ascending order joined by "," + "]" ("[fsBold,fsItalic]",
//   "[]"); read back by splitting at blanks, ",", "[" and "]" and taking every word that names
//   a member, without regard to case; the result replaces the whole set.
// - owned sub-object (a font): no value of its own; each property of its table is kept as a
//   value named after the sub-object's value followed by that property's name
//   (RarBar1_Font + Charset = RarBar1_FontCharset), in table order.
// - reference to a component: its name; "(null)" for none; "<owner>.<name>" when it belongs to
//   another window than the root (the owner's class name without its leading "T" when the owner
//   has no name). Read back: empty text leaves it; "(null)" clears it; "<owner>.<name>" looks the
//   owner up among the application's windows (not found: left as it is) and the name in it (not
//   found: cleared); a plain name is looked up among the root's components (not found: cleared).
// Events are not kept.

#include <functional>
#include <string>
#include <string_view>

#include "framework/Classes.h"

class TPropsStorage {
 public:
  // Reads the value `name`; answers `fallback` when there is none.
  using ReadFunction =
      std::function<std::string(const std::string& name, const std::string& fallback)>;
  using WriteFunction = std::function<void(const std::string& name, const std::string& value)>;

  // `root` is the window whose components plain reference names denote (null: none).
  TPropsStorage(TComponent* root, ReadFunction read, WriteFunction write);

  // Whether a property can be kept: a value kind with both accessors, a reference with both, or
  // a sub-object that can be read. Events and read-only properties cannot.
  static bool IsStorable(const TPropInfo& prop);

  // Writes the property of `object` under `name`. An error of the writer ends the call.
  void StoreProperty(const TObject& object, const TPropInfo& prop, const std::string& name);
  // Reads the property back, each value with the text of the current value as its default, so a
  // missing value leaves the property as it is. A value that cannot be read, or whose text makes
  // the setter fail, is skipped; the other values of a sub-object are still applied.
  void LoadProperty(TObject& object, const TPropInfo& prop, const std::string& name);

  // The written text of a property that is not a sub-object.
  std::string PropertyText(const TObject& object, const TPropInfo& prop) const;
  // Applies a read text to a property that is not a sub-object; the setter's errors pass through.
  void SetPropertyText(TObject& object, const TPropInfo& prop, std::string_view text) const;

 private:
  void Store(const TObject& object, const TPropInfo& prop, const std::string& name, int depth);
  void Load(TObject& object, const TPropInfo& prop, const std::string& name, int depth);
  std::string ReferenceText(const TObject* target) const;
  void SetReference(TObject& object, const TPropInfo& prop, std::string_view text) const;

  TComponent* root_;
  ReadFunction read_;
  WriteFunction write_;
};
