#include "VersionDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "DialogKeyboard.h"
#include "Resources.h"

VersionDialog::VersionDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("VersionDialog"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setFont(QFont(QStringLiteral("ＭＳ ゴシック")));
  auto* icon = new QLabel;
  // The program's icon, once the main window has set it for the application,
  // and below it the icon of its documents.
  QIcon programIcon = QApplication::windowIcon();
  icon->setPixmap((programIcon.isNull() ? style()->standardIcon(QStyle::SP_FileIcon) : programIcon).pixmap(32, 32));
  auto* documentIcon = new QLabel;
  res::InitResources();
  documentIcon->setPixmap(QIcon(QStringLiteral(":/icons/png/32/kb_zeva3-doc1.png")).pixmap(32, 32));
  auto* icons = new QVBoxLayout;
  icons->addWidget(icon);
  icons->addWidget(documentIcon);
  icons->addStretch(1);
  auto* text = new QLabel(Text());
  text->setTextFormat(Qt::PlainText);
  auto* ok = new QPushButton(QStringLiteral("オッケー！！"));
  platform::MarkDefaultAndCancel(ok, nullptr);
  icon->setAccessibleName(QStringLiteral("プログラムのアイコン"));
  documentIcon->setAccessibleName(QStringLiteral("文書のアイコン"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* top = new QHBoxLayout;
  top->addLayout(icons);
  top->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

QString VersionDialog::Text() {
  return QStringLiteral("Kaboma Edit\nVer3.00 1999.10.17\n\nLinux 版 (Qt %1)").arg(QString::fromLatin1(qVersion()));
}
