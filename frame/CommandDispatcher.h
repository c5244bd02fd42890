#pragma once

// The one place every command ends in, whether it came from the menu, an
// accelerator, the tool bar, the cycle popup or the custom button: it goes
// to the view, the document, the frame and the application in that order,
// and the first that handles it runs it. Update rules are asked the same
// way; a command nobody handles shows disabled.

#include <functional>
#include <vector>

#include "CommandTarget.h"

class CommandDispatcher {
 public:
  // Targets in routing order.
  void SetTargets(std::vector<CommandTarget*> targets) { m_targets = std::move(targets); }
  // Runs before every command, whoever handles it.
  void SetBeforeEachCommand(std::function<void()> before) { m_before = std::move(before); }

  // Runs `id`; false when no target handles it or it is disabled now.
  bool Dispatch(int id);
  CommandUpdate Update(int id);

 private:
  std::vector<CommandTarget*> m_targets;
  std::function<void()> m_before;
};
