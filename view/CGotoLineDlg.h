#pragma once

// Go to line: one small edit box for the line number, "OK" and "×". The
// box takes only as many characters as fit in its width, and m_lineText
// follows every change of it.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class CGotoLineDlg : public QDialog {
  Q_OBJECT

 public:
  // The box is this many digits wide.
  static constexpr int kVisibleDigits = 10;

  explicit CGotoLineDlg(QWidget* parent = nullptr);

  QLineEdit* LineEdit() const { return m_edit; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

  QString m_lineText;

 private:
  QLineEdit* m_edit;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};
