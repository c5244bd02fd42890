#pragma once

#include <QDialog>

// Help > version: the program's name and version, and an OK button.
class VersionDialog : public QDialog {
  Q_OBJECT

 public:
  explicit VersionDialog(QWidget* parent = nullptr);
  static QString Text();
};
