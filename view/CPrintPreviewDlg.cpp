#include "CPrintPreviewDlg.h"
#include "DialogKeyboard.h"
#include "UiText.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr const char* kOnePage = "1 ページ(&O)";
constexpr const char* kTwoPages = "2 ページ(&T)";

}  // namespace

CPrintPreviewDlg::CPrintPreviewDlg(QPrinter& printer, std::function<void(QPrinter&)> paint, int pagesShown,
                                   QWidget* parent)
    : QDialog(parent), m_preview(new QPrintPreviewWidget(&printer, this)), m_pagesShown(pagesShown == 2 ? 2 : 1) {
  setObjectName(QStringLiteral("printPreview"));
  setWindowTitle(T("印刷プレビュー"));
  m_bar = new QHBoxLayout;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(m_bar);
  layout->addWidget(m_preview, 1);
  connect(AddButton("印刷(&P)...", "print"), &QPushButton::clicked, this, [this] { done(kPrintChosen); });
  m_nextButton = AddButton("次ページ(&N)", "next");
  connect(m_nextButton, &QPushButton::clicked, this, &CPrintPreviewDlg::NextPage);
  m_previousButton = AddButton("前ページ(&V)", "previous");
  connect(m_previousButton, &QPushButton::clicked, this, &CPrintPreviewDlg::PreviousPage);
  m_pagesButton = AddButton(kTwoPages, "pages");
  connect(m_pagesButton, &QPushButton::clicked, this, &CPrintPreviewDlg::TogglePagesShown);
  connect(AddButton("拡大(&I)", "zoomIn"), &QPushButton::clicked, m_preview, [this] { m_preview->zoomIn(); });
  connect(AddButton("縮小(&U)", "zoomOut"), &QPushButton::clicked, m_preview, [this] { m_preview->zoomOut(); });
  QPushButton* close = AddButton("閉じる(&C)", "close");
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  platform::MarkDefaultAndCancel(nullptr, close);
  m_preview->setAccessibleName(T("印刷プレビュー"));
  m_pageLabel = new QLabel(this);
  m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
  m_bar->addWidget(m_pageLabel);
  m_bar->addStretch(1);
  // Shortcuts, so the keys turn pages wherever the focus is (the page view
  // would scroll with them).
  connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this, &CPrintPreviewDlg::NextPage);
  connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this, &CPrintPreviewDlg::PreviousPage);

  connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [paint](QPrinter* target) { paint(*target); });
  connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &CPrintPreviewDlg::UpdateBar);
  ShowPages();
  // Laid out now, so the page count is known before the dialog is shown.
  m_preview->updatePreview();
  // Tall enough for a whole page, never taller than the screen.
  QSize size(800, 900);
  if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
  resize(size);
}

QPushButton* CPrintPreviewDlg::AddButton(const char* text, const char* name) {
  auto* button = new QPushButton(T(text), this);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  m_bar->addWidget(button);
  return button;
}

int CPrintPreviewDlg::PageCount() const { return m_preview->pageCount(); }
int CPrintPreviewDlg::CurrentPage() const { return m_preview->currentPage(); }

// Two pages side by side step two at a time.
void CPrintPreviewDlg::NextPage() {
  m_preview->setCurrentPage(qMin(CurrentPage() + m_pagesShown, PageCount()));
  UpdateBar();
}

void CPrintPreviewDlg::PreviousPage() {
  m_preview->setCurrentPage(qMax(CurrentPage() - m_pagesShown, 1));
  UpdateBar();
}

void CPrintPreviewDlg::TogglePagesShown() {
  m_pagesShown = m_pagesShown == 1 ? 2 : 1;
  ShowPages();
}

void CPrintPreviewDlg::ShowPages() {
  m_preview->setViewMode(m_pagesShown == 2 ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
  m_preview->fitInView();
  UpdateBar();
}

void CPrintPreviewDlg::UpdateBar() {
  m_pagesButton->setText(T(m_pagesShown == 2 ? kOnePage : kTwoPages));
  m_nextButton->setEnabled(CurrentPage() < PageCount());
  m_previousButton->setEnabled(CurrentPage() > 1);
  m_pageLabel->setText(QStringLiteral("%1 / %2 ページ").arg(CurrentPage()).arg(PageCount()));
}
