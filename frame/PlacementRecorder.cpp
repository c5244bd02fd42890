#include "PlacementRecorder.h"

#include <QEvent>
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
      m_settle.start();
      break;
    case QEvent::WindowStateChange:
      // What moved on the way out of the normal state is not a placement.
      if (!ShownInNormalState()) {
        m_settle.stop();
        m_moved = m_resized = false;
      }
      break;
    default:
      break;
  }
  return false;
}

void PlacementRecorder::Flush() {
  if (m_settle.isActive()) Write();
}

// The size is the window's own (without the frame), which is what the
// window is given back at the next start; the position is the frame's.
void PlacementRecorder::Write() {
  m_settle.stop();
  if (ShownInNormalState()) {
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
