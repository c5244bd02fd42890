#pragma once

// Settings > custom button: every command of the table in table order, the
// row being the table index. OK (the button, Enter or a double-click)
// takes the selected command, unless it is a separator, which is refused
// with a message and leaves the dialog open.

#include <QDialog>

class QListWidget;

class CCustomButtonDlg : public QDialog {
  Q_OBJECT

 public:
  // An index outside the table opens on the fallback entry.
  explicit CCustomButtonDlg(int index, QWidget* parent = nullptr);

  // The index shown on opening and, after OK, the one chosen.
  int m_index;
  QListWidget* m_list;

  void accept() override;

 private:
  void BuildControls();
};
