#include "core/document_lines.h"

#include "core/file_format.h"
#include "core/text_form.h"

namespace quillex {

void DocumentLines::CheckIndex(std::size_t index, const char* operation) const {
    if (index >= lines_.size()) {
        throw IndexError(std::string(operation) + ": list index out of bounds (" +
                         std::to_string(index) + ")");
    }
}

const std::string& DocumentLines::Get(std::size_t index) const {
    CheckIndex(index, "Get");
    return lines_[index];
}

void DocumentLines::Put(std::size_t index, std::string text) {
    CheckIndex(index, "Put");
    lines_[index] = std::move(text);
}

void DocumentLines::Delete(std::size_t index) {
    CheckIndex(index, "Delete");
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t DocumentLines::Add(std::string text) {
    lines_.push_back(std::move(text));
    return lines_.size() - 1;
}

std::string DocumentLines::Text() const {
    return JoinTextForm(lines_);
}

void DocumentLines::SetText(std::string_view text) {
    lines_ = SplitTextForm(text);
}

void DocumentLines::LoadFromFile(const std::filesystem::path& path, LoadReport* report) {
    lines_ = LoadLines(path, report);  // the assignment happens only once the whole file was read
}

void DocumentLines::SaveToFile(const std::filesystem::path& path) const {
    SaveLines(lines_, path);
}

}  // namespace quillex
