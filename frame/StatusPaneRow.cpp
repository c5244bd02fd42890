#include "StatusPaneRow.h"

#include <QLabel>

#include <algorithm>

StatusPaneRow::StatusPaneRow(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void StatusPaneRow::AddPane(QLabel* pane) {
  pane->setParent(this);
  m_panes << pane;
  updateGeometry();
  PlacePanes();
}

QSize StatusPaneRow::sizeHint() const {
  int width = 0, height = 0;
  for (QLabel* pane : m_panes) {
    width += pane->maximumWidth() + kGap;
    height = std::max(height, pane->sizeHint().height());
  }
  return {width, height};
}

// Any width will do: what does not fit is cut, never overlapped.
QSize StatusPaneRow::minimumSizeHint() const { return {0, sizeHint().height()}; }

void StatusPaneRow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePanes();
}

void StatusPaneRow::PlacePanes() {
  int x = kGap;
  for (QLabel* pane : m_panes) {
    pane->setGeometry(x, 0, pane->maximumWidth(), height());
    x += pane->maximumWidth() + kGap;
  }
}
