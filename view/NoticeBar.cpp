#include "NoticeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

NoticeBar::NoticeBar(QWidget* parent) : QFrame(parent), m_label(new QLabel(this)) {
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC2));  // a pale yellow that reads as a note
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);
  m_label->setWordWrap(true);
  m_label->setTextFormat(Qt::PlainText);
  auto* close = new QToolButton(this);
  close->setText(QStringLiteral("×"));
  close->setToolTip(QStringLiteral("閉じる"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, &NoticeBar::Clear);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 3, 3);
  layout->addWidget(m_label, 1);
  layout->addWidget(close, 0, Qt::AlignTop);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void NoticeBar::ShowText(const QString& text) {
  m_label->setText(text);
  show();
}

void NoticeBar::Clear() {
  m_label->clear();
  hide();
}

QString NoticeBar::Text() const { return isHidden() ? QString() : m_label->text(); }
