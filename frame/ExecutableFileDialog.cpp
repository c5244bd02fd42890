#include "ExecutableFileDialog.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

#include "JapaneseFileDialog.h"

// Name patterns cannot tell an executable file, its permission bits can.
class ExecutableFileDialog::ExecutablesOnly : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void SetActive(bool active) {
    m_active = active;
    invalidateFilter();
  }
  static bool Accepts(const QFileInfo& info) { return info.isDir() || (info.isFile() && info.isExecutable()); }
  bool IsActive() const { return m_active; }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!m_active) return true;
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (!files) return true;
    return Accepts(files->fileInfo(files->index(row, 0, parent)));
  }

 private:
  bool m_active = true;
};

QString ExecutableFileDialog::ExecutablesFilter() { return QString::fromUtf8("実行ファイル (*)"); }
QString ExecutableFileDialog::AllFilesFilter() { return QString::fromUtf8("すべてのファイル (*)"); }

ExecutableFileDialog::ExecutableFileDialog(QWidget* parent, const QString& title)
    : QFileDialog(parent, title), m_proxy(new ExecutablesOnly(this)) {
  setObjectName(QStringLiteral("ExecutableFileDialog"));
  // The desktop's own dialog would not take the filter model.
  platform::MakeJapaneseFileDialog(*this);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);
  setProxyModel(m_proxy);
  setNameFilters({ExecutablesFilter(), AllFilesFilter()});
  selectNameFilter(ExecutablesFilter());
  connect(this, &QFileDialog::filterSelected, this,
          [this](const QString& filter) { m_proxy->SetActive(filter == ExecutablesFilter()); });
}

bool ExecutableFileDialog::Shows(const QString& path) const {
  return !m_proxy->IsActive() || ExecutablesOnly::Accepts(QFileInfo(path));
}
