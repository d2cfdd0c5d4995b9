#pragma once
// The Win32 widgets: standard controls (STATIC, BUTTON, EDIT, owner-drawn COMBOBOX, the common
// controls' trackbar, up-down and tab classes) and plain page windows, each mirroring one
// framework control.
//
// Standard controls tell their parent window, not themselves, what happened to them and ask it
// for their colours and for the items they leave to their owner to draw (WM_COMMAND, WM_NOTIFY,
// WM_HSCROLL, WM_VSCROLL, WM_CTLCOLOR*, WM_MEASUREITEM, WM_DRAWITEM). Every window that holds
// widgets (a form's window, a page) therefore hands those messages to ReflectToWidget, which
// finds the widget that owns the sending child and lets it answer.

#include <windows.h>

#include <memory>

#include "platform/Widgets.h"

namespace platform::win32 {

// Creates the native windows of a widget as children of params.parent.
std::unique_ptr<IWidgetPeer> CreateWin32Widget(const WidgetParams& params, IWidgetEvents& events);

// Hands a message that a child window sent to its parent `parent` to the widget that owns the
// child. `parentBackground` is the brush the parent erases its client area with; transparent
// widgets show it (null: the system's face colour). Returns whether a widget took the message;
// `result` is then the parent window procedure's answer. Messages of other kinds, and those of
// children that belong to no widget, are left to the parent's default handling.
bool ReflectToWidget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                     HBRUSH parentBackground, LRESULT& result);

}  // namespace platform::win32
