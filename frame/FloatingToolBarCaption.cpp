#include "FloatingToolBarCaption.h"

#include <QEvent>
#include <QTimer>
#include <QToolBar>

FloatingToolBarCaption::FloatingToolBarCaption(QToolBar& bar) : QObject(&bar), m_bar(bar) {
  bar.installEventFilter(this);
  connect(&bar, &QToolBar::topLevelChanged, this, [this](bool floating) {
    if (floating) QTimer::singleShot(0, this, &FloatingToolBarCaption::GiveCaption);
  });
}

// A drag of the bar's handle ends with a release; Qt makes the floating bar
// frameless again at each drag, so the frame is given back after each.
bool FloatingToolBarCaption::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_bar && event->type() == QEvent::MouseButtonRelease && m_bar.isFloating())
    QTimer::singleShot(0, this, &FloatingToolBarCaption::GiveCaption);
  return false;
}

void FloatingToolBarCaption::GiveCaption() {
  if (!m_bar.isFloating() || !(m_bar.windowFlags() & Qt::FramelessWindowHint)) return;
  const QRect placed = m_bar.geometry();
  m_bar.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  m_bar.setGeometry(placed);
  m_bar.show();
}
