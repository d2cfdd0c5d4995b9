#include "framework/Controls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A parent that records which child areas were asked to be painted again.
class TRecordingParent : public TWinControl {
 public:
  TRecordingParent() : TWinControl(nullptr) {}
  void InvalidateChild(const TControl& child) override { invalidated.push_back(&child); }
  std::vector<const TControl*> invalidated;
};

TEST(ControlTest, ColorWriterStoresLeavesParentColourAndInvalidates) {
  TRecordingParent parent;
  auto* control = new TGraphicControl(&parent);
  control->SetParent(&parent);
  parent.invalidated.clear();

  EXPECT_TRUE(control->ParentColor());
  control->SetColor(control->Color());  // the same value does nothing
  EXPECT_TRUE(control->ParentColor());
  EXPECT_TRUE(parent.invalidated.empty());

  control->SetColor(clBlack);
  EXPECT_EQ(control->Color(), clBlack);
  EXPECT_FALSE(control->ParentColor());
  EXPECT_EQ(parent.invalidated.size(), 1u);
}

TEST(ControlTest, ParentColourIsFollowedUntilTheControlHasItsOwn) {
  TRecordingParent parent;
  parent.SetColor(clWhite);
  auto* follower = new TGraphicControl(&parent);
  auto* own = new TGraphicControl(&parent);
  own->SetColor(clRed);
  follower->SetParent(&parent);
  own->SetParent(&parent);
  EXPECT_EQ(follower->Color(), clWhite);
  parent.SetColor(clBlue);
  EXPECT_EQ(follower->Color(), clBlue);
  EXPECT_TRUE(follower->ParentColor());
  EXPECT_EQ(own->Color(), clRed);
}

TEST(ControlTest, BoundsWritersInvalidateOldAndNewArea) {
  TRecordingParent parent;
  auto* control = new TGraphicControl(&parent);
  control->SetParent(&parent);
  parent.invalidated.clear();
  control->SetBounds(1, 2, 30, 40);
  EXPECT_EQ(control->BoundsRect(), (TRect{1, 2, 31, 42}));
  EXPECT_EQ(parent.invalidated.size(), 2u);
  control->SetHeight(40);  // unchanged
  EXPECT_EQ(parent.invalidated.size(), 2u);
}

TEST(ControlTest, MouseInputRaisesEventsWithTheControlAsSender) {
  TGraphicControl control(nullptr);
  std::vector<std::string> log;
  control.OnMouseDown = [&](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    EXPECT_EQ(sender, &control);
    EXPECT_TRUE(shift.Contains(ssLeft));
    log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," +
                  std::to_string(y));
  };
  control.OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  control.MouseDown(mbLeft, {ssLeft}, 10, 20);
  control.MouseMove({ssLeft}, 11, 21);
  control.MouseUp(mbLeft, {}, 11, 21);  // no handler bound: nothing happens
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,20", "move 11,21"}));
}

TEST(ControlTest, ParentDestroysItsChildControls) {
  auto* parent = new TRecordingParent;
  TComponent owner(nullptr);
  auto* child = new TGraphicControl(&owner);  // owned elsewhere, parented here
  child->SetParent(parent);
  EXPECT_EQ(parent->ControlCount(), 1);
  delete parent;
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ControlTest, TableListsTheInheritedEntriesFirst) {
  const auto props = TControl::StaticClassInfo().Properties();
  const char* expected[] = {"Name",   "Tag",  "Left",     "Top",         "Width",      "Height",
                            "Cursor", "Hint", "HelpType", "HelpKeyword", "HelpContext"};
  ASSERT_EQ(props.size(), std::size(expected));
  for (std::size_t i = 0; i < props.size(); ++i) EXPECT_EQ(props[i].Name, expected[i]);
}

}  // namespace
