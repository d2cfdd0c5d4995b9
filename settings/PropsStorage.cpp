#include "settings/PropsStorage.h"

#include <cstdint>
#include <exception>
#include <optional>

#include "framework/Forms.h"
#include "framework/SysUtils.h"

namespace {

constexpr std::string_view kNullReference = "(null)";
// Sub-objects nest at most this deep; a table that leads back to itself ends there.
constexpr int kMaxDepth = 4;

bool IsReference(const TPropInfo& prop) {
  return prop.Kind() == TTypeKind::Class && prop.Type->ClassInfo != nullptr &&
         prop.Type->ClassInfo().InheritsFrom(TComponent::StaticClassInfo());
}

bool IsSubObject(const TPropInfo& prop) {
  return prop.Kind() == TTypeKind::Class && prop.Type->ClassInfo != nullptr && !IsReference(prop);
}

bool IsWordBreak(char c) {
  return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '[' || c == ']';
}

std::string SetText(const TTypeInfo& type, std::uint32_t bits) {
  std::string text = "[";
  bool first = true;
  for (std::size_t member = 0; member < type.Names.size() && member < 32; ++member) {
    if ((bits & (std::uint32_t{1} << member)) == 0) continue;
    if (!first) text += ',';
    text += type.Names[member];
    first = false;
  }
  return text + "]";
}

std::uint32_t ParseSet(const TTypeInfo& type, std::string_view text) {
  std::uint32_t bits = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsWordBreak(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsWordBreak(text[i])) ++i;
    if (i == start) continue;
    const std::optional<std::int64_t> member = GetEnumValue(type, text.substr(start, i - start));
    if (member && *member < 32) bits |= std::uint32_t{1} << *member;
  }
  return bits;
}

}  // namespace

TPropsStorage::TPropsStorage(TComponent* root, ReadFunction read, WriteFunction write)
    : root_(root), read_(std::move(read)), write_(std::move(write)) {}

bool TPropsStorage::IsStorable(const TPropInfo& prop) {
  switch (prop.Kind()) {
    case TTypeKind::Integer:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
      return prop.GetOrd != nullptr && prop.SetOrd != nullptr;
    case TTypeKind::Float:
      return prop.GetFloat != nullptr && prop.SetFloat != nullptr;
    case TTypeKind::String:
      return prop.GetStr != nullptr && prop.SetStr != nullptr;
    case TTypeKind::Class:
      if (IsReference(prop)) return prop.GetObj != nullptr && prop.SetObj != nullptr;
      return IsSubObject(prop) && prop.GetObj != nullptr;
    case TTypeKind::Method:
      break;
  }
  return false;
}

void TPropsStorage::StoreProperty(const TObject& object, const TPropInfo& prop,
                                  const std::string& name) {
  Store(object, prop, name, 0);
}

void TPropsStorage::LoadProperty(TObject& object, const TPropInfo& prop, const std::string& name) {
  Load(object, prop, name, 0);
}

void TPropsStorage::Store(const TObject& object, const TPropInfo& prop, const std::string& name,
                          int depth) {
  if (!IsStorable(prop)) return;
  if (IsSubObject(prop)) {
    const TObject* sub = GetObjectProp(object, prop);
    if (sub == nullptr || depth >= kMaxDepth) return;
    for (const TPropInfo& subProp : sub->ClassType().Properties()) {
      Store(*sub, subProp, name + std::string(subProp.Name), depth + 1);
    }
    return;
  }
  write_(name, PropertyText(object, prop));
}

void TPropsStorage::Load(TObject& object, const TPropInfo& prop, const std::string& name,
                         int depth) {
  if (!IsStorable(prop)) return;
  if (IsSubObject(prop)) {
    TObject* sub = nullptr;
    try {
      sub = GetObjectProp(object, prop);
    } catch (const std::exception&) {
      return;
    }
    if (sub == nullptr || depth >= kMaxDepth) return;
    for (const TPropInfo& subProp : sub->ClassType().Properties()) {
      Load(*sub, subProp, name + std::string(subProp.Name), depth + 1);
    }
    return;
  }
  // One value's failure (a value of another type, a text its setter refuses) costs that value
  // only.
  try {
    const std::string text = Trim(read_(name, PropertyText(object, prop)));
    SetPropertyText(object, prop, text);
  } catch (const std::exception&) {
  }
}

std::string TPropsStorage::PropertyText(const TObject& object, const TPropInfo& prop) const {
  switch (prop.Kind()) {
    case TTypeKind::Integer:
      return IntToStr(static_cast<std::int32_t>(GetOrdProp(object, prop)));
    case TTypeKind::Enumeration:
      return Trim(GetEnumName(*prop.Type, GetOrdProp(object, prop)));
    case TTypeKind::Float:
      return FloatToStrGeneral(GetFloatProp(object, prop), 18, '.');
    case TTypeKind::String:
      return Trim(GetStrProp(object, prop));
    case TTypeKind::Set:
      return SetText(*prop.Type, static_cast<std::uint32_t>(GetOrdProp(object, prop)));
    case TTypeKind::Class:
      if (IsReference(prop)) return ReferenceText(GetObjectProp(object, prop));
      break;
    case TTypeKind::Method:
      break;
  }
  return {};
}

void TPropsStorage::SetPropertyText(TObject& object, const TPropInfo& prop,
                                    std::string_view text) const {
  switch (prop.Kind()) {
    case TTypeKind::Integer:
      SetOrdProp(object, prop, TryStrToInt(text).value_or(0));
      return;
    case TTypeKind::Enumeration:
      if (const auto value = GetEnumValue(*prop.Type, text)) SetOrdProp(object, prop, *value);
      return;
    case TTypeKind::Float: {
      std::string local(text);
      for (char& c : local) {
        if (c == '.') c = FormatSettings.DecimalSeparator;
      }
      if (const auto value = TryStrToFloat(local, FormatSettings.DecimalSeparator)) {
        SetFloatProp(object, prop, *value);
      }
      return;
    }
    case TTypeKind::String:
      SetStrProp(object, prop, std::string(text));
      return;
    case TTypeKind::Set:
      SetOrdProp(object, prop, ParseSet(*prop.Type, text));
      return;
    case TTypeKind::Class:
      if (IsReference(prop)) SetReference(object, prop, text);
      return;
    case TTypeKind::Method:
      return;
  }
}

std::string TPropsStorage::ReferenceText(const TObject* target) const {
  const auto* component = dynamic_cast<const TComponent*>(target);
  if (component == nullptr) return std::string(kNullReference);
  const TComponent* owner = component->Owner();
  if (owner == nullptr || owner == root_) return Trim(component->Name());
  std::string ownerName = owner->Name();
  if (ownerName.empty()) {
    const std::string_view className = owner->ClassName();
    ownerName = std::string(className.starts_with('T') ? className.substr(1) : className);
  }
  return Trim(ownerName + "." + component->Name());
}

void TPropsStorage::SetReference(TObject& object, const TPropInfo& prop,
                                 std::string_view text) const {
  if (text.empty()) return;
  if (SameText(text, kNullReference)) {
    SetObjectProp(object, prop, nullptr);
    return;
  }
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) {
    SetObjectProp(object, prop, root_ != nullptr ? root_->FindComponent(text) : nullptr);
    return;
  }
  // Another window: found among the application's, by name.
  const TApplication* application = FindApplication(root_);
  if (application == nullptr) return;
  const TComponent* owner = application->FindComponent(text.substr(0, dot));
  if (owner == nullptr) return;
  SetObjectProp(object, prop, owner->FindComponent(text.substr(dot + 1)));
}
