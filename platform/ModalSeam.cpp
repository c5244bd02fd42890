#include "ModalSeam.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>

#include <algorithm>
#include <string>
#include <vector>

#include "DetachedProcess.h"
#include "FileName.h"
#include "FontColourDialog.h"
#include "JapaneseFileDialog.h"
#include "OpenFileDialog.h"

namespace platform {
namespace {

// The installed handler of one kind of dialog (each kind has its own type).
template <class Handler>
Handler& Installed() {
  static Handler handler;
  return handler;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

MessageAnswer FromQt(int button) {
  switch (button) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
  }
}

// The program's prompts answer in Japanese in every locale; Y and N still
// answer them from the keyboard, as the underlined letters would.
void NameButtonsInJapanese(QMessageBox& box) {
  struct Naming {
    QMessageBox::StandardButton button;
    const char* text;
    Qt::Key key;
  };
  static const Naming namings[] = {{QMessageBox::Yes, "はい", Qt::Key_Y},
                                   {QMessageBox::No, "いいえ", Qt::Key_N},
                                   {QMessageBox::Cancel, "キャンセル", Qt::Key_unknown},
                                   {QMessageBox::Ok, "OK", Qt::Key_unknown}};
  for (const Naming& naming : namings) {
    QAbstractButton* button = box.button(naming.button);
    if (!button) continue;
    button->setText(QString::fromUtf8(naming.text));
    if (naming.key != Qt::Key_unknown) button->setShortcut(QKeySequence(naming.key));
  }
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* owner, const MessageRequest& request) {
  auto box = std::make_unique<QMessageBox>(ToQt(request.icon), request.caption, request.text, ToQt(request.buttons),
                                           owner);
  NameButtonsInJapanese(*box);
  return box;
}

MessageAnswer ShowMessage(QWidget* owner, const MessageRequest& request) {
  if (Installed<MessageHandler>()) return Installed<MessageHandler>()(request);
  return FromQt(BuildMessageBox(owner, request)->exec());
}

std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& initial) {
  if (Installed<FontHandler>()) return Installed<FontHandler>()(initial);
  FontColourDialog dialog(initial, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial, const QString& title) {
  if (Installed<ColourHandler>()) return Installed<ColourHandler>()(initial);
  QColor colour = QColorDialog::getColor(initial, parent, title);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

std::optional<QString> ChooseSavePath(QWidget* parent, const QString& suggested, const QStringList& filters,
                                      const QString& defaultSuffix) {
  if (Installed<SavePathHandler>()) return Installed<SavePathHandler>()(suggested);
  QFileDialog dialog(parent);
  MakeJapaneseFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  dialog.setDefaultSuffix(defaultSuffix);
  if (!suggested.isEmpty()) dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> ChooseOpenPath(QWidget* parent, const QStringList& filters, const QString& folder) {
  if (Installed<OpenPathHandler>()) return Installed<OpenPathHandler>()(filters);
  OpenFileDialog dialog(parent);
  MakeJapaneseFileDialog(dialog);
  // The open filters' labels name their patterns already.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.ChosenPath();
}

int ExecDialog(QDialog& dialog) {
  if (Installed<DialogHandler>()) return Installed<DialogHandler>()(dialog);
  return dialog.exec();
}

void ShowProgressWindow(QDialog& window) {
  if (Installed<ProgressWindowHandler>()) return Installed<ProgressWindowHandler>()(window);
  window.show();
}

bool StartProgram(const QString& program, const QStringList& arguments) {
  if (Installed<ProgramHandler>()) return Installed<ProgramHandler>()(program, arguments);
  // A name that is no UTF-8 goes by its bytes (FileName), which Qt cannot pass on.
  if (!FileName::HasRawBytes(program) && std::none_of(arguments.begin(), arguments.end(), &FileName::HasRawBytes))
    return QProcess::startDetached(program, arguments);
  std::vector<std::string> words;
  for (const QString& argument : arguments) words.push_back(FileName::Bytes(argument));
  return DetachedProcess::Start(FileName::Bytes(program), words);
}

bool OpenWithDesktop(const QUrl& url) {
  if (Installed<DesktopHandler>()) return Installed<DesktopHandler>()(url);
  return QDesktopServices::openUrl(url);
}

void SetOpenPathHandler(OpenPathHandler handler) { Installed<OpenPathHandler>() = std::move(handler); }
void SetDialogHandler(DialogHandler handler) { Installed<DialogHandler>() = std::move(handler); }
void SetProgressWindowHandler(ProgressWindowHandler handler) {
  Installed<ProgressWindowHandler>() = std::move(handler);
}
void SetProgramHandler(ProgramHandler handler) { Installed<ProgramHandler>() = std::move(handler); }
void SetDesktopHandler(DesktopHandler handler) { Installed<DesktopHandler>() = std::move(handler); }

void SetMessageHandler(MessageHandler handler) { Installed<MessageHandler>() = std::move(handler); }
void SetFontHandler(FontHandler handler) { Installed<FontHandler>() = std::move(handler); }
void SetColourHandler(ColourHandler handler) { Installed<ColourHandler>() = std::move(handler); }
void SetSavePathHandler(SavePathHandler handler) { Installed<SavePathHandler>() = std::move(handler); }

}  // namespace platform
