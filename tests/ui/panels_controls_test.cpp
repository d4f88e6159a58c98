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
    EXPECT_EQ(c().chooser->currentIndex(), 0);
    EXPECT_EQ(c().chooser->count(), kFunctionCount);
    EXPECT_EQ(VisiblePanels(), std::vector<int>{0});
    EXPECT_EQ(c().chooser->geometry(), QRect(364, 500, 425, 21));
    for (int k = 0; k < kFunctionCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(c().panels[k]->objectName(), QStringLiteral("Gb_%1").arg(k));
        EXPECT_EQ(c().panels[k]->geometry(), QRect(364, 524, 426, 54));
        EXPECT_TRUE(c().panels[k]->title().isEmpty());
        EXPECT_EQ(c().startButtons[k]->objectName(), QStringLiteral("Btn_%1").arg(k));
        EXPECT_EQ(c().startButtons[k]->text(), QStringLiteral("Start"));
        EXPECT_TRUE(c().startButtons[k]->isEnabled());
        EXPECT_EQ(c().startButtons[k]->parent(), c().panels[k]);
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
    QComboBox* chooser = c().chooser;
    chooser->setCurrentIndex(7);
    emit chooser->activated(7);  // what the popup sends after a click on an entry
    EXPECT_EQ(VisiblePanels(), std::vector<int>{7});
}

TEST_F(PanelsTest, NoEntrySelectedShowsNoPanel) {
    panels_->ShowPanelOf(-1);
    EXPECT_TRUE(VisiblePanels().empty());
}

// No control of the panel that goes keeps the focus: the chooser takes it.
TEST_F(PanelsTest, APickLeavesNoFocusInTheHiddenPanel) {
    Pick(2);
    c().cutWord->setFocus();
    Pick(4);
    // Off screen the window is never active, so ask where its focus went.
    EXPECT_EQ(window_.focusWidget(), c().chooser);
}

TEST_F(PanelsTest, APickWhileTheChooserIsDisabledLeavesTheFocusWhereItIs) {
    Pick(2);
    c().cutWord->setFocus();
    c().chooser->setEnabled(false);
    panels_->ShowPanelOf(2);
    EXPECT_EQ(VisiblePanels(), std::vector<int>{2});
    EXPECT_EQ(window_.focusWidget(), c().cutWord);
}

TEST_F(PanelsTest, FunctionNamesAreReplacedInPlaceWithoutChangingThePanel) {
    Pick(5);
    CaptionTable english;
    FillCaptionTable(kLanguageEnglish, english);
    panels_->SetFunctionNames(english);
    EXPECT_EQ(c().chooser->itemText(0),
              QStringLiteral("Remove a few letters at the beginning of lines"));
    EXPECT_EQ(c().chooser->itemText(11),
              QStringLiteral("Remove all lines beginning with the word"));

    CaptionTable russian;
    FillCaptionTable(kLanguageRussian, russian);
    panels_->SetFunctionNames(russian);
    EXPECT_EQ(c().chooser->count(), kFunctionCount);
    EXPECT_EQ(c().chooser->currentIndex(), 5);
    EXPECT_EQ(c().chooser->currentText(), QString::fromUtf8("Удалить дубли строк"));
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
    EXPECT_EQ(Entries(c().cutCount),
              QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "15", "20", "50"}));
    EXPECT_EQ(c().cutCount->currentText(), QStringLiteral("1"));
    const QStringList characters = {"?", ".", ",", "=", "\\", "|", "/", "<", ">",
                                    "%", "$", "#", "(", ")",  "[", "]", "{", "}"};
    EXPECT_EQ(Entries(c().replacedChar), characters);
    EXPECT_EQ(Entries(c().replacementChar), characters);
    EXPECT_EQ(c().replacedChar->currentText(), QStringLiteral("?"));
    EXPECT_EQ(c().replacementChar->currentText(), QStringLiteral("?"));
    EXPECT_EQ(c().cutWord->currentText(), QStringLiteral("Result:"));
    EXPECT_EQ(c().leftText->currentText(), QStringLiteral(" \""));
    EXPECT_EQ(c().rightText->currentText(), QStringLiteral("\";"));
    EXPECT_EQ(c().addLeft->text(), QStringLiteral("Left"));
    EXPECT_EQ(c().addRight->text(), QStringLiteral("Right"));
    EXPECT_FALSE(c().addLeft->isChecked());
    EXPECT_FALSE(c().addRight->isChecked());
    EXPECT_EQ(c().condition->count(), 10);
    EXPECT_EQ(c().condition->currentText(), QStringLiteral("Line length = 0"));
    EXPECT_EQ(c().condition->itemText(9), QStringLiteral("String contains a text"));
    EXPECT_TRUE(c().conditionText->isHidden());
    EXPECT_EQ(Entries(c().charClass), QStringList({"Marks ['.', ';', ',', ':', '!', '?']",
                                                   "Numbers ['0'..'9']", "Internal spaces [' ']"}));
    EXPECT_EQ(c().charClass->currentIndex(), 0);
    EXPECT_EQ(c().joinMarker->text(), QString::fromUtf8("Заменить переносы строк на <br>"));
    EXPECT_FALSE(c().joinMarker->isChecked());
    EXPECT_EQ(c().dropCount->text(), QStringLiteral("50"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\.[a-z]{2}$"))
                    .match(c().extension->text())
                    .hasMatch());
    EXPECT_EQ(c().keepMatching->text(), QString::fromUtf8("Оставить строки с текстом"));
    EXPECT_EQ(c().removeMatching->text(), QString::fromUtf8("Удалить строки с текстом"));
    EXPECT_TRUE(c().keepMatching->isChecked());
    EXPECT_FALSE(c().removeMatching->isChecked());
    EXPECT_EQ(Entries(c().trimSide), QStringList({"At the start of the line", "At the end of lines",
                                                  "To the start and end of line"}));
    EXPECT_EQ(c().trimSide->currentIndex(), 0);
    EXPECT_EQ(c().removeWord->text(), QStringLiteral("con"));
}

TEST_F(PanelsTest, OneRadioButtonOfFunction9IsAlwaysSelected) {
    Pick(9);
    QTest::mouseClick(c().removeMatching, Qt::LeftButton);
    EXPECT_TRUE(c().removeMatching->isChecked());
    EXPECT_FALSE(c().keepMatching->isChecked());
    QTest::mouseClick(c().removeMatching, Qt::LeftButton);
    EXPECT_TRUE(c().removeMatching->isChecked());
}

TEST_F(PanelsTest, Edit_4_0FollowsTheTextCondition) {
    Pick(4);
    c().condition->setCurrentIndex(9);
    EXPECT_TRUE(c().conditionText->isVisible());
    c().condition->setCurrentIndex(8);
    EXPECT_FALSE(c().conditionText->isVisible());
    QTest::keyClick(c().condition, Qt::Key_Down);  // the user moves to entry 9
    EXPECT_TRUE(c().conditionText->isVisible());
    c().condition->setCurrentIndex(-1);
    EXPECT_FALSE(c().conditionText->isVisible());
}

// Both digit-only fields, typed into through the widget the user types into.
struct DigitField {
    const char* name;
    QWidget* (*widget)(const PanelControls&);
    QLineEdit* (*edit)(const PanelControls&);
};

const DigitField kDigitFields[] = {
    {"ComboBox_0_0", [](const PanelControls& c) -> QWidget* { return c.cutCount; },
     [](const PanelControls& c) { return c.cutCount->lineEdit(); }},
    {"Edit_8_0", [](const PanelControls& c) -> QWidget* { return c.dropCount; },
     [](const PanelControls& c) { return c.dropCount; }},
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
    for (QComboBox* combo : {c().replacedChar, c().replacementChar}) {
        combo->lineEdit()->clear();
        Type(combo, QString::fromUtf8("жab"));
        EXPECT_EQ(combo->currentText(), QString::fromUtf8("ж"));
        combo->setCurrentIndex(4);
        EXPECT_EQ(combo->currentText(), QStringLiteral("\\"));
    }
}

TEST_F(PanelsTest, TypedTextsNeverBecomeEntries) {
    QComboBox* combo = c().cutWord;
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("End"));
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("End"));
}

}  // namespace
}  // namespace quillex::testing
