#pragma once

// Auto-indent: when a change leaves a line break just before the caret, the
// new line gets the leading spaces and tabs of the line that the break
// ends. On or off as the settings file says at each change ("Config"/
// "Indent" = 1 is on), never cached: several editors share the file.
//
// The check runs once the control has finished a change (the change's own
// notification comes in the middle of it, before the caret has moved), and
// costs the length of the indentation, never the length of the text.

#include <QObject>

class EditorControl;
class ProfileFile;

class AutoIndent : public QObject {
  Q_OBJECT

 public:
  // `prevTextLength` is the view's: the text length seen at the last check
  // made while auto-indent was on.
  AutoIndent(ProfileFile& profile, EditorControl& control, long& prevTextLength, QObject* parent = nullptr);

  static bool IsOn(const ProfileFile& profile);
  // 0 becomes 1; anything else (2 counts as off) becomes 0.
  static void Toggle(ProfileFile& profile);

  // The check, as after every change.
  void Check();

 private:
  void ScheduleCheck();
  void RunScheduledCheck();
  QString IndentationOfLineEndingAt(long lineBreak) const;

  ProfileFile& m_profile;
  EditorControl& m_control;
  long& m_prevTextLength;
  bool m_scheduled = false;
  bool m_inserting = false;
};
