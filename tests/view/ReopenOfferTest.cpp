// The bar above the text that offers to read a file again in the code it is
// plainly in, when the "Load" setting read it in another: shown for EUC,
// JIS and UTF-8 files read with the defaults, taken by its button, and the
// file then saved back in its own code.

#include <gtest/gtest.h>

#include <QPushButton>

#include "ByteStrings.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"
#include "ShiftJisCodec.h"

namespace {

using platform::MessageAnswer;

std::string FixturePath(const std::string& name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }
QString Q(const std::string& s) { return QString::fromStdString(s); }

struct OfferCase {
  const char* fixture;
  int loadSetting;
  const char* name;      // of the code offered
  const char* readPane;  // the code pane once read again
  std::string typed;     // "あ" at the start, in the file's code
};

void PrintTo(const OfferCase& c, std::ostream* os) { *os << c.fixture << " load " << c.loadSetting; }

class ReopenOffer : public testing::TestWithParam<OfferCase> {
 protected:
  std::string Copy(const std::string& fixture) {
    std::string path = settings.dir.File(fixture);
    WriteFileBytes(path, ReadFileBytes(FixturePath(fixture)));
    return path;
  }
  QPushButton* Button() { return view.Notice().ActionButton(); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  CKb_zeva3Doc doc{settings.profile, view};
};

// Reopened in its code, the file is shown as written, the panes say so, and
// a typed character saves in that code with every other byte kept.
TEST_P(ReopenOffer, OffersTheFilesCodeAndSavesBackInIt) {
  const OfferCase& c = GetParam();
  settings.profile.WriteProfileInt("KanaCode", "Load", c.loadSetting);
  const std::string path = Copy(c.fixture);
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(view.Notice().Text(), QStringLiteral("このファイルは %1 で書かれているようです。").arg(c.name));
  ASSERT_TRUE(Button()->isVisibleTo(&view));
  EXPECT_EQ(Button()->text(), QStringLiteral("%1 で開き直す").arg(c.name));
  Button()->click();
  EXPECT_TRUE(view.Notice().Text().isEmpty());
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QString::fromUtf8(c.readPane));
  EXPECT_NE(view.Control().Utf8Text().find("吾輩は猫である。"), std::string_view::npos);
  EXPECT_FALSE(view.IsModified());
  WritableAsWhenFocusReturns(view);
  view.Control().SetSelection(0, 0);
  view.Control().ReplaceSelection(QStringLiteral("あ"));
  ASSERT_TRUE(doc.Save());
  EXPECT_TRUE(user.asked.empty());
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(c.typed + ReadFileBytes(FixturePath(c.fixture))));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReopenOffer,
    testing::Values(OfferCase{"euc_prose.txt", 1, "EUC", "EUC→EUC", Hex("A4 A2")},
                    OfferCase{"euc_prose.txt", 2, "EUC", "EUC→EUC", Hex("A4 A2")},
                    OfferCase{"utf8_prose.txt", 1, "UTF-8", "UTF→UTF", Hex("E3 81 82")},
                    OfferCase{"utf8_prose.txt", 3, "UTF-8", "UTF→UTF", Hex("E3 81 82")},
                    OfferCase{"sjis_prose.txt", 3, "Shift-JIS", "SJS→SJS", Hex("82 A0")}));

class ReopenOfferTest : public ReopenOffer {};

// JIS says a kanji-in either way: the file here uses the escapes a save
// writes, so that the bytes come back as they were.
TEST_F(ReopenOfferTest, AJisFileIsOfferedAndSavesBackInJis) {
  const std::string path = settings.dir.File("jis.txt");
  const std::string jis = Hex("1B 24 40 38 63 47 5A 24 4F 47 2D 24 47 24 22 24 6B 21 23 1B 28 4A 0D 0A");  // 吾輩は猫である。
  WriteFileBytes(path, jis);
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(Button()->text(), QStringLiteral("JIS で開き直す"));
  Button()->click();
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("JIS→JIS"));
  WritableAsWhenFocusReturns(view);
  view.Control().SetSelection(0, 0);
  view.Control().ReplaceSelection(QStringLiteral("あ"));
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(Hex("1B 24 40 24 22") + jis.substr(3)));
}

// The offer leaves the text as the setting read it until it is taken, and
// taking it asks to save an edited text first.
TEST_F(ReopenOfferTest, ReadingAgainAsksToSaveAnEditedTextFirst) {
  const std::string path = Copy("euc_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("SJS→SJS")) << "read as the setting says";
  WritableAsWhenFocusReturns(view);
  view.Control().ReplaceSelection(QStringLiteral("x"));
  user.answers.push_back(MessageAnswer::Cancel);
  Button()->click();
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("SJS→SJS")) << "cancelled: nothing read again";
  EXPECT_FALSE(view.Notice().Text().isEmpty()) << "the offer stays";
  user.answers.push_back(MessageAnswer::No);
  Button()->click();
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("EUC→EUC"));
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("euc_prose.txt")));
}

// A wrong offer is worse than none: plain ASCII and Shift-JIS prose,
// whatever detection takes them for, read as they are.
TEST_F(ReopenOfferTest, NoBarForAsciiOrShiftJisProse) {
  const char* texts[] = {"plain ASCII text\r\n", "price 100円 only", "Meeting at 10:00。Bring notes.",
                         "ｶﾀｶﾅ と ひらがな", "ｱｲｳｴ ｶｷｸｹ\r\n"};
  for (const char* text : texts) {
    const std::string path = settings.dir.File("text.txt");
    WriteFileBytes(path, kanji::ShiftJisCodec::Encode(text).bytes);
    ASSERT_TRUE(doc.OpenDocumentFile(Q(path))) << text;
    EXPECT_TRUE(view.Notice().Text().isEmpty()) << text;
  }
}

}  // namespace
