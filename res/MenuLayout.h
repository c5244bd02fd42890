#pragma once

// The menu bar, the accelerators and the tool bar as data: the frame builds
// its widgets from these, and tests check them against each other.

#include <QKeyCombination>

#include <vector>

namespace res {

// One menu item; id 0 is a separator.
struct MenuItem {
  int id;
  const char* text;  // access key after "&", accelerator after a tab
};

struct Menu {
  const char* title;
  std::vector<MenuItem> items;
};

struct Accelerator {
  QKeyCombination keys;
  int id;
};

// Six menus in order; Help last, shown at the right end.
const std::vector<Menu>& MenuBar();
const std::vector<Accelerator>& Accelerators();
// 24 slots; 0 is a separator.
const std::vector<int>& ToolBarSlots();

}  // namespace res
