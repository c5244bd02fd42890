#pragma once

// A bar above the text that tells the user something about the shown
// document without stopping the work: hidden until there is something to
// say, closed by its button or by the next document.

#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;

class NoticeBar : public QFrame {
  Q_OBJECT

 public:
  explicit NoticeBar(QWidget* parent = nullptr);

  void ShowText(const QString& text);
  // The text with a button beside it: pressing it closes the bar, then
  // calls `act`.
  void ShowOffer(const QString& text, const QString& actionText, const std::function<void()>& act);
  void Clear();
  // The offer's button, hidden while there is none.
  QPushButton* ActionButton() const { return m_action; }
  // The text shown, empty while the bar is hidden.
  QString Text() const;

 private:
  QLabel* m_label;
  QPushButton* m_action;
  std::function<void()> m_act;
};
