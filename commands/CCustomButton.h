#pragma once

// The custom button (its tool-bar button and Ctrl+B) runs the one command
// stored as "MenuCommand" / "Custom": the first byte is 0x30 + the
// command's table index. Until one is chosen it runs its own settings, so
// an unconfigured button offers to configure itself. The settings command
// chooses the command in CCustomButtonDlg. The document answers for both.

#include <string>

#include "CommandTable.h"
#include "CommandTarget.h"

class CommandHost;
class ProfileFile;

class CCustomButton : public CommandTarget {
 public:
  // "カスタムボタン設定...": the default, and what any unusable value runs.
  static constexpr CommandIndex kFallbackIndex = 41;

  CCustomButton(ProfileFile& profile, CommandHost& host);

  // The command the button runs now, as the settings have it.
  int CustomCommand() const;
  // Queues the command for the main window: it runs after this returns,
  // routed like a main-menu command.
  void InvokeCustomCommand();
  void OnCustomButtonSettings();

  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;

 private:
  std::string StoredValue() const;

  ProfileFile& m_profile;
  CommandHost& m_host;
};
