#include "FontColourDialog.h"

#include "DialogKeyboard.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {
namespace {

const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// The style list's entries, in the order of their index: bit 0 italic, bit 1 bold.
const char* const kStyles[] = {"標準", "斜体", "太字", "太字 斜体"};
constexpr const char* kSampleText = "AaBbYyZz あぁアァｱｧ 亜宇";

int StyleIndex(const FontChoice& choice) { return (choice.italic ? 1 : 0) | (choice.weight > 400 ? 2 : 0); }

}  // namespace

FontColourDialog::FontColourDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent),
      m_face(new QFontComboBox),
      m_size(new QComboBox),
      m_style(new QComboBox),
      m_strikeOut(new QCheckBox(QStringLiteral("取り消し線(&K)"))),
      m_underline(new QCheckBox(QStringLiteral("下線(&U)"))),
      m_colourButton(new QPushButton),
      m_sample(new QLabel(QString::fromUtf8(kSampleText))),
      m_colour(initial.colour) {
  setObjectName(QStringLiteral("FontColourDialog"));
  setWindowTitle(QStringLiteral("フォント"));
  m_face->setCurrentFont(QFont(initial.face));
  m_size->setEditable(true);
  m_size->setValidator(new QIntValidator(1, 999, m_size));
  for (int size : kSizes) m_size->addItem(QString::number(size));
  m_size->setCurrentText(QString::number((initial.pointSizeTenths + 5) / 10));
  for (const char* style : kStyles) m_style->addItem(QString::fromUtf8(style));
  m_style->setCurrentIndex(StyleIndex(initial));
  m_strikeOut->setChecked(initial.strikeOut);
  m_underline->setChecked(initial.underline);
  m_colourButton->setText(QStringLiteral("文字の色(&C)..."));
  m_sample->setMinimumSize(320, 60);
  m_sample->setAlignment(Qt::AlignCenter);
  m_sample->setFrameShape(QFrame::StyledPanel);

  // Each row's label is its field's buddy: on this desktop a combo box is
  // read by the label it is labelled by.
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("フォント名(&F):"), m_face);
  form->addRow(QStringLiteral("スタイル(&Y):"), m_style);
  form->addRow(QStringLiteral("サイズ(&S):"), m_size);
  auto* effects = new QGroupBox(QStringLiteral("文字飾り"));
  auto* effectRows = new QHBoxLayout(effects);
  effectRows->addWidget(m_strikeOut);
  effectRows->addWidget(m_underline);
  effectRows->addStretch(1);
  effectRows->addWidget(m_colourButton);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(effects);
  auto* sampleLabel = new QLabel(QStringLiteral("サンプル"));
  sampleLabel->setBuddy(m_sample);
  m_sample->setAccessibleName(QStringLiteral("サンプル"));
  layout->addWidget(sampleLabel);
  layout->addWidget(m_sample);
  layout->addWidget(buttons);
  // Once in the dialog: a default button outside it is not the dialog's.
  MarkDefaultAndCancel(buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel));

  for (QComboBox* box : {static_cast<QComboBox*>(m_face), m_size, m_style})
    connect(box, &QComboBox::currentTextChanged, this, &FontColourDialog::UpdateSample);
  connect(m_strikeOut, &QCheckBox::toggled, this, &FontColourDialog::UpdateSample);
  connect(m_underline, &QCheckBox::toggled, this, &FontColourDialog::UpdateSample);
  connect(m_colourButton, &QPushButton::clicked, this, &FontColourDialog::ChooseColour);
  SetTabOrder({m_face, m_style, m_size, m_strikeOut, m_underline, m_colourButton,
               buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel)});
  ShowColour();
  UpdateSample();
  m_face->setFocus();
}

FontChoice FontColourDialog::Choice() const {
  FontChoice choice;
  choice.face = m_face->currentFont().family();
  choice.pointSizeTenths = std::max(1, m_size->currentText().toInt()) * 10;
  choice.italic = m_style->currentIndex() & 1;
  choice.weight = m_style->currentIndex() & 2 ? 700 : 400;
  choice.strikeOut = m_strikeOut->isChecked();
  choice.underline = m_underline->isChecked();
  choice.colour = m_colour;
  return choice;
}

// The colour is chosen in the desktop's colour dialog, inside this one:
// cancelling it keeps the colour there was, and the font.
void FontColourDialog::ChooseColour() {
  QColor chosen = QColorDialog::getColor(m_colour, this, QStringLiteral("文字の色"));
  if (!chosen.isValid()) return;
  m_colour = chosen;
  ShowColour();
  UpdateSample();
}

void FontColourDialog::ShowColour() {
  QPixmap swatch(16, 16);
  swatch.fill(m_colour);
  m_colourButton->setIcon(QIcon(swatch));
}

void FontColourDialog::UpdateSample() {
  FontChoice choice = Choice();
  QFont font(choice.face);
  font.setPointSizeF(choice.pointSizeTenths / 10.0);
  font.setItalic(choice.italic);
  font.setBold(choice.weight > 400);
  font.setStrikeOut(choice.strikeOut);
  font.setUnderline(choice.underline);
  m_sample->setFont(font);
  QPalette palette = m_sample->palette();
  palette.setColor(QPalette::WindowText, choice.colour);
  m_sample->setPalette(palette);
}

}  // namespace platform
