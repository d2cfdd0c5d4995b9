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
    calls.push_back("ChooseColor");
    lastOwner = owner;
    colorPresets.push_back(rgb);
    return colorAnswer ? colorAnswer(rgb) : false;
  }
  bool ChooseFont(platform::WindowHandle owner, platform::WidgetFont& font) override {
    calls.push_back("ChooseFont");
    lastOwner = owner;
    fontPresets.push_back(font);
    return fontAnswer ? fontAnswer(font) : false;
  }
  bool GetOpenFileName(platform::WindowHandle owner, platform::FileDialogParams& params) override {
    calls.push_back("GetOpenFileName");
    lastOwner = owner;
    filePresets.push_back(params);
    return openAnswer ? openAnswer(params) : false;
  }
  bool GetSaveFileName(platform::WindowHandle owner, platform::FileDialogParams& params) override {
    calls.push_back("GetSaveFileName");
    lastOwner = owner;
    filePresets.push_back(params);
    return saveAnswer ? saveAnswer(params) : false;
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
};
