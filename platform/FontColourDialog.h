#pragma once

// The font dialog: face, size, style, strike-out, underline and the text
// colour in one dialog, with a sample; OK takes all of them at once. (The
// desktop's own font dialog has no colour, and a second dialog after it
// would let Escape there throw the chosen font away.)

#include <QDialog>

#include "ModalSeam.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;

namespace platform {

class FontColourDialog : public QDialog {
  Q_OBJECT

 public:
  FontColourDialog(const FontChoice& initial, QWidget* parent = nullptr);

  // What the controls show now.
  FontChoice Choice() const;

 private:
  void ChooseColour();
  void ShowColour();
  void UpdateSample();

  QFontComboBox* m_face;
  QComboBox* m_size;
  QComboBox* m_style;
  QCheckBox* m_strikeOut;
  QCheckBox* m_underline;
  QPushButton* m_colourButton;
  QLabel* m_sample;
  QColor m_colour;
};

}  // namespace platform
