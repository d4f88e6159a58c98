#include "ui/panels/key_filters.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace quillex {

namespace {

// The editing shortcuts of a field; pasting among them, so pasted text arrives unfiltered.
bool IsEditingShortcut(const QKeyEvent& key) {
    for (QKeySequence::StandardKey shortcut :
         {QKeySequence::Paste, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo,
          QKeySequence::Redo, QKeySequence::SelectAll}) {
        if (key.matches(shortcut)) {
            return true;
        }
    }
    return false;
}

bool IsTypedCharacter(const QKeyEvent& key) {
    if (key.text().isEmpty() || IsEditingShortcut(key)) {
        return false;
    }
    // Tab moves the focus and Delete edits; neither types a character.
    const int code = key.key();
    return code != Qt::Key_Tab && code != Qt::Key_Backtab && code != Qt::Key_Delete;
}

bool PassesDigitFilter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('\b');
}

}  // namespace

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (IsTypedCharacter(key)) {
            const QString text = key.text();
            return !(text.size() == 1 && PassesDigitFilter(text.front()));
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quillex
