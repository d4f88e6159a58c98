// Functions 5, 8 and 9: the result goes over the load file, then the load command runs.

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "tests/ui/panel_fixture.h"

namespace quillex::testing {
namespace {

LineList Numbered(int count) {
    LineList lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

std::string FileText(const LineList& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The ways the load file can fail to be written.
enum class BadLoadFile { Empty, MissingFolder, Folder };

class RoundTripTest : public PanelsTest {
  protected:
    void BreakLoadFile(BadLoadFile how) {
        switch (how) {
            case BadLoadFile::Empty:
                host_.loadFileText.clear();
                break;
            case BadLoadFile::MissingFolder:
                host_.loadFileText = QString::fromStdString((dir_ / "missing" / "x.txt").string());
                break;
            case BadLoadFile::Folder:
                host_.loadFileText = QString::fromStdString(dir_.path().string());
                break;
        }
    }
};

const BadLoadFile kBadLoadFiles[] = {BadLoadFile::Empty, BadLoadFile::MissingFolder,
                                     BadLoadFile::Folder};

TEST_F(RoundTripTest, Function5WritesTheKeptLinesAndLoadsThemWhenConfirmed) {
    SetLines({"a", "b", "A", "b "});
    ConfirmLoadDialog();
    Start(5);
    EXPECT_EQ(ReadBytes(LoadFilePath()), "a\r\nb\r\nb \r\n");
    EXPECT_EQ(Lines(), LineList({"a", "b", "b "}));
    EXPECT_EQ(host_.events, Events({"progress 4", "load", "refresh"}));
}

TEST_F(RoundTripTest, Function5LeavesTheDocumentWhenTheDialogIsCancelled) {
    SetLines({"a", "b", "a"});
    Start(5);
    EXPECT_EQ(ReadBytes(LoadFilePath()), "a\r\nb\r\n");
    EXPECT_EQ(Lines(), LineList({"a", "b", "a"}));
    // The load command itself rebuilds the view.
    EXPECT_EQ(host_.events, Events({"progress 2", "load"}));
}

TEST_F(RoundTripTest, Function5ReportsAFailedWriteAndSkipsTheLoad) {
    for (BadLoadFile how : kBadLoadFiles) {
        SCOPED_TRACE(static_cast<int>(how));
        host_.events.clear();
        BreakLoadFile(how);
        SetLines({"a", "A"});
        Start(5);
        EXPECT_EQ(Lines(), LineList({"a", "A"}));
        EXPECT_EQ(host_.events, Events({"progress 1", "run error"}));
        EXPECT_FALSE(std::filesystem::exists(LoadFilePath()));
    }
}

TEST_F(RoundTripTest, Function8WritesTheLinesFromTheNthOn) {
    SetLines(Numbered(120));
    Start(8);
    const LineList all = Numbered(120);
    EXPECT_EQ(ReadBytes(LoadFilePath()), FileText(LineList(all.begin() + 50, all.end())));
    EXPECT_EQ(Lines(), all);
    EXPECT_EQ(host_.events, Events({"progress 120", "load", "refresh"}));
}

TEST_F(RoundTripTest, Function8LoadsTheResultWhenConfirmed) {
    SetLines(Numbered(3));
    c().dropCount->clear();
    QTest::keyClicks(c().dropCount, QStringLiteral("1"));
    ConfirmLoadDialog();
    Start(8);
    EXPECT_EQ(Lines(), LineList({"line 2", "line 3"}));
    EXPECT_EQ(host_.events, Events({"progress 3", "load", "refresh", "refresh"}));
}

TEST_F(RoundTripTest, Function8WithZeroWritesEverythingAndWithTooManyNothing) {
    SetLines(Numbered(4));
    c().dropCount->setText(QStringLiteral("0"));
    Start(8);
    EXPECT_EQ(ReadBytes(LoadFilePath()), FileText(Numbered(4)));
    EXPECT_EQ(host_.events, Events({"progress 4", "load", "refresh"}));

    host_.events.clear();
    c().dropCount->setText(QStringLiteral("4"));
    Start(8);
    EXPECT_EQ(ReadBytes(LoadFilePath()), "");
    EXPECT_EQ(host_.events, Events({"load", "refresh"}));
}

TEST_F(RoundTripTest, Function8SendsAnInvalidNumberToTheGeneralReportOnly) {
    struct Case {
        QString text;
        QString message;
    };
    const Case cases[] = {
        {"", "'' is not a valid integer value."},
        {"99999999999", "'99999999999' is not a valid integer value."},
        {"5x", "'5x' is not a valid integer value."},
        {QString::fromUtf8("ж"), QString::fromUtf8("'ж' is not a valid integer value.")},
    };
    SetLines(Numbered(3));
    for (const Case& test : cases) {
        SCOPED_TRACE(test.text.toStdString());
        report_.shown.clear();
        c().dropCount->setText(test.text);
        Start(8);
        EXPECT_EQ(report_.shown, std::vector<QString>{test.message});
    }
    EXPECT_TRUE(host_.events.empty());
    EXPECT_FALSE(std::filesystem::exists(LoadFilePath()));
    EXPECT_EQ(Lines(), Numbered(3));
}

TEST_F(RoundTripTest, Function8WithAPastedNegativeNumberEndsSilently) {
    SetLines(Numbered(3));
    c().dropCount->setText(QStringLiteral("-2"));
    Start(8);
    EXPECT_EQ(host_.events, Events({"refresh"}));
    EXPECT_FALSE(std::filesystem::exists(LoadFilePath()));
    EXPECT_TRUE(report_.shown.empty());
}

TEST_F(RoundTripTest, Function8ReportsAFailedWriteAndSkipsTheLoad) {
    for (BadLoadFile how : kBadLoadFiles) {
        SCOPED_TRACE(static_cast<int>(how));
        host_.events.clear();
        BreakLoadFile(how);
        SetLines(Numbered(60));
        Start(8);
        EXPECT_EQ(Lines(), Numbered(60));
        EXPECT_EQ(host_.events, Events({"progress 60", "run error", "refresh"}));
    }
}

class Function9Test : public RoundTripTest {
  protected:
    const LineList lines_ = {"report.txt",         "a.ru", "report.TXT",
                             "C:\\data.ru\\notes", "b.ru", "readme"};
    const LineList matching_ = {"a.ru", "b.ru"};
    const LineList others_ = {"report.txt", "report.TXT", "C:\\data.ru\\notes", "readme"};
};

TEST_F(Function9Test, KeepsTheMatchingLines) {
    SetLines(lines_);
    Start(9);
    EXPECT_EQ(ReadBytes(LoadFilePath()), FileText(matching_));
    EXPECT_EQ(Lines(), matching_);  // cancelled: the document holds the matching lines
    EXPECT_EQ(host_.events, Events({"progress 2", "load", "refresh"}));
}

TEST_F(Function9Test, RemovesTheMatchingLines) {
    SetLines(lines_);
    QTest::mouseClick(c().removeMatching, Qt::LeftButton);
    Start(9);
    EXPECT_EQ(ReadBytes(LoadFilePath()), FileText(others_));
    EXPECT_EQ(Lines(), matching_);
    EXPECT_EQ(host_.events, Events({"progress 2", "load", "refresh"}));

    host_.events.clear();
    SetLines(lines_);
    ConfirmLoadDialog();
    Start(9);
    EXPECT_EQ(Lines(), others_);
    EXPECT_EQ(host_.events, Events({"progress 2", "load", "refresh", "refresh"}));
}

TEST_F(Function9Test, AnEmptyTextMatchesTheLinesWithoutExtension) {
    SetLines(lines_);
    c().extension->clear();
    Start(9);
    EXPECT_EQ(Lines(), LineList({"C:\\data.ru\\notes", "readme"}));
    EXPECT_EQ(host_.events, Events({"progress 2", "load", "refresh"}));
}

TEST_F(Function9Test, AFailedWriteKeepsEveryLineAndIsReported) {
    for (BadLoadFile how : kBadLoadFiles) {
        SCOPED_TRACE(static_cast<int>(how));
        for (QRadioButton* mode : {c().keepMatching, c().removeMatching}) {
            host_.events.clear();
            BreakLoadFile(how);
            SetLines(lines_);
            Pick(9);
            QTest::mouseClick(mode, Qt::LeftButton);
            Start(9);
            EXPECT_EQ(Lines(), lines_);
            EXPECT_EQ(host_.events, Events({"progress 2", "run error", "refresh"}));
        }
    }
}

}  // namespace
}  // namespace quillex::testing
