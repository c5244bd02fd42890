// What the editor does when memory runs out: a program of its own, because
// it replaces the global allocation functions with ones a test can make
// fail for large requests (the text's working copies), while the small
// allocations of Qt and of the message box keep working.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <new>

#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CLineEndDlg.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"

namespace {

std::size_t g_failFrom = 0;  // requests of this size and more fail; 0: none

// Large requests fail while alive.
class LargeAllocationsFail {
 public:
  explicit LargeAllocationsFail(std::size_t from) { g_failFrom = from; }
  ~LargeAllocationsFail() { g_failFrom = 0; }
};

constexpr std::size_t kLarge = 4u << 20;

TEST(AllocationFailure, LineEndReplacementReportsTheMemoryErrorAndKeepsTheText) {
  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  std::string text;
  for (int i = 0; i < 400000; ++i) text += "あいうえお\n";  // 6.4 MB
  view.ShowDocument(text, {});
  WritableAsWhenFocusReturns(view);
  platform::SetDialogHandler([](QDialog& dialog) {
    auto& lineEnd = dynamic_cast<CLineEndDlg&>(dialog);
    lineEnd.Radio(CLineEndDlg::CrLf)->click();
    lineEnd.OkButton()->click();
    return dialog.result();
  });
  {
    LargeAllocationsFail fail(kLarge);
    view.OnCommand(ids::kLineEndReplacement);
  }
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("作業領域を確保できませんでした。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("メモリエラー"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Stop);
  EXPECT_EQ(view.TextForSave(nullptr), text);
  EXPECT_FALSE(view.IsModified());
}

// Saving and opening need working memory a piece at a time: when even a
// piece cannot be had, nothing is written and nothing is lost.
TEST(AllocationFailure, RunningOutOfMemoryIsReportedAndLosesNothing) {
  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  CKb_zeva3Doc doc{settings.profile, view};
  settings.profile.WriteProfileInt("KanaCode", "Load", 1);
  settings.profile.WriteProfileInt("KanaCode", "Save", 3);
  std::string original;
  for (int i = 0; i < 100000; ++i) original += "\x82\xa0\x82\xa2\x82\xa4\r\n";  // 800 kB of "あいう"
  std::string path = settings.dir.File("text.txt");
  WriteFileBytes(path, original);
  ASSERT_TRUE(doc.OpenDocumentFile(QString::fromStdString(path)));
  WritableAsWhenFocusReturns(view);
  view.Control().SetSelection(0, 0);
  view.Control().ReplaceSelection(QStringLiteral("x"));
  {
    LargeAllocationsFail fail(256 << 10);
    // Saving writes nothing: not the unconverted text into a file meant to be EUC.
    EXPECT_FALSE(doc.Save());
  }
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("作業領域を確保できませんでした。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("メモリエラー"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Stop);
  EXPECT_EQ(ReadFileBytes(path), original);
  EXPECT_TRUE(view.IsModified());
  user.answers = {platform::MessageAnswer::No};  // do not save the change before opening
  std::string other = settings.dir.File("other.txt");
  WriteFileBytes(other, original);
  {
    LargeAllocationsFail fail(256 << 10);
    EXPECT_FALSE(doc.OpenDocumentFile(QString::fromStdString(other)));
  }
  EXPECT_EQ(user.asked.back().caption, QStringLiteral("メモリエラー"));
  EXPECT_EQ(doc.PathName(), QString::fromStdString(path)) << "the open document stays";
}

}  // namespace

// Sanitizers bring their own allocation functions; there the test runs
// with them and the failure never comes.
#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) {
  if (g_failFrom != 0 && size >= g_failFrom) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#endif

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
#if defined(__SANITIZE_ADDRESS__)
  testing::GTEST_FLAG(filter) = "-AllocationFailure.*";
#endif
  return RUN_ALL_TESTS();
}
