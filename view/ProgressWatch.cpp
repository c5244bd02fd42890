#include "ProgressWatch.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ModalSeam.h"
#include "Strings.h"
#include "DialogKeyboard.h"
#include "UiText.h"

namespace {

int showAfterMs = -1;

// The bar's steps: a total of any size is shown in thousandths.
constexpr int kBarSteps = 1000;

}  // namespace

ProgressWatch::ProgressWatch(QWidget* owner, const QString& text) : m_owner(owner), m_text(text) {
  m_started.start();
}

ProgressWatch::~ProgressWatch() { delete m_window; }

void ProgressWatch::SetShowAfterForTesting(int milliseconds) { showAfterMs = milliseconds; }

void ProgressWatch::SetTotal(qint64 total) {
  m_total = total;
  ShowProgress();
}

void ProgressWatch::SetText(const QString& text) {
  m_text = text;
  if (m_label) m_label->setText(text);
}

bool ProgressWatch::Advance(qint64 done) {
  m_done = done;
  if (m_cancelled) return false;
  if (!m_window) {
    if (m_started.elapsed() < (showAfterMs >= 0 ? showAfterMs : kShowAfterMs)) return true;
    ShowWindow();
  } else if (m_lastEvents.elapsed() < kEventsEveryMs) {
    return true;
  }
  ShowProgress();
  // The window repaints and takes the Escape; every other window is
  // blocked by its modality.
  QCoreApplication::processEvents();
  m_lastEvents.start();
  return !m_cancelled;
}

void ProgressWatch::ShowWindow() {
  auto* window = new QDialog(m_owner);
  m_window = window;
  window->setObjectName(QStringLiteral("progress"));
  window->setWindowTitle(T(strings::kAppName));
  window->setWindowModality(Qt::ApplicationModal);
  m_label = new QLabel(m_text, window);
  m_bar = new QProgressBar(window);
  m_bar->setTextVisible(false);
  auto* stop = new QPushButton(T("中止"), window);
  stop->setObjectName(QStringLiteral("cancel"));
  // Escape and the window's close button reject the dialog, as the button does.
  QObject::connect(stop, &QPushButton::clicked, window, &QDialog::reject);
  platform::MarkDefaultAndCancel(nullptr, stop);
  m_bar->setAccessibleName(T("進み具合"));
  QObject::connect(window, &QDialog::rejected, window, [this] { m_cancelled = true; });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(stop);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(m_label);
  layout->addWidget(m_bar);
  layout->addLayout(buttons);
  window->setMinimumWidth(320);
  ShowProgress();
  platform::ShowProgressWindow(*window);
  m_lastEvents.start();
}

void ProgressWatch::ShowProgress() {
  if (!m_bar) return;
  if (m_total <= 0) {
    m_bar->setRange(0, 0);  // busy
    return;
  }
  m_bar->setRange(0, kBarSteps);
  m_bar->setValue(static_cast<int>(std::clamp<qint64>(m_done * kBarSteps / m_total, 0, kBarSteps)));
}
