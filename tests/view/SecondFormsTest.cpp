// The NEC and IBM duplicates read in their second byte forms (0x8790 for
// "≒", 0xED40 for "纊"), through the document, its view and the control:
// a UTF-8, JIS or EUC save, the clipboard and the screen give the character
// itself; a Shift-JIS save, and a paste within the editor, keep the bytes
// read. Every one of the 398 pairs is checked.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "ByteStrings.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"
#include "KanjiText.h"
#include "SecondForms.h"

namespace {

using kanji::ShiftJisCodec;
using Sci = QsciScintillaBase;

constexpr int kShiftJis = 1, kJis = 2, kEuc = 3, kUtf8 = 5;

// Each form's bytes, character or standard bytes, one a line.
template <class Part>
std::string Lines(const std::vector<SecondForm>& forms, Part part) {
  std::string text;
  for (const SecondForm& form : forms) text += part(form) + "\n";
  return text;
}
std::string Bytes(const std::vector<SecondForm>& forms) {
  return Lines(forms, [](const SecondForm& f) { return f.bytes; });
}
std::string Characters(const std::vector<SecondForm>& forms) {
  return Lines(forms, [](const SecondForm& f) { return f.utf8; });
}
std::string Standard(const std::vector<SecondForm>& forms) {
  return Lines(forms, [](const SecondForm& f) { return f.standard; });
}

class SecondFormsTest : public testing::Test {
 protected:
  void Codes(int load, int save) {
    settings.profile.WriteProfileInt("KanaCode", "Load", load);
    settings.profile.WriteProfileInt("KanaCode", "Save", save);
  }
  std::string Open(const std::string& bytes, int load, int save) {
    Codes(load, save);
    const std::string path = settings.dir.File("forms.txt");
    WriteFileBytes(path, bytes);
    EXPECT_TRUE(doc.OpenDocumentFile(QString::fromStdString(path)));
    return path;
  }
  std::string Text() const { return std::string(view.Control().Utf8Text()); }

  const std::vector<SecondForm> forms = EverySecondForm();
  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  CKb_zeva3Doc doc{settings.profile, view};
};

// A Shift-JIS file saved as UTF-8 held U+F8790, U+FED40... with no word:
// every other program showed boxes. Nothing is lost, so nothing is asked.
TEST_F(SecondFormsTest, Utf8SaveWritesTheCharactersAndReadsBackAsThem) {
  const std::string path = Open(Bytes(forms), kShiftJis, kUtf8);
  ASSERT_TRUE(doc.Save());
  EXPECT_TRUE(user.asked.empty());
  ASSERT_EQ(ReadFileBytes(path), Characters(forms));
  Codes(kUtf8, kUtf8);
  ASSERT_TRUE(doc.OpenDocumentFile(QString::fromStdString(path)));
  EXPECT_EQ(Text(), Characters(forms));
}

TEST_F(SecondFormsTest, ShiftJisSaveWritesTheBytesRead) {
  const std::string path = Open(Bytes(forms), kShiftJis, kShiftJis);
  WriteFileBytes(path, "overwritten");  // (as another program would: the save asks first)
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(Bytes(forms)));
  EXPECT_EQ(user.asked.size(), 1u) << "only whether to overwrite the other program's change";
}

// JIS and EUC know "≒", "∵", "￢" and the rest of row 2 by their standard
// cells only: those are written there without a question; the forms of
// characters JIS X 0208 lacks ("纊", "Ⅰ", "㈱") are named before saving.
TEST_F(SecondFormsTest, JisAndEucSavesWriteTheStandardFormWhereTheCodeHasTheCharacter) {
  std::vector<SecondForm> carried, lacking;
  for (const SecondForm& form : forms)
    (kanji::FindUncarryable(form.standard, KanjiCode::Jis).empty() ? carried : lacking).push_back(form);
  ASSERT_EQ(carried.size(), 12u) << "the nine NEC row-13 symbols, ∵ and the two ￢ of the IBM rows";
  for (int code : {kJis, kEuc}) {
    const KanjiCode saveCode = KanjiCodeFromInt(code);
    const std::string path = Open(Bytes(carried), kShiftJis, code);
    ASSERT_TRUE(doc.Save());
    EXPECT_TRUE(user.asked.empty()) << code;
    EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(kanji::FromShiftJis(Standard(carried), saveCode)));
    Codes(code, code);
    ASSERT_TRUE(doc.OpenDocumentFile(QString::fromStdString(path)));
    EXPECT_EQ(Text(), Characters(carried)) << "read back as the characters, in their standard form";

    Open(Bytes(lacking), kShiftJis, code);
    user.answers = {platform::MessageAnswer::Cancel};
    EXPECT_FALSE(doc.Save());
    ASSERT_EQ(user.asked.size(), 1u);
    EXPECT_TRUE(user.asked[0].text.contains(QStringLiteral("「纊」"))) << user.asked[0].text.toStdString();
    user.asked.clear();
  }
}

// An EUC file holding the NEC "≒" in its row-13 cell (AD F0) saves it in
// the standard cell (A2 E2): said when the file is read, as for any
// detected file a save would change.
TEST_F(SecondFormsTest, ADetectedFileWithASecondFormIsToldItSavesTheStandardForm) {
  Open("\xAD\xF0\n", 4, 4);
  EXPECT_EQ(Text(), ShiftJisCodec::Decode("\x87\x90\n"));
  EXPECT_TRUE(view.Notice().Text().contains(QStringLiteral("EUC"))) << view.Notice().Text().toStdString();
}

// Copy put U+F8790... on the clipboard, which other programs paste as boxes.
// They get the characters; a paste back into the editor keeps the bytes
// read, through the program's own format beside the text.
TEST_F(SecondFormsTest, CopyGivesOthersTheCharactersAndAPasteHereTheBytesRead) {
  Open(Bytes(forms), kShiftJis, kShiftJis);
  EditorControl& control = view.Control();
  control.SetSelection(0, control.TextLength());
  view.OnCommand(ids::kCopy);
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->text(), QString::fromStdString(Characters(forms)));
  EXPECT_TRUE(copied->hasFormat(QString::fromLatin1(EditorControl::kHeldTextFormat)));

  WritableAsWhenFocusReturns(view);
  control.SetSelection(control.TextLength(), control.TextLength());
  view.OnCommand(ids::kPaste);
  EXPECT_EQ(ToHex(control.ShiftJisText()), ToHex(Bytes(forms) + Bytes(forms)));

  // The characters from another program save as their standard bytes, as
  // typed ones do.
  QApplication::clipboard()->setText(QString::fromStdString(Characters(forms)));
  control.SetSelection(0, control.TextLength());
  view.OnCommand(ids::kPaste);
  EXPECT_EQ(ToHex(control.ShiftJisText()), ToHex(Standard(forms)));
}

// A UTF-8 document holds characters, never held pairs: the program's own
// format is no use there.
TEST_F(SecondFormsTest, PasteIntoAUtf8DocumentTakesTheCharacters) {
  Open(Bytes(forms), kShiftJis, kShiftJis);
  view.Control().SetSelection(0, view.Control().TextLength());
  view.OnCommand(ids::kCopy);
  Open("x\n", kUtf8, kUtf8);
  WritableAsWhenFocusReturns(view);
  view.Control().SetSelection(0, 2);
  view.OnCommand(ids::kPaste);
  EXPECT_EQ(Text(), Characters(forms));
}

long Appearance(EditorControl& control, const std::string& utf8) {
  return control.SendScintilla(Sci::SCI_GETREPRESENTATIONAPPEARANCE, reinterpret_cast<unsigned long>(utf8.c_str()));
}

// Pixels darker than mid-grey in the control's text area.
int DarkPixels(EditorControl& control) {
  const QImage shown = control.viewport()->grab().toImage();
  int dark = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) dark += qGray(shown.pixel(x, y)) < 128;
  return dark;
}

// The second forms showed as white-on-black boxes with no word of why. They
// are drawn as the character, with at most a faint line under it: about as
// much ink as the standard form, where a box is solid black.
TEST(SecondFormsDrawing, SecondFormsAreDrawnAsTheirCharacterNotAsBoxes) {
  EditorControl control;
  control.resize(400, 80);
  control.SendScintilla(Sci::SCI_SETCARETPERIOD, 0UL);
  control.SendScintilla(Sci::SCI_SETCARETWIDTH, 0UL);
  for (const char* pair : {"87 90", "ED 40", "FA 4A", "FA 58"}) {
    const std::string held = Hex(pair);
    const std::string standard = ShiftJisCodec::StandardPairs(held);
    control.SetShiftJisText(standard + standard + standard);
    const int standardInk = DarkPixels(control);
    control.SetShiftJisText(held + held + held);
    const std::string heldUtf8 = ShiftJisCodec::Decode(held);
    EXPECT_EQ(Appearance(control, heldUtf8), Sci::SC_REPRESENTATION_MARKED);
    const int heldInk = DarkPixels(control);
    EXPECT_GT(standardInk, 0) << pair;
    EXPECT_LE(heldInk, standardInk + standardInk / 4) << pair << ": drawn as a box";
    EXPECT_GE(heldInk, standardInk - standardInk / 4) << pair << ": not drawn as the character";
  }
  const std::string emptyCell = ShiftJisCodec::Decode(Hex("85 40"));
  EXPECT_EQ(Appearance(control, emptyCell), Sci::SC_REPRESENTATION_BOXED)
      << "an empty cell, no character, keeps its box";
}

}  // namespace
