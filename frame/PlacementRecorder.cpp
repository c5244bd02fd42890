#include "PlacementRecorder.h"

#include <QEvent>
#include <QWindowStateChangeEvent>
#include <QWidget>

#include "ProfileFile.h"
#include "WindowPlacement.h"

PlacementRecorder::PlacementRecorder(QWidget& window, ProfileFile& profile)
    : QObject(&window), m_window(window), m_profile(profile) {
  m_settle.setSingleShot(true);
  m_settle.setInterval(kSettleMilliseconds);
  connect(&m_settle, &QTimer::timeout, this, &PlacementRecorder::Write);
  window.installEventFilter(this);
}

bool PlacementRecorder::ShownInNormalState() const { return m_window.isVisible() && InNormalState(m_window); }

bool PlacementRecorder::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &m_window) return false;
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
      if (!ShownInNormalState()) break;
      (event->type() == QEvent::Move ? m_moved : m_resized) = true;
      // Until a restore has settled the frame may still be the maximised one.
      if (!m_restoring) NoteNormalFrame();
      m_settle.start();
      break;
    case QEvent::WindowStateChange:
      // What moved on the way out of the normal state is not a placement.
      if (!ShownInNormalState()) {
        m_settle.stop();
        m_moved = m_resized = false;
      }
      m_restoring = ShownInNormalState() && static_cast<QWindowStateChangeEvent*>(event)->oldState() != Qt::WindowNoState;
      break;
    default:
      break;
  }
  return false;
}

namespace {

QMargins FrameMargins(const QWidget& window) {
  QRect outer = window.frameGeometry();
  QRect inner = window.geometry();
  return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                  outer.bottom() - inner.bottom());
}

}  // namespace

void PlacementRecorder::NoteNormalFrame() {
  m_normalFrame = FrameMargins(m_window);
  m_normalFrameKnown = true;
}

QMargins PlacementRecorder::NormalFrameMargins() const {
  if (!m_normalFrameKnown || (ShownInNormalState() && !m_restoring)) return FrameMargins(m_window);
  return m_normalFrame;
}

void PlacementRecorder::Flush() {
  if (m_settle.isActive()) Write();
}

// The size is the window's own (without the frame), which is what the
// window is given back at the next start; the position is the frame's.
void PlacementRecorder::Write() {
  m_settle.stop();
  if (ShownInNormalState()) {
    m_restoring = false;
    NoteNormalFrame();
    if (m_moved) {
      m_profile.WriteProfileInt("Position", "PosX", m_window.frameGeometry().x());
      m_profile.WriteProfileInt("Position", "PosY", m_window.frameGeometry().y());
    }
    if (m_resized) {
      m_profile.WriteProfileInt("Size", "SizeX", m_window.width());
      m_profile.WriteProfileInt("Size", "SizeY", m_window.height());
    }
  }
  m_moved = m_resized = false;
}
