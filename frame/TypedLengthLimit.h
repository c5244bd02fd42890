#pragma once

// Limits what the user may type into a line edit to a number of characters,
// without cutting a longer value the program put there: a stored path the
// user did not edit stays whole, and editing may only make it shorter.
// (The line edit's own maximum length cuts every text it is given.)

#include <QObject>
#include <QString>

class QLineEdit;

class TypedLengthLimit : public QObject {
 public:
  TypedLengthLimit(int maxCharacters, QLineEdit* edit);

 private:
  void OnEdited(const QString& text);

  int m_maxCharacters;
  QLineEdit* m_edit;
  QString m_before;  // the text as it stood before the edit
};
