// Main window: the document's encoding, shown beside the statistics and switched from the
// view's popup menu.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <utility>

#include "core/encoding.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/panels/run_protocol.h"
#include "ui/text_bridge.h"
#include "ui/titled_menu.h"

namespace quillex {

namespace {

constexpr Encoding kEncodings[] = {Encoding::Utf8, Encoding::Windows1251};

}  // namespace

void MainWindow::BuildEncodingMenu() {
    QMenu* menu = viewMenu_->addMenu(QString());
    encodingItem_ = menu->menuAction();
    auto* group = new QActionGroup(menu);
    for (std::size_t k = 0; k < std::size(kEncodings); ++k) {
        const Encoding encoding = kEncodings[k];
        // The encodings' own names, the same in both interface languages.
        encodingItems_[k] = menu->addAction(FromUtf8(std::string(EncodingName(encoding))));
        encodingItems_[k]->setCheckable(true);
        group->addAction(encodingItems_[k]);
        connect(encodingItems_[k], &QAction::triggered, this,
                Guarded(report_, [this, encoding] { SwitchEncoding(encoding); }));
    }
}

void MainWindow::PrepareEncodingMenu(bool hasText) {
    encodingItem_->setVisible(hasText);
    encodingItem_->setEnabled(!work_->Busy());  // it changes the document
    encodingItem_->setText(hasText ? FromUtf8(Captions().Txt_Encoding) : QString());
    for (std::size_t k = 0; k < std::size(kEncodings); ++k) {
        encodingItems_[k]->setChecked(kEncodings[k] == open_.Lines().GetEncoding());
    }
}

void MainWindow::SwitchEncoding(Encoding encoding) {
    if (!work_->CanStart() || encoding == open_.Lines().GetEncoding()) {
        return;
    }
    // As a function runs, on the worker over a copy: the document may be large, and the undo
    // step keeps it as it was.
    RunOverDocument(*this, [encoding](quillex::DocumentLines& document, const Progress&) {
        document.SetEncoding(encoding);
    });
}

}  // namespace quillex
