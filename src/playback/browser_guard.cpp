#include "playback/browser_guard.h"

namespace zedade {
namespace {

SubclassTable* g_activeTable = nullptr;

void guardOnce(SubclassTable& table, WindowHandle window) {
  if (FindSubclassRecord(table, window)) return;
  auto record = std::make_unique<SubclassRecord>();
  record->window = window;
  record->previous = SetWindowProcedure(window, GuardWindowProc);
  table.push_back(std::move(record));
}

}  // namespace

void SetActiveSubclassTable(SubclassTable* table) { g_activeTable = table; }

const SubclassRecord* FindSubclassRecord(const SubclassTable& table, WindowHandle window) {
  for (const auto& record : table) {
    if (record->window == window) return record.get();
  }
  return nullptr;
}

void GuardWindowTree(SubclassTable& table, WindowHandle window) {
  guardOnce(table, window);
  for (WindowHandle child = FindChildWindow(window, 0); child > 0; child = FindChildWindow(window, child)) {
    guardOnce(table, child);
    GuardWindowTree(table, child);
  }
}

intptr_t GuardWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const SubclassRecord* record = g_activeTable ? FindSubclassRecord(*g_activeTable, window) : nullptr;
  if (message == msg::kRightButtonDown || message == msg::kRightButtonUp) return 0;
  return CallWindowProcedure(record ? record->previous : DefaultWindowProcedure, window, message, wParam, lParam);
}

}  // namespace zedade
