#pragma once

// Answers the program's modal dialogs of one type in a test: `act` looks at
// the dialog as it would open and clicks what the user would; the dialog's
// result is what the program sees. A dialog of another type fails the test.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>

#include <functional>

#include "ModalSeam.h"

template <class Dialog>
void AnswerDialogs(std::function<void(Dialog&)> act) {
  platform::SetDialogHandler([act = std::move(act)](QDialog& dialog) {
    auto* typed = dynamic_cast<Dialog*>(&dialog);
    if (!typed) {
      ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
      return 0;
    }
    act(*typed);
    return dialog.result();
  });
}

// The push button of `dialog` named `name` (its object name).
inline QAbstractButton* Button(QWidget& dialog, const char* name) {
  auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
  EXPECT_NE(button, nullptr) << name;
  return button;
}
