#pragma once

// Command routing: a command id goes to the view, then the document, then
// the frame, then the application; the first that handles it runs it.
// Update rules (enabled, checked, a pane's text) are asked the same way.

#include <QString>

#include <optional>

struct CommandUpdate {
  bool enabled = true;
  std::optional<bool> checked;
  std::optional<QString> text;  // status bar panes
};

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  virtual bool HandlesCommand(int id) const = 0;
  virtual void OnCommand(int id) = 0;
  // Fills `update` and returns true when this target has an update rule
  // for `id`.
  virtual bool OnUpdateCommand(int /*id*/, CommandUpdate& /*update*/) { return false; }
};
