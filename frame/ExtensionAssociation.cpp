#include "ExtensionAssociation.h"

#include <algorithm>

#include "CExtAssocDlg.h"
#include "CExtUnassocDlg.h"
#include "DesktopExport.h"
#include "DesktopNames.h"
#include "ModalSeam.h"
#include "RegistryKey.h"
#include "UiText.h"

namespace {

using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kAssociateCaption = "拡張子関連付け";
constexpr const char* kRemoveCaption = "拡張子関連付け解除";

// ASCII capitals become small letters; everything else stays, so a
// full-width letter is refused below.
std::string Lowered(const QString& entry) {
  std::string bytes = entry.toUtf8().toStdString();
  for (char& c : bytes)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return bytes;
}

// Small letters and digits only: a dot, a blank, a hyphen or any byte of a
// character beyond ASCII makes the entry invalid.
bool IsValidExtension(const std::string& extension) {
  return std::all_of(extension.begin(), extension.end(),
                     [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

}  // namespace

ExtensionAssociation::ExtensionAssociation(QWidget* owner, DesktopLocations desktop, PlatformQuery isNtFamily)
    : m_owner(owner), m_desktop(std::move(desktop)), m_isNtFamily(isNtFamily) {}

void ExtensionAssociation::Tell(const char* text, const char* caption, MessageIcon icon) const {
  platform::ShowMessage(m_owner, {T(text), T(caption), icon, MessageButtons::Ok});
}

bool ExtensionAssociation::RefusedByPlatform() const {
  if (!m_isNtFamily()) return false;
  Tell("この機能は[WindowsNT]では使用できません。", "機能制限", MessageIcon::Exclamation);
  return true;
}

std::string ExtensionAssociation::AskExtension(CExtensionEntryDlg& dialog, const char* caption) const {
  dialog.m_extension.clear();
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return "";
  std::string extension = Lowered(dialog.m_extension);
  if (extension.empty()) return "";
  if (!IsValidExtension(extension)) {
    Tell("英数字のみを入力して下さい。", caption, MessageIcon::Stop);
    return "";
  }
  return "." + extension;
}

void ExtensionAssociation::Associate() {
  if (RefusedByPlatform()) return;
  CExtAssocDlg dialog(m_owner);
  std::string key = AskExtension(dialog, kAssociateCaption);
  if (key.empty()) return;
  QString question = T("拡張子【") + QString::fromStdString(key) + T("】 を関連付けますか？");
  if (platform::ShowMessage(m_owner, {question, T(kAssociateCaption), MessageIcon::Question, MessageButtons::YesNo}) !=
      platform::MessageAnswer::Yes)
    return;
  RegistryKey registryKey;
  if (registryKey.Open(m_desktop.ClassesStore(), key) != registry::kSuccess) {
    Tell("関連付けに失敗しました。\n手動で関連付けして下さい。", kAssociateCaption, MessageIcon::Stop);
    return;
  }
  // Whatever the key held before; the success follows every opened key.
  registryKey.SetString("", desktop::kFileTypeId);
  DesktopExport::Export(m_desktop);
  Tell("関連付けに成功しました。", kAssociateCaption, MessageIcon::Information);
  registryKey.Close();
}

void ExtensionAssociation::RemoveAssociation() {
  if (RefusedByPlatform()) return;
  CExtUnassocDlg dialog(m_owner);
  std::string key = AskExtension(dialog, kRemoveCaption);
  if (key.empty()) return;
  QString question = T("【") + QString::fromStdString(key) + T("】の関連付けを解除しますか？");
  if (platform::ShowMessage(m_owner, {question, T(kRemoveCaption), MessageIcon::Question, MessageButtons::YesNo}) !=
      platform::MessageAnswer::Yes)
    return;
  // The whole key goes, whichever type it names.
  if (RegistryKey::Delete(m_desktop.ClassesStore(), key) != registry::kSuccess) {
    Tell("解除に失敗しました。\n手動で削除して下さい。", kRemoveCaption, MessageIcon::Stop);
    return;
  }
  DesktopExport::Export(m_desktop);
  Tell("関連付けを解除しました。", kRemoveCaption, MessageIcon::Information);
}
