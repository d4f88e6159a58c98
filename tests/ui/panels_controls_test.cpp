// The chooser, the panels' controls and their filters, driven as the user drives them.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "core/caption_table.h"
#include "tests/ui/panel_fixture.h"

namespace quillex::testing {
namespace {

// Types text that QTest::keyClicks cannot spell (it sends Latin-1 only).
void Type(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

QStringList Entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

TEST_F(PanelsTest, StartsWithFunction0PickedAndOnlyItsPanelShown) {
    EXPECT_EQ(c().ComboBox_Select->currentIndex(), 0);
    EXPECT_EQ(c().ComboBox_Select->count(), kFunctionCount);
    EXPECT_EQ(VisiblePanels(), std::vector<int>{0});
    EXPECT_EQ(c().ComboBox_Select->geometry(), QRect(364, 500, 425, 21));
    for (int k = 0; k < kFunctionCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(c().Gb[k]->objectName(), QStringLiteral("Gb_%1").arg(k));
        EXPECT_EQ(c().Gb[k]->geometry(), QRect(364, 524, 426, 54));
        EXPECT_TRUE(c().Gb[k]->title().isEmpty());
        EXPECT_EQ(c().Btn[k]->objectName(), QStringLiteral("Btn_%1").arg(k));
        EXPECT_EQ(c().Btn[k]->text(), QStringLiteral("Start"));
        EXPECT_TRUE(c().Btn[k]->isEnabled());
        EXPECT_EQ(c().Btn[k]->parent(), c().Gb[k]);
    }
}

TEST_F(PanelsTest, PickingEachEntryLeavesExactlyItsPanelVisible) {
    for (int k : {3, 0, 11, 5, 1, 2, 4, 6, 7, 8, 9, 10}) {
        SCOPED_TRACE(k);
        Pick(k);
        EXPECT_EQ(VisiblePanels(), std::vector<int>{k});
    }
}

TEST_F(PanelsTest, PickingByMouseFromThePopupShowsThePanel) {
    QComboBox* chooser = c().ComboBox_Select;
    chooser->setCurrentIndex(7);
    emit chooser->activated(7);  // what the popup sends after a click on an entry
    EXPECT_EQ(VisiblePanels(), std::vector<int>{7});
}

TEST_F(PanelsTest, NoEntrySelectedShowsNoPanel) {
    panels_->ComboBox_SelectClick(-1);
    EXPECT_TRUE(VisiblePanels().empty());
}

TEST_F(PanelsTest, APickHandsTheFocusToTheSink) {
    QLineEdit sink(&window_);
    sink.setGeometry(-100, -100, 10, 10);  // off screen, as the window parks it
    sink.show();
    panels_->SetFocusSink(&sink);
    c().ComboBox_Select->setFocus();
    Pick(2);
    // Off screen the window is never active, so ask where its focus went.
    EXPECT_EQ(window_.focusWidget(), &sink);
}

TEST_F(PanelsTest, APickWithoutAFocusableSinkDoesNotFail) {
    {
        QLineEdit sink(&window_);
        sink.setEnabled(false);
        panels_->SetFocusSink(&sink);
        Pick(1);
    }
    Pick(2);  // the sink is gone
    EXPECT_EQ(VisiblePanels(), std::vector<int>{2});
}

TEST_F(PanelsTest, FunctionNamesAreReplacedInPlaceWithoutChangingThePanel) {
    Pick(5);
    CaptionTable english;
    FillCaptionTable(kLanguageEnglish, english);
    panels_->SetFunctionNames(english);
    EXPECT_EQ(c().ComboBox_Select->itemText(0),
              QStringLiteral("Remove a few letters at the beginning of lines"));
    EXPECT_EQ(c().ComboBox_Select->itemText(11),
              QStringLiteral("Remove all lines beginning with the word"));

    CaptionTable russian;
    FillCaptionTable(kLanguageRussian, russian);
    panels_->SetFunctionNames(russian);
    EXPECT_EQ(c().ComboBox_Select->count(), kFunctionCount);
    EXPECT_EQ(c().ComboBox_Select->currentIndex(), 5);
    EXPECT_EQ(c().ComboBox_Select->currentText(), QString::fromUtf8("Удалить дубли строк"));
    EXPECT_EQ(VisiblePanels(), std::vector<int>{5});

    panels_->SetFunctionNames(CaptionTable{});  // no language: empty entries, still by index
    Pick(3);
    EXPECT_EQ(VisiblePanels(), std::vector<int>{3});
}

TEST_F(PanelsTest, ReplacementShowsFunction0WhateverTheChooserHolds) {
    Pick(9);
    panels_->ShowPanelOfFunction0();
    EXPECT_EQ(VisiblePanels(), std::vector<int>{0});
}

TEST_F(PanelsTest, ParameterControlsHoldTheirStartUpEntriesAndDefaults) {
    EXPECT_EQ(Entries(c().ComboBox_0_0),
              QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "15", "20", "50"}));
    EXPECT_EQ(c().ComboBox_0_0->currentText(), QStringLiteral("1"));
    const QStringList characters = {"?", ".", ",", "=", "\\", "|", "/", "<", ">",
                                    "%", "$", "#", "(", ")",  "[", "]", "{", "}"};
    EXPECT_EQ(Entries(c().ComboBox_1_0), characters);
    EXPECT_EQ(Entries(c().ComboBox_1_1), characters);
    EXPECT_EQ(c().ComboBox_1_0->currentText(), QStringLiteral("?"));
    EXPECT_EQ(c().ComboBox_1_1->currentText(), QStringLiteral("?"));
    EXPECT_EQ(c().ComboBox_2_0->currentText(), QStringLiteral("Result:"));
    EXPECT_EQ(c().ComboBox_3_0->currentText(), QStringLiteral(" \""));
    EXPECT_EQ(c().ComboBox_3_1->currentText(), QStringLiteral("\";"));
    EXPECT_EQ(c().Cb_3_0->text(), QStringLiteral("Left"));
    EXPECT_EQ(c().Cb_3_1->text(), QStringLiteral("Right"));
    EXPECT_FALSE(c().Cb_3_0->isChecked());
    EXPECT_FALSE(c().Cb_3_1->isChecked());
    EXPECT_EQ(c().ComboBox_4_0->count(), 10);
    EXPECT_EQ(c().ComboBox_4_0->currentText(), QStringLiteral("Line length = 0"));
    EXPECT_EQ(c().ComboBox_4_0->itemText(9), QStringLiteral("String contains a text"));
    EXPECT_TRUE(c().Edit_4_0->isHidden());
    EXPECT_EQ(Entries(c().ComboBox_6_0),
              QStringList({"Marks ['.', ';', ',', ':', '!', '?']", "Numbers ['0'..'9']",
                           "Internal spaces [' ']"}));
    EXPECT_EQ(c().ComboBox_6_0->currentIndex(), 0);
    EXPECT_EQ(c().Cb_7_0->text(), QString::fromUtf8("Заменить переносы строк на <br>"));
    EXPECT_FALSE(c().Cb_7_0->isChecked());
    EXPECT_EQ(c().Edit_8_0->text(), QStringLiteral("50"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\.[a-z]{2}$")).match(c().Edit_9_0->text()).hasMatch());
    EXPECT_EQ(c().Rb_9_0->text(), QString::fromUtf8("Оставить строки с текстом"));
    EXPECT_EQ(c().Rb_9_1->text(), QString::fromUtf8("Удалить строки с текстом"));
    EXPECT_TRUE(c().Rb_9_0->isChecked());
    EXPECT_FALSE(c().Rb_9_1->isChecked());
    EXPECT_EQ(Entries(c().ComboBox_10_0),
              QStringList({"At the start of the line", "At the end of lines",
                           "To the start and end of line"}));
    EXPECT_EQ(c().ComboBox_10_0->currentIndex(), 0);
    EXPECT_EQ(c().Edit_11_0->text(), QStringLiteral("con"));
}

TEST_F(PanelsTest, OneRadioButtonOfFunction9IsAlwaysSelected) {
    Pick(9);
    QTest::mouseClick(c().Rb_9_1, Qt::LeftButton);
    EXPECT_TRUE(c().Rb_9_1->isChecked());
    EXPECT_FALSE(c().Rb_9_0->isChecked());
    QTest::mouseClick(c().Rb_9_1, Qt::LeftButton);
    EXPECT_TRUE(c().Rb_9_1->isChecked());
}

TEST_F(PanelsTest, Edit_4_0FollowsTheTextCondition) {
    Pick(4);
    c().ComboBox_4_0->setCurrentIndex(9);
    EXPECT_TRUE(c().Edit_4_0->isVisible());
    c().ComboBox_4_0->setCurrentIndex(8);
    EXPECT_FALSE(c().Edit_4_0->isVisible());
    QTest::keyClick(c().ComboBox_4_0, Qt::Key_Down);  // the user moves to entry 9
    EXPECT_TRUE(c().Edit_4_0->isVisible());
    c().ComboBox_4_0->setCurrentIndex(-1);
    EXPECT_FALSE(c().Edit_4_0->isVisible());
}

// Both digit-only fields, typed into through the widget the user types into.
struct DigitField {
    const char* name;
    QWidget* (*widget)(const PanelControls&);
    QLineEdit* (*edit)(const PanelControls&);
};

const DigitField kDigitFields[] = {
    {"ComboBox_0_0", [](const PanelControls& c) -> QWidget* { return c.ComboBox_0_0; },
     [](const PanelControls& c) { return c.ComboBox_0_0->lineEdit(); }},
    {"Edit_8_0", [](const PanelControls& c) -> QWidget* { return c.Edit_8_0; },
     [](const PanelControls& c) { return c.Edit_8_0; }},
};

TEST_F(PanelsTest, DigitFieldsDropEveryTypedCharacterButDigitsAndBackspace) {
    for (const DigitField& field : kDigitFields) {
        SCOPED_TRACE(field.name);
        QWidget* widget = field.widget(c());
        QLineEdit* edit = field.edit(c());
        edit->clear();
        QTest::keyClicks(widget, QStringLiteral("1a -2.x+\t3"));
        EXPECT_EQ(edit->text(), QStringLiteral("123"));
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Escape);
        Type(widget, QString::fromUtf8("ж"));
        EXPECT_EQ(edit->text(), QStringLiteral("123"));
        QTest::keyClick(widget, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), QStringLiteral("12"));
        // Editing keys that type nothing keep working.
        QTest::keyClick(widget, Qt::Key_Home);
        QTest::keyClick(widget, Qt::Key_Delete);
        EXPECT_EQ(edit->text(), QStringLiteral("2"));
    }
}

TEST_F(PanelsTest, DigitFieldsTakePastedTextUnfiltered) {
    for (const DigitField& field : kDigitFields) {
        SCOPED_TRACE(field.name);
        QLineEdit* edit = field.edit(c());
        edit->clear();
        edit->insert(QStringLiteral("-4 x"));
        EXPECT_EQ(edit->text(), QStringLiteral("-4 x"));
        edit->setText(QStringLiteral("abc"));
        EXPECT_EQ(edit->text(), QStringLiteral("abc"));
        // The paste key is a shortcut, not a typed character.
        QApplication::clipboard()->setText(QStringLiteral("x-1"));
        edit->selectAll();
        QTest::keyClick(field.widget(c()), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("x-1"));
        QTest::keyClick(field.widget(c()), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field.widget(c()), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(edit->selectedText(), QStringLiteral("x-1"));
    }
}

TEST_F(PanelsTest, TheCharacterFieldsTakeOneTypedCharacter) {
    for (QComboBox* combo : {c().ComboBox_1_0, c().ComboBox_1_1}) {
        combo->lineEdit()->clear();
        Type(combo, QString::fromUtf8("жab"));
        EXPECT_EQ(combo->currentText(), QString::fromUtf8("ж"));
        combo->setCurrentIndex(4);
        EXPECT_EQ(combo->currentText(), QStringLiteral("\\"));
    }
}

TEST_F(PanelsTest, TypedTextsNeverBecomeEntries) {
    QComboBox* combo = c().ComboBox_2_0;
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("End"));
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("End"));
}

}  // namespace
}  // namespace quillex::testing
