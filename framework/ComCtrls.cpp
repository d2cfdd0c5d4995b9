#include "framework/ComCtrls.h"

#include <algorithm>

#include "framework/Bitmap.h"

const TTypeInfo kTabSheetType{"TTabSheet", TTypeKind::Class, {}, &TTabSheet::StaticClassInfo};

// ---------------------------------------------------------------------------------------------
// TTabSheet

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo info(
      "TTabSheet", &TWinControl::StaticClassInfo(),
      {
          StrProperty<&TTabSheet::Caption, &TTabSheet::SetCaption>("Caption", kStringType),
      });
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetColor(clBtnFace);
  // A sheet is shown only while it is its page control's active page.
  SetVisible(false);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl_ == pageControl) return;
  if (pageControl_ != nullptr) pageControl_->RemovePage(this);
  if (pageControl != nullptr) pageControl->InsertPage(this);
}

void TTabSheet::InvalidateChild(const TControl& child) {
  if (Widget() == nullptr) return;
  const TRect r = child.BoundsRect();
  Widget()->InvalidateArea(r.Left, r.Top, r.Right, r.Bottom);
}

void TTabSheet::CopyChildImage(const TControl& child, const TBitmap& image, int x, int y) {
  if (Widget() == nullptr || !Visible()) return;
  Widget()->CopyPixels(child.Left() + x, child.Top() + y, image.Width(), image.Height(),
                       image.Pixels(), image.Width());
}

bool TTabSheet::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = platform::WidgetKind::Page;
  params.background = NativeColorOf(Color());
  params.transparent = false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TPageControl

const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo info(
      "TPageControl", &TWinControl::StaticClassInfo(),
      {
          ObjProperty<&TPageControl::ActivePage, &TPageControl::SetActivePage>("ActivePage",
                                                                               kTabSheetType),
      });
  return info;
}

TPageControl::~TPageControl() {
  // The sheets are children and go with the control; they must not call back into it then.
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

int TPageControl::IndexOf(const TTabSheet* page) const {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  page->SetParent(this);
  PlacePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  if (page == activePage_) SetActivePage(nullptr);
  std::erase(pages_, page);
  page->pageControl_ = nullptr;
}

void TPageControl::PlacePage(TTabSheet* page) const {
  page->SetBounds(kPageLeft, kPageTop, std::max(0, Width() - 2 * kPageLeft),
                  std::max(0, Height() - kPageTop - kPageLeft));
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  for (TTabSheet* page : pages_) PlacePage(page);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && IndexOf(page) < 0) page = nullptr;
  if (page == activePage_) return;
  if (activePage_ != nullptr) activePage_->SetVisible(false);
  activePage_ = page;
  if (activePage_ != nullptr) activePage_->SetVisible(true);
  if (Widget() != nullptr) Widget()->SetValue(IndexOf(activePage_));
}

bool TPageControl::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = platform::WidgetKind::TabControl;
  params.font = ShownWidgetFont();
  params.value = IndexOf(activePage_);
  for (const TTabSheet* page : pages_) params.items.push_back(page->Caption());
  return true;
}

void TPageControl::WidgetPositioned(int position) {
  SetActivePage(position >= 0 && position < PageCount() ? Pages(position) : nullptr);
}
