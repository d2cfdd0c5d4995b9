// Controls shown by native widgets: created with their form's window, placed in the window that
// holds them, kept in step with the model, and gone with their control.

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeWindowSystem.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {

class WidgetsTest : public ::testing::Test {
 protected:
  template <class T>
  T* Add(TWinControl* parent, int left, int top) {
    auto* control = new T(form);
    control->SetBounds(left, top, 100, 17);
    control->SetParent(parent);
    return control;
  }
  FakeWidget& WidgetOf(const TControl* control) {
    return *static_cast<FakeWidget*>(control->Widget());
  }

  FakeWindowSystem windows;
  TApplication application{TApplication::Ports{.Windows = &windows, .Graphics = {}}};
  TForm* form = application.CreateForm<TForm>();
};

TEST_F(WidgetsTest, WidgetsComeWithTheWindowAndFollowTheModel) {
  auto* pages = Add<TPageControl>(form, 10, 20);
  pages->SetBounds(10, 20, 200, 150);
  auto* sheet = new TTabSheet(form);
  sheet->SetCaption("First");
  sheet->SetPageControl(pages);
  auto* group = Add<TGroupBox>(sheet, 5, 6);
  auto* one = Add<TRadioButton>(group, 8, 16);
  auto* two = Add<TRadioButton>(group, 8, 40);
  auto* label = Add<TLabel>(form, 0, 0);
  one->SetChecked(true);
  EXPECT_EQ(one->Widget(), nullptr);  // no window yet

  form->Show();
  ASSERT_NE(one->Widget(), nullptr);
  // The sheet's widget is a page inside the form's window, below the tabs; the radio buttons lie
  // in the page, moved by their group box.
  EXPECT_EQ(WidgetOf(sheet).params.parent, form->Peer()->Handle());
  EXPECT_EQ(WidgetOf(sheet).params.left, 10 + TPageControl::kPageLeft);
  EXPECT_EQ(WidgetOf(sheet).params.visible, false);
  EXPECT_EQ(WidgetOf(two).params.parent, WidgetOf(sheet).Handle());
  EXPECT_EQ(WidgetOf(two).params.left, 5 + 8);
  EXPECT_EQ(WidgetOf(two).params.top, 6 + 40);
  EXPECT_EQ(WidgetOf(pages).params.items, std::vector<std::string>{"First"});
  EXPECT_EQ(WidgetOf(pages).params.value, -1);

  pages->SetActivePage(sheet);
  EXPECT_TRUE(WidgetOf(sheet).params.visible);
  EXPECT_EQ(WidgetOf(pages).params.value, 0);

  WidgetOf(two).Click();
  EXPECT_TRUE(two->Checked());
  EXPECT_FALSE(one->Checked());
  EXPECT_EQ(WidgetOf(one).params.value, 0);
  EXPECT_EQ(WidgetOf(two).params.value, 1);

  label->Font()->SetStyle({fsBold});
  EXPECT_TRUE(WidgetOf(label).params.font.bold);
  label->SetCaption("text");
  EXPECT_EQ(WidgetOf(label).params.text, "text");
  label->SetBounds(3, 4, 50, 13);
  EXPECT_EQ(WidgetOf(label).params.left, 3);

  const std::size_t index = windows.widgets.size() - 1;
  ASSERT_EQ(windows.widgets[index], label->Widget());
  delete label;
  EXPECT_EQ(windows.widgets[index], nullptr);
}

TEST_F(WidgetsTest, AListMirrorsItsItemsAndReportsTheChoice) {
  auto* list = Add<TComboBox>(form, 0, 0);
  list->SetItemHeight(13);
  list->AddItem("one");
  list->AddItem("two");
  list->SetItemIndex(1);
  std::vector<int> changes;
  list->OnChange = [&](TObject*) { changes.push_back(list->ItemIndex()); };
  form->Show();
  FakeWidget& widget = WidgetOf(list);
  EXPECT_EQ(widget.params.items, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(widget.params.value, 1);
  // Adding keeps the selection; clearing selects nothing.
  list->AddItem("three");
  EXPECT_EQ(widget.params.items.size(), 3u);
  EXPECT_EQ(widget.params.value, 1);
  widget.Choose(2);
  EXPECT_EQ(list->Text(), "three");
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(widget.params.value, -1);
  EXPECT_EQ(changes, std::vector<int>{2});
  list->ClearItems();
  EXPECT_TRUE(widget.params.items.empty());
  EXPECT_EQ(list->Text(), "");
}

TEST_F(WidgetsTest, AListWithoutAHandlerWritesTheItemOnItsBackground) {
  auto* list = Add<TComboBox>(form, 0, 0);
  list->AddItem("text");
  form->Show();
  FakeWidget& widget = WidgetOf(list);
  widget.params.itemHeight = 13;
  const std::uint32_t window = TBitmap::PixelFromRgb(ColorToRGB(clWindow, ClassicScreen()));
  const std::uint32_t highlight = TBitmap::PixelFromRgb(ColorToRGB(clHighlight, ClassicScreen()));
  for (const bool selected : {false, true}) {
    const std::vector<std::uint32_t> pixels = widget.DrawItem(0, selected);
    const std::uint32_t background = selected ? highlight : window;
    EXPECT_EQ(pixels[0], background);
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(),
                            [&](std::uint32_t p) { return p != background; }),
              5);
  }
  // Nothing to write for a missing item: the background only.
  const std::vector<std::uint32_t> empty = widget.DrawItem(-1, false);
  EXPECT_EQ(std::count(empty.begin(), empty.end(), window), 100 * 13);
}

}  // namespace
