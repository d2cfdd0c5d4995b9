#pragma once
// Runs a call that is expected to raise the framework's Exception and returns its message (empty
// when nothing is raised), so a test can compare the exact text the user would see.

#include <string>

#include "framework/Exception.h"

template <typename Call>
std::string MessageOf(Call&& call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message();
  }
  return {};
}
