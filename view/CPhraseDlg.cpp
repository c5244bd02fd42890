#include "CPhraseDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "CharacterList.h"
#include "DialogKeyboard.h"
#include "ModalSeam.h"
#include "ShiftJisByteLimit.h"
#include "ShiftJisCodec.h"
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
// The settings file holds a phrase on one line.
constexpr const char* kLineBreakText = "単語には改行を含められません。\n改行を取り除いてから登録してください。";
constexpr const char* kConfirmUnencodableText =
    "次の文字は Shift-JIS で表せないため、「?」として登録されます。\n%1\n登録しますか？";

bool HasLineBreak(const QString& text) { return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')); }

// The characters of `text` the settings file cannot store as themselves.
std::vector<QString> UnencodableCharacters(const QString& text) {
  std::vector<QString> characters;
  for (const kanji::Unencodable& u : kanji::ShiftJisCodec::Encode(text.toStdString()).unencodable) {
    char32_t cp = u.codePoint;
    characters.push_back(QString::fromUcs4(&cp, 1));
  }
  return characters;
}

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
    // The radio button above the box names it.
    m_edits[i]->setAccessibleName(m_radios[i]->text());
    m_edits[i]->setValidator(new ShiftJisByteLimit(kMaxBytes, m_edits[i]));
    m_edits[i]->setMinimumWidth(300);
    boxes->addWidget(m_radios[i]);
    boxes->addWidget(m_edits[i]);
  }
  m_radios[m_checkNum]->setChecked(true);
  platform::MakeCheckedRadioTheTabStop({m_radios.begin(), m_radios.end()});
  auto* about = new QLabel(QString::fromUtf8(kAboutText));
  auto* mark = new QLabel(QString::fromUtf8(kMarkText));
  platform::MarkDefaultAndCancel(m_ok, m_cancel);
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
  // Down the column of phrases (the marked one's button, then each box),
  // then the buttons below the explanations.
  QList<QWidget*> order;
  for (int i = 0; i < kCount; ++i) order << m_radios[i] << m_edits[i];
  platform::SetTabOrder(order << m_ok << m_cancel);
}

// The boxes are read in order; the first one that cannot be stored as it
// is (over the limit, a line break pasted in, characters Shift-JIS lacks
// and the user would rather mend) says why, takes the focus, and the
// dialog stays open. Nothing is written until every box can be.
void CPhraseDlg::accept() {
  for (int i = 0; i < kCount; ++i) {
    if (!CanStore(m_edits[i]->text())) {
      m_edits[i]->setFocus();
      m_edits[i]->selectAll();
      return;
    }
  }
  for (int i = 0; i < kCount; ++i) m_words[i] = m_edits[i]->text();
  QDialog::accept();
}

bool CPhraseDlg::CanStore(const QString& text) {
  auto tell = [this](const QString& message, platform::MessageButtons buttons) {
    return platform::ShowMessage(this, {message, QString::fromUtf8(strings::kAppTitle),
                                        platform::MessageIcon::Exclamation, buttons});
  };
  if (!ShiftJisByteLimit::Fits(text, kMaxBytes)) {
    tell(QString::fromUtf8(kTooLongText).arg(kMaxBytes), platform::MessageButtons::Ok);
    return false;
  }
  if (HasLineBreak(text)) {
    tell(QString::fromUtf8(kLineBreakText), platform::MessageButtons::Ok);
    return false;
  }
  std::vector<QString> unencodable = UnencodableCharacters(text);
  return unencodable.empty() || tell(QString::fromUtf8(kConfirmUnencodableText).arg(CharacterList(unencodable)),
                                     platform::MessageButtons::OkCancel) == platform::MessageAnswer::Ok;
}

// The marked phrase is read back however the dialog ends.
void CPhraseDlg::done(int result) {
  for (int i = 0; i < kCount; ++i)
    if (m_radios[i]->isChecked()) m_checkNum = i;
  QDialog::done(result);
}
