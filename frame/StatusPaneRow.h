#pragma once

#include <QList>
#include <QWidget>

class QLabel;

// The status bar's fixed panes, side by side at their own widths. A window
// narrower than the panes cuts them at its right edge once the message pane
// has shrunk away; a box layout would squeeze them over each other instead.
class StatusPaneRow : public QWidget {
 public:
  explicit StatusPaneRow(QWidget* parent = nullptr);

  void AddPane(QLabel* pane);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  static constexpr int kGap = 2;
  void PlacePanes();

  QList<QLabel*> m_panes;
};
