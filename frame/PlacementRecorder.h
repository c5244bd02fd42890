#pragma once

// Writes the main window's placement to the settings whenever the user
// moves or resizes it in the normal state, once the window has settled.
//
// A window manager reports the move of a restore before it has put the
// normal frame back, so the frame geometry at that moment still has the
// maximised decorations (a pixel or a whole title bar off, more at every
// maximise and restore). The placement is therefore read a moment after
// the last move or resize, only if the window is still in the normal state
// then, and at the latest when the window closes.

#include <QMargins>
#include <QObject>
#include <QTimer>

class ProfileFile;
class QWidget;

class PlacementRecorder : public QObject {
 public:
  static constexpr int kSettleMilliseconds = 300;

  PlacementRecorder(QWidget& window, ProfileFile& profile);

  // Writes what is still waiting now (the window is about to close).
  void Flush();

  // The window manager's frame around the window as it was last seen
  // settled in the normal state (now, when the window is in it).
  QMargins NormalFrameMargins() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ShownInNormalState() const;
  void NoteNormalFrame();
  void Write();

  QWidget& m_window;
  ProfileFile& m_profile;
  QTimer m_settle;
  QMargins m_normalFrame;
  bool m_normalFrameKnown = false;
  // Back in the normal state, not yet settled there.
  bool m_restoring = false;
  bool m_moved = false;
  bool m_resized = false;
};
