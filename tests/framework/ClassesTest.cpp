#include "framework/Classes.h"

#include <gtest/gtest.h>

#include "framework/Exception.h"

namespace {

// Counts destructions so a test can see who freed whom.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, int* destroyed) : TComponent(owner), destroyed_(destroyed) {}
  ~TProbe() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

TEST(ComponentTest, OwnerFreesItsComponents) {
  int destroyed = 0;
  auto* owner = new TProbe(nullptr, &destroyed);
  auto* child = new TProbe(owner, &destroyed);
  new TProbe(child, &destroyed);  // grandchild, owned by child
  new TProbe(owner, &destroyed);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(child->Owner(), owner);
  delete owner;
  EXPECT_EQ(destroyed, 4);
}

TEST(ComponentTest, ComponentFreedAloneLeavesItsOwner) {
  int destroyed = 0;
  TProbe owner(nullptr, &destroyed);
  auto* child = new TProbe(&owner, &destroyed);
  child->SetName("Child");
  delete child;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(owner.FindComponent("Child"), nullptr);
}

TEST(ComponentTest, FindComponentIgnoresCase) {
  TComponent owner(nullptr);
  auto* bar = new TComponent(&owner);
  bar->SetName("RarBar1");
  EXPECT_EQ(owner.FindComponent("rarbar1"), bar);
  EXPECT_EQ(owner.FindComponent("RARBAR1"), bar);
  EXPECT_EQ(owner.FindComponent("RarBar"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(ComponentTest, DuplicateNamesAreRefused) {
  TComponent owner(nullptr);
  auto* first = new TComponent(&owner);
  first->SetName("Label1");
  auto* second = new TComponent(&owner);
  EXPECT_THROW(second->SetName("LABEL1"), EComponentError);
  EXPECT_EQ(second->Name(), "");
  first->SetName("label1");  // renaming itself in another case is allowed
  EXPECT_EQ(first->Name(), "label1");
}

TEST(ComponentTest, ClassIdentityAndTable) {
  TComponent component(nullptr);
  EXPECT_EQ(component.ClassName(), "TComponent");
  EXPECT_TRUE(component.InheritsFrom(TPersistent::StaticClassInfo()));
  const auto props = component.ClassType().Properties();
  ASSERT_EQ(props.size(), 2u);
  EXPECT_EQ(props[0].Name, "Name");
  EXPECT_EQ(props[1].Name, "Tag");
}

}  // namespace
