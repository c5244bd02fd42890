#pragma once

// The mini launcher's settings: what the launch command does (open the
// document with the application of its type, with the registered program,
// or only start that program) and the registered program's path.

#include <QDialog>
#include <QString>

class QLineEdit;
class QRadioButton;

class CMiniLauncherDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxPathChars = 255;

  // A stored mode outside 0 to 2 shows as 1.
  CMiniLauncherDlg(int mode, const QString& path, QWidget* parent = nullptr);

  // Read after the dialog ended: the mode of the checked button, and the
  // path as the box held it at OK (at Cancel, as it was given or browsed).
  int Mode() const { return m_mode; }
  const QString& Path() const { return m_path; }

  void done(int result) override;

 private:
  void BuildControls();
  void OnBrowse();

  int m_mode;
  QString m_path;
  QLineEdit* m_pathBox = nullptr;
  QRadioButton* m_modeButtons[3] = {};
};
