#pragma once

// What the document needs of the view that holds its text: the document
// reads and writes files, the view owns the editing control.

#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentFile.h"
#include "ShiftJisCodec.h"

class QWidget;

class DocumentText {
 public:
  virtual ~DocumentText() = default;

  // Shows a new or loaded text: applies the appearance settings, takes the
  // codes and the text (Shift-JIS, or a UTF-8 file's bytes after its
  // byte-order mark for the load code Utf8), and leaves the document
  // unmodified.
  virtual void ShowDocument(const std::string& text, const DocumentCodes& codes) = 0;
  // The same for a large file read again piece by piece (after its
  // byte-order mark); false when it could not be read whole (the control
  // then holds part of it).
  virtual bool ShowStreamedDocument(const QString& path, std::size_t size, const DocumentCodes& codes) = 0;
  // A notice above the text that leaves the user editing (showing a
  // document takes it away).
  virtual void ShowNotice(const QString& text) = 0;
  // The same notice with a button that calls `reopen`: the text seems to
  // be in `code` (Shift-JIS, JIS, EUC or UTF-8).
  virtual void OfferReopen(KanjiCode code, const std::function<void()>& reopen) = 0;
  // The same with a button that calls `reload`: another program changed
  // the file.
  virtual void OfferReload(const std::function<void()>& reload) = 0;
  // The Shift-JIS a save converts; for a JIS or EUC save, characters read
  // in a second form (the NEC "≒" of 0x8790) in their standard form, the
  // only one those codes know.
  virtual std::string TextForSave(std::vector<kanji::Unencodable>* missing) const = 0;
  // The bytes of a UTF-8 save, with the byte-order mark the file had.
  virtual std::string Utf8TextForSave() const = 0;
  // The text a save writes, in pieces, never held whole: Shift-JIS as
  // TextForSave gives it, or for the save code Utf8 the bytes of
  // Utf8TextForSave. Unencodable characters are listed in `missing` when
  // given.
  virtual void SaveTextPieces(const std::function<void(std::string_view)>& each,
                              std::vector<kanji::Unencodable>* missing) const = 0;
  virtual KanjiCode SaveCode() const = 0;
  virtual bool IsModified() const = 0;
  virtual void ClearModified() = 0;
  virtual void MakeWritable() = 0;
  // Owner of the document's message boxes.
  virtual QWidget* Window() = 0;
};
