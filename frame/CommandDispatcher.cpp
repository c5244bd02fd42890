#include "CommandDispatcher.h"

bool CommandDispatcher::Dispatch(int id) {
  if (m_before) m_before();
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
