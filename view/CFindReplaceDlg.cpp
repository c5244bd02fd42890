#include "CFindReplaceDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogKeyboard.h"

CFindReplaceDlg::CFindReplaceDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CFindReplaceDlg"));
  setModal(false);
  setFont(QFont(QStringLiteral("ＭＳ ゴシック")));

  auto* findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"));
  m_findEdit = new QLineEdit;
  m_findEdit->setObjectName(QStringLiteral("findText"));
  findLabel->setBuddy(m_findEdit);
  m_replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"));
  m_replaceEdit = new QLineEdit;
  m_replaceEdit->setObjectName(QStringLiteral("replaceText"));
  m_replaceLabel->setBuddy(m_replaceEdit);
  m_findEdit->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 28);

  m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"));
  m_matchCase->setObjectName(QStringLiteral("matchCase"));
  m_wholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"));
  m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
  m_regularExpression = new QCheckBox(QStringLiteral("正規表現(&E)"));
  m_regularExpression->setObjectName(QStringLiteral("regularExpression"));

  auto* direction = new QGroupBox(QStringLiteral("検索する方向"));
  m_direction = direction;
  m_up = new QRadioButton(QStringLiteral("上へ(&U)"));
  m_up->setObjectName(QStringLiteral("up"));
  m_down = new QRadioButton(QStringLiteral("下へ(&D)"));
  m_down->setObjectName(QStringLiteral("down"));
  m_down->setChecked(true);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(m_up);
  directionLayout->addWidget(m_down);

  m_findNext = AddButton(QStringLiteral("次を検索(&F)"), "findNext");
  m_replace = AddButton(QStringLiteral("置換して次に(&R)"), "replace");
  m_replaceAll = AddButton(QStringLiteral("すべて置換(&A)"), "replaceAll");
  m_cancel = AddButton(QStringLiteral("キャンセル"), "cancel");
  platform::MarkDefaultAndCancel(m_findNext, m_cancel);
  platform::MakeCheckedRadioTheTabStop({m_up, m_down});

  auto* fields = new QGridLayout;
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(m_findEdit, 0, 1);
  fields->addWidget(m_replaceLabel, 1, 0);
  fields->addWidget(m_replaceEdit, 1, 1);
  auto* options = new QVBoxLayout;
  options->addWidget(m_matchCase);
  options->addWidget(m_wholeWord);
  options->addWidget(m_regularExpression);
  auto* lower = new QHBoxLayout;
  lower->addLayout(options);
  lower->addWidget(direction, 0, Qt::AlignBottom);
  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(lower);
  left->addStretch();
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {m_findNext, m_replace, m_replaceAll, m_cancel}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  // The fields, the options and the direction down the left, then the
  // buttons on the right.
  platform::SetTabOrder({m_findEdit, m_replaceEdit, m_matchCase, m_wholeWord, m_regularExpression, m_up, m_down,
                         m_findNext, m_replace, m_replaceAll, m_cancel});

  connect(m_findNext, &QPushButton::clicked, this, [this] { emit FindRequested(SearchesDown()); });
  connect(m_replace, &QPushButton::clicked, this, [this] { emit ReplaceRequested(SearchesDown()); });
  connect(m_replaceAll, &QPushButton::clicked, this, &CFindReplaceDlg::ReplaceAllRequested);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_findEdit, &QLineEdit::textChanged, this, &CFindReplaceDlg::UpdateButtons);
  SetReplaceForm(false);
}

QPushButton* CFindReplaceDlg::AddButton(const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

void CFindReplaceDlg::SetReplaceForm(bool replace) {
  m_replaceForm = replace;
  setWindowTitle(replace ? QStringLiteral("置換") : QStringLiteral("検索"));
  m_replaceLabel->setVisible(replace);
  m_replaceEdit->setVisible(replace);
  m_replace->setVisible(replace);
  m_replaceAll->setVisible(replace);
  UpdateButtons();
  adjustSize();
}

// Nothing to find, nothing to do: the buttons wait for a string.
void CFindReplaceDlg::UpdateButtons() {
  bool hasText = !m_findEdit->text().isEmpty();
  m_findNext->setEnabled(hasText);
  m_replace->setEnabled(hasText);
  m_replaceAll->setEnabled(hasText);
}

QString CFindReplaceDlg::FindText() const { return m_findEdit->text(); }

void CFindReplaceDlg::SetFindText(const QString& text) {
  m_findEdit->setText(text);
  m_findEdit->selectAll();
}

QString CFindReplaceDlg::ReplaceText() const { return m_replaceEdit->text(); }

SearchOptions CFindReplaceDlg::Options() const {
  SearchOptions options;
  options.matchCase = m_matchCase->isChecked();
  options.wholeWord = m_wholeWord->isChecked();
  options.regularExpression = m_regularExpression->isChecked();
  return options;
}

bool CFindReplaceDlg::SearchesDown() const { return m_down->isChecked(); }

// Enter is "次を検索" (the default button); Shift+Enter finds the other way.
void CFindReplaceDlg::keyPressEvent(QKeyEvent* event) {
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & Qt::ShiftModifier)) {
    if (m_findNext->isEnabled()) emit FindRequested(!SearchesDown());
    return;
  }
  QDialog::keyPressEvent(event);
}
