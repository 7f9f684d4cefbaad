// What the framework's own windows share: their classes, registered once,
// and the tie between a window and the object that made it.
#pragma once

#include <windows.h>

namespace winsys {

// This program's instance: the owner of its window classes and resources.
HINSTANCE Instance();

// Registers a window class with this program's icon, unless it exists already.
void RegisterClassOnce(const char* name, WNDPROC proc, HCURSOR cursor);

// A hidden message-only window of this class (registered on first use), for
// an object that gets platform messages but has no form: a timer, a posted
// event. Each such object owns one, so its messages reach it through
// BindWindow and whatever is still queued goes with it. `object` goes to
// CreateWindowEx for BindWindow. Raises an error when the window cannot be
// made, as a form does: an object without it would never fire.
HWND CreateMessageWindow(const char* className, WNDPROC proc, void* object);

// Moves a window within its parent, keeping its size and z-order.
void MoveWindowTo(HWND wnd, int x, int y);

// Ties a window to the object passed to CreateWindowEx, so that its window
// procedure finds the object (the framework's one way from a platform
// callback to its object; a window-event hook, which has no window, keeps
// its object beside the hook in WinEvents.cpp), and keeps the object's handle_ in step: set on
// creation, cleared when the window goes (also when a parent destroys it).
// Classes that use it name it their friend.
template <typename T>
T* BindWindow(HWND wnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->handle_ = wnd;
    return self;
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (self && msg == WM_NCDESTROY) {
    self->handle_ = nullptr;
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  }
  return self;
}

}  // namespace winsys
