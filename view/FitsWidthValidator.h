#pragma once

// For an edit box that does not scroll sideways: text that would not fit in
// the box's width is refused, as it would be at the box's right edge.

#include <QValidator>

class QLineEdit;

class FitsWidthValidator : public QValidator {
 public:
  explicit FitsWidthValidator(QLineEdit* edit);
  State validate(QString& input, int& position) const override;

 private:
  int Room() const;
  QLineEdit* m_edit;
};
