#pragma once
// The one way from a Qt event handler into the runtime.

#include <functional>

// Runs `f` (a click, a drop, a menu action, a close) as program code. Qt
// cannot unwind through its event dispatch, so nothing leaves this call: what
// the runtime's own handling lets pass is reported as unhandled here.
void CallRuntimeFromQt(const std::function<void()>& f) noexcept;
