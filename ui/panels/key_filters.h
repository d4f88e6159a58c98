#pragma once

#include <QObject>

namespace quillex {

// Lets only the digits 0 to 9 and Backspace be typed into the fields it watches; every other
// typed character, control characters included, is dropped before the field sees it. Keys
// that type nothing (arrows, Delete), Tab and the editing shortcuts pass, so pasted text
// reaches the field unfiltered.
class DigitKeyFilter : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillex
