#pragma once

// Everything the program shows speaks Japanese, whatever the locale: Qt's
// own dialogs (file, font and colour dialogs, standard buttons) through
// Qt's Japanese translations, and every widget in one Japanese interface
// font, so digits and kana in a status pane come from the same face.

class QApplication;
class QString;

class JapaneseInterface {
 public:
  // Loads the translations and sets the interface font; what is missing
  // (no translation files, no Japanese font) leaves Qt's defaults.
  static void Install(QApplication& application);
  // The face fontconfig picks for sans-serif Japanese text: the user's own
  // choice where one is configured, otherwise the best installed face.
  static QString InterfaceFontFamily();
};
