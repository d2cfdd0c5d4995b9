#pragma once
// Property tables: every class describes the properties it makes visible by name, type name, kind,
// reader, writer and stored flag, its ancestors' entries first. The settings store, the colours
// page and the scheme files read and write properties only through these tables, by name.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/Set.h"

class TObject;
class TClassInfo;

enum class TTypeKind { Integer, Enumeration, Float, String, Set, Class, Method };

struct TTypeInfo {
  std::string_view Name;
  TTypeKind Kind;
  // Enumeration: the value names by ordinal. Set: the names of its element type's values.
  std::span<const std::string_view> Names = {};
  // Class: the class of the referenced objects.
  const TClassInfo& (*ClassInfo)() = nullptr;
};

// The framework's basic types.
extern const TTypeInfo kIntegerType;        // "Integer", signed 32-bit
extern const TTypeInfo kCardinalType;       // "Cardinal", unsigned 32-bit
extern const TTypeInfo kBooleanType;        // "Boolean": False, True
extern const TTypeInfo kStringType;         // "string"
extern const TTypeInfo kExtendedType;       // "Extended", the 80-bit float
extern const TTypeInfo kComponentNameType;  // "TComponentName"
extern const TTypeInfo kNotifyEventType;    // "TNotifyEvent"

struct TPropInfo {
  std::string_view Name;
  const TTypeInfo* Type = nullptr;
  bool Stored = true;
  // Accessors; only those that fit the type's kind are set. Ordinal values (integers,
  // enumerations, sets as bit masks) travel as 64-bit integers.
  std::int64_t (*GetOrd)(const TObject&) = nullptr;
  void (*SetOrd)(TObject&, std::int64_t) = nullptr;
  long double (*GetFloat)(const TObject&) = nullptr;
  void (*SetFloat)(TObject&, long double) = nullptr;
  std::string (*GetStr)(const TObject&) = nullptr;
  void (*SetStr)(TObject&, const std::string&) = nullptr;
  TObject* (*GetObj)(const TObject&) = nullptr;
  void (*SetObj)(TObject&, TObject*) = nullptr;
  bool (*IsAssigned)(const TObject&) = nullptr;  // Method kind: whether a handler is bound

  TTypeKind Kind() const { return Type->Kind; }
};

class TClassInfo {
 public:
  TClassInfo(std::string_view className, const TClassInfo* parent,
             std::initializer_list<TPropInfo> ownProperties);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  std::string_view ClassName() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const;

  // Every property in table order: the ancestors' first.
  std::span<const TPropInfo> Properties() const { return properties_; }
  // Lookup by name without regard to case; null when the class has no such property.
  const TPropInfo* FindProperty(std::string_view name) const;
  // The table sorted by name with the framework's rule (letters folded to upper case, compared
  // character by character, the shorter name first on a common prefix).
  std::vector<const TPropInfo*> SortedProperties() const;

 private:
  std::string_view name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> properties_;
};

// Name lookups for enumeration and set types.
std::string GetEnumName(const TTypeInfo& type, std::int64_t ordinal);
// The ordinal of the first value whose name equals `name` without regard to case.
std::optional<std::int64_t> GetEnumValue(const TTypeInfo& type, std::string_view name);

// Checked access through a property entry. A missing accessor (a read-only property, or a kind
// that does not match) raises EPropertyError.
const TPropInfo& GetPropInfo(const TObject& object, std::string_view name);  // raises if missing
std::int64_t GetOrdProp(const TObject& object, const TPropInfo& prop);
void SetOrdProp(TObject& object, const TPropInfo& prop, std::int64_t value);
long double GetFloatProp(const TObject& object, const TPropInfo& prop);
void SetFloatProp(TObject& object, const TPropInfo& prop, long double value);
std::string GetStrProp(const TObject& object, const TPropInfo& prop);
void SetStrProp(TObject& object, const TPropInfo& prop, const std::string& value);
TObject* GetObjectProp(const TObject& object, const TPropInfo& prop);
void SetObjectProp(TObject& object, const TPropInfo& prop, TObject* value);

// ---------------------------------------------------------------------------------------------
// Building table entries from member functions. A getter is `R (C::*)() const`, a setter
// `void (C::*)(A)`; the entry's accessors cast the object to C, so C must derive from TObject.

namespace typinfo_detail {

template <class F>
struct MemberFn;
template <class C, class R>
struct MemberFn<R (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};
template <class C, class R>
struct MemberFn<R (C::*)() const noexcept> : MemberFn<R (C::*)() const> {};
template <class C, class A>
struct MemberFn<void (C::*)(A)> {
  using Class = C;
  using Value = std::remove_cvref_t<A>;
};
template <class C, class A>
struct MemberFn<void (C::*)(A) noexcept> : MemberFn<void (C::*)(A)> {};

template <class T>
std::int64_t ToOrdinal(const T& value) {
  if constexpr (requires { value.Bits(); }) {
    return static_cast<std::int64_t>(value.Bits());
  } else {
    return static_cast<std::int64_t>(value);
  }
}

template <class T>
T FromOrdinal(std::int64_t value) {
  if constexpr (requires { T::FromBits(0u); }) {
    return T::FromBits(static_cast<std::uint32_t>(value));
  } else if constexpr (std::is_same_v<T, bool>) {
    return value != 0;
  } else {
    return static_cast<T>(value);
  }
}

template <auto Getter>
std::int64_t GetOrd(const TObject& object) {
  using F = MemberFn<decltype(Getter)>;
  return ToOrdinal((static_cast<const typename F::Class&>(object).*Getter)());
}
template <auto Setter>
void SetOrd(TObject& object, std::int64_t value) {
  using F = MemberFn<decltype(Setter)>;
  (static_cast<typename F::Class&>(object).*Setter)(FromOrdinal<typename F::Value>(value));
}
template <auto Getter>
long double GetFloat(const TObject& object) {
  using F = MemberFn<decltype(Getter)>;
  return static_cast<long double>((static_cast<const typename F::Class&>(object).*Getter)());
}
template <auto Setter>
void SetFloat(TObject& object, long double value) {
  using F = MemberFn<decltype(Setter)>;
  (static_cast<typename F::Class&>(object).*Setter)(static_cast<typename F::Value>(value));
}
template <auto Getter>
std::string GetStr(const TObject& object) {
  using F = MemberFn<decltype(Getter)>;
  return std::string((static_cast<const typename F::Class&>(object).*Getter)());
}
template <auto Setter>
void SetStr(TObject& object, const std::string& value) {
  using F = MemberFn<decltype(Setter)>;
  (static_cast<typename F::Class&>(object).*Setter)(value);
}
template <auto Getter>
TObject* GetObj(const TObject& object) {
  using F = MemberFn<decltype(Getter)>;
  return (static_cast<const typename F::Class&>(object).*Getter)();
}
[[noreturn]] void RaiseObjectTypeMismatch();
template <auto Setter>
void SetObj(TObject& object, TObject* value) {
  using F = MemberFn<decltype(Setter)>;
  using Value = typename F::Value;  // T* or T (passed by reference)
  if constexpr (std::is_pointer_v<Value>) {
    using T = std::remove_pointer_t<Value>;
    T* typed = value == nullptr ? nullptr : dynamic_cast<T*>(value);
    if (value != nullptr && typed == nullptr) RaiseObjectTypeMismatch();
    (static_cast<typename F::Class&>(object).*Setter)(typed);
  } else {
    auto* typed = dynamic_cast<Value*>(value);
    if (typed == nullptr) RaiseObjectTypeMismatch();
    (static_cast<typename F::Class&>(object).*Setter)(*typed);
  }
}
template <class M>
struct MemberData;
template <class C, class T>
struct MemberData<T C::*> {
  using Class = C;
};

// `Event` is an event member (a std::function) or a getter returning one.
template <auto Event>
bool IsAssigned(const TObject& object) {
  if constexpr (std::is_member_object_pointer_v<decltype(Event)>) {
    using C = typename MemberData<decltype(Event)>::Class;
    return static_cast<bool>(static_cast<const C&>(object).*Event);
  } else {
    using F = MemberFn<decltype(Event)>;
    return static_cast<bool>((static_cast<const typename F::Class&>(object).*Event)());
  }
}

}  // namespace typinfo_detail

// Integer, enumeration or set property.
template <auto Getter, auto Setter>
TPropInfo OrdProperty(std::string_view name, const TTypeInfo& type, bool stored = true) {
  TPropInfo info{name, &type, stored};
  info.GetOrd = &typinfo_detail::GetOrd<Getter>;
  info.SetOrd = &typinfo_detail::SetOrd<Setter>;
  return info;
}

template <auto Getter, auto Setter>
TPropInfo FloatProperty(std::string_view name, const TTypeInfo& type, bool stored = true) {
  TPropInfo info{name, &type, stored};
  info.GetFloat = &typinfo_detail::GetFloat<Getter>;
  info.SetFloat = &typinfo_detail::SetFloat<Setter>;
  return info;
}

template <auto Getter, auto Setter>
TPropInfo StrProperty(std::string_view name, const TTypeInfo& type, bool stored = true) {
  TPropInfo info{name, &type, stored};
  info.GetStr = &typinfo_detail::GetStr<Getter>;
  info.SetStr = &typinfo_detail::SetStr<Setter>;
  return info;
}

// A property holding an object: an owned sub-object such as a font (the setter copies from the
// given object) or a reference to a component (the setter takes a pointer, null clears it).
template <auto Getter, auto Setter>
TPropInfo ObjProperty(std::string_view name, const TTypeInfo& type, bool stored = true) {
  TPropInfo info{name, &type, stored};
  info.GetObj = &typinfo_detail::GetObj<Getter>;
  info.SetObj = &typinfo_detail::SetObj<Setter>;
  return info;
}

// An event; the table tells only whether a handler is bound (handlers are bound by code).
template <auto Event>
TPropInfo MethodProperty(std::string_view name, const TTypeInfo& type) {
  TPropInfo info{name, &type, true};
  info.IsAssigned = &typinfo_detail::IsAssigned<Event>;
  return info;
}
