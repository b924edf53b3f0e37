#pragma once

#include <span>

namespace kestrum {

// One row of the menu bar: a top-level menu, an entry of the menu above it,
// or a separator (name "-"). index >= 0 marks a member of an entry array.
struct MenuEntryDef {
  const char *name;
  int index;
  const char *caption;
  const char *shortcut;
  bool topLevel;
};

struct ToolButtonDef {
  const char *key;
  const char *tooltip;
  const char *menuEntry; // the menu entry whose action the button runs
  const char *image;     // key in the toolbar image list
};

struct StatusPanelDef {
  const char *key;
  const char *text;
  const char *tooltip;
};

std::span<const MenuEntryDef> menuTable();
std::span<const ToolButtonDef> toolbarTable();
std::span<const StatusPanelDef> statusPanelTable();

constexpr int kQuickMenuCount = 6; // recent profiles shown in the File menu

} // namespace kestrum
