#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

namespace quillex::testing {

// The control of `parent` whose object name is `name` (its control name); a missing one ends
// the test with its name rather than with a null pointer.
template <typename T>
T* Child(const QObject& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    if (child == nullptr) {
        throw std::logic_error("no control named " + name.toStdString());
    }
    return child;
}

}  // namespace quillex::testing
