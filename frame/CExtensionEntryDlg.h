#pragma once

// What the two association dialogs share: an explanation, one small edit
// box for the extension (it does not scroll sideways: the entry is limited
// to what fits in its width), a hint beside it, "オッケー！！" and
// "キャンセル". m_extension fills the box when the dialog opens and takes
// its text back on OK.

#include <QDialog>
#include <QRect>
#include <QString>

class QLineEdit;

class CExtensionEntryDlg : public QDialog {
  Q_OBJECT

 public:
  QLineEdit* Edit() const { return m_edit; }

  QString m_extension;

 protected:
  // Positions and sizes in dialog units.
  struct Template {
    const char* caption;
    QSize size;
    const char* explanation;
    QRect explanationRect;
    QRect editRect;
    QRect hintRect;
    QRect okRect;
    QRect cancelRect;
  };
  CExtensionEntryDlg(const Template& layout, QWidget* parent);

  void showEvent(QShowEvent* event) override;
  void accept() override;

 private:
  QLineEdit* m_edit;
};
