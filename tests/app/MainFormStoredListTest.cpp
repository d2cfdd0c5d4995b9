// The main window's stored list, entry by entry: the order is the order of the values in the
// registry, so a reordering changes what the program leaves there.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainFormFixture.h"

namespace {

using MainFormStoredListTest = MainFormFixture;

TEST_F(MainFormStoredListTest, TheListIsTheKnownFortySevenNamesInOrder) {
  Start();
  const std::vector<std::string> expected = {
      "RarBar1.Height",
      "Timer1.Interval",
      "CheckBox1.Checked",
      "CheckBox2.Checked",
      "SpinEdit1.Value",
      "RarBar1.Font",
      "RarBar2.Font",
      "CheckBox3.Checked",
      "Label3.Caption",
      "CheckBox4.Checked",
      "CheckBox5.Checked",
      "Label5.Caption",
      "Label6.Caption",
      "Label4.Caption",
      "RarBar1.TopColor",
      "RarBar1.SideColor2",
      "RarBar1.SideColor1",
      "RarBar1.FilledSideColor2",
      "RarBar1.FilledSideColor1",
      "RarBar1.FilledLineColor",
      "RarBar1.FilledFrameColor",
      "RarBar1.FilledColor",
      "RarBar1.EmptyLineColor",
      "RarBar1.EmptyFrameColor2",
      "RarBar1.EmptyFrameColor1",
      "RarBar1.EmptyColor2",
      "RarBar1.EmptyColor1",
      "RarBar1.Color",
      "RarBar1.BottomFrameColor",
      "RarBar1.BottomColor",
      "RarBar2.TopColor",
      "RarBar2.SideColor2",
      "RarBar2.SideColor1",
      "RarBar2.FilledSideColor2",
      "RarBar2.FilledSideColor1",
      "RarBar2.FilledLineColor",
      "RarBar2.FilledFrameColor",
      "RarBar2.FilledColor",
      "RarBar2.EmptyLineColor",
      "RarBar2.EmptyFrameColor2",
      "RarBar2.EmptyFrameColor1",
      "RarBar2.EmptyColor2",
      "RarBar2.EmptyColor1",
      "RarBar2.Color",
      "RarBar2.BottomFrameColor",
      "RarBar2.BottomColor",
      "Label7.Caption",
  };
  EXPECT_EQ(form->FormStorage1->StoredProps(), expected);
}

}  // namespace
