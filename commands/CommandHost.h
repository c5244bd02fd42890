#pragma once

// The main window as the cycle popup and the custom button see it: the
// window that owns their menus and messages, the one way into command
// routing, and the update pass every menu gets before it shows.

class QMenu;
class QWidget;

class CommandHost {
 public:
  virtual ~CommandHost() = default;
  virtual QWidget* HostWindow() = 0;
  // Routes `id` exactly as a main-menu item would.
  virtual void RunCommand(int id) = 0;
  // Check marks, enabled state and the recent files, as the main menu gets
  // them. Items name their command in QAction::data().
  virtual void PrepareMenu(QMenu* menu) = 0;
};
