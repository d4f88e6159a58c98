#include "core/document_lines.h"

#include <gtest/gtest.h>

namespace quillex {
namespace {

using Lines = DocumentLines::Lines;

TEST(DocumentLines, AddGetPutDeleteClear) {
    DocumentLines doc;
    EXPECT_EQ(doc.Add("a"), 0u);
    EXPECT_EQ(doc.Add("b"), 1u);
    EXPECT_EQ(doc.Add("c"), 2u);
    doc.Put(1, "B");
    EXPECT_EQ(doc.Get(1), "B");
    doc.Delete(0);
    EXPECT_EQ(doc.lines(), (Lines{"B", "c"}));
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
    EXPECT_EQ(doc.lines(), (Lines{"a", "", "b"}));
    doc.SetText("");
    EXPECT_EQ(doc.Count(), 0u);
}

}  // namespace
}  // namespace quillex
