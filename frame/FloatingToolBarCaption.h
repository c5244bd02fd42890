#pragma once

// A tool bar dragged off the window floats with a caption of its own (its
// window title, "Kaboma Edit 3") and a close button, as a floating bar does
// on the desktops users know. Qt floats tool bars without any frame; once
// each drag has ended, the bar's window is given the window manager's frame.

#include <QObject>

class QToolBar;

class FloatingToolBarCaption : public QObject {
 public:
  explicit FloatingToolBarCaption(QToolBar& bar);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void GiveCaption();

  QToolBar& m_bar;
};
