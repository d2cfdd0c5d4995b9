#include "settings/FormStorage.h"

#include <exception>
#include <limits>
#include <utility>

#include "framework/Forms.h"
#include "framework/RegIniFile.h"
#include "framework/SysUtils.h"
#include "platform/NullPorts.h"
#include "platform/Screen.h"
#include "platform/System.h"
#include "platform/Windowing.h"
#include "settings/PropsStorage.h"

namespace {

constexpr std::string_view kPlacementOptionNames[] = {"fpState", "fpPosition", "fpActiveControl"};
constexpr std::string_view kPlacementRegRootNames[] = {
    "prCurrentUser", "prLocalMachine", "prCurrentConfig", "prClassesRoot", "prUsers", "prDynData"};

// Fixed value names.
constexpr const char* kFormVersion = "FormVersion";
constexpr const char* kFlags = "Flags";
constexpr const char* kShowCmd = "ShowCmd";
constexpr const char* kPixelsPerInch = "PixelsPerInch";
constexpr const char* kMinMaxPos = "MinMaxPos";
constexpr const char* kNormPos = "NormPos";
constexpr const char* kVisible = "Visible";

platform::RegKey RootKey(TPlacementRegRoot root) {
  switch (root) {
    case prLocalMachine:
      return platform::kHkeyLocalMachine;
    case prCurrentConfig:
      return platform::kHkeyCurrentConfig;
    case prClassesRoot:
      return platform::kHkeyClassesRoot;
    case prUsers:
      return platform::kHkeyUsers;
    case prDynData:
      return platform::kHkeyDynData;
    case prCurrentUser:
      break;
  }
  return platform::kHkeyCurrentUser;
}

bool IsPositionBreak(char c) { return static_cast<unsigned char>(c) <= ' ' || c == ','; }

// Word `index` (from 0) of a position text, words being separated by blanks and commas, as an
// integer; `fallback` when there is no such word or it is not an integer.
std::int64_t PositionWord(std::string_view text, int index, std::int64_t fallback) {
  std::size_t i = 0;
  for (int word = 0;; ++word) {
    while (i < text.size() && IsPositionBreak(text[i])) ++i;
    if (i == text.size()) return fallback;
    const std::size_t start = i;
    while (i < text.size() && !IsPositionBreak(text[i])) ++i;
    if (word == index) {
      const auto value = TryStrToInt(text.substr(start, i - start));
      return value ? *value : fallback;
    }
  }
}

bool FitsInt(std::int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// The resolution-specific text of a position value, or the plain one when that is empty.
std::string ReadPosition(TRegIniFile& storage, const std::string& section, const std::string& name,
                         const std::string& suffix) {
  std::string text = storage.ReadString(section, name + suffix, "");
  if (text.empty()) text = storage.ReadString(section, name, "");
  return text;
}

// A stored-property entry split at its first ".": component name and property name.
std::pair<std::string_view, std::string_view> SplitEntry(std::string_view entry) {
  const std::size_t dot = entry.find('.');
  if (dot == std::string_view::npos) return {entry, {}};
  return {entry.substr(0, dot), entry.substr(dot + 1)};
}

}  // namespace

const TTypeInfo kPlacementOptionsType{"TPlacementOptions", TTypeKind::Set, kPlacementOptionNames};
const TTypeInfo kPlacementRegRootType{"TPlacementRegRoot", TTypeKind::Enumeration,
                                      kPlacementRegRootNames};

std::string DefaultStorageKey(std::string_view executablePath) {
  const std::size_t slash = executablePath.find_last_of("\\/:");
  std::string_view name =
      slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  if (name.empty()) return {};
  return "Software\\" + std::string(name);
}

// ---------------------------------------------------------------------------------------------
// TFormPlacement

const TClassInfo& TFormPlacement::StaticClassInfo() {
  static const TClassInfo info(
      "TFormPlacement", &TComponent::StaticClassInfo(),
      {
          OrdProperty<&TFormPlacement::Active, &TFormPlacement::SetActive>("Active", kBooleanType),
          StrProperty<&TFormPlacement::IniFileName, &TFormPlacement::SetIniFileName>("IniFileName",
                                                                                     kStringType),
          StrProperty<&TFormPlacement::IniSection, &TFormPlacement::SetIniSection>("IniSection",
                                                                                   kStringType),
          OrdProperty<&TFormPlacement::Options, &TFormPlacement::SetOptions>("Options",
                                                                             kPlacementOptionsType),
          OrdProperty<&TFormPlacement::RegistryRoot, &TFormPlacement::SetRegistryRoot>(
              "RegistryRoot", kPlacementRegRootType),
          OrdProperty<&TFormPlacement::UseRegistry, &TFormPlacement::SetUseRegistry>("UseRegistry",
                                                                                     kBooleanType),
          OrdProperty<&TFormPlacement::Version, &TFormPlacement::SetVersion>("Version",
                                                                             kIntegerType),
          MethodProperty<&TFormPlacement::OnRestorePlacement>("OnRestorePlacement",
                                                              kNotifyEventType),
          MethodProperty<&TFormPlacement::OnSavePlacement>("OnSavePlacement", kNotifyEventType),
      });
  return info;
}

TFormPlacement::TFormPlacement(TComponent* owner)
    : TComponent(owner), application_(FindApplication(owner)) {
  if (dynamic_cast<TForm*>(owner) != nullptr) options_ = {fpState, fpPosition};
  if (owner != nullptr) formClassName_ = std::string(owner->ClassName());
}

TFormPlacement::~TFormPlacement() {
  // A window that is going has dropped its handlers with itself (and lets go of its components
  // before it destroys them); one that stays gets its own back.
  if (attachedForm_ != nullptr && !formGoing_ && Owner() == attachedForm_) {
    attachedForm_->OnShow = std::move(formOnShow_);
    attachedForm_->OnCloseQuery = std::move(formOnCloseQuery_);
    attachedForm_->OnDestroy = std::move(formOnDestroy_);
  }
}

void TFormPlacement::Loaded() {
  TComponent::Loaded();
  if (TApplication* application = FindApplication(this)) application_ = application;
  TForm* form = dynamic_cast<TForm*>(Owner());
  if (form == nullptr) return;
  formClassName_ = std::string(form->ClassName());
  if (attachedForm_ != nullptr) return;
  attachedForm_ = form;
  formOnShow_ = std::exchange(form->OnShow, [this](TObject* sender) { FormShow(sender); });
  formOnCloseQuery_ = std::exchange(form->OnCloseQuery, [this](TObject* sender, bool& canClose) {
    FormCloseQuery(sender, canClose);
  });
  formOnDestroy_ = std::exchange(form->OnDestroy, [this](TObject* sender) { FormDestroy(sender); });
}

TForm* TFormPlacement::Form() const { return dynamic_cast<TForm*>(Owner()); }

std::string TFormPlacement::StorageKey() const {
  if (!iniFileName_.empty()) return iniFileName_;
  return DefaultStorageKey(PortsOf(application_).System.ExecutablePath());
}

std::string TFormPlacement::Section() const {
  return iniSection_.empty() ? formClassName_ : iniSection_;
}

void TFormPlacement::FormShow(TObject* sender) {
  if (active_) GuardedCallOrDrop(application_, [this] { LoadStoredState(); });
  if (formOnShow_) formOnShow_(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
  if (formOnCloseQuery_) formOnCloseQuery_(sender, canClose);
  if (canClose && active_) GuardedCallOrDrop(application_, [this] { SaveStoredState(); });
}

void TFormPlacement::FormDestroy(TObject* sender) {
  formGoing_ = true;
  if (active_ && !savedSinceRestore_) {
    savingOnDestroy_ = true;
    GuardedCallOrDrop(application_, [this] { SaveStoredState(); });
    savingOnDestroy_ = false;
  }
  if (formOnDestroy_) formOnDestroy_(sender);
}

namespace {

// The registry a store reads and writes: the application's, when the store uses the registry and
// knows its key; otherwise the null registry, which keeps nothing.
platform::IRegistry& StorageRegistry(const TApplication* application, bool useRegistry,
                                     const std::string& key) {
  if (!useRegistry || key.empty()) return platform::NullRegistry();
  return PortsOf(application).Registry;
}

}  // namespace

void TFormPlacement::LoadStoredState() {
  savedSinceRestore_ = false;
  const std::string key = StorageKey();
  TRegIniFile storage(StorageRegistry(application_, useRegistry_, key), RootKey(registryRoot_),
                      key);
  const std::string section = Section();
  if (storage.ReadInteger(section, kFormVersion, 0) >= version_) {
    RestorePlacement(storage, section);
    restoredOnce_ = true;
    LoadValues(storage, section);
    if (OnRestorePlacement) OnRestorePlacement(this);
  }
  restoredOnce_ = true;
}

void TFormPlacement::SaveStoredState() {
  if (!restoredOnce_ && active_) return;
  const std::string key = StorageKey();
  TRegIniFile storage(StorageRegistry(application_, useRegistry_, key), RootKey(registryRoot_),
                      key);
  const std::string section = Section();
  storage.WriteInteger(section, kFormVersion, version_);
  if (options_.Contains(fpState) || options_.Contains(fpPosition)) {
    SavePlacement(storage, section);
    storage.WriteString(section, kVisible, savingOnDestroy_ ? "1" : "0");
  }
  SaveValues(storage, section);
  if (OnSavePlacement) OnSavePlacement(this);
  savedSinceRestore_ = true;
}

void TFormPlacement::SavePlacement(TRegIniFile& storage, const std::string& section) {
  TForm* form = Form();
  TApplication* application = application_;
  platform::IScreen& screen = PortsOf(application).Graphics.Screen();
  platform::WindowPlacement placement;
  // Without a native window there is no placement. A placement the system refuses to tell is not
  // written either, so the one stored before stays.
  if (form == nullptr || !form->GetWindowPlacement(placement)) return;

  auto showCmd = static_cast<std::int32_t>(placement.showCmd);
  if (application->MainForm() == form && application->ApplicationWindow().IsIconic()) {
    showCmd = platform::kSwShowMinimized;
  }
  const std::string suffix = Format("(%dx%d)", screen.Width(), screen.Height());
  const std::string minMaxPos =
      Format("%d,%d,%d,%d", placement.minX, placement.minY, placement.maxX, placement.maxY);
  const std::string normPos = Format("%d,%d,%d,%d", placement.normalLeft, placement.normalTop,
                                     placement.normalRight, placement.normalBottom);
  storage.WriteInteger(section, kFlags, static_cast<std::int32_t>(placement.flags));
  storage.WriteInteger(section, kShowCmd, showCmd);
  storage.WriteInteger(section, kPixelsPerInch, screen.PixelsPerInch());
  storage.WriteString(section, kMinMaxPos + suffix, minMaxPos);
  storage.WriteString(section, kMinMaxPos, minMaxPos);
  storage.WriteString(section, kNormPos + suffix, normPos);
  storage.WriteString(section, kNormPos, normPos);
}

void TFormPlacement::RestorePlacement(TRegIniFile& storage, const std::string& section) {
  TForm* form = Form();
  if (form == nullptr) return;
  platform::IWindowPeer* peer = form->Peer();
  if (peer == nullptr) return;
  if (options_.Contains(fpPosition)) {
    RestoreStoredRectangle(storage, section, *form, *peer, PortsOf(application_).Graphics.Screen());
  }
  if (options_.Contains(fpState)) RestoreShowState(storage, section, *form, *peer);
}

void TFormPlacement::RestoreStoredRectangle(TRegIniFile& storage, const std::string& section,
                                            TForm& form, const platform::IWindowPeer& peer,
                                            platform::IScreen& screen) {
  platform::WindowPlacement placement;
  if (!form.GetWindowPlacement(placement)) return;
  // The show notification comes before the window is visible: applying the placement must not
  // show it.
  if (!peer.IsVisible()) placement.showCmd = platform::kSwHide;
  placement.flags = static_cast<std::uint32_t>(
      storage.ReadInteger(section, kFlags, static_cast<std::int32_t>(placement.flags)));
  const std::string suffix = Format("(%dx%d)", screen.Width(), screen.Height());
  const std::string minMaxPos = ReadPosition(storage, section, kMinMaxPos, suffix);
  const std::string normPos = ReadPosition(storage, section, kNormPos, suffix);
  const bool found = !minMaxPos.empty() || !normPos.empty();
  const std::int64_t left = PositionWord(normPos, 0, form.Left());
  const std::int64_t top = PositionWord(normPos, 1, form.Top());
  std::int64_t right = PositionWord(normPos, 2, std::int64_t{form.Left()} + form.Width());
  std::int64_t bottom = PositionWord(normPos, 3, std::int64_t{form.Top()} + form.Height());
  const std::int32_t pixelsPerInch =
      storage.ReadInteger(section, kPixelsPerInch, screen.PixelsPerInch());
  if (!found || pixelsPerInch != screen.PixelsPerInch()) return;
  // A window whose border cannot be dragged keeps its size: only the position comes back.
  if (form.BorderStyle() != bsSizeable) {
    right = left + form.Width();
    bottom = top + form.Height();
  }
  // (The framework's windows have no self-centring position that would need switching off.)
  // The window's width and height must be ints too: the window takes them as such.
  if (left < right && FitsInt(right) && FitsInt(bottom) && FitsInt(right - left) &&
      FitsInt(bottom - top)) {
    placement.minX = static_cast<int>(PositionWord(minMaxPos, 0, 0));
    placement.minY = static_cast<int>(PositionWord(minMaxPos, 1, 0));
    placement.maxX = static_cast<int>(PositionWord(minMaxPos, 2, 0));
    placement.maxY = static_cast<int>(PositionWord(minMaxPos, 3, 0));
    placement.normalLeft = static_cast<int>(left);
    placement.normalTop = static_cast<int>(top);
    placement.normalRight = static_cast<int>(right);
    placement.normalBottom = static_cast<int>(bottom);
    form.SetWindowPlacement(placement);
  }
}

void TFormPlacement::RestoreShowState(TRegIniFile& storage, const std::string& section, TForm& form,
                                      platform::IWindowPeer& peer) {
  TWindowState state = wsNormal;
  switch (storage.ReadInteger(section, kShowCmd, 0)) {
    case platform::kSwShowMinimized:
    case platform::kSwMinimize:
    case platform::kSwShowMinNoActive:
      state = wsMinimized;
      break;
    case platform::kSwShowMaximized:
      state = wsMaximized;
      break;
    default:  // 1, 5 and 9 are normal; anything else takes the default state, normal too
      break;
  }
  if (state == wsMinimized && application_->MainForm() == &form) {
    // The main window stays normal; the whole application goes to the taskbar instead.
    form.SetWindowState(wsNormal);
    application_->ApplicationWindow().PostSysCommand(platform::kScMinimize);
    return;
  }
  form.SetWindowState(state);
  peer.InvalidateArea(0, 0, form.Width(), form.Height());
}

void TFormPlacement::SaveValues(TRegIniFile&, const std::string&) {}
void TFormPlacement::LoadValues(TRegIniFile&, const std::string&) {}

// ---------------------------------------------------------------------------------------------
// TFormStorage

const TClassInfo& TFormStorage::StaticClassInfo() {
  static const TClassInfo info("TFormStorage", &TFormPlacement::StaticClassInfo(), {});
  return info;
}

TFormStorage::TFormStorage(TComponent* owner) : TFormPlacement(owner) {}

void TFormStorage::SetStoredProps(std::vector<std::string> props) {
  storedProps_ = std::move(props);
  if (loaded_) RemoveUnknownComponents();
}

void TFormStorage::Loaded() {
  TFormPlacement::Loaded();
  loaded_ = true;
  RemoveUnknownComponents();
}

void TFormStorage::RemoveUnknownComponents() {
  const TComponent* window = Owner();
  std::erase_if(storedProps_, [window](const std::string& entry) {
    return window == nullptr || window->FindComponent(SplitEntry(entry).first) == nullptr;
  });
}

namespace {

// The component and property an entry names, when the component exists and the property can be
// kept; the value name is "<component>_<property>".
struct StoredEntry {
  TComponent* component = nullptr;
  const TPropInfo* prop = nullptr;
  std::string valueName;
};

StoredEntry Resolve(const TComponent* window, std::string_view entry) {
  const auto [componentName, propName] = SplitEntry(entry);
  TComponent* component = window != nullptr ? window->FindComponent(componentName) : nullptr;
  if (component == nullptr) return {};
  const TPropInfo* prop = component->ClassType().FindProperty(propName);
  if (prop == nullptr || !TPropsStorage::IsStorable(*prop)) return {};
  return {component, prop, component->Name() + "_" + std::string(prop->Name)};
}

}  // namespace

void TFormStorage::SaveValues(TRegIniFile& storage, const std::string& section) {
  TPropsStorage props(
      Owner(), [](const std::string&, const std::string& fallback) { return fallback; },
      [&](const std::string& name, const std::string& value) {
        storage.WriteString(section, name, value);
      });
  for (const std::string& entry : storedProps_) {
    const StoredEntry stored = Resolve(Owner(), entry);
    if (stored.component != nullptr) {
      props.StoreProperty(*stored.component, *stored.prop, stored.valueName);
    }
  }
}

void TFormStorage::LoadValues(TRegIniFile& storage, const std::string& section) {
  TPropsStorage props(
      Owner(),
      [&](const std::string& name, const std::string& fallback) {
        return storage.ReadString(section, name, fallback);
      },
      [](const std::string&, const std::string&) {});
  for (const std::string& entry : storedProps_) {
    const StoredEntry stored = Resolve(Owner(), entry);
    if (stored.component == nullptr) continue;
    try {
      props.LoadProperty(*stored.component, *stored.prop, stored.valueName);
    } catch (const std::exception&) {
      // One property's failure costs that property only.
    }
  }
}
