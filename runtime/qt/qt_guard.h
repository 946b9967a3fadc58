#pragma once
// The one way from a Qt event handler into the runtime.

#include <functional>

// Runs `f` (a click, a drop, a menu action, a close) as program code. Qt
// cannot unwind through its event dispatch, so nothing leaves this call: what
// the runtime's own handling lets pass is reported as unhandled here.
void CallRuntimeFromQt(const std::function<void()>& f) noexcept;

// Calls `f` as CallRuntimeFromQt does once no program code is running: at
// once when none is, else right after the outermost CallRuntimeFromQt has
// returned, in the order given. The runtime's yield (RuntimeBackgroundTask)
// lets Qt deliver events that are not user input, an XDND drop among them;
// what such an event asks of the program waits here for the batch or drop
// that yielded, as if it had come after it.
void CallRuntimeFromQtWhenIdle(std::function<void()> f);
