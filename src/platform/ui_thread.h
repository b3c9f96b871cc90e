#pragma once

#include <functional>

namespace zedade {

// True on the thread that owns the widgets.
bool OnUiThread();

// Runs the function on the user-interface thread and waits for it to finish. Called from the UI
// thread it runs at once; from another thread it is queued, and picked up also while the UI
// thread sits in a nested loop (a message box, a modal window).
void RunOnUiThreadBlocking(const std::function<void()>& function);

}  // namespace zedade
