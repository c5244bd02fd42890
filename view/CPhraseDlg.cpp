#include "CPhraseDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ModalSeam.h"
#include "ShiftJisByteLimit.h"
#include "Strings.h"

namespace {

constexpr int kMaxBytes = 255;

const char* const kRadioTexts[CPhraseDlg::kCount] = {
    "単語登録１　(Ctrl+1)", "単語登録２　(Ctrl+2)", "単語登録３　(Ctrl+3)",
    "単語登録４　(Ctrl+4)", "単語登録５　(Ctrl+5)",
};
constexpr const char* kAboutText =
    "　「一言挿入」は、あらかじめ登録した単語を、現在カーソル\n位置に簡易に貼り付ける機能です。頻繁に使用する単語を\n"
    "登録しておくと便利です。メールアドレスやホームページURL\nなど、工夫次第で様々な使い方ができます。";
constexpr const char* kMarkText =
    "　チェックされている単語は、ツールバーやメニュー上から\n呼び出せます。その他の単語は該当ショートカットキーで\n"
    "呼び出して下さい。";
constexpr const char* kTooLongText = "%1 文字以内で入力してください。";

}  // namespace

CPhraseDlg::CPhraseDlg(const std::array<QString, kCount>& words, int checkNum, QWidget* parent)
    : QDialog(parent),
      m_words(words),
      m_checkNum(checkNum >= 0 && checkNum < kCount ? checkNum : 0),
      m_ok(new QPushButton(QStringLiteral("オッケー！！"))),
      m_cancel(new QPushButton(QStringLiteral("キャンセル"))) {
  setObjectName(QStringLiteral("CPhraseDlg"));
  setWindowTitle(QStringLiteral("一言挿入の設定"));
  auto* group = new QButtonGroup(this);
  auto* boxes = new QVBoxLayout;
  for (int i = 0; i < kCount; ++i) {
    m_radios[i] = new QRadioButton(QString::fromUtf8(kRadioTexts[i]));
    group->addButton(m_radios[i], i);
    m_edits[i] = new QLineEdit(m_words[i]);
    m_edits[i]->setValidator(new ShiftJisByteLimit(kMaxBytes, m_edits[i]));
    m_edits[i]->setMinimumWidth(300);
    boxes->addWidget(m_radios[i]);
    boxes->addWidget(m_edits[i]);
  }
  m_radios[m_checkNum]->setChecked(true);
  auto* about = new QLabel(QString::fromUtf8(kAboutText));
  auto* mark = new QLabel(QString::fromUtf8(kMarkText));
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  auto* texts = new QVBoxLayout;
  texts->addWidget(about);
  texts->addSpacing(12);
  texts->addWidget(mark);
  texts->addStretch(1);
  texts->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(boxes);
  layout->addSpacing(12);
  layout->addLayout(texts);
}

// The boxes are read in order; the first one over the limit is named, takes
// the focus, and the dialog stays open.
void CPhraseDlg::accept() {
  for (int i = 0; i < kCount; ++i) {
    QString text = m_edits[i]->text();
    if (!ShiftJisByteLimit::Fits(text, kMaxBytes)) {
      platform::ShowMessage(this, {QString::fromUtf8(kTooLongText).arg(kMaxBytes), QString::fromUtf8(strings::kAppTitle),
                                   platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
      m_edits[i]->setFocus();
      m_edits[i]->selectAll();
      return;
    }
    m_words[i] = text;
  }
  QDialog::accept();
}

// The marked phrase is read back however the dialog ends.
void CPhraseDlg::done(int result) {
  for (int i = 0; i < kCount; ++i)
    if (m_radios[i]->isChecked()) m_checkNum = i;
  QDialog::done(result);
}
