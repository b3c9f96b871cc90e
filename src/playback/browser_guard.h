#pragma once

#include <memory>
#include <vector>

#include "platform/window_layer.h"

namespace zedade {

// One guarded window: its handle and the procedure it had before the guard's.
struct SubclassRecord {
  WindowHandle window = 0;
  WindowProcedure previous = nullptr;
};

// The guarded windows in the order they were guarded. Records are only appended, never changed or
// removed (also not when their window is gone), and no two carry the same handle.
using SubclassTable = std::vector<std::unique_ptr<SubclassRecord>>;

// The table that GuardWindowProc consults. The program sets it at start-up and clears it before
// freeing the table at shutdown: a message that reaches a guarded window after that finds no table
// and goes to the window's own handling, never to freed memory.
void SetActiveSubclassTable(SubclassTable* table);

// The first record for the window, in table order; nullptr when there is none.
const SubclassRecord* FindSubclassRecord(const SubclassTable& table, WindowHandle window);

// Gives the window and every window inside it GuardWindowProc, depth-first, a window before its
// children; each window is guarded once. Windows created later are not guarded until the next walk.
void GuardWindowTree(SubclassTable& table, WindowHandle window);

// Swallows right-button presses and releases; passes every other message to the window's previous
// procedure (a window without a record, or a message after shutdown, to its own handling).
intptr_t GuardWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace zedade
