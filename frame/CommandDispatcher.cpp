#include "CommandDispatcher.h"

// A command its update rule shows disabled does nothing, whichever way it
// came (an accelerator or the custom button reaches here without a menu).
bool CommandDispatcher::Dispatch(int id) {
  if (m_before) m_before();
  if (!Update(id).enabled) return false;
  for (CommandTarget* target : m_targets) {
    if (target->HandlesCommand(id)) {
      target->OnCommand(id);
      return true;
    }
  }
  return false;
}

CommandUpdate CommandDispatcher::Update(int id) {
  CommandUpdate update;
  for (CommandTarget* target : m_targets)
    if (target->OnUpdateCommand(id, update)) return update;
  update.enabled = false;
  for (CommandTarget* target : m_targets) {
    if (target->HandlesCommand(id)) {
      update.enabled = true;
      break;
    }
  }
  return update;
}
