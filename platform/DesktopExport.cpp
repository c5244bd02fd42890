#include "DesktopExport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "DesktopNames.h"
#include "IniText.h"
#include "RegistryStoreText.h"
#include "SettingsFileRewrite.h"
#include "ShellCommandText.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kOpenCommandKey = "Kb_zeva3\\shell\\open\\command";
constexpr const char* kPrintCommandKey = "Kb_zeva3\\shell\\print\\command";
constexpr const char* kDefaultIconKey = "Kb_zeva3\\DefaultIcon";
constexpr const char* kDefaultApplications = "Default Applications";

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

bool SameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y)); });
}

// Extensions as association writes them: small letters and digits only.
// Anything else in the store (edited by hand) would be a pattern of its own
// in the MIME database and is left out.
bool IsPlainExtension(std::string_view extension) {
  return !extension.empty() && std::all_of(extension.begin(), extension.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  });
}

std::vector<std::string> BoundExtensions(const RegistryStoreText& store) {
  std::vector<std::string> extensions;
  for (const std::string& key : store.Keys()) {
    if (!key.starts_with('.') || !IsPlainExtension(key.substr(1))) continue;
    std::optional<std::string> type = store.Value(key, "");
    if (type && SameText(*type, desktop::kFileTypeId)) extensions.push_back(key.substr(1));
  }
  std::sort(extensions.begin(), extensions.end());
  extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
  return extensions;
}

std::optional<std::string> MimePackage(const RegistryStoreText& store) {
  if (!store.KeyExists(desktop::kFileTypeId)) return std::nullopt;
  std::string comment = store.Value(desktop::kFileTypeId, "").value_or(desktop::kFileTypeName);
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"" + std::string(desktop::kMimeType) + "\">\n"
                    "    <comment>" + XmlEscaped(comment) + "</comment>\n"
                    "    <sub-class-of type=\"text/plain\"/>\n"
                    "    <icon name=\"" + desktop::kDocumentIconName + "\"/>\n"
                    "    <generic-icon name=\"text-x-generic\"/>\n";
  for (const std::string& extension : BoundExtensions(store))
    xml += "    <glob pattern=\"*." + extension + "\" weight=\"80\"/>\n";
  return xml + "  </mime-type>\n</mime-info>\n";
}

// One argument of an Exec line: quoted when it holds a character the
// Desktop Entry rules reserve, with ", `, $ and \ escaped inside the quotes;
// then every backslash doubled again for the key file's own escaping, and
// "%" written "%%" so it is no field code.
std::string ExecArgument(std::string_view argument, bool alwaysQuote) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  bool quote = alwaysQuote || argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
  std::string text;
  for (char c : argument) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) text += '\\';
    text += c;
  }
  if (quote) text = "\"" + text + "\"";
  std::string escaped;
  for (char c : text) {
    if (c == '\\') escaped += "\\\\";
    else if (c == '%') escaped += "%%";
    else escaped += c;
  }
  return escaped;
}

// The store's command ("<exe> /p "%1"") as an Exec line: the program
// always quoted, "%1" becoming the desktop's single file %f. The further
// places of the print-to command have no counterpart and are dropped.
std::optional<std::string> ExecLine(const RegistryStoreText& store, const char* key) {
  std::optional<std::string> command = store.Value(key, "");
  if (!command) return std::nullopt;
  std::vector<std::string> arguments = SplitCommandText(*command);
  if (arguments.empty() || arguments.front().empty()) return std::nullopt;
  std::string exec = ExecArgument(arguments.front(), true);
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() == 2 && argument[0] == '%' && argument[1] >= '2' && argument[1] <= '9') continue;
    exec += " " + (argument == "%1" ? std::string("%f") : ExecArgument(argument, false));
  }
  return exec;
}

std::optional<std::string> DesktopEntry(const RegistryStoreText& store) {
  std::optional<std::string> open = ExecLine(store, kOpenCommandKey);
  if (!open) return std::nullopt;
  std::optional<std::string> print = ExecLine(store, kPrintCommandKey);
  // The installed entry's texts, so that this one, which takes its place
  // for the user, differs only in where the program is.
  std::string entry = "[Desktop Entry]\n"
                      "Type=Application\n"
                      "Version=1.4\n"
                      "Name=Kaboma Edit 3\n"
                      "GenericName=Japanese Text Editor\n"
                      "GenericName[ja]=日本語テキストエディタ\n"
                      "Comment=Edit Japanese text files in Shift-JIS, JIS or EUC\n"
                      "Comment[ja]=シフトJIS・JIS・EUC の日本語テキストファイルを編集します\n"
                      "Exec=" + *open + "\n"
                      "Icon=" + std::string(desktop::kProgramIconName) + "\n"
                      "Terminal=false\n"
                      "Categories=Utility;TextEditor;\n"
                      "Keywords=text;editor;Japanese;Shift-JIS;EUC;JIS;\n"
                      "Keywords[ja]=テキスト;エディタ;日本語;シフトJIS;\n"
                      "MimeType=" + desktop::kMimeType + ";\n"
                      "StartupNotify=true\n"
                      "StartupWMClass=kb_zeva3\n";
  if (!print) return entry;
  return entry + "Actions=Print;\n"
                 "\n"
                 "[Desktop Action Print]\n"
                 "Name=Print\n"
                 "Name[ja]=印刷\n"
                 "Exec=" + *print + "\n";
}

std::optional<std::string> Resource(const char* path) {
  QFile file(QString::fromLatin1(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;  // not compiled in
  QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// "<exe>,<index>": the index after the last comma chooses the picture.
std::optional<std::string> DocumentIcon(const RegistryStoreText& store) {
  std::optional<std::string> value = store.Value(kDefaultIconKey, "");
  if (!value) return std::nullopt;
  std::size_t comma = value->rfind(',');
  std::string index = comma == std::string::npos ? "" : value->substr(comma + 1);
  if (index.size() != 1 || index[0] < '0' || index[0] > '2') return std::nullopt;
  return Resource(desktop::kIconResources[index[0] - '0']);
}

std::optional<std::string> ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Writes or removes one file when it differs from what it should be. Sets
// `changed` when it did.
bool Bring(const DesktopExport::File& file, bool& changed) {
  std::error_code error;
  if (!file.content) {
    if (fs::remove(file.path, error)) changed = true;
    return !error;
  }
  if (ReadFile(file.path) == file.content) return true;
  fs::create_directories(fs::path(file.path).parent_path(), error);
  return SettingsFileRewrite::Apply(file.path, [&](std::string_view current) {
    if (current != *file.content) changed = true;
    return *file.content;
  });
}

std::string WithoutOurs(std::string_view list) {
  std::string kept;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = std::min(list.find(';', start), list.size());
    std::string_view id = list.substr(start, end - start);
    if (!id.empty() && id != desktop::kDesktopFileId) kept += std::string(id) + ";";
    start = end + 1;
  }
  return kept;
}

// mimeapps.list: our type's default is us, or our id leaves its list; the
// rest of the file is kept as it is.
bool BringDefaultApplication(const std::string& path, bool ours) {
  std::optional<std::string> current = ReadFile(path);
  if (!ours && !current) return true;
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  return SettingsFileRewrite::Apply(path, [&](std::string_view bytes) {
    std::string text(bytes);
    if (text.empty()) text = "[" + std::string(kDefaultApplications) + "]\n";
    else if (text.find('\n') == std::string::npos) text += "\n";  // sets the file's line ending
    IniText list(text);
    if (ours) {
      list.Set(kDefaultApplications, desktop::kMimeType, desktop::kDesktopFileId);
    } else {
      std::optional<std::string> value = list.Find(kDefaultApplications, desktop::kMimeType);
      if (!value) return std::string(bytes);
      std::string kept = WithoutOurs(*value);
      if (kept.empty()) list.RemoveKey(kDefaultApplications, desktop::kMimeType);
      else if (kept != *value && kept != *value + ";") list.Set(kDefaultApplications, desktop::kMimeType, kept);
      else return std::string(bytes);
    }
    return list.Bytes();
  });
}

// A cache tool missing or failing leaves the cache as it was: the files
// are in place and the next change tries again.
void RunTool(const char* tool, const std::string& directory) {
  QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (program.isEmpty()) return;
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(program, {QString::fromStdString(directory)});
  if (!process.waitForStarted(5000)) return;
  if (!process.waitForFinished(30000)) process.kill();
  process.waitForFinished(1000);
}

}  // namespace

DesktopExport::Plan DesktopExport::PlanFor(const RegistryStoreText& store, const DesktopLocations& locations) {
  Plan plan;
  plan.mimePackage = {locations.MimeDirectory() + "/packages/" + desktop::kMimePackageFile, MimePackage(store)};
  plan.desktopEntry = {locations.ApplicationsDirectory() + "/" + desktop::kDesktopFileId, DesktopEntry(store)};
  plan.defaultApplication = plan.desktopEntry.content.has_value();
  std::string icons = locations.IconThemeDirectory() + "/scalable/";
  plan.icons.push_back({icons + "mimetypes/" + desktop::kDocumentIconName + ".svg",
                        plan.mimePackage.content ? DocumentIcon(store) : std::nullopt});
  plan.icons.push_back({icons + "apps/" + desktop::kProgramIconName + ".svg",
                        plan.desktopEntry.content ? Resource(desktop::kIconResources[0]) : std::nullopt});
  return plan;
}

bool DesktopExport::Export(const DesktopLocations& locations) {
  RegistryStoreText store(ReadFile(locations.ClassesStore()).value_or(""));
  Plan plan = PlanFor(store, locations);
  bool mimeChanged = false, desktopChanged = false, iconChanged = false;
  bool complete = Bring(plan.mimePackage, mimeChanged);
  complete = Bring(plan.desktopEntry, desktopChanged) && complete;
  for (const File& icon : plan.icons) complete = Bring(icon, iconChanged) && complete;
  complete = BringDefaultApplication(locations.MimeApps(), plan.defaultApplication) && complete;

  // The database also needs rebuilding when it disagrees with the package,
  // as after a cache removed by hand.
  std::string mimeDirectory = locations.MimeDirectory();
  bool typeInDatabase = fs::exists(mimeDirectory + "/" + desktop::kMimeType + ".xml");
  if (mimeChanged || typeInDatabase != plan.mimePackage.content.has_value()) {
    if (fs::exists(mimeDirectory + "/packages")) RunTool(kMimeTool, mimeDirectory);
  }
  if (desktopChanged) RunTool(kDesktopTool, locations.ApplicationsDirectory());
  return complete;
}
