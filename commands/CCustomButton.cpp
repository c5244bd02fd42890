#include "CCustomButton.h"

#include <QDialog>
#include <QMetaObject>
#include <QWidget>

#include "CCustomButtonDlg.h"
#include "CommandHost.h"
#include "CommandIds.h"
#include "ModalSeam.h"
#include "ProfileFile.h"
#include "ShiftJisCodec.h"

namespace {

constexpr const char* kSection = "MenuCommand";
constexpr const char* kKey = "Custom";

}  // namespace

CCustomButton::CCustomButton(ProfileFile& profile, CommandHost& host) : m_profile(profile), m_host(host) {}

// The stored bytes, as the file has them (the settings interface speaks
// UTF-8 and stores Shift-JIS losslessly).
std::string CCustomButton::StoredValue() const {
  return kanji::ShiftJisCodec::Encode(m_profile.GetProfileString(kSection, kKey, "Y")).bytes;
}

// Only the first byte counts; nothing, a byte that names no entry, or a
// separator runs the settings instead.
int CCustomButton::CustomCommand() const {
  std::string stored = StoredValue();
  std::optional<CommandIndex> index = stored.empty() ? std::nullopt : DecodeCommandIndex(stored[0]);
  if (!index || IsSeparator(CommandTable[static_cast<std::size_t>(*index)])) index = kFallbackIndex;
  return static_cast<int>(CommandTable[static_cast<std::size_t>(*index)].id);
}

void CCustomButton::InvokeCustomCommand() {
  int id = CustomCommand();
  CommandHost* host = &m_host;
  QMetaObject::invokeMethod(m_host.HostWindow(), [host, id] { host->RunCommand(id); }, Qt::QueuedConnection);
}

// A stored byte outside "0" to "c" gives an index the dialog replaces by
// the fallback; a stored separator is shown as it is and refused on OK.
void CCustomButton::OnCustomButtonSettings() {
  std::string stored = StoredValue();
  int index = stored.empty() ? -0x30 : static_cast<unsigned char>(stored[0]) - 0x30;
  CCustomButtonDlg dialog(index, m_host.HostWindow());
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  m_profile.WriteProfileString(kSection, kKey, std::string(1, EncodeCommandIndex(dialog.m_index)));
}

bool CCustomButton::HandlesCommand(int id) const {
  return id == ids::kCustomButton || id == ids::kCustomButtonSettings;
}

void CCustomButton::OnCommand(int id) {
  if (id == ids::kCustomButton) InvokeCustomCommand();
  else if (id == ids::kCustomButtonSettings) OnCustomButtonSettings();
}
