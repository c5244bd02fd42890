#include "OpenFileDialog.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "FileName.h"

namespace {

// A file of the folder shown that Qt does not list.
struct ByteNamedFile {
  QString path;   // by its bytes (FileName)
  QString shown;  // its name as the user reads it
  qint64 size;
  QDateTime modified;
};

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// The plain files of `folder` whose names are no UTF-8, by name.
std::vector<ByteNamedFile> ByteNamedFiles(const QString& folder) {
  std::vector<ByteNamedFile> files;
  std::unique_ptr<DIR, DirCloser> dir(opendir(FileName::Bytes(folder).c_str()));
  if (!dir) return files;
  while (const dirent* entry = readdir(dir.get())) {
    const QString name = FileName::FromBytes(entry->d_name);
    if (!FileName::HasRawBytes(name)) continue;
    const QString path = folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + name;
    struct stat info {};
    if (::stat(FileName::Bytes(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    files.push_back({path, FileName::Shown(name), static_cast<qint64>(info.st_size),
                     QDateTime::fromSecsSinceEpoch(info.st_mtime)});
  }
  std::sort(files.begin(), files.end(),
            [](const ByteNamedFile& a, const ByteNamedFile& b) { return a.shown < b.shown; });
  return files;
}

}  // namespace

// The dialog's files with the folder's byte-named files as rows after them.
// Those rows stand for no row of the file system model: they map to no
// source index and answer for themselves.
class OpenFileDialog::WithByteNames : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  // Lists the byte-named files of the folder the dialog now shows.
  void ShowFolder(const QString& folder) {
    if (!m_files.empty()) {
      const QModelIndex parent = FolderIndex();
      const int first = SourceRows(parent);
      beginRemoveRows(parent, first, first + static_cast<int>(m_files.size()) - 1);
      m_files.clear();
      endRemoveRows();
    }
    m_folder = folder;
    std::vector<ByteNamedFile> files = ByteNamedFiles(folder);
    if (files.empty()) return;
    const QModelIndex parent = FolderIndex();
    const int first = SourceRows(parent);
    beginInsertRows(parent, first, first + static_cast<int>(files.size()) - 1);
    m_files = std::move(files);
    endInsertRows();
  }

  const ByteNamedFile* FileAt(const QModelIndex& index) const {
    if (!IsByteNamed(index)) return nullptr;
    return &m_files[static_cast<std::size_t>(index.row() - SourceRows(index.parent()))];
  }

  int rowCount(const QModelIndex& parent) const override {
    if (IsByteNamed(parent)) return 0;
    const int rows = QIdentityProxyModel::rowCount(parent);
    return IsFolder(parent) ? rows + static_cast<int>(m_files.size()) : rows;
  }
  bool hasChildren(const QModelIndex& parent) const override {
    return !IsByteNamed(parent) && QIdentityProxyModel::hasChildren(parent);
  }
  QModelIndex index(int row, int column, const QModelIndex& parent) const override {
    if (IsFolder(parent) && column >= 0 && column < columnCount(parent)) {
      const int sourceRows = SourceRows(parent);
      if (row >= sourceRows && row < sourceRows + static_cast<int>(m_files.size()))
        return createIndex(row, column, const_cast<WithByteNames*>(this));
    }
    return QIdentityProxyModel::index(row, column, parent);
  }
  QModelIndex parent(const QModelIndex& child) const override {
    return IsByteNamed(child) ? FolderIndex() : QIdentityProxyModel::parent(child);
  }
  QModelIndex sibling(int row, int column, const QModelIndex& index) const override {
    if (IsByteNamed(index)) return this->index(row, column, index.parent());
    return QIdentityProxyModel::sibling(row, column, index);
  }
  QModelIndex mapToSource(const QModelIndex& proxy) const override {
    return IsByteNamed(proxy) ? QModelIndex() : QIdentityProxyModel::mapToSource(proxy);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (IsByteNamed(index)) return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return QIdentityProxyModel::flags(index);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const ByteNamedFile* file = FileAt(index);
    return file ? DataOf(*file, index.column(), role) : QIdentityProxyModel::data(index, role);
  }

 private:
  bool IsByteNamed(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.internalPointer() == this;
  }
  QModelIndex FolderIndex() const {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    return files && !m_folder.isEmpty() ? mapFromSource(files->index(m_folder)) : QModelIndex();
  }
  bool IsFolder(const QModelIndex& parent) const {
    return !m_files.empty() && !IsByteNamed(parent) && parent == FolderIndex();
  }
  int SourceRows(const QModelIndex& parent) const { return QIdentityProxyModel::rowCount(parent); }

  QVariant DataOf(const ByteNamedFile& file, int column, int role) const {
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        if (column == 0) return file.shown;
        if (column == 1) return QLocale().formattedDataSize(file.size);
        if (column == 3) return QLocale().toString(file.modified, QLocale::ShortFormat);
        return QVariant();
      case Qt::DecorationRole:
        return column == 0 ? QVariant(m_icons.icon(QFileIconProvider::File)) : QVariant();
      case QFileSystemModel::FilePathRole:
        return file.path;
      case QFileSystemModel::FileNameRole:
        return file.shown;
      default:
        return QVariant();
    }
  }

  QString m_folder;
  std::vector<ByteNamedFile> m_files;
  QFileIconProvider m_icons;
};

OpenFileDialog::OpenFileDialog(QWidget* parent) : QFileDialog(parent), m_byteNames(new WithByteNames(this)) {
  setAcceptMode(QFileDialog::AcceptOpen);
  setProxyModel(m_byteNames);  // only the widget dialog takes it; the desktop's lists such files itself
  // Every change of folder, the user's or the program's, sets the model's root.
  if (auto* files = qobject_cast<QFileSystemModel*>(m_byteNames->sourceModel()))
    connect(files, &QFileSystemModel::rootPathChanged, this,
            [this](const QString& folder) { m_byteNames->ShowFolder(folder); });
  m_byteNames->ShowFolder(directory().absolutePath());
  // Qt's own handling takes such a row for a folder (it maps to no file of
  // its model): selecting one names it in the file name box, opening one
  // opens the file.
  for (auto* view : findChildren<QAbstractItemView*>()) {
    if (view->model() != m_byteNames) continue;
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OpenFileDialog::TakeByteNamedSelection);
  }
  if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    connect(name, &QLineEdit::textChanged, this, &OpenFileDialog::EnableOpenForByteName);
  connect(this, &QFileDialog::currentChanged, this, &OpenFileDialog::EnableOpenForByteName);
}

void OpenFileDialog::TakeByteNamedSelection() {
  auto* view = findChild<QAbstractItemView*>(QStringLiteral("listView"));
  auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (!view || !name) return;
  const QModelIndexList rows = view->selectionModel()->selectedRows();
  if (rows.size() == 1)
    if (const ByteNamedFile* file = m_byteNames->FileAt(rows.first())) name->setText(file->shown);
}

// Qt enables Open only for a name its model knows.
void OpenFileDialog::EnableOpenForByteName() {
  auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  QPushButton* open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
  const QStringList files = selectedFiles();
  if (open && files.size() == 1 && FileName::IsFile(FileName::FromDialog(files.first()))) open->setEnabled(true);
}

bool OpenFileDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* view = qobject_cast<QAbstractItemView*>(watched);
  if (!view) view = qobject_cast<QAbstractItemView*>(watched->parent());
  QModelIndex index;
  if (view && event->type() == QEvent::MouseButtonDblClick)
    index = view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
  if (view && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) index = view->currentIndex();
  }
  if (!m_byteNames->FileAt(index)) return QFileDialog::eventFilter(watched, event);
  TakeByteNamedSelection();
  accept();
  return true;
}

// A name that is there only by its bytes is taken here: the dialog's own
// check would look for it under its UTF-8 and call it missing.
void OpenFileDialog::accept() {
  const QStringList files = selectedFiles();
  if (files.size() == 1 && !QFileInfo::exists(files.first())) {
    const QString byBytes = FileName::FromDialog(files.first());
    if (FileName::HasRawBytes(byBytes) && FileName::IsFile(byBytes)) {
      m_byBytes = byBytes;
      QDialog::accept();
      return;
    }
  }
  QFileDialog::accept();
}

QString OpenFileDialog::ChosenPath() const {
  if (!m_byBytes.isEmpty()) return m_byBytes;
  // The desktop's own dialog, where it is used, may name such a file with
  // U+FFFD for its bytes.
  return FileName::FromDialog(selectedFiles().value(0));
}
