#pragma once

// Command routing: a command id goes to the view, then the document, then
// the frame, then the application; the first that handles it runs it.
// Update rules (enabled, checked, a pane's text) are asked the same way.

#include <QString>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

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

// The commands a target runs, each id listed once with what it does, so
// that HandlesCommand and OnCommand answer from one table.
template <class Target>
class CommandMap {
 public:
  using Action = void (*)(Target&);

  CommandMap(std::initializer_list<std::pair<int, Action>> actions) : actions_(actions) {}

  bool Handles(int id) const { return Find(id) != nullptr; }
  void Run(Target& target, int id) const {
    if (Action action = Find(id)) action(target);
  }

 private:
  Action Find(int id) const {
    for (const auto& [key, action] : actions_)
      if (key == id) return action;
    return nullptr;
  }

  std::vector<std::pair<int, Action>> actions_;
};
