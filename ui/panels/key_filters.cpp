#include "ui/panels/key_filters.h"

#include <QKeyEvent>

namespace quillex {

namespace {

bool IsTypedCharacter(const QKeyEvent& key) {
    if (key.text().isEmpty()) {
        return false;
    }
    // Tab moves the focus and Delete edits; neither types a character.
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Delete) {
        return false;
    }
    const Qt::KeyboardModifiers shortcut = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return (key.modifiers() & shortcut) == Qt::NoModifier;
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
