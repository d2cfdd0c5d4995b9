#include "framework/Classes.h"

#include <algorithm>

#include "framework/Exception.h"
#include "framework/SysUtils.h"

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr, {});
  return info;
}

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", &TObject::StaticClassInfo(), {});
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  const std::string sourceName(source.ClassName());
  const std::string targetName(ClassName());
  throw EConvertError(
      Format("Impossible d'affecter un %s à un %s", sourceName.c_str(), targetName.c_str()));
}

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info(
      "TComponent", &TPersistent::StaticClassInfo(),
      {
          StrProperty<&TComponent::Name, &TComponent::SetName>("Name", kComponentNameType, false),
          OrdProperty<&TComponent::Tag, &TComponent::SetTag>("Tag", kIntegerType),
      });
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_.Include(csDestroying);
  // Everyone that holds a reference to this component drops it first.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    std::erase(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (component == nullptr) return;
  std::erase(freeNotifies_, component);
  std::erase(component->freeNotifies_, this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr) {
    throw EComponentError(Format("Un composant nommé %s existe déjà", component->name_.c_str()));
  }
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
  const auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (owner_ != nullptr && !name.empty()) {
    const TComponent* existing = owner_->FindComponent(name);
    if (existing != nullptr && existing != this) {
      throw EComponentError(Format("Un composant nommé %s existe déjà", name.c_str()));
    }
  }
  name_ = name;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_) {
    if (SameText(component->name_, name)) return component;
  }
  return nullptr;
}
