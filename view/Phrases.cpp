#include "Phrases.h"

#include "CPhraseDlg.h"
#include "EditorControl.h"
#include "ModalSeam.h"
#include "ProfileFile.h"

namespace {
constexpr const char* kSection = "LineWord";
static_assert(Phrases::kCount == CPhraseDlg::kCount);
}

const char* Phrases::KeyFor(int index) {
  static const char* const keys[kCount] = {"Word1", "Word2", "Word3", "Word4", "Word5"};
  return index >= 1 && index < kCount ? keys[index] : keys[0];
}

// A phrase's default is its own key name: with no settings Ctrl+1 inserts
// "Word1". A key with an empty value is an unregistered phrase.
QString Phrases::Read(int index) const {
  const char* key = KeyFor(index);
  return QString::fromStdString(m_profile.GetProfileString(kSection, key, key));
}

int Phrases::CheckNum() const { return m_profile.GetProfileInt(kSection, "CheckNum", 0); }

std::array<QString, Phrases::kCount> Phrases::ReadAll() const {
  std::array<QString, kCount> words;
  for (int i = 0; i < kCount; ++i) words[i] = Read(i);
  return words;
}

void Phrases::Write(int checkNum, const std::array<QString, kCount>& words) {
  m_profile.WriteProfileInt(kSection, "CheckNum", checkNum);
  for (int i = 0; i < kCount; ++i) m_profile.WriteProfileString(kSection, KeyFor(i), words[i].toStdString());
}

void Phrases::Insert(int index, EditorControl& control, QWidget* owner) const {
  QString phrase = Read(index);
  if (phrase.isEmpty()) {
    platform::ShowMessage(owner, {QStringLiteral("単語が登録されていません。"), QStringLiteral("一言挿入"),
                                  platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
    return;
  }
  control.ReplaceSelection(phrase);
}

void Phrases::RunSettings(QWidget* parent) {
  CPhraseDlg dialog(ReadAll(), CheckNum(), parent);
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  Write(dialog.m_checkNum, dialog.m_words);
}
