#pragma once

// The progress of a long command and the user's way to stop it. The command
// runs on the interface thread and reports as it goes:
//
//   ProgressWatch progress(window(), T("印刷しています..."));
//   progress.SetTotal(control.TextLength());   // a bar; without it a busy bar
//   while (more work) {
//     ... one step of a few milliseconds ...
//     if (!progress.Advance(done)) break;      // the user stopped it
//   }
//   if (progress.Cancelled()) ... undo or drop what was done ...
//
// A command that ends within half a second shows nothing. Past that a small
// modal window over the owner shows the text, a bar and a "中止" button;
// the button or Escape stops the command: Advance answers false from then
// on. While the window shows, the program repaints and takes input only in
// that window; before it shows, no event at all is handled, so nothing can
// run a command in the middle of this one. The window closes when the
// watch is destroyed.

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

class ProgressWatch {
 public:
  static constexpr int kShowAfterMs = 500;
  // How often, at most, the window's events are handled while it shows.
  static constexpr int kEventsEveryMs = 30;

  ProgressWatch(QWidget* owner, const QString& text);
  ~ProgressWatch();
  ProgressWatch(const ProgressWatch&) = delete;
  ProgressWatch& operator=(const ProgressWatch&) = delete;

  // What the bar counts to; 0 (the start) for a busy bar.
  void SetTotal(qint64 total);
  void SetText(const QString& text);
  // Where the command is now; false once the user has stopped it.
  bool Advance(qint64 done);
  bool Cancelled() const { return m_cancelled; }

  // The window, once shown (tests press its keys).
  QDialog* Window() const { return m_window; }

  // Tests: the delay before the window shows (kShowAfterMs when < 0).
  static void SetShowAfterForTesting(int milliseconds);

 private:
  void ShowWindow();
  void ShowProgress();

  QWidget* m_owner;
  QString m_text;
  qint64 m_total = 0;
  qint64 m_done = 0;
  bool m_cancelled = false;
  QElapsedTimer m_started;
  QElapsedTimer m_lastEvents;
  QPointer<QDialog> m_window;
  QLabel* m_label = nullptr;
  QProgressBar* m_bar = nullptr;
};
