#pragma once

// The editor view's right-click menu and button-drag scrolling. Installed
// on the view's text area by the main window, it takes the view's right,
// middle and left button and mouse-move messages first:
//
// - a right-button release shows page m_cycleIndex + 1 of the four pages
//   (read from the settings at every release), owned by the main window;
// - the page advances when the right button is down at the moment the open
//   page closes (a right press outside it), otherwise the cycle restarts;
// - moving more than 10 pixels with the right or middle button down scrolls
//   instead, and the release that ends such a drag shows nothing.
//
// It also answers for the view to the cycle popup settings command.

#include <array>
#include <string>

#include <QPoint>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <QObject>

#include "CommandTarget.h"
#include "CyclePages.h"

class CKb_zeva3View;
class CommandHost;
class ProfileFile;
class QMouseEvent;

class CCyclePopup : public QObject, public CommandTarget {
  Q_OBJECT

 public:
  static constexpr int kPageCount = CyclePages::kPageCount;
  // A move must be further than this from the press to start a drag.
  static constexpr int kDragDistanceSquared = 100;
  static constexpr int kHorizontalScrollSteps = 8;
  static constexpr QPoint kPopupOffset{5, 5};
  // How often the window system is asked whether a release went astray.
  static constexpr int kReleaseWatchMilliseconds = 40;

  CCyclePopup(CKb_zeva3View& view, ProfileFile& profile, CommandHost& host, QObject* parent = nullptr);

  void LoadCyclePages();
  void SaveCyclePages();

  // The page on screen, while one is.
  QMenu* OpenPage() const { return m_openPage && m_openPage->isVisible() ? m_openPage.data() : nullptr; }

  // CommandTarget: the cycle popup settings.
  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;

  PageStrings m_cyclePages;
  // Where the last right or middle press was, in the text area; far away
  // once a drag has started, so that every later move scrolls.
  QPoint m_pressPoint{0, 0};

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool OnTextAreaEvent(QEvent* event);
  void OnMouseMove(const QMouseEvent& event);
  void ScrollByDrag(QPoint delta);
  void OnRightButtonUp(QPoint at);
  void ShowPage(int index, QPoint at);
  QMenu* PageMenu(int index);
  void OnPageClosed();
  void OnCycleMenuSettings();
  void AwaitReleaseOfClosingPress();
  void StopAwaitingRelease();
  void TakeReleaseNeverDelivered();
  void ReleasedAt(QPoint global);
  bool OnWindowEvent(QEvent* event);

  CKb_zeva3View& m_view;
  // The view's text area, recognised without asking the view: the view
  // dies before this filter (both belong to the main window), and its
  // text area still sends events while it is destroyed.
  QPointer<QWidget> m_textArea;
  ProfileFile& m_profile;
  CommandHost& m_host;
  QPointer<QMenu> m_openPage;
  // The buttons and place of the last mouse event the open page received.
  Qt::MouseButtons m_buttonsInPage;
  QPoint m_lastPagePointer;
  quint64 m_lastPageEventTime = 0;
  // A page closed by a right press; its release is still to come.
  bool m_releasePending = false;
  QTimer m_releaseWatch;
  // Each page's menu, with the page text it was built from.
  struct BuiltPage {
    std::string page;
    QPointer<QMenu> menu;
  };
  std::array<BuiltPage, kPageCount> m_builtPages;

  // Shared by every view of the process, as the pointer is.
  static QPoint s_lastMovePoint;
  static QPoint s_lastRightScrollPos;
};
