#pragma once

// Choosing a program to run: an open-file dialog whose first filter shows
// only the files the user may execute (and the folders to get there), the
// second every file.

#include <QFileDialog>

class QSortFilterProxyModel;

class ExecutableFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  ExecutableFileDialog(QWidget* parent, const QString& title);

  static QString ExecutablesFilter();
  static QString AllFilesFilter();
  // Whether the dialog shows `path` under the selected filter.
  bool Shows(const QString& path) const;

 private:
  class ExecutablesOnly;
  ExecutablesOnly* m_proxy;
};
