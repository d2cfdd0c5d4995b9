#pragma once
// TPageControl and TTabSheet: pages of controls of which one is shown at a time, chosen with a
// row of tabs drawn as flat buttons.

#include <string>
#include <vector>

#include "framework/Controls.h"

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  // The page control the sheet is a page of: the sheet becomes its last page and its child.
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pageControl);

  // Windowless controls on the page draw into the page's widget.
  void InvalidateChild(const TControl& child) override;
  void CopyChildImage(const TControl& child, const TBitmap& image, int x, int y) override;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  bool WidgetHoldsChildren() const override { return true; }
  void WidgetPainted() override { PaintControls(); }

 private:
  friend class TPageControl;
  std::string caption_;
  TPageControl* pageControl_ = nullptr;
};

extern const TTypeInfo kTabSheetType;  // "TTabSheet", class kind: a reference to a page

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* owner) : TWinControl(owner) {}
  ~TPageControl() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }

  // The page shown; null shows none. Only pages of this control are taken; anything else shows
  // none. Choosing a tab makes its page the active one.
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);

  void SetBounds(int left, int top, int width, int height) override;

  // Where the pages lie inside the control: below the row of tabs.
  static constexpr int kPageLeft = 4;
  static constexpr int kPageTop = 27;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  void WidgetPositioned(int position) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void PlacePage(TTabSheet* page) const;
  int IndexOf(const TTabSheet* page) const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};
