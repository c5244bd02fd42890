#include "JapaneseInterface.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace {

void InstallTranslations(QApplication& application) {
  // The menus, prompts and messages are Japanese in every locale, so the
  // dialogs Qt draws for us follow them rather than the locale.
  auto translator = std::make_unique<QTranslator>(&application);
  if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator.release());
}

}  // namespace

QString JapaneseInterface::InterfaceFontFamily() {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
  if (!pattern) return {};
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  QString family;
  FcChar8* name = nullptr;
  FcLangSet* languages = nullptr;
  // A match that cannot draw Japanese (no Japanese font at all) is no better
  // than Qt's own choice.
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch &&
      FcPatternGetLangSet(match, FC_LANG, 0, &languages) == FcResultMatch &&
      FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang)
    family = QString::fromUtf8(reinterpret_cast<const char*>(name));
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return family;
}

void JapaneseInterface::Install(QApplication& application) {
  InstallTranslations(application);
  QString family = InterfaceFontFamily();
  if (family.isEmpty()) return;
  QFont font = QApplication::font();
  font.setFamilies({family});
  QApplication::setFont(font);
}
