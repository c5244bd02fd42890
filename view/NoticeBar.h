#pragma once

// A bar above the text that tells the user something about the shown
// document without stopping the work: hidden until there is something to
// say, closed by its button or by the next document.

#include <QFrame>

class QLabel;

class NoticeBar : public QFrame {
  Q_OBJECT

 public:
  explicit NoticeBar(QWidget* parent = nullptr);

  void ShowText(const QString& text);
  void Clear();
  // The text shown, empty while the bar is hidden.
  QString Text() const;

 private:
  QLabel* m_label;
};
