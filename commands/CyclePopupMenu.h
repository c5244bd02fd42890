#pragma once

// One page of the cycle popup as a menu: an item per byte of the page
// string, a line for a separator entry, and a single unavailable
// "【空ページ】" for an empty page. Every item names its command in
// QAction::data() and runs it through the host; the items belong to the
// host's window, so that their prompts reach its status bar, and are
// deleted with the menu.

#include <string>

class CommandHost;
class QMenu;

class CyclePopupMenu {
 public:
  static constexpr const char* kEmptyPageText = "【空ページ】";

  // A new menu owned by the host's window, already through its update pass.
  static QMenu* Build(const std::string& page, CommandHost& host);
};
