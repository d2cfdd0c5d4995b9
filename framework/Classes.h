#pragma once
// The root classes: TObject (class identity and property table), TPersistent (assignment) and
// TComponent (name, tag, and an owner that frees the components it owns).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/TypInfo.h"

class TObject {
 public:
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  // The class of this object, with its property table. Every class that adds properties or needs
  // its own class name overrides it.
  virtual const TClassInfo& ClassType() const { return StaticClassInfo(); }
  std::string_view ClassName() const { return ClassType().ClassName(); }
  bool InheritsFrom(const TClassInfo& other) const { return ClassType().InheritsFrom(other); }
};

class TPersistent : public TObject {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Copies the state of `source` into this object. The base raises EConvertError: only classes
  // that know how to copy from the source's class accept it.
  virtual void Assign(const TPersistent& source);
};

enum TComponentStateFlag : std::uint8_t { csLoading, csDestroying };
using TComponentState = TSet<TComponentStateFlag>;
enum TOperation : std::uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  // A component with an owner is owned by it: the owner destroys it when the owner is destroyed.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  const std::string& Name() const { return name_; }
  // Names are unique among the components of one owner, compared without regard to case; a
  // duplicate raises EComponentError.
  void SetName(const std::string& name);
  std::int32_t Tag() const { return tag_; }
  void SetTag(std::int32_t tag) { tag_ = tag; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const {
    return components_.at(static_cast<std::size_t>(index));
  }
  // The owned component named `name`, compared without regard to case; null when there is none
  // or the name is empty.
  TComponent* FindComponent(std::string_view name) const;

  TComponentState ComponentState() const { return state_; }

  // Called once the layout of the component's owner is complete: every component of the layout
  // exists and every handler of the layout is bound. A form calls it for each of its components
  // before its creation handler runs. The base does nothing.
  virtual void Loaded() {}

  // Asks to be told (through Notification with opRemove) when `component` is destroyed, so that
  // a reference to it can be dropped. The link goes both ways and ends when either side goes.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

 protected:
  // `component` is going away (opRemove): drop every reference to it. The base does nothing.
  virtual void Notification(TComponent* component, TOperation operation) {
    (void)component;
    (void)operation;
  }
  void SetComponentState(TComponentState state) { state_ = state; }
  // Destroys the owned components, the most recently added first.
  void DestroyComponents();

 private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  std::string name_;
  std::int32_t tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_;
};
