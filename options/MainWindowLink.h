#pragma once
// What the options dialog and the main window know of each other. Neither includes the other:
// the dialog acts on the main window through MainWindowLink, the main window reads the dialog's
// opacity choice through OpacitySettings, and the composition root (app/Program.cpp) hands each
// window the other.
//
// Every setting the dialog changes has one verb here. A verb acts on the live window (its bars,
// timer, tray icon, transparency) and copies the new value into the main window's setting slot,
// which the main window's settings store keeps; docs/SETTINGS.md follows each setting through both
// windows and both stores.

#include <cstdint>
#include <span>
#include <string>

#include "framework/Graphics.h"

class TRarBar;

class MainWindowLink {
 public:
  // Readings for the debug page: the operating system's name, "# CPUs : N", the tray icon's hint.
  virtual const std::string& OsVersionText() const = 0;
  virtual const std::string& ProcessorCountText() const = 0;
  virtual const std::string& TrayHint() const = 0;
  // The first bar: the look (colours, background, font) the Colors page's preview starts from.
  virtual const TRarBar& FirstBar() const = 0;

  // The Options page.
  // Puts the window into the topmost band or takes it out.
  virtual void SetAlwaysOnTopSetting(bool on) = 0;
  // Shows or removes the notification-area icon.
  virtual void SetTrayIconSetting(bool on) = 0;
  // The percentage text on both bars.
  virtual void SetPercentageSetting(bool on) = 0;
  // The bars' and the window's height: `value` truncated toward zero, in pixels; the slot keeps
  // `value` itself.
  virtual void SetBarHeightSetting(double value) = 0;
  // The refresh timer's interval in milliseconds.
  virtual void SetIntervalSetting(std::uint32_t milliseconds) = 0;

  // The Opacity page.
  // Colour-key transparency. Turned on, the stored window colour becomes the key and both bars'
  // background; a stored colour that is not a number raises once the switch and its slot are set.
  virtual void SetColourKeySetting(bool on) = 0;
  // Alpha blending, at the opacity 200 until the next refresh sets it.
  virtual void SetAlphaBlendSetting(bool on) = 0;
  // The constant opacity: its low byte at once, the whole value in the slot.
  virtual void SetConstantOpacitySetting(std::int64_t value) = 0;
  // The dynamic opacity's ends, at 0 % and at 100 % load; the refresh uses them.
  virtual void SetOpacityAtNoLoadSetting(std::int64_t value) = 0;
  virtual void SetOpacityAtFullLoadSetting(std::int64_t value) = 0;

  // The Colors page's "Apply Changes": the colour properties named in `colours` (the preview's
  // colour list) and the font go from `preview` to both bars, the preview's background becomes
  // the window colour (and its slot) and, while colour keying is on, the key.
  virtual void ApplyBarLook(const TRarBar& preview, std::span<const std::string> colours,
                            bool colourKeyOn) = 0;

 protected:
  ~MainWindowLink() = default;
};

// The Opacity page's choice, read by the main window at every refresh.
class OpacitySettings {
 public:
  // "Constant": the window's opacity is ConstantOpacity().
  virtual bool ConstantOpacityChosen() const = 0;
  virtual double ConstantOpacity() const = 0;
  // "Dynamic": the opacity runs from OpacityAtNoLoad() at 0 % load of the first processor to
  // OpacityAtFullLoad() at 100 %.
  virtual bool DynamicOpacityChosen() const = 0;
  virtual double OpacityAtNoLoad() const = 0;
  virtual double OpacityAtFullLoad() const = 0;

 protected:
  ~OpacitySettings() = default;
};
