#include "NoticeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "NoticeBarAccessible.h"

NoticeBar::NoticeBar(QWidget* parent)
    : QFrame(parent), m_label(new QLabel(this)), m_action(new QPushButton(this)) {
  NoticeBarAccessible::InstallOnce();
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
  close->setAccessibleName(QStringLiteral("閉じる"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, &NoticeBar::Clear);
  m_action->setObjectName(QStringLiteral("action"));
  m_action->setFocusPolicy(Qt::NoFocus);
  m_action->hide();
  connect(m_action, &QPushButton::clicked, this, [this] {
    // Cleared first: the action may show another document, or a new notice.
    std::function<void()> act = std::move(m_act);
    Clear();
    if (act) act();
  });
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 3, 3);
  layout->addWidget(m_label, 1);
  layout->addWidget(m_action, 0, Qt::AlignTop);
  layout->addWidget(close, 0, Qt::AlignTop);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void NoticeBar::ShowText(const QString& text) {
  m_act = nullptr;
  m_action->hide();
  m_label->setText(text);
  if (isVisible()) NoticeBarAccessible::Announce(this);  // heard when shown, and so again
  show();
}

void NoticeBar::ShowOffer(const QString& text, const QString& actionText, const std::function<void()>& act) {
  ShowText(text);
  m_act = act;
  m_action->setText(actionText);
  m_action->show();
}

void NoticeBar::Clear() {
  m_act = nullptr;
  m_action->hide();
  m_label->clear();
  hide();
}

QString NoticeBar::Text() const { return isHidden() ? QString() : m_label->text(); }
