#include "CCyclePopup.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "CCyclePopupDlg.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "CommandHost.h"
#include "CyclePopupMenu.h"
#include "DragScrollCursor.h"
#include "ModalSeam.h"
#include "PressedMouseButtons.h"

QPoint CCyclePopup::s_lastMovePoint{0, 0};
QPoint CCyclePopup::s_lastRightScrollPos{0, 0};

namespace {

constexpr QPoint kDragUnderWay{-100, -100};

int DistanceSquared(QPoint a, QPoint b) {
  QPoint d = a - b;
  return d.x() * d.x() + d.y() * d.y();
}

}  // namespace

CCyclePopup::CCyclePopup(CKb_zeva3View& view, ProfileFile& profile, CommandHost& host, QObject* parent)
    : QObject(parent), m_view(view), m_textArea(view.Control().viewport()), m_profile(profile), m_host(host) {
  LoadCyclePages();
  m_textArea->installEventFilter(this);
  m_releaseWatch.setInterval(kReleaseWatchMilliseconds);
  connect(&m_releaseWatch, &QTimer::timeout, this, &CCyclePopup::TakeReleaseNeverDelivered);
}

void CCyclePopup::LoadCyclePages() { m_cyclePages = CyclePages::Load(m_profile); }

void CCyclePopup::SaveCyclePages() { CyclePages::Save(m_profile, m_cyclePages); }

bool CCyclePopup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_textArea) return OnTextAreaEvent(event);
  // Every mouse event the open page gets carries the buttons down at that
  // moment, in the order the window system reported them.
  if (watched == m_openPage.data())
    if (auto* mouse = dynamic_cast<QMouseEvent*>(event)) {
      m_buttonsInPage = mouse->buttons();
      m_lastPagePointer = mouse->globalPosition().toPoint();
      m_lastPageEventTime = mouse->timestamp();
    }
  if (m_releasePending && qobject_cast<QWindow*>(watched)) return OnWindowEvent(event);
  return false;
}

// Returns true for what the text control must not see: its own context
// menu, the middle button (which would paste the selection), and moves
// during a drag (which would take the drag cursor away).
bool CCyclePopup::OnTextAreaEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ContextMenu:
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) m_view.SetCycleIndex(0);
      if (mouse->button() == Qt::RightButton || mouse->button() == Qt::MiddleButton)
        m_pressPoint = mouse->position().toPoint();
      return mouse->button() == Qt::MiddleButton;
    }
    case QEvent::MouseMove:
      OnMouseMove(*static_cast<QMouseEvent*>(event));
      return m_view.IsDragScrolling();
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::MiddleButton) {
        m_view.SetDragScrolling(false);
        m_view.Control().viewport()->unsetCursor();
        return true;
      }
      if (mouse->button() == Qt::RightButton) OnRightButtonUp(mouse->position().toPoint());
      return false;
    }
    default:
      return false;
  }
}

void CCyclePopup::OnMouseMove(const QMouseEvent& event) {
  QPoint p = event.position().toPoint();
  if (event.buttons() & (Qt::RightButton | Qt::MiddleButton)) {
    QPoint delta = p - s_lastMovePoint;
    if (DistanceSquared(m_pressPoint, p) > kDragDistanceSquared) {
      m_view.SetDragScrolling(true);
      m_pressPoint = kDragUnderWay;
      m_view.SetCycleIndex(0);
      m_view.Control().viewport()->setCursor(DragScrollCursor::Cursor());
      ScrollByDrag(delta);
    }
  }
  s_lastMovePoint = p;
}

// Vertical moves scroll a line a pixel; sideways moves scroll eight steps,
// to the right only while the pointer keeps going further right.
void CCyclePopup::ScrollByDrag(QPoint delta) {
  EditorControl& control = m_view.Control();
  if (std::abs(delta.y()) >= std::abs(delta.x())) {
    if (control.verticalScrollBar()->maximum() != 0)
      control.SendScintilla(QsciScintillaBase::SCI_LINESCROLL, 0L, static_cast<long>(delta.y()));
    return;
  }
  QScrollBar* horizontal = control.horizontalScrollBar();
  if (delta.x() > 0) {
    QPoint cursor = QCursor::pos();
    if (s_lastRightScrollPos.x() < cursor.x() && horizontal->maximum() != 0)
      for (int step = 0; step < kHorizontalScrollSteps; ++step)
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    s_lastRightScrollPos = cursor;
  } else {
    for (int step = 0; step < kHorizontalScrollSteps; ++step)
      horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
  }
}

void CCyclePopup::OnRightButtonUp(QPoint at) {
  if (m_view.IsDragScrolling()) {
    m_view.SetDragScrolling(false);
    m_view.Control().viewport()->unsetCursor();
    return;
  }
  if (m_openPage && m_openPage->isVisible()) return;  // the window system never sends this
  if (m_view.CycleIndex() >= kPageCount) {
    m_view.SetCycleIndex(0);  // the press that closed the last page ends the cycle
    return;
  }
  LoadCyclePages();
  ShowPage(m_view.CycleIndex(), at);
}

// The page opens beside the pointer, measured from the control's outer
// corner as the window rectangle is, and stays open after this returns.
void CCyclePopup::ShowPage(int index, QPoint at) {
  QMenu* menu = PageMenu(index);
  m_openPage = menu;
  m_buttonsInPage = Qt::NoButton;  // opened by a release: nothing is down
  menu->popup(m_view.Control().mapToGlobal(QPoint(0, 0)) + at + kPopupOffset);
}

// Building a menu and its window costs far more than showing it again, so
// each page keeps its menu while its text in the settings stays the same;
// check marks, enabled items and the recent files are brought up to date
// at every show all the same.
QMenu* CCyclePopup::PageMenu(int index) {
  const std::string& page = m_cyclePages[static_cast<std::size_t>(index)];
  BuiltPage& built = m_builtPages[static_cast<std::size_t>(index)];
  if (built.menu && built.page == page) {
    m_host.PrepareMenu(built.menu);
    return built.menu;
  }
  if (built.menu) built.menu->deleteLater();
  QMenu* menu = CyclePopupMenu::Build(page, m_host);
  menu->installEventFilter(this);
  connect(menu, &QMenu::aboutToHide, this, &CCyclePopup::OnPageClosed);
  // The press that closes a page is never handed on: its release alone
  // shows the next page, on every platform alike.
  menu->setAttribute(Qt::WA_NoMouseReplay);
  built = {page, menu};
  return menu;
}

// Runs while the event that closes the page is being handled, so the
// buttons of the last mouse event the page received are the buttons down
// at the moment it closed: a right press outside the page closes it with
// the right button down; a choice (made on the release), Escape or a left
// press close it without.
void CCyclePopup::OnPageClosed() {
  if (m_buttonsInPage & Qt::RightButton) {
    m_view.SetCycleIndex(m_view.CycleIndex() + 1);
    AwaitReleaseOfClosingPress();
  } else {
    m_view.SetCycleIndex(0);
  }
  m_buttonsInPage = Qt::NoButton;
}

// The press that closed the page went to the page, so the text area never
// saw it, and Qt drops a release whose press it did not deliver. And when
// press and release come close together, the window system may hand the
// release to the closed page's window, which still held the pointer. So the release is taken from the event stream of every
// window, until some press comes first; the closed page keeps its window
// (pages are kept for the next show).
void CCyclePopup::AwaitReleaseOfClosingPress() {
  m_pressPoint = m_view.Control().viewport()->mapFromGlobal(m_lastPagePointer);
  m_releasePending = true;
  qApp->installEventFilter(this);
  m_releaseWatch.start();
}

void CCyclePopup::StopAwaitingRelease() {
  m_releasePending = false;
  m_releaseWatch.stop();
  qApp->removeEventFilter(this);
}

// A press and release close together (a touchpad tap) may leave the
// release with the closed page's window, where it is never delivered: once
// the window system has the button up, the release has happened.
void CCyclePopup::TakeReleaseNeverDelivered() {
  if (!m_releasePending || platform::PressedMouseButtons() & Qt::RightButton) return;
  StopAwaitingRelease();
  ReleasedAt(QCursor::pos());
}

void CCyclePopup::ReleasedAt(QPoint global) {
  QWidget* textArea = m_view.Control().viewport();
  QPoint at = textArea->mapFromGlobal(global);
  if (textArea->rect().contains(at)) OnRightButtonUp(at);
}

bool CCyclePopup::OnWindowEvent(QEvent* event) {
  if (!m_releasePending) return false;
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    // The press that closed the page may come again, handed on to the
    // window under the pointer: only a press of its own is a new one.
    if (static_cast<QMouseEvent*>(event)->timestamp() != m_lastPageEventTime)
      StopAwaitingRelease();  // a new press: its release follows it as usual
    return false;
  }
  auto* mouse = event->type() == QEvent::MouseButtonRelease ? static_cast<QMouseEvent*>(event) : nullptr;
  if (!mouse || mouse->button() != Qt::RightButton) return false;
  StopAwaitingRelease();
  ReleasedAt(mouse->globalPosition().toPoint());
  return true;
}

bool CCyclePopup::HandlesCommand(int id) const { return id == ids::kCycleMenuSettings; }

void CCyclePopup::OnCommand(int id) {
  if (id == ids::kCycleMenuSettings) OnCycleMenuSettings();
}

// The dialog edits the pages as they were last read (at start or at the
// last right-click), not as the settings file has them now.
void CCyclePopup::OnCycleMenuSettings() {
  CCyclePopupDlg dialog(m_cyclePages, m_host.HostWindow());
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  m_cyclePages = dialog.m_pages;
  SaveCyclePages();
}
