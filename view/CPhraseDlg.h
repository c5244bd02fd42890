#pragma once

// The phrase settings: five phrases, each under a radio button that marks
// the one the menu item and the tool-bar button insert. Each box takes at
// most 255 bytes of Shift-JIS as typed. A phrase the settings file cannot
// hold as it is (longer, from the settings file; a line break pasted in;
// characters Shift-JIS lacks, unless the user agrees to "?") fails on OK
// with a message, the focus on its box, and the dialog stays open.

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

class CPhraseDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kCount = 5;

  // The controls are filled at once: a marked index outside 0 to 4 marks
  // the first phrase.
  CPhraseDlg(const std::array<QString, kCount>& words, int checkNum, QWidget* parent = nullptr);

  QLineEdit* WordEdit(int i) const { return m_edits[i]; }
  QRadioButton* Radio(int i) const { return m_radios[i]; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

  std::array<QString, kCount> m_words;
  int m_checkNum = 0;

  void accept() override;
  void done(int result) override;

 private:
  bool CanStore(const QString& text);

  std::array<QRadioButton*, kCount> m_radios{};
  std::array<QLineEdit*, kCount> m_edits{};
  QPushButton* m_ok;
  QPushButton* m_cancel;
};
