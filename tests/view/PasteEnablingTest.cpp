// Paste is enabled by what the clipboard holds now: the view follows the
// clipboard's changes instead of asking it on every refresh.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "CKb_zeva3View.h"
#include "GuiTestSupport.h"

namespace {

QMimeData* TextData(const QString& text) {
  auto* data = new QMimeData;
  data->setText(text);
  return data;
}

QMimeData* ImageOnlyData() {
  auto* data = new QMimeData;
  data->setImageData(QImage(2, 2, QImage::Format_RGB32));
  return data;
}

class PasteEnablingTest : public testing::Test {
 protected:
  void SetUp() override {
    view.ShowDocument("ab", {});
    WritableAsWhenFocusReturns(view);
  }
  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

TEST_F(PasteEnablingTest, EachChangeOfTheClipboardIsSeenAtTheNextQuestion) {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->setMimeData(TextData(QStringLiteral("一")));
  EXPECT_TRUE(view.CanPaste());
  clipboard->setMimeData(ImageOnlyData());
  EXPECT_FALSE(view.CanPaste()) << "a picture alone is nothing to paste as text";
  clipboard->setText(QStringLiteral("二"));
  EXPECT_TRUE(view.CanPaste());
  clipboard->clear();
  EXPECT_FALSE(view.CanPaste());
}

TEST_F(PasteEnablingTest, ReadOnlyTextDisablesPasteWhateverTheClipboardHolds) {
  QApplication::clipboard()->setText(QStringLiteral("三"));
  view.Control().SetReadOnly(true);
  EXPECT_FALSE(view.CanPaste());
  WritableAsWhenFocusReturns(view);
  EXPECT_TRUE(view.CanPaste());
}

TEST_F(PasteEnablingTest, ASecondViewSeesTheClipboardAsTheFirstDoes) {
  QApplication::clipboard()->setText(QStringLiteral("四"));
  EXPECT_TRUE(view.CanPaste());
  CKb_zeva3View other{settings.profile};
  other.ShowDocument("", {});
  WritableAsWhenFocusReturns(other);
  EXPECT_TRUE(other.CanPaste());
  QApplication::clipboard()->clear();
  EXPECT_FALSE(other.CanPaste());
  EXPECT_FALSE(view.CanPaste());
}

}  // namespace
