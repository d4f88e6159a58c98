#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "core/settings.h"

namespace quillex::testing {

// A settings key in memory that can be told to refuse operations and records every call.
class MemorySettingsStore : public SettingsStore {
  public:
    // A stored value: an integer, or text, which is of the wrong type for ReadInteger.
    using Value = std::variant<std::int32_t, std::string>;

    std::map<std::string, Value, std::less<>> values;

    // The key can be neither opened nor created.
    bool failOpen = false;
    // Names whose write is refused.
    std::set<std::string, std::less<>> failWrite;

    // Every call in order: "open", "exists NAME", "read NAME", "write NAME=V", "close".
    std::vector<std::string> calls;
    // Successful writes in order, as "NAME=V".
    std::vector<std::string> writes;
    // Whether the key exists, and whether an Open created it (it did not exist before).
    bool keyExists = false;
    bool created = false;

    bool Open() override;
    bool ValueExists(std::string_view name) override;
    std::int32_t ReadInteger(std::string_view name) override;
    void WriteInteger(std::string_view name, std::int32_t value) override;
    void Close() override;

    bool isOpen() const { return open_; }
    int openCount() const { return openCount_; }
    int closeCount() const { return closeCount_; }

  private:
    void RequireOpen(const char* what) const;

    bool open_ = false;
    int openCount_ = 0;
    int closeCount_ = 0;
};

}  // namespace quillex::testing
