#include "framework/Forms.h"

#include <vector>

#include "framework/Bitmap.h"
#include "framework/Exception.h"
#include "framework/Menus.h"
#include "platform/NullPorts.h"

// ---------------------------------------------------------------------------------------------
// TForm

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info("TForm", &TWinControl::StaticClassInfo(), {});
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  application_ = dynamic_cast<TApplication*>(owner);
  font_.SetName("MS Sans Serif");
  font_.SetSize(8);
  StoreVisible(false);
  if (application_ != nullptr) SetGraphicsPorts(application_->GraphicsPorts());
}

TForm::~TForm() {
  if (OnDestroy) GuardedCall(application_, [this] { OnDestroy(this); });
  // Child controls go before the native window, so nothing paints into a dying window.
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);
  peer_.reset();
}

void TForm::DoCreate() {
  // A component's Loaded may add components; only those of the layout are told.
  std::vector<TComponent*> layout;
  layout.reserve(static_cast<std::size_t>(ComponentCount()));
  for (int i = 0; i < ComponentCount(); ++i) layout.push_back(Components(i));
  for (TComponent* component : layout) component->Loaded();

  if (OnCreate) GuardedCall(application_, [this] { OnCreate(this); });
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (peer_) peer_->SetText(caption);
}

platform::IWindowPeer* TForm::Peer() {
  if (!peer_) CreatePeer();
  return peer_.get();
}

void TForm::CreatePeer() {
  // Only a form the application owns directly gets a window.
  platform::IWindowSystem& windows = PortsOf(application_).Windows;
  platform::WindowParams params;
  params.text = caption_;
  WindowStyles(params.style, params.exStyle);
  params.left = Left();
  params.top = Top();
  params.width = Width();
  params.height = Height();
  params.owner = windows.ApplicationWindow().Handle();
  peer_ = windows.CreateWindowPeer(params, *this);
  if (!peer_) return;  // no window system: the form stays a model
  peer_->SetBackgroundColor(NativeColor(Color()));
  // The controls shown by native widgets get them in the new window.
  for (int i = 0; i < ControlCount(); ++i)
    Controls(i)->CreateWidgets(windows, peer_->Handle(), 0, 0);
  // The transparency settings reach a window as soon as it exists.
  ApplyLayeredAttributes();
}

void TForm::WindowStyles(std::uint32_t& style, std::int32_t& exStyle) const {
  // Not WS_CLIPCHILDREN: the form paints beneath its child widgets, so that a label over a picture
  // shows the picture around its letters (pages, which hold most widgets, clip their own).
  style = platform::kWsClipSiblings;
  exStyle = 0;
  if (borderStyle_ == bsNone) {
    style |= platform::kWsPopup;
  } else {
    style |= platform::kWsCaption | platform::kWsSysMenu;
    if (borderStyle_ == bsToolWindow) exStyle |= platform::kWsExToolWindow;
  }
}

platform::WindowFrame TForm::Frame() const {
  std::uint32_t style = 0;
  std::int32_t exStyle = 0;
  WindowStyles(style, exStyle);
  return PortsOf(application_).Windows.FrameOf(style, exStyle);
}

void TForm::SetClientSize(int width, int height) {
  const platform::WindowFrame frame = Frame();
  SetBounds(Left(), Top(), width + frame.width, height + frame.height);
}

std::uint32_t TForm::NativeColor(TColor color) const {
  return ColorToRGB(color, GraphicsPorts().Screen());
}

void TForm::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  if (peer_) peer_->SetBounds(left, top, width, height);
}

void TForm::ColorChanged() {
  TWinControl::ColorChanged();
  if (peer_) {
    peer_->SetBackgroundColor(NativeColor(Color()));
    peer_->InvalidateArea(0, 0, Width(), Height());
  }
}

void TForm::SetAlphaBlend(bool value) {
  if (alphaBlend_ == value) return;
  alphaBlend_ = value;
  ApplyLayeredAttributes();
}

void TForm::SetAlphaBlendValue(std::uint8_t value) {
  if (alphaBlendValue_ == value) return;
  alphaBlendValue_ = value;
  ApplyLayeredAttributes();
}

void TForm::SetTransparentColor(bool value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  ApplyLayeredAttributes();
}

void TForm::SetTransparentColorValue(TColor value) {
  if (transparentColorValue_ == value) return;
  transparentColorValue_ = value;
  ApplyLayeredAttributes();
}

void TForm::ApplyLayeredAttributes() {
  if (!peer_ || !PortsOf(application_).Windows.HasLayeredWindows()) return;
  const std::int32_t exStyle = peer_->ExStyle();
  if (alphaBlend_ || transparentColor_) {
    if ((exStyle & platform::kWsExLayered) == 0) {
      peer_->SetExStyle(exStyle | platform::kWsExLayered);
    }
    std::uint32_t flags = 0;
    if (alphaBlend_) flags |= platform::kLwaAlpha;
    if (transparentColor_) flags |= platform::kLwaColorKey;
    peer_->SetLayeredAttributes(static_cast<std::uint32_t>(transparentColorValue_),
                                alphaBlendValue_, flags);
  } else {
    peer_->SetExStyle(exStyle & ~platform::kWsExLayered);
    peer_->Redraw(platform::kRdwInvalidate | platform::kRdwErase | platform::kRdwAllChildren |
                  platform::kRdwFrame);
  }
}

namespace {

// The show command that shows a window in `state`.
int ShowCommandOf(TWindowState state) {
  switch (state) {
    case wsMinimized:
      return platform::kSwMinimize;
    case wsMaximized:
      return platform::kSwShowMaximized;
    case wsNormal:
      break;
  }
  return platform::kSwShow;
}

}  // namespace

void TForm::SetWindowState(TWindowState state) {
  if (windowState_ == state) return;
  windowState_ = state;
  if (peer_ && Visible()) {
    peer_->Show(state == wsNormal ? platform::kSwShowNormal : ShowCommandOf(state));
  }
}

bool TForm::GetWindowPlacement(platform::WindowPlacement& placement) const {
  return peer_ && peer_->GetPlacement(placement);
}

void TForm::SetWindowPlacement(const platform::WindowPlacement& placement) {
  platform::IWindowPeer* peer = Peer();
  if (peer == nullptr) return;
  peer->SetPlacement(placement);
  // The window has moved already: the model takes the new bounds without moving it again.
  TWinControl::SetBounds(placement.normalLeft, placement.normalTop,
                         placement.normalRight - placement.normalLeft,
                         placement.normalBottom - placement.normalTop);
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (visible) {
    // The show notification comes before the window becomes visible.
    if (OnShow) OnShow(this);
    StoreVisible(true);
    if (platform::IWindowPeer* peer = Peer()) peer->Show(ShowCommandOf(windowState_));
  } else {
    StoreVisible(false);
    if (peer_) peer_->Show(platform::kSwHide);
    if (OnHide) OnHide(this);
  }
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (application_ != nullptr && application_->MainForm() == this) {
    application_->Terminate();
  } else if (action == caHide || action == caFree) {
    Hide();
  }
}

void TForm::InvalidateChild(const TControl& child) {
  if (!peer_) return;
  const TRect r = child.BoundsRect();
  peer_->InvalidateArea(r.Left, r.Top, r.Right, r.Bottom);
}

void TForm::CopyChildImage(const TControl& child, const TBitmap& image, int x, int y) {
  if (!peer_ || !Visible()) return;
  peer_->CopyPixels(child.Left() + x, child.Top() + y, image.Width(), image.Height(),
                    image.Pixels(), image.Width());
}

TGraphicsPorts TForm::GraphicsPorts() const { return TWinControl::GraphicsPorts(); }

void TForm::NativePaint() {
  GuardedCall(application_, [this] { PaintControls(); });
}

void TForm::NativeMouse(const platform::MouseInput& input) {
  GuardedCall(application_, [this, &input] {
    TShiftState shift;
    if (input.keys & platform::kMkShift) shift.Include(ssShift);
    if (input.keys & platform::kMkControl) shift.Include(ssCtrl);
    if (input.alt) shift.Include(ssAlt);
    if (input.keys & platform::kMkLButton) shift.Include(ssLeft);
    if (input.keys & platform::kMkRButton) shift.Include(ssRight);
    if (input.keys & platform::kMkMButton) shift.Include(ssMiddle);
    if (input.action == platform::MouseAction::DoubleClick) shift.Include(ssDouble);
    const TMouseButton button = input.button == platform::MouseButton::Right    ? mbRight
                                : input.button == platform::MouseButton::Middle ? mbMiddle
                                                                                : mbLeft;
    // The control that took the last press keeps the mouse until the release; otherwise the
    // topmost visible child under the point receives the input, else the form itself.
    TControl* target = this;
    int x = input.x;
    int y = input.y;
    if (mouseControl_ != nullptr && !HasChild(mouseControl_)) mouseControl_ = nullptr;
    if (mouseControl_ != nullptr) {
      target = mouseControl_;
    } else {
      for (int i = ControlCount() - 1; i >= 0; --i) {
        TControl* child = Controls(i);
        const TRect r = child->BoundsRect();
        if (child->Visible() && x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) {
          target = child;
          break;
        }
      }
    }
    if (target != this) {
      x -= target->Left();
      y -= target->Top();
    }
    if (input.action == platform::MouseAction::Down ||
        input.action == platform::MouseAction::DoubleClick) {
      mouseControl_ = target == this ? nullptr : target;
    } else if (input.action == platform::MouseAction::Up) {
      mouseControl_ = nullptr;
    }
    switch (input.action) {
      case platform::MouseAction::Down:
      case platform::MouseAction::DoubleClick:
        target->MouseDown(button, shift, x, y);
        break;
      case platform::MouseAction::Move:
        target->MouseMove(shift, x, y);
        break;
      case platform::MouseAction::Up:
        target->MouseUp(button, shift, x, y);
        break;
    }
  });
}

void TForm::NativeContextMenu(int screenX, int screenY) {
  GuardedCall(application_, [this, screenX, screenY] {
    if (popupMenu_ == nullptr || !popupMenu_->AutoPopup()) return;
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(screenX, screenY);
  });
}

bool TForm::HasChild(const TControl* control) const {
  for (int i = 0; i < ControlCount(); ++i) {
    if (Controls(i) == control) return true;
  }
  return false;
}

void TForm::BringToFront() {
  if (peer_) {
    peer_->SetPosition(platform::kHwndTop, 0, 0, 0, 0, platform::kSwpNoMove | platform::kSwpNoSize);
  }
}

void TForm::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_ != nullptr) RemoveFreeNotification(popupMenu_);
  popupMenu_ = menu;
  FreeNotification(menu);
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TForm::SetCapture() {
  if (platform::IWindowPeer* peer = Peer()) peer->SetCapture();
}

void TForm::ReleaseCapture() {
  if (peer_) peer_->ReleaseCapture();
}

void TForm::CancelMode() {
  if (peer_) peer_->CancelMode();
}

void TForm::NativeClose() {
  GuardedCall(application_, [this] { Close(); });
}

bool TForm::NativeQueryEndSession() {
  bool canEnd = true;
  GuardedCall(application_, [this, &canEnd] { canEnd = CloseQuery(); });
  return canEnd;
}

// ---------------------------------------------------------------------------------------------
// TApplication

TApplication* FindApplication(const TComponent* component) {
  for (const TComponent* c = component; c != nullptr; c = c->Owner()) {
    if (auto* application = dynamic_cast<const TApplication*>(c)) {
      return const_cast<TApplication*>(application);
    }
  }
  return nullptr;
}

const AppPorts& PortsOf(const TComponent* component) {
  if (const TApplication* application = FindApplication(component)) {
    return application->AllPorts();
  }
  static const AppPorts none{platform::NullWindowSystem(),
                             platform::NullRegistry(),
                             platform::NullSystem(),
                             platform::NullShell(),
                             platform::NullDialogs(),
                             platform::NullFileSystem(),
                             {}};
  return none;
}

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info("TApplication", &TComponent::StaticClassInfo(), {});
  return info;
}

namespace {

// A port the program runs with, or its null object when it runs without.
template <class Port>
Port& OrNull(Port* port, Port& null) {
  return port != nullptr ? *port : null;
}

}  // namespace

TApplication::TApplication(const Ports& ports)
    : TComponent(nullptr),
      ports_{OrNull(ports.Windows, platform::NullWindowSystem()),
             OrNull(ports.Registry, platform::NullRegistry()),
             OrNull(ports.System, platform::NullSystem()),
             OrNull(ports.Shell, platform::NullShell()),
             OrNull(ports.Dialogs, platform::NullDialogs()),
             OrNull(ports.Files, platform::NullFileSystem()),
             ports.Graphics} {}

TApplication::~TApplication() {
  // Forms go first, the most recently created first, while the window system still exists.
  DestroyComponents();
}

void TApplication::Run() {
  if (mainForm_ != nullptr) Guard([this] { mainForm_->Show(); });
  if (!terminated_) ports_.Windows.RunMessageLoop();
}

void TApplication::Terminate() {
  terminated_ = true;
  ports_.Windows.QuitMessageLoop();
}

void TApplication::ProcessMessages() { ports_.Windows.ProcessMessages(); }

std::string TApplication::ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void TApplication::ShowException(const std::exception& error) {
  if (errorBoxOpen_) return;
  const auto* framework = dynamic_cast<const Exception*>(&error);
  const std::string message = framework != nullptr ? framework->Message() : error.what();
  errorBoxOpen_ = true;
  try {
    ports_.Windows.ShowMessageBox(ErrorBoxText(message), title_,
                                  platform::kMbOk | platform::kMbIconError);
  } catch (...) {
    errorBoxOpen_ = false;
    throw;
  }
  errorBoxOpen_ = false;
}
