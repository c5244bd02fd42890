#pragma once

// The open-file dialog. Qt's own dialog leaves out every file whose name is
// no UTF-8 (Shift-JIS or EUC bytes, from an old archive or a Windows disk):
// here such files are listed after the others under their decoded names
// (FileName::Shown), and choosing one, or typing its decoded name, opens
// the file by its bytes.

#include <QFileDialog>

class OpenFileDialog : public QFileDialog {
 public:
  explicit OpenFileDialog(QWidget* parent);

  // The file chosen, once the dialog was accepted.
  QString ChosenPath() const;

 protected:
  void accept() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class WithByteNames;
  void TakeByteNamedSelection();
  void EnableOpenForByteName();

  WithByteNames* m_byteNames;
  QString m_byBytes;  // a chosen name that is no UTF-8, by its bytes
};
