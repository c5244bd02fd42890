#include "CPrintPreviewDlg.h"

#include <QGuiApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <climits>

#include "EditorControl.h"
#include "PageBreaks.h"
#include "DialogKeyboard.h"
#include "PreviewCanvas.h"
#include "TextPrinter.h"
#include "UiText.h"

namespace {

constexpr const char* kOnePage = "1 ページ(&O)";
constexpr const char* kTwoPages = "2 ページ(&T)";

constexpr double kZoomStep = 1.25;
// The largest scale: 1.5 times the paper's size on a screen of 96 dots an
// inch (an A4 sheet then takes about 12 MB).
constexpr double kLargestScreenScale = 1.5 * 96;

}  // namespace

CPrintPreviewDlg::CPrintPreviewDlg(const EditorControl& control, const SheetLayout& sheets, int pagesShown,
                                   QWidget* parent)
    : QDialog(parent), m_control(control), m_sheets(sheets),
      m_breaks(std::make_unique<PageBreaks>(control, m_sheets)), m_scroll(new QScrollArea(this)),
      m_pagesShown(pagesShown == 2 ? 2 : 1) {
  m_opened.start();
  setObjectName(QStringLiteral("printPreview"));
  setWindowTitle(T("印刷プレビュー"));
  m_canvas = new PreviewCanvas(m_sheets.SheetSize(), [this](int sheet, double scale) { return SheetImage(sheet + 1, scale); });
  m_scroll->setWidget(m_canvas);
  m_scroll->setAlignment(Qt::AlignCenter);
  m_scroll->setBackgroundRole(QPalette::Dark);
  m_scroll->viewport()->installEventFilter(this);
  m_bar = new QHBoxLayout;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(m_bar);
  layout->addWidget(m_scroll, 1);
  connect(AddButton("印刷(&P)...", "print"), &QPushButton::clicked, this, [this] { done(kPrintChosen); });
  m_nextButton = AddButton("次ページ(&N)", "next");
  connect(m_nextButton, &QPushButton::clicked, this, &CPrintPreviewDlg::NextPage);
  m_previousButton = AddButton("前ページ(&V)", "previous");
  connect(m_previousButton, &QPushButton::clicked, this, &CPrintPreviewDlg::PreviousPage);
  m_pagesButton = AddButton(kTwoPages, "pages");
  connect(m_pagesButton, &QPushButton::clicked, this, &CPrintPreviewDlg::TogglePagesShown);
  connect(AddButton("拡大(&I)", "zoomIn"), &QPushButton::clicked, this, &CPrintPreviewDlg::ZoomIn);
  connect(AddButton("縮小(&U)", "zoomOut"), &QPushButton::clicked, this, &CPrintPreviewDlg::ZoomOut);
  QPushButton* close = AddButton("閉じる(&C)", "close");
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  platform::MarkDefaultAndCancel(nullptr, close);
  m_canvas->setAccessibleName(T("印刷プレビュー"));
  m_pageLabel = new QLabel(this);
  m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
  m_bar->addWidget(m_pageLabel);
  m_counting = new QProgressBar(this);
  m_counting->setObjectName(QStringLiteral("counting"));
  m_counting->setRange(0, 1000);
  m_counting->setFormat(T("ページを数えています %p%"));
  m_counting->setMaximumWidth(220);
  m_counting->hide();
  m_bar->addWidget(m_counting);
  m_bar->addStretch(1);
  // Shortcuts, so the keys turn pages wherever the focus is (the page view
  // would scroll with them).
  connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this, &CPrintPreviewDlg::NextPage);
  connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this, &CPrintPreviewDlg::PreviousPage);

  // The first page now; the rest between the user's events once it is on
  // the screen.
  m_breaks->FindUntil(1);
  m_countTimer.setInterval(0);
  connect(&m_countTimer, &QTimer::timeout, this, &CPrintPreviewDlg::CountSlice);
  connect(m_canvas, &PreviewCanvas::Painted, this, [this] {
    if (!m_breaks->Complete() && !m_countTimer.isActive()) m_countTimer.start();
  });
  // Tall enough for a whole page, never taller than the screen.
  QSize size(800, 900);
  if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
  resize(size);
  ShowPages();
}

CPrintPreviewDlg::~CPrintPreviewDlg() = default;

QPushButton* CPrintPreviewDlg::AddButton(const char* text, const char* name) {
  auto* button = new QPushButton(T(text), this);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  m_bar->addWidget(button);
  return button;
}

int CPrintPreviewDlg::PageCount() const { return m_sheets.SheetsFor(m_breaks->Known()); }
bool CPrintPreviewDlg::Counted() const { return m_breaks->Complete(); }

void CPrintPreviewDlg::FinishCounting() {
  m_breaks->FindUntil(INT_MAX);
  CountSlice();
}

void CPrintPreviewDlg::CountSlice() {
  m_breaks->FindFor(kCountingSliceMs);
  if (m_breaks->Complete()) m_countTimer.stop();
  UpdateBar();
}

// Sheet `sheet` (from 1) has at least one page: found now when the
// background count has not come so far.
bool CPrintPreviewDlg::SheetExists(int sheet) {
  const int firstPage = (sheet - 1) * m_sheets.PagesPerSheet() + 1;
  m_breaks->FindUntil(firstPage);
  return sheet >= 1 && m_breaks->Known() >= firstPage;
}

QImage CPrintPreviewDlg::SheetImage(int sheet, double scale) const {
  const QSize size(qMax(1, qRound(m_sheets.SheetSize().width() * scale)),
                   qMax(1, qRound(m_sheets.SheetSize().height() * scale)));
  QImage image(size, QImage::Format_RGB32);
  // Fonts measure at the printer's resolution, as on paper; the painter
  // only draws smaller.
  const int dotsPerMeter = qRound(m_sheets.Resolution() / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  const TextPrinter printer(m_control, m_sheets);
  const int perSheet = m_sheets.PagesPerSheet();
  for (int slot = 0; slot < perSheet; ++slot) {
    const int page = (sheet - 1) * perSheet + slot;
    m_breaks->FindUntil(page + 1);
    if (page >= m_breaks->Known()) break;
    printer.Page(painter, slot, m_breaks->Start(page), true);
  }
  return image;
}

// Two pages side by side step two at a time, from an odd page.
void CPrintPreviewDlg::NextPage() {
  if (!SheetExists(m_current + m_pagesShown)) return;
  m_current += m_pagesShown;
  ShowPages();
}

void CPrintPreviewDlg::PreviousPage() {
  m_current = qMax(1, m_current - m_pagesShown);
  ShowPages();
}

void CPrintPreviewDlg::TogglePagesShown() {
  m_pagesShown = m_pagesShown == 1 ? 2 : 1;
  if (m_pagesShown == 2 && m_current % 2 == 0) --m_current;
  m_fitted = true;
  ShowPages();
}

void CPrintPreviewDlg::ZoomIn() {
  m_fitted = false;
  m_canvas->SetScale(qMin(m_canvas->Scale() * kZoomStep, kLargestScreenScale / m_sheets.Resolution()));
}

void CPrintPreviewDlg::ZoomOut() {
  m_fitted = false;
  m_canvas->SetScale(m_canvas->Scale() / kZoomStep);
}

void CPrintPreviewDlg::FitToWindow() {
  if (m_fitted) m_canvas->SetScale(m_canvas->FitScale(m_scroll->viewport()->size(), m_pagesShown));
}

// The paper fits the room the scroll area has once it is laid out.
bool CPrintPreviewDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) FitToWindow();
  return QDialog::eventFilter(watched, event);
}

void CPrintPreviewDlg::ShowPages() {
  m_canvas->ShowSheets(m_current - 1, m_pagesShown, m_pagesShown == 2 && SheetExists(m_current + 1));
  FitToWindow();
  UpdateBar();
}

void CPrintPreviewDlg::UpdateBar() {
  m_pagesButton->setText(T(m_pagesShown == 2 ? kOnePage : kTwoPages));
  const int sheets = PageCount();
  const bool counted = m_breaks->Complete();
  m_nextButton->setEnabled(!counted || m_current + m_pagesShown <= sheets);
  m_previousButton->setEnabled(m_current > 1);
  m_pageLabel->setText(counted ? QStringLiteral("%1 / %2 ページ").arg(m_current).arg(sheets)
                               : QStringLiteral("%1 / ? ページ").arg(m_current));
  const long length = qMax(1L, m_breaks->TextLength());
  m_counting->setValue(static_cast<int>(qint64(m_breaks->Reached()) * 1000 / length));
  m_counting->setVisible(!counted && m_opened.elapsed() >= kShowCountingAfterMs);
}
