// The in-place, removal and whole-text functions, end to end through their panels.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <functional>

#include "core/cp1251.h"
#include "core/line_ordering.h"
#include "tests/ui/panel_fixture.h"

namespace quillex::testing {
namespace {

// A UTF-8 literal as the document's code-page bytes.
std::string Cp(const char* utf8) {
    return EncodeCp1251(QString::fromUtf8(utf8).toStdU16String());
}

const Events kRefreshOnly = {"refresh"};
const Events kFailed = {"run error", "refresh"};

Events Done(std::size_t progress) {
    return {"progress " + std::to_string(progress), "refresh"};
}

// Every function over an empty document with its start-up parameters.
struct EmptyRun {
    int function;
    Events events;
    bool fileWritten;
};

void PrintTo(const EmptyRun& run, std::ostream* out) {
    *out << "function " << run.function;
}

class EmptyDocumentTest : public PanelsTest, public ::testing::WithParamInterface<EmptyRun> {};

TEST_P(EmptyDocumentTest, ChangesNothingAndShowsNoMessage) {
    const EmptyRun& run = GetParam();
    Start(run.function);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(host_.events, run.events);
    EXPECT_EQ(std::filesystem::exists(LoadFilePath()), run.fileWritten);
    if (run.fileWritten) {
        EXPECT_EQ(ReadBytes(LoadFilePath()), "");
    }
    EXPECT_TRUE(report_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFunction, EmptyDocumentTest,
    ::testing::Values(EmptyRun{0, kRefreshOnly, false}, EmptyRun{1, kRefreshOnly, false},
                      EmptyRun{2, kRefreshOnly, false}, EmptyRun{3, kRefreshOnly, false},
                      EmptyRun{4, kRefreshOnly, false}, EmptyRun{5, {}, false},
                      EmptyRun{6, kRefreshOnly, false}, EmptyRun{7, Done(0), false},
                      EmptyRun{8, {"load", "refresh"}, true},
                      EmptyRun{9, {"load", "refresh"}, true}, EmptyRun{10, kRefreshOnly, false},
                      EmptyRun{11, kRefreshOnly, false}, EmptyRun{12, kRefreshOnly, false},
                      EmptyRun{13, kRefreshOnly, false}, EmptyRun{14, kRefreshOnly, false},
                      EmptyRun{15, kRefreshOnly, false}),
    [](const auto& info) { return "Function" + std::to_string(info.param.function); });

TEST_F(PanelsTest, Function0CutsTheChosenCountOffEveryLine) {
    SetLines({"abc", " ab", "x", ""});
    Start(0);
    EXPECT_EQ(Lines(), LineList({"bc", "ab", "", ""}));
    EXPECT_EQ(host_.events, Done(4));

    host_.events.clear();
    SetLines({"abcdef", "\tabc"});
    c().cutCount->lineEdit()->clear();
    QTest::keyClicks(c().cutCount, QStringLiteral("2"));
    Start(0);
    EXPECT_EQ(Lines(), LineList({"cdef", "bc"}));

    c().cutCount->setCurrentIndex(4);  // "5"
    Start(0);
    EXPECT_EQ(Lines(), LineList({"", ""}));
}

TEST_F(PanelsTest, Function0TakesALeadingBlankButFailsOnATrailingLetter) {
    SetLines({"abcdefghij"});
    c().cutCount->setEditText(QStringLiteral(" 7"));
    Start(0);
    EXPECT_EQ(Lines(), LineList({"hij"}));
    EXPECT_EQ(host_.events, Done(1));

    host_.events.clear();
    c().cutCount->lineEdit()->clear();
    c().cutCount->lineEdit()->insert(QStringLiteral("12a"));  // pasted
    Start(0);
    EXPECT_EQ(Lines(), LineList({"hij"}));
    EXPECT_EQ(host_.events, kFailed);
    EXPECT_TRUE(report_.shown.empty());
}

TEST_F(PanelsTest, Function0WithAnEmptyFieldFailsOnlyWhenThereAreLines) {
    c().cutCount->setEditText(QString());
    Start(0);
    EXPECT_EQ(host_.events, kRefreshOnly);

    host_.events.clear();
    SetLines({"abc"});
    Start(0);
    EXPECT_EQ(Lines(), LineList({"abc"}));
    EXPECT_EQ(host_.events, kFailed);
}

TEST_F(PanelsTest, Function1ReplacesTheFirstCharacterByTheSecond) {
    SetLines({"a?b??"});
    c().replacementChar->setCurrentIndex(1);  // "."
    Start(1);
    EXPECT_EQ(Lines(), LineList({"a.b.."}));
    EXPECT_EQ(host_.events, Done(0));
}

TEST_F(PanelsTest, Function1TakesTypedCyrillicCaseSensitively) {
    SetLines({Cp("жЖж"), "x"});
    c().replacedChar->lineEdit()->setText(QString::fromUtf8("ж"));
    c().replacementChar->setCurrentIndex(0);  // "?"
    Start(1);
    EXPECT_EQ(Lines(), LineList({Cp("?Ж?"), "x"}));
    EXPECT_EQ(host_.events, Done(1));
}

TEST_F(PanelsTest, Function1WithAnEmptyFieldNeverChangesTheDocument) {
    struct Case {
        const char* name;
        QString c1;
        QString c2;
        LineList lines;
        Events events;
    };
    const Case cases[] = {
        {"empty first field, first line empty",
         "",
         ".",
         {"", "a?"},
         {"progress 0", "run error", "refresh"}},
        {"empty first field, first line not", "", ".", {"a?", ""}, kFailed},
        {"empty second field", "?", "", {"x", "a?", "?"}, {"progress 0", "run error", "refresh"}},
        {"both empty", "", "", {"abc"}, kFailed},
        {"empty second field, no first character", "?", "", {"x", "y"}, Done(1)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        host_.events.clear();
        SetLines(test.lines);
        c().replacedChar->setEditText(test.c1);
        c().replacementChar->setEditText(test.c2);
        Start(1);
        EXPECT_EQ(Lines(), test.lines);
        EXPECT_EQ(host_.events, test.events);
    }
}

TEST_F(PanelsTest, Function2CutsAtTheWholeWordBlanksIncluded) {
    SetLines({"x=1 Result: ok", "result: ok", "Result:"});
    Start(2);
    EXPECT_EQ(Lines(), LineList({"x=1 ", "result: ok", ""}));
    EXPECT_EQ(host_.events, Done(2));

    host_.events.clear();
    SetLines({"a", Cp("итог b"), "c"});
    c().cutWord->setEditText(QString::fromUtf8("г b"));
    Start(2);
    EXPECT_EQ(Lines(), LineList({"a", Cp("ито"), "c"}));
    EXPECT_EQ(host_.events, Done(1));

    host_.events.clear();
    c().cutWord->setEditText(QString());
    Start(2);
    EXPECT_EQ(host_.events, kRefreshOnly);
}

TEST_F(PanelsTest, Function3AddsOnlyTheTickedTexts) {
    SetLines({"abc", ""});
    Start(3);
    EXPECT_EQ(Lines(), LineList({"abc", ""}));
    EXPECT_EQ(host_.events, Done(2));

    QTest::mouseClick(c().addLeft, Qt::LeftButton);
    QTest::mouseClick(c().addRight, Qt::LeftButton);
    Start(3);
    EXPECT_EQ(Lines(), LineList({" \"abc\";", " \"\";"}));

    SetLines({"abc", ""});
    c().leftText->setEditText(QStringLiteral("<"));
    c().rightText->setEditText(QStringLiteral(">"));
    QTest::mouseClick(c().addLeft, Qt::LeftButton);  // left off again
    Start(3);
    EXPECT_EQ(Lines(), LineList({"abc>", ">"}));
}

TEST_F(PanelsTest, Function4RemovesTheLinesThatMeetTheChosenCondition) {
    SetLines({"a", "", " \t", "\xA0", "b"});
    Start(4);
    EXPECT_EQ(Lines(), LineList({"a", "\xA0", "b"}));
    EXPECT_EQ(host_.events, Done(2));

    host_.events.clear();
    SetLines({"xxabcxx", "xxABCxx", "abc"});
    c().condition->setCurrentIndex(9);
    c().conditionText->setText(QStringLiteral("abc"));
    Start(4);
    EXPECT_EQ(Lines(), LineList({"xxABCxx"}));
    EXPECT_EQ(host_.events, Done(2));

    host_.events.clear();
    c().conditionText->clear();
    Start(4);
    EXPECT_EQ(Lines(), LineList({"xxABCxx"}));
    EXPECT_EQ(host_.events, kRefreshOnly);
}

TEST_F(PanelsTest, Function4WithNoEntrySelectedRemovesNothing) {
    SetLines({"", "a"});
    c().condition->setCurrentIndex(-1);
    Start(4);
    EXPECT_EQ(Lines(), LineList({"", "a"}));
    EXPECT_EQ(host_.events, kRefreshOnly);
}

TEST_F(PanelsTest, Function6RemovesTheChosenClass) {
    const std::string line = "Price: 3,75 rub.; ok?";
    struct Case {
        int entry;
        std::string result;
    };
    for (const Case& test : {Case{0, "Price 375 rub ok"}, Case{1, "Price: , rub.; ok?"},
                             Case{2, "Price:3,75rub.;ok?"}, Case{-1, line}}) {
        SCOPED_TRACE(test.entry);
        host_.events.clear();
        SetLines({line, "?!."});
        c().charClass->setCurrentIndex(test.entry);
        Start(6);
        EXPECT_EQ(Lines().front(), test.result);
        EXPECT_EQ(Lines().size(), 2u);
        EXPECT_EQ(host_.events, Done(2));
    }
}

TEST_F(PanelsTest, Function7JoinsTheLinesWithOrWithoutMarkers) {
    SetLines({"ab", "cd"});
    Start(7);
    EXPECT_EQ(Lines(), LineList({"abcd"}));
    EXPECT_EQ(host_.events, Done(2));

    host_.events.clear();
    SetLines({"ab", "cd"});
    QTest::mouseClick(c().joinMarker, Qt::LeftButton);
    Start(7);
    Start(7);
    EXPECT_EQ(Lines(), LineList({"ab<br>cd<br><br>"}));
    EXPECT_EQ(host_.events, Events({"progress 2", "refresh", "progress 1", "refresh"}));
}

TEST_F(PanelsTest, Function10StripsTheChosenSide) {
    struct Case {
        int entry;
        std::string result;
    };
    for (const Case& test :
         {Case{0, "a  b  "}, Case{1, "  a  b"}, Case{2, "a  b"}, Case{-1, "  a  b  "}}) {
        SCOPED_TRACE(test.entry);
        host_.events.clear();
        SetLines({"  a  b  ", " \t", "\xA0x"});
        c().trimSide->setCurrentIndex(test.entry);
        Start(10);
        EXPECT_EQ(Lines()[0], test.result);
        EXPECT_EQ(Lines()[1], test.entry < 0 ? " \t" : "");
        EXPECT_EQ(Lines()[2], "\xA0x");
        EXPECT_EQ(host_.events, Done(2));
    }
}

TEST_F(PanelsTest, Function11RemovesTheLinesHoldingTheWord) {
    SetLines({"console", "Console", "falcon", "CON", "a con b"});
    Start(11);
    EXPECT_EQ(Lines(), LineList({"Console", "CON"}));
    EXPECT_EQ(host_.events, Done(0));

    host_.events.clear();
    c().removeWord->clear();
    Start(11);
    EXPECT_EQ(Lines(), LineList({"Console", "CON"}));
    EXPECT_EQ(host_.events, Done(0));
}

TEST_F(PanelsTest, ParametersSurviveARun) {
    SetLines({"abc"});
    c().cutCount->setCurrentIndex(2);
    Start(0);
    EXPECT_EQ(c().cutCount->currentText(), QStringLiteral("3"));
    EXPECT_EQ(Lines(), LineList({""}));
}

// A text the document's encoding cannot hold is refused with a message naming its field, not
// written as "?": nothing runs, nothing is written.
TEST_F(PanelsTest, ATextTheEncodingCannotHoldIsRefusedNamingTheField) {
    const QString han = QString::fromUtf8("日");
    struct Field {
        int function;
        std::function<void(const PanelControls&, const QString&)> set;
        const char* name;
    };
    const Field fields[] = {
        {0, [](const PanelControls& c, const QString& t) { c.cutCount->setEditText(t); },
         "number of characters"},
        {1, [](const PanelControls& c, const QString& t) { c.replacedChar->setEditText(t); },
         "character 1"},
        {1, [](const PanelControls& c, const QString& t) { c.replacementChar->setEditText(t); },
         "character 2"},
        {2, [](const PanelControls& c, const QString& t) { c.cutWord->setEditText(t); }, "word"},
        {3,
         [](const PanelControls& c, const QString& t) {
             c.leftText->setEditText(t);
             c.addLeft->setChecked(true);
         },
         "left text"},
        {3, [](const PanelControls& c, const QString& t) { c.rightText->setEditText(t); },
         "right text"},
        {4,
         [](const PanelControls& c, const QString& t) {
             c.condition->setCurrentIndex(9);
             c.conditionText->setText(t);
         },
         "search text"},
        {8, [](const PanelControls& c, const QString& t) { c.dropCount->setText(t); },
         "line number"},
        {9, [](const PanelControls& c, const QString& t) { c.extension->setText(t); }, "text"},
        {11, [](const PanelControls& c, const QString& t) { c.removeWord->setText(t); }, "word"},
    };
    for (const Field& field : fields) {
        SCOPED_TRACE(field.name);
        SetLines({"e one", "e.txt"});
        host_.events.clear();
        field.set(c(), han);
        Start(field.function);
        EXPECT_EQ(host_.events, Events{std::string("message The field \"") + field.name +
                                       "\" holds a character that Windows-1251 cannot hold. "
                                       "Nothing was changed."});
        EXPECT_EQ(Lines(), LineList({"e one", "e.txt"}));
        EXPECT_FALSE(std::filesystem::exists(LoadFilePath()));
        field.set(c(), QStringLiteral("1"));
    }
    EXPECT_TRUE(report_.shown.empty());

    // A UTF-8 document holds it.
    SetLines({"e one"});
    host_.document.SetEncoding(Encoding::Utf8);
    host_.events.clear();
    c().replacedChar->setEditText(QStringLiteral("e"));
    c().replacementChar->setEditText(han);
    Start(1);
    EXPECT_EQ(Lines(), LineList({"日 on日"}));
}

// The panels after the twelve run their function with the choices made in them.
TEST_F(PanelsTest, TheOrderingAndDuplicatePanelsRunTheirFunctionWithTheirChoices) {
    DocumentLines shuffled(LineList{"a", "b", "c", "d", "e"});
    ShuffleLines(shuffled, 7, Progress());
    const struct {
        int function;
        std::function<void(const PanelControls&)> choose;
        LineList lines;
        LineList expected;
        std::size_t progress;
    } cases[] = {
        {12,
         [](const PanelControls& c) {
             c.sortOrder->setCurrentIndex(1);  // ignoring letter case
             c.descending->setChecked(true);
         },
         {"b", "A", "a", "C"},
         {"C", "b", "A", "a"},
         4},
        {13, [](const PanelControls&) {}, {"1", "2", "3"}, {"3", "2", "1"}, 3},
        {14,
         [](const PanelControls& c) { QTest::keyClicks(c.seed, QStringLiteral("7")); },
         {"a", "b", "c", "d", "e"},
         shuffled.ToLines(),
         5},
        {15,
         [](const PanelControls& c) {
             c.duplicateKeep->setCurrentIndex(1);  // the last of each
             c.countDuplicates->setChecked(true);
         },
         {"a", "B", "A", "b", "c"},
         {"2\tA", "2\tb", "1\tc"},
         5},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE(run.function);
        host_.events.clear();
        SetLines(run.lines);
        run.choose(c());
        Start(run.function);
        EXPECT_EQ(Lines(), run.expected);
        EXPECT_EQ(host_.events, Done(run.progress));
    }
}

}  // namespace
}  // namespace quillex::testing
