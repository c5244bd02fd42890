#pragma once

// Line-ending replacement: three radio buttons, CR, LF and CR+LF, with
// CR+LF selected at every opening (the choice is not remembered); "実行"
// runs the replacement.

#include <QDialog>

#include <array>

class QPushButton;
class QRadioButton;

class CLineEndDlg : public QDialog {
  Q_OBJECT

 public:
  enum Choice { Cr = 0, Lf = 1, CrLf = 2 };

  explicit CLineEndDlg(QWidget* parent = nullptr);

  QRadioButton* Radio(Choice choice) const { return m_radios[choice]; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

  // The chosen ending, read back however the dialog ends.
  int m_endingChoice = CrLf;

  void done(int result) override;

 private:
  std::array<QRadioButton*, 3> m_radios{};
  QPushButton* m_ok;
  QPushButton* m_cancel;
};
