#include "JapaneseFileDialog.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QTreeView>

namespace platform {
namespace {

// Kinds in Japanese: folders, text files and the rest by their extension.
class JapaneseKinds : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("フォルダ");
    if (info.isSymLink() && !info.exists()) return QStringLiteral("リンク");
    QString suffix = info.suffix();
    if (QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).inherits(QStringLiteral("text/plain")))
      return suffix.isEmpty() ? QStringLiteral("テキスト") : suffix.toUpper() + QStringLiteral(" テキスト");
    return suffix.isEmpty() ? QStringLiteral("ファイル") : suffix.toUpper() + QStringLiteral(" ファイル");
  }
};

}  // namespace

void MakeJapaneseFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  static JapaneseKinds kinds;
  dialog.setIconProvider(&kinds);
  dialog.setViewMode(QFileDialog::Detail);
  dialog.resize(760, 460);
  // Name takes what is left; size, kind and date show whole.
  if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = files->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

}  // namespace platform
