#include "framework/TypInfo.h"

#include <algorithm>

#include "framework/Classes.h"
#include "framework/Exception.h"
#include "framework/SysUtils.h"

namespace {
constexpr std::string_view kBooleanNames[] = {"False", "True"};
}  // namespace

const TTypeInfo kIntegerType{"Integer", TTypeKind::Integer};
const TTypeInfo kCardinalType{"Cardinal", TTypeKind::Integer};
const TTypeInfo kBooleanType{"Boolean", TTypeKind::Enumeration, kBooleanNames};
const TTypeInfo kStringType{"string", TTypeKind::String};
const TTypeInfo kExtendedType{"Extended", TTypeKind::Float};
const TTypeInfo kComponentNameType{"TComponentName", TTypeKind::String};
const TTypeInfo kNotifyEventType{"TNotifyEvent", TTypeKind::Method};

TClassInfo::TClassInfo(std::string_view className, const TClassInfo* parent,
                       std::initializer_list<TPropInfo> ownProperties)
    : name_(className), parent_(parent) {
  if (parent != nullptr) {
    properties_.assign(parent->properties_.begin(), parent->properties_.end());
  }
  properties_.insert(properties_.end(), ownProperties.begin(), ownProperties.end());
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    if (info == &other) return true;
  }
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TPropInfo& prop : properties_) {
    if (SameText(prop.Name, name)) return &prop;
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::SortedProperties() const {
  std::vector<const TPropInfo*> sorted;
  sorted.reserve(properties_.size());
  for (const TPropInfo& prop : properties_) sorted.push_back(&prop);
  std::stable_sort(sorted.begin(), sorted.end(), [](const TPropInfo* a, const TPropInfo* b) {
    return CompareText(a->Name, b->Name) < 0;
  });
  return sorted;
}

std::string GetEnumName(const TTypeInfo& type, std::int64_t ordinal) {
  if (ordinal < 0 || static_cast<std::uint64_t>(ordinal) >= type.Names.size()) {
    return IntToStr(ordinal);
  }
  return std::string(type.Names[static_cast<std::size_t>(ordinal)]);
}

std::optional<std::int64_t> GetEnumValue(const TTypeInfo& type, std::string_view name) {
  for (std::size_t i = 0; i < type.Names.size(); ++i) {
    if (SameText(type.Names[i], name)) return static_cast<std::int64_t>(i);
  }
  return std::nullopt;
}

namespace {

[[noreturn]] void RaiseUnknownProperty(std::string_view name) {
  throw EPropertyError(
      Format("Propriété %.*s inexistante", static_cast<int>(name.size()), name.data()));
}

[[noreturn]] void RaiseAccess(const TPropInfo& prop) {
  throw EPropertyError(Format("Accès impossible à la propriété %.*s",
                              static_cast<int>(prop.Name.size()), prop.Name.data()));
}

}  // namespace

namespace typinfo_detail {
void RaiseObjectTypeMismatch() { throw EPropertyError("Type de propriété incorrect"); }
}  // namespace typinfo_detail

const TPropInfo& GetPropInfo(const TObject& object, std::string_view name) {
  const TPropInfo* prop = object.ClassType().FindProperty(name);
  if (prop == nullptr) RaiseUnknownProperty(name);
  return *prop;
}

std::int64_t GetOrdProp(const TObject& object, const TPropInfo& prop) {
  if (prop.GetOrd == nullptr) RaiseAccess(prop);
  return prop.GetOrd(object);
}

void SetOrdProp(TObject& object, const TPropInfo& prop, std::int64_t value) {
  if (prop.SetOrd == nullptr) RaiseAccess(prop);
  prop.SetOrd(object, value);
}

long double GetFloatProp(const TObject& object, const TPropInfo& prop) {
  if (prop.GetFloat == nullptr) RaiseAccess(prop);
  return prop.GetFloat(object);
}

void SetFloatProp(TObject& object, const TPropInfo& prop, long double value) {
  if (prop.SetFloat == nullptr) RaiseAccess(prop);
  prop.SetFloat(object, value);
}

std::string GetStrProp(const TObject& object, const TPropInfo& prop) {
  if (prop.GetStr == nullptr) RaiseAccess(prop);
  return prop.GetStr(object);
}

void SetStrProp(TObject& object, const TPropInfo& prop, const std::string& value) {
  if (prop.SetStr == nullptr) RaiseAccess(prop);
  prop.SetStr(object, value);
}

TObject* GetObjectProp(const TObject& object, const TPropInfo& prop) {
  if (prop.GetObj == nullptr) RaiseAccess(prop);
  return prop.GetObj(object);
}

void SetObjectProp(TObject& object, const TPropInfo& prop, TObject* value) {
  if (prop.SetObj == nullptr) RaiseAccess(prop);
  prop.SetObj(object, value);
}
