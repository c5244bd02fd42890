#pragma once

// Settings > kanji code: the codes documents are read and written in. Two
// groups of six radio buttons (no conversion, Shift-JIS, JIS, EUC,
// automatic, UTF-8: the values of KanjiCode); the choices are stored in
// "KanaCode" on OK.

#include <QDialog>

#include <optional>

#include "KanjiCode.h"

class ProfileFile;
class QButtonGroup;

class CKanjiCodeDlg : public QDialog {
  Q_OBJECT

 public:
  // Radio button ids within their group: load 1035 + choice, save 1040 +
  // choice (UTF-8, the last, came after the ids were fixed).
  static constexpr int kFirstLoadButton = 1035;
  static constexpr int kFirstSaveButton = 1040;
  static constexpr int kAutoChoice = 4;
  static constexpr int kLastChoice = 5;

  // Out-of-range choices are shown as automatic.
  CKanjiCodeDlg(int loadChoice, int saveChoice, QWidget* parent = nullptr);

  // The command: reads the settings, runs the dialog and on OK writes both
  // choices. Returns the save code now in force for the shown document
  // (automatic keeps the code it was loaded in), or nothing on cancel.
  static std::optional<KanjiCode> Run(ProfileFile& profile, KanjiCode loadCode, QWidget* parent);

  QButtonGroup* LoadGroup() const { return m_loadGroup; }
  QButtonGroup* SaveGroup() const { return m_saveGroup; }

  // Read back from the radio buttons when the dialog closes, by OK or not.
  int m_loadChoice;
  int m_saveChoice;

  void done(int result) override;

 private:
  QButtonGroup* AddGroup(class QGridLayout* layout, int column, const QString& title, int firstId);
  QButtonGroup* m_loadGroup = nullptr;
  QButtonGroup* m_saveGroup = nullptr;
};
