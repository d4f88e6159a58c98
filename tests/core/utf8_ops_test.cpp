// The line functions on UTF-8 documents: characters are code points, cut points never split
// one, and bytes that begin no valid sequence pass through as they are.

#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/line_functions.h"
#include "core/utf8_case_fold.h"
#include "core/view_text.h"
#include "op_case.h"
#include "temp_dir.h"

namespace quillex {
namespace {

using testing::OpCase;

// Runs `run` over the lines as a UTF-8 document, as vector_ops.h does for Windows-1251.
auto OnUtf8(std::function<void(DocumentLines&, const Progress&)> run) {
    return [run](Lines& lines, const Progress& p) {
        DocumentLines document(lines);
        document.SetEncoding(Encoding::Utf8);
        try {
            run(document, p);
        } catch (...) {
            lines = document.ToLines();
            throw;
        }
        lines = document.ToLines();
    };
}

auto Function(FunctionId id, FunctionParams params) {
    return OnUtf8(
        [id, params](DocumentLines& d, const Progress& p) { RunLineFunction(id, params, d, p); });
}

FunctionParams With(std::function<void(FunctionParams&)> set) {
    FunctionParams p;
    set(p);
    return p;
}

const std::string kBroken = "a\xD0z\x9F";  // a lone lead byte and a lone continuation byte

TEST(Utf8Functions, CharactersAtTheCutPoints) {
    const OpCase cases[] = {
        {"0 cuts characters, not bytes",
         {"Привет", "ab", "€x", "😀y"},
         Function(FunctionId::CutLeading,
                  With([](FunctionParams& p) { p.count = std::string("1"); })),
         {"ривет", "b", "x", "y"},
         {1, 2, 3, 4}},
        {"0 counts a broken byte as one character",
         {kBroken, "\x9F\x9Fq"},
         Function(FunctionId::CutLeading,
                  With([](FunctionParams& p) { p.count = std::string("2"); })),
         {"z\x9F", "q"},
         {1, 2}},
        {"1 replaces a two-byte letter by a one-byte one",
         {"ёлка ёж", "e"},
         Function(FunctionId::ReplaceChar, With([](FunctionParams& p) {
                      p.from = "ё";
                      p.to = "e";
                  })),
         {"eлка eж", "e"},
         {0, 1}},
        {"1 replaces a letter by a longer character",
         {"a-b-", "", "-"},
         Function(FunctionId::ReplaceChar, With([](FunctionParams& p) {
                      p.from = "-";
                      p.to = "—";
                  })),
         {"a—b—", "", "—"},
         {0, 1, 2}},
        {"1 takes a lone byte only where it stands alone",
         {"\xD0\x9F\xD0z"},
         Function(FunctionId::ReplaceChar, With([](FunctionParams& p) {
                      p.from = "\xD0";
                      p.to = "?";
                  })),
         {"\xD0\x9F?z"},
         {0}},
        {"1 with no second character fails at the first occurrence, the line unchanged",
         {"ab", "ёж"},
         Function(FunctionId::ReplaceChar, With([](FunctionParams& p) {
                      p.from = "ж";
                      p.to = std::nullopt;
                  })),
         {"ab", "ёж"},
         {0},
         &typeid(RunError)},
        {"2 cuts at a word, but not inside a character",
         {"Итог: 5 Результат: ok", "\xD0\x9F\x9F:"},
         Function(FunctionId::CutAtWord,
                  With([](FunctionParams& p) { p.cut_word = "Результат:"; })),
         {"Итог: 5 ", "\xD0\x9F\x9F:"},
         {1}},
        {"2 with a broken word matches only whole characters",
         {"\xD0\x9F|\x9F|"},
         Function(FunctionId::CutAtWord, With([](FunctionParams& p) { p.cut_word = "\x9F|"; })),
         {"\xD0\x9F|"},
         {1}},
        {"3 adds multi-byte texts",
         {"x", ""},
         Function(FunctionId::AddText, With([](FunctionParams& p) {
                      p.left = "«";
                      p.right = "»";
                      p.add_left = p.add_right = true;
                  })),
         {"«x»", "«»"},
         {1, 2}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

TEST(Utf8Functions, LengthsCountCharacters) {
    auto remove = [](RemovalCondition condition, std::string text = "") {
        return Function(FunctionId::RemoveIf, With([=](FunctionParams& p) {
                            p.condition = condition;
                            p.condition_text = text;
                        }));
    };
    const OpCase cases[] = {
        {"4: four Cyrillic letters are shorter than 5, eight bytes though",
         {"абвг", "абвгд", " ёё "},
         remove(RemovalCondition::LengthBelow5),
         {"абвгд"},
         {1, 2}},
        {"4: a line of 20 letters is not above 20",
         {std::string(20 * 1, 'x'), "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ"},
         remove(RemovalCondition::LengthAbove20),
         {std::string(20, 'x'), "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ"},
         {1}},
        {"4: a broken byte is one character",
         {"\xD0", "\xD0\xD0"},
         remove(RemovalCondition::LengthAbove1),
         {"\xD0"},
         {1}},
        {"4: the no-break space is a blank at the ends, as trimming has it",
         {"\xC2\xA0"
          "abcd"
          "\xC2\xA0",
          "\xC2\xA0"
          "abcde"},
         remove(RemovalCondition::LengthBelow5),
         {"\xC2\xA0"
          "abcde"},
         {1}},
        {"4: the search text matches whole characters only",
         {"\xD0\x9F", "x\x9F"},
         remove(RemovalCondition::ContainsText, "\x9F"),
         {"\xD0\x9F"},
         {1}},
        {"11 removes lines with a Cyrillic word",
         {"конец", "Конец", "начало"},
         Function(FunctionId::RemoveWithWord,
                  With([](FunctionParams& p) { p.remove_word = "кон"; })),
         {"Конец", "начало"},
         {2, 1, 0}},
        {"6 removes ASCII marks only, next to any letters",
         {"«Да!», — сказал он; ok?"},
         Function(FunctionId::RemoveClass,
                  With([](FunctionParams& p) { p.char_class = CharClass::Marks; })),
         {"«Да» — сказал он ok"},
         {1}},
        {"10 trims the no-break space too, not other letters",
         {"\xC2\xA0 ж \xC2\xA0", "\t\xC2\xA0", kBroken + " "},
         Function(FunctionId::Trim, With([](FunctionParams& p) { p.side = TrimSide::AtBothEnds; })),
         {"ж", "", kBroken},
         {0, 1, 2}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

// "Line length = 0" removes exactly the lines that trimming at both ends would empty: the
// no-break space is a blank in UTF-8 and a letter in Windows-1251, for both.
TEST(Utf8Functions, LengthZeroAgreesWithTrimming) {
    const Lines lines = {"\xC2\xA0", " \t\xC2\xA0\x01", "\xA0", " \xA0 ", "\xC2", "ж\xC2\xA0", ""};
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Windows1251}) {
        auto run = [&](FunctionId id, const FunctionParams& params) {
            DocumentLines document(lines);
            document.SetEncoding(encoding);
            RunLineFunction(id, params, document, [](std::size_t) {});
            return document.ToLines();
        };
        const Lines trimmed =
            run(FunctionId::Trim, With([](FunctionParams& p) { p.side = TrimSide::AtBothEnds; }));
        Lines kept;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (!trimmed[k].empty()) {
                kept.push_back(lines[k]);
            }
        }
        EXPECT_EQ(run(FunctionId::RemoveIf,
                      With([](FunctionParams& p) { p.condition = RemovalCondition::LengthIs0; })),
                  kept)
            << EncodingName(encoding);
        EXPECT_EQ(kept.size(), encoding == Encoding::Utf8 ? 4u : 6u);
    }
}

TEST(Utf8Functions, DuplicatesFoldFullUnicodeCase) {
    struct Row {
        const char* a;
        const char* b;
        bool equal;
    };
    const Row rows[] = {
        {"Привет мир", "ПРИВЕТ МИР", true},
        {"Ёлка", "ёлка", true},
        {"Ærø Ýç", "ærø ýç", true},  // Latin-1
        {"ΣΟΦΟΣ", "σοφος", true},    // final sigma folds to sigma
        {"σοφοσ", "ΣΟΦΟς", true},
        {"Straße", "STRASSE", true},  // ß folds to ss
        {"ẞ", "ss", true},
        {"ﬁx", "FIX", true},  // ligature
        {"İ", "i̇", true},     // dotted capital I: i and a combining dot
        {"I", "ı", false},    // dotless i is a letter of its own
        {"Straße", "Strase", false},
        {"ab", "ab ", false},
        {"\xD0z", "\xD0Z", true},  // a broken byte stays itself
        {"\xD0z", "\xD1z", false},
        {"\xC3\xA9", "\xC3\x89", true},  // é É
        {"\xC3", "\xC3\x89", false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Utf8FoldedEqual(r.a, r.b), r.equal) << r.a << " / " << r.b;
        EXPECT_EQ(Utf8FoldedEqual(r.b, r.a), r.equal) << r.b << " / " << r.a;
        if (r.equal) {
            EXPECT_EQ(Utf8FoldedHash(r.a, 7), Utf8FoldedHash(r.b, 7)) << r.a;
        }
    }
    // Longer than one folding block, differing only in case, and in the last letter.
    std::string upper;
    std::string lower;
    for (int k = 0; k < 300; ++k) {
        upper += "ЖZß";
        lower += "жzss";
    }
    EXPECT_TRUE(Utf8FoldedEqual(upper, lower));
    EXPECT_EQ(Utf8FoldedHash(upper, 1), Utf8FoldedHash(lower, 1));
    EXPECT_FALSE(Utf8FoldedEqual(upper + "a", lower + "b"));

    const OpCase dedupe = {
        "5 on a document",
        {"Привет мир", "ПРИВЕТ МИР", "Straße", "STRASSE", "ΣΟΦΟΣ", "σοφος", "x"},
        OnUtf8([](DocumentLines& d, const Progress& p) { d.Keep(RemoveDuplicateLines(d, p)); }),
        {"Привет мир", "Straße", "ΣΟΦΟΣ", "x"},
        {1, 3, 5, 7}};
    Check(dedupe);
}

TEST(Utf8Document, TheViewCutsAndCountsCharacters) {
    DocumentLines d(Lines{"жжжжжж", "ab"});
    d.SetEncoding(Encoding::Utf8);
    const ViewText view = ComposeViewText(d, 2, 5);
    EXPECT_EQ(view.text, "жжжжж");  // five characters of ten bytes, no letter split
    EXPECT_TRUE(view.overflow);
    EXPECT_EQ(ComposeViewText(d, 2, 12).text, "жжжжжж\nab\n");
    EXPECT_EQ(LongestLineLength(d), 6u);
    EXPECT_EQ(CountViewText(u"😀\n"), (ViewCounts{1, 3}));  // a pair of halves is one character
}

TEST(Utf8Document, DetectionOnTheEdge) {
    struct Row {
        std::string bytes;
        Encoding encoding;
    };
    const Row rows[] = {
        {"", Encoding::Windows1251},
        {"plain ASCII only\r\n", Encoding::Windows1251},
        {std::string(100, 'a') + "é", Encoding::Utf8},        // one letter, past the fast path
        {"\xEF\xBB\xBF", Encoding::Utf8},                     // a mark alone
        {"\xEF\xBB\xBF\xCF\xF0\xE8", Encoding::Utf8},         // a mark before broken bytes
        {"\xCF\xF0\xE8\xE2\xE5\xF2", Encoding::Windows1251},  // Cyrillic in Windows-1251
        {"\xD0\x9F\xD1", Encoding::Windows1251},              // cut short at the end
        {"\xC0\x80", Encoding::Windows1251},                  // an overlong form
        {"\xED\xA0\x80", Encoding::Windows1251},              // a surrogate
        {"\xF4\x90\x80\x80", Encoding::Windows1251},          // past U+10FFFF
        {"😀", Encoding::Utf8},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DetectEncoding(r.bytes), r.encoding) << ::testing::PrintToString(r.bytes);
    }
}

TEST(Utf8Document, TheMarkIsKeptApartAndWrittenBack) {
    testing::TempDir dir;
    const auto path = dir.path() / "marked.txt";
    {
        std::FILE* f = std::fopen(path.string().c_str(), "wb");
        std::fputs("\xEF\xBB\xBFЖук\nb\n", f);
        std::fclose(f);
    }
    DocumentLines d;
    d.LoadFromFile(path);
    EXPECT_EQ(d.GetEncoding(), Encoding::Windows1251);  // bytes as they are until read as UTF-8
    EXPECT_EQ(d.Get(0), "\xEF\xBB\xBFЖук");
    d.SetEncoding(DetectEncoding(d.TextForm()));
    EXPECT_EQ(d.GetEncoding(), Encoding::Utf8);
    EXPECT_TRUE(d.HasBom());
    EXPECT_EQ(d.ToLines(), (Lines{"Жук", "b"}));

    RemoveLeadingChars(d, "1", [](std::size_t) {});
    DocumentLines copy = d;  // the encoding moves with the document
    d.SaveToFile(path);
    DocumentLines again;
    again.LoadFromFile(path);
    EXPECT_EQ(again.TextForm(), "\xEF\xBB\xBFук\r\n\r\n");
    EXPECT_EQ(copy.GetEncoding(), Encoding::Utf8);
    EXPECT_EQ(copy.TextForm(LineSelection{}), (TextPieces{kUtf8Bom}));  // a list kept empty

    // Read again as Windows-1251, the mark is the first line's again.
    copy.SetEncoding(Encoding::Windows1251);
    EXPECT_FALSE(copy.HasBom());
    EXPECT_EQ(copy.ToLines(), (Lines{"\xEF\xBB\xBFук", ""}));
}

}  // namespace
}  // namespace quillex
