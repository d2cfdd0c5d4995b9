#pragma once
// Common dialogs that answer as the test scripts them: each kind runs its answer function with
// what the program preset, and cancels when the test gave none. Every call is recorded.

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

class FakeDialogs : public platform::IDialogs {
 public:
  bool ChooseColor(platform::WindowHandle owner, std::uint32_t& rgb) override {
    return Answer("ChooseColor", owner, rgb, colorPresets, colorAnswer);
  }
  bool ChooseFont(platform::WindowHandle owner, platform::WidgetFont& font) override {
    return Answer("ChooseFont", owner, font, fontPresets, fontAnswer);
  }
  bool GetOpenFileName(platform::WindowHandle owner, platform::FileDialogParams& params) override {
    return Answer("GetOpenFileName", owner, params, filePresets, openAnswer);
  }
  bool GetSaveFileName(platform::WindowHandle owner, platform::FileDialogParams& params) override {
    return Answer("GetSaveFileName", owner, params, filePresets, saveAnswer);
  }
  std::string CurrentDirectory() override { return currentDirectory; }

  // Answers that confirm with a fixed choice.
  static std::function<bool(std::uint32_t&)> PickColor(std::uint32_t rgb) {
    return [rgb](std::uint32_t& chosen) {
      chosen = rgb;
      return true;
    };
  }
  static std::function<bool(platform::FileDialogParams&)> PickFile(const std::string& name) {
    return [name](platform::FileDialogParams& params) {
      params.fileName = name;
      return true;
    };
  }

  std::function<bool(std::uint32_t&)> colorAnswer;
  std::function<bool(platform::WidgetFont&)> fontAnswer;
  std::function<bool(platform::FileDialogParams&)> openAnswer;
  std::function<bool(platform::FileDialogParams&)> saveAnswer;
  std::string currentDirectory = "C:\\Users\\tamik\\Documents";

  std::vector<std::string> calls;
  platform::WindowHandle lastOwner;
  std::vector<std::uint32_t> colorPresets;
  std::vector<platform::WidgetFont> fontPresets;
  std::vector<platform::FileDialogParams> filePresets;

 private:
  // Records the call and what the program preset, then lets the scripted answer (if any) decide.
  template <typename Value>
  bool Answer(const char* call, platform::WindowHandle owner, Value& value,
              std::vector<Value>& presets, const std::function<bool(Value&)>& answer) {
    calls.push_back(call);
    lastOwner = owner;
    presets.push_back(value);
    return answer ? answer(value) : false;
  }
};
