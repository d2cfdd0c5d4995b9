#pragma once
// The settings store: a non-visual component that a window owns. TFormPlacement keeps the
// window's placement (position and show state); TFormStorage adds an ordered list of control
// properties. Both live in the registry, under
//   <RegistryRoot>\Software\<executable file name without directory and extension>\<section>
// where the section is the class name of the owning window ("TMainForm"), one string value
// (REG_SZ, with its terminating zero) per entry; REG_EXPAND_SZ is accepted when reading.
//
// Once the window's layout is complete (Loaded), the store takes over three of the window's
// notifications and keeps the window's own handlers, calling them around its own work:
// - show (before the window becomes visible): LoadStoredState if Active, then the window's
//   OnShow;
// - close query: the window's OnCloseQuery first, then SaveStoredState if the close is granted
//   and the store is Active;
// - destroy: SaveStoredState (with "Visible" = "1") if Active and nothing was saved since the
//   last restore, then the window's OnDestroy.
// An error of LoadStoredState or SaveStoredState there is shown in the application's error box
// and does not keep the window from showing, closing or going. Handlers are taken over when
// Loaded runs, so a window binds its own before its layout is complete. The store gives them
// back when it is destroyed before its window.
//
// Every LoadStoredState and SaveStoredState opens the key for itself and closes it at its end.
// The key is opened with full access and created when missing, for a load too (so the first load
// leaves an empty key behind); a key that cannot be opened or created is not reported: nothing is
// then read and nothing written.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Set.h"
#include "platform/Registry.h"

namespace platform {
class IScreen;
class IWindowPeer;
}  // namespace platform

class TApplication;
class TForm;
class TRegIniFile;

enum TPlacementOption : std::uint8_t { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;
enum TPlacementRegRoot : std::uint8_t {
  prCurrentUser,
  prLocalMachine,
  prCurrentConfig,
  prClassesRoot,
  prUsers,
  prDynData
};

extern const TTypeInfo kPlacementOptionsType;  // "TPlacementOptions"
extern const TTypeInfo kPlacementRegRootType;  // "TPlacementRegRoot"

// The registry key of a store whose IniFileName is empty: "Software\" followed by the file name
// of `executablePath` without its directory and its extension ("C:\Tools\Tamik.exe" gives
// "Software\Tamik"). Empty when there is no file name to take.
std::string DefaultStorageKey(std::string_view executablePath);

class TFormPlacement : public TComponent {
 public:
  // Owned by a window, the store keeps its position and state by default; owned by anything
  // else, nothing but what a derived store adds.
  explicit TFormPlacement(TComponent* owner);
  ~TFormPlacement() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // An inactive store neither restores on show nor saves on close or destroy.
  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }
  // Only the registry is offered as storage: a store that does not use it keeps nothing (it
  // behaves as with a key that cannot be opened).
  bool UseRegistry() const { return useRegistry_; }
  void SetUseRegistry(bool useRegistry) { useRegistry_ = useRegistry; }
  TPlacementRegRoot RegistryRoot() const { return registryRoot_; }
  void SetRegistryRoot(TPlacementRegRoot root) { registryRoot_ = root; }
  // The key path below the root; empty: DefaultStorageKey of the running executable.
  const std::string& IniFileName() const { return iniFileName_; }
  void SetIniFileName(const std::string& name) { iniFileName_ = name; }
  // The subkey; empty: the class name of the owning window.
  const std::string& IniSection() const { return iniSection_; }
  void SetIniSection(const std::string& section) { iniSection_ = section; }
  // fpState and fpPosition keep the placement; fpActiveControl is accepted and has no effect.
  TPlacementOptions Options() const { return options_; }
  void SetOptions(TPlacementOptions options) { options_ = options; }
  // A restore whose stored "FormVersion" is below Version restores nothing (and saves later
  // write the new version).
  std::int32_t Version() const { return version_; }
  void SetVersion(std::int32_t version) { version_ = version; }

  // Raised by LoadStoredState once the stored values are applied, with the store as sender (the
  // key is still open then); by SaveStoredState after the last value is written.
  TNotifyEvent OnRestorePlacement;
  TNotifyEvent OnSavePlacement;

  // Run-time flags. RestoredOnce: a restore reached the listed properties (or skipped them for
  // an old version) in this run; never cleared. SavedSinceRestore: set at the end of every save,
  // cleared at the start of every restore. SavingOnDestroy: a save runs from the destroy
  // notification.
  bool RestoredOnce() const { return restoredOnce_; }
  bool SavedSinceRestore() const { return savedSinceRestore_; }
  bool SavingOnDestroy() const { return savingOnDestroy_; }

  // Restores the placement and the stored values:
  // 1. clears SavedSinceRestore and opens the key;
  // 2. reads "FormVersion" (default 0); below Version, goes on at 6;
  // 3. restores the placement (fpPosition, fpState);
  // 4. sets RestoredOnce and restores the stored values (a derived store's);
  // 5. raises OnRestorePlacement;
  // 6. sets RestoredOnce; the key is closed, also when a step failed.
  // A "FormVersion" or placement value that is not a string raises "Type de données incorrect
  // pour '<name>'" and ends the restore there, without RestoredOnce.
  void LoadStoredState();
  // Saves: nothing at all while the store is Active and no restore has run in this run (a window
  // never shown writes nothing). Otherwise, with the key open, writes "FormVersion"; with
  // fpState or fpPosition the placement ("Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" with
  // the resolution suffix and plain, "NormPos" with the suffix and plain) and "Visible"; then the
  // stored values (a derived store's); raises OnSavePlacement and sets SavedSinceRestore. A
  // section or value that cannot be written raises and ends the save there, the values written
  // before it kept and SavedSinceRestore left clear.
  void SaveStoredState();

  // Takes over the owning window's notifications and remembers its class name for the section.
  void Loaded() override;

  // The key path and the section this store uses now.
  std::string StorageKey() const;
  std::string Section() const;

 protected:
  // The store's own values, read and written inside LoadStoredState and SaveStoredState.
  virtual void SaveValues(TRegIniFile& storage, const std::string& section);
  virtual void LoadValues(TRegIniFile& storage, const std::string& section);

  // The owning window; null when the store is not owned by one.
  TForm* Form() const;

 private:
  void SavePlacement(TRegIniFile& storage, const std::string& section);
  // Restores the window's placement (with a native window and a screen): the stored rectangle
  // with fpPosition, then the show state with fpState.
  void RestorePlacement(TRegIniFile& storage, const std::string& section);
  // Reads the stored normal rectangle and min/max positions and applies them when they were
  // stored for the screen's pixel density and fit the window.
  void RestoreStoredRectangle(TRegIniFile& storage, const std::string& section, TForm& form,
                              const platform::IWindowPeer& peer, platform::IScreen& screen);
  // Reads the stored show command and gives the window its state; a minimised main window
  // minimises the whole application instead.
  void RestoreShowState(TRegIniFile& storage, const std::string& section, TForm& form,
                        platform::IWindowPeer& peer);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);

  bool active_ = true;
  bool useRegistry_ = false;
  TPlacementRegRoot registryRoot_ = prCurrentUser;
  std::string iniFileName_;
  std::string iniSection_;
  TPlacementOptions options_;
  std::int32_t version_ = 0;

  bool restoredOnce_ = false;
  bool savedSinceRestore_ = false;
  bool savingOnDestroy_ = false;

  // The application and the window's class name, taken while the window is whole: while it is
  // destroyed it has left its owner and no longer answers with its own class.
  TApplication* application_ = nullptr;
  std::string formClassName_;
  TForm* attachedForm_ = nullptr;
  bool formGoing_ = false;
  TNotifyEvent formOnShow_;
  std::function<void(TObject*, bool&)> formOnCloseQuery_;
  TNotifyEvent formOnDestroy_;
};

class TFormStorage : public TFormPlacement {
 public:
  explicit TFormStorage(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // The stored properties, in the order they are saved and restored: "<component>.<property>"
  // with names compared without regard to case. Each is kept under "<component>_<property>"
  // (RarBar1_Height); a font as seven values (RarBar1_FontCharset ... RarBar1_FontStyle). Once
  // the window's layout is complete, entries whose component the window does not have are
  // removed; an entry naming a property the component does not have (or cannot keep) is skipped
  // at every save and restore. A failure to read or apply one value skips that value only.
  const std::vector<std::string>& StoredProps() const { return storedProps_; }
  void SetStoredProps(std::vector<std::string> props);

  void Loaded() override;

 protected:
  void SaveValues(TRegIniFile& storage, const std::string& section) override;
  void LoadValues(TRegIniFile& storage, const std::string& section) override;

 private:
  void RemoveUnknownComponents();

  std::vector<std::string> storedProps_;
  bool loaded_ = false;
};
