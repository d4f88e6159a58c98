// Main window: the keyboard. Tab visits the visible controls in the order the user works in;
// Ctrl+O and Ctrl+S do what the Open and Save buttons do.
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>

#include "ui/guarded.h"
#include "ui/image_button.h"
#include "ui/main_window.h"
#include "ui/panels/function_panels.h"

namespace quillex {

void MainWindow::BuildKeyboard() {
    // Load, save, pick, set, start, then the view. The focus sink comes last: the window
    // gives it the focus at each showing, and the first Tab from there goes to the load field.
    QList<QWidget*> order{loadFileEdit_, openButton_, saveFileEdit_, saveButton_};
    order << panels_->TabOrder() << view_ << focusSink_;
    for (qsizetype k = 1; k < order.size(); ++k) {
        setTabOrder(order[k - 1], order[k]);
    }

    const auto shortcut = [this](QKeyCombination keys, void (MainWindow::*handler)()) {
        auto* key = new QShortcut(QKeySequence(keys), this);
        connect(key, &QShortcut::activated, this, Guarded(report_, this, handler));
    };
    shortcut(Qt::CTRL | Qt::Key_O, &MainWindow::ChooseAndLoadFile);
    shortcut(Qt::CTRL | Qt::Key_S, &MainWindow::SaveDocument);
}

}  // namespace quillex
