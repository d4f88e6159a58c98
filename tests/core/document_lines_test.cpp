#include "core/document_lines.h"

#include <gtest/gtest.h>

namespace quillex {
namespace {

using quillex::Lines;

TEST(DocumentLines, AddGetPutDeleteClear) {
    DocumentLines doc;
    EXPECT_EQ(doc.Add("a"), 0u);
    EXPECT_EQ(doc.Add("b"), 1u);
    EXPECT_EQ(doc.Add("c"), 2u);
    doc.Put(1, "B");
    EXPECT_EQ(doc.Get(1), "B");
    doc.Delete(0);
    EXPECT_EQ(doc.ToLines(), (Lines{"B", "c"}));
    doc.Clear();
    EXPECT_EQ(doc.Count(), 0u);
}

TEST(DocumentLines, AnIndexOutsideTheListChangesNothingAndThrows) {
    DocumentLines doc(Lines{"a", "b"});
    const DocumentLines before = doc;
    EXPECT_THROW(doc.Get(2), IndexError);
    EXPECT_THROW(doc.Put(2, "x"), IndexError);
    EXPECT_THROW(doc.Delete(2), IndexError);
    EXPECT_THROW(doc.Delete(static_cast<std::size_t>(-1)), IndexError);
    EXPECT_EQ(doc, before);
    EXPECT_THROW(DocumentLines().Get(0), IndexError);
}

TEST(DocumentLines, LinesMayHoldAnyByteAndTheTextFormKeepsThem) {
    DocumentLines doc;
    doc.Add(std::string("a\rb\0c", 5));
    EXPECT_EQ(doc.Text(), std::string("a\rb\0c\r\n", 7));
}

TEST(DocumentLines, SettingTheTextFormReplacesEveryLine) {
    DocumentLines doc(Lines{"old", "lines"});
    doc.SetText("a\r\n\r\nb");
    EXPECT_EQ(doc.ToLines(), (Lines{"a", "", "b"}));
    doc.SetText("");
    EXPECT_EQ(doc.Count(), 0u);
}

// Loading a file in the text form keeps the bytes where they were read, and handing a
// document on moves them: nothing is copied and nothing is left behind.
TEST(DocumentLines, TakingTextAndMovingADocumentCopyNothing) {
    ByteBuffer bytes;
    bytes.Append("a\r\nbc\r\n", 7);
    const char* where = bytes.data();
    DocumentLines doc;
    doc.TakeText(std::move(bytes));
    EXPECT_EQ(doc.TextForm().data(), where);
    DocumentLines taken = std::move(doc);
    EXPECT_EQ(taken.TextForm().data(), where);
    EXPECT_EQ(taken.ToLines(), (Lines{"a", "bc"}));
    EXPECT_EQ(doc.Count(), 0u);
    EXPECT_TRUE(doc.TextForm().empty());
}

// The file form in another order, which the batch runner writes a sorted document by: the
// mark first, every line once with its CR LF, lines longer than the writer's gathering too.
TEST(DocumentLines, TheFileFormInAnOrderHoldsEveryLineOnceInThatOrder) {
    const std::string longLine(300'000, 'x');
    DocumentLines doc(
        Lines{"\xEF\xBB\xBF"
              "a",
              longLine, "", "b"});
    doc.SetEncoding(Encoding::Utf8);
    const std::vector<std::uint32_t> order = {3, 1, 2, 0};
    const PieceStream stream = doc.FileForm(order);
    std::string written;
    EXPECT_TRUE(stream.each([&](std::string_view piece) {
        written += piece;
        return true;
    }));
    EXPECT_EQ(written,
              "\xEF\xBB\xBF"
              "b\r\n" +
                  longLine + "\r\n\r\na\r\n");
    EXPECT_EQ(stream.size, written.size());
}

TEST(DocumentLines, PutAndDeleteMoveTheLinesAfterThem) {
    DocumentLines doc(Lines{"a", "bb", "c"});
    doc.Put(0, "long first");
    doc.Put(1, "");
    EXPECT_EQ(doc.ToLines(), (Lines{"long first", "", "c"}));
    doc.Delete(1);
    EXPECT_EQ(doc.ToLines(), (Lines{"long first", "c"}));
    EXPECT_EQ(doc.Text(), "long first\r\nc\r\n");
}

}  // namespace
}  // namespace quillex
