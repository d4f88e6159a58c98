#include "platform/qsettings_store.h"

#include <QString>
#include <QVariant>

#include <charconv>
#include <limits>
#include <string>

namespace quillex {

namespace {

QString Key(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The text of an integer exactly as QString::number writes it: an optional minus sign and
// decimal digits, nothing else, within 32 bits.
bool ParseInt32(const QString& text, std::int32_t& out) {
    const std::string bytes = text.toStdString();
    const char* first = bytes.data();
    const char* last = first + bytes.size();
    const auto [end, error] = std::from_chars(first, last, out);
    return error == std::errc{} && end == last && !bytes.empty();
}

bool FitsInt32(qlonglong value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

QSettingsStore::QSettingsStore() = default;
QSettingsStore::~QSettingsStore() = default;

bool QSettingsStore::Open() {
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            kOrganization, kApplication);
    // Only the program's own key counts: no organisation-wide or system-wide values.
    settings_->setFallbacksEnabled(false);
    return settings_->status() == QSettings::NoError;
}

QSettings& QSettingsStore::Settings() {
    if (!settings_) {
        throw SettingsError("settings key not open");
    }
    return *settings_;
}

bool QSettingsStore::ValueExists(std::string_view name) {
    return settings_ && settings_->contains(Key(name));
}

std::int32_t QSettingsStore::ReadInteger(std::string_view name) {
    const QVariant value = Settings().value(Key(name));
    switch (value.typeId()) {
        case QMetaType::Int:
            return value.toInt();
#if !defined(Q_OS_WIN)
        // Written by this process and not yet read back from the file.
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            bool ok = false;
            const qlonglong wide = value.toLongLong(&ok);
            if (ok && FitsInt32(wide)) {
                return static_cast<std::int32_t>(wide);
            }
            break;
        }
        case QMetaType::QString: {
            std::int32_t parsed = 0;
            if (ParseInt32(value.toString(), parsed)) {
                return parsed;
            }
            break;
        }
#endif
        default:
            break;
    }
    throw SettingsError("settings value " + std::string(name) + " is not a 32-bit integer");
}

void QSettingsStore::WriteInteger(std::string_view name, std::int32_t value) {
    QSettings& settings = Settings();
    settings.setValue(Key(name), static_cast<int>(value));
    // Each write reaches the disk on its own, so that a refused write is noticed here and ends
    // the save before the next value.
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw SettingsError("settings value " + std::string(name) + " not stored");
    }
}

void QSettingsStore::Close() {
    settings_.reset();
}

}  // namespace quillex
