#include "core/memory_settings_store.h"

#include <stdexcept>

namespace quillex::testing {

bool MemorySettingsStore::Open() {
    calls.push_back("open");
    if (open_) {
        throw std::logic_error("settings key opened twice");
    }
    if (failOpen) {
        return false;
    }
    created = created || !keyExists;
    keyExists = true;
    open_ = true;
    ++openCount_;
    return true;
}

void MemorySettingsStore::RequireOpen(const char* what) const {
    // Misuse by the logic under test, not a store failure: must not be swallowed quietly, so it
    // is recorded as a call the tests can see as well as thrown.
    if (!open_) {
        throw std::logic_error(std::string(what) + " on a closed key");
    }
}

bool MemorySettingsStore::ValueExists(std::string_view name) {
    calls.push_back("exists " + std::string(name));
    RequireOpen("exists");
    return values.find(name) != values.end();
}

std::int32_t MemorySettingsStore::ReadInteger(std::string_view name) {
    calls.push_back("read " + std::string(name));
    RequireOpen("read");
    const auto found = values.find(name);
    if (found == values.end()) {
        throw SettingsError("no value " + std::string(name));
    }
    if (const auto* integer = std::get_if<std::int32_t>(&found->second)) {
        return *integer;
    }
    throw SettingsError("value " + std::string(name) + " is not an integer");
}

void MemorySettingsStore::WriteInteger(std::string_view name, std::int32_t value) {
    const std::string entry = std::string(name) + "=" + std::to_string(value);
    calls.push_back("write " + entry);
    RequireOpen("write");
    if (failWrite.contains(name)) {
        throw SettingsError("write of " + std::string(name) + " refused");
    }
    values[std::string(name)] = value;
    writes.push_back(entry);
}

void MemorySettingsStore::Close() {
    calls.push_back("close");
    RequireOpen("close");
    open_ = false;
    ++closeCount_;
}

}  // namespace quillex::testing
