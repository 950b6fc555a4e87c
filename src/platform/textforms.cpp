#include "platform/textforms.h"

#include "platform/cp1251.h"
#include "platform/numbers.h"

namespace morvath {

TextReader::TextReader(std::string bytes) : data_(std::move(bytes)) {}

std::optional<TextReader> TextReader::Open(const fs::path& p) {
    auto bytes = ReadBytes(p);
    if (!bytes) return std::nullopt;
    return TextReader(std::move(*bytes));
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

bool TextReader::ReadItem(std::wstring& item, bool* quoted) {
    item.clear();
    if (quoted) *quoted = false;
    if (AtEnd()) return false;
    while (pos_ < data_.size() && IsBlank(data_[pos_])) ++pos_;
    std::string raw;
    if (pos_ < data_.size() && data_[pos_] == '"') {
        if (quoted) *quoted = true;
        ++pos_;
        while (pos_ < data_.size() && data_[pos_] != '"') raw.push_back(data_[pos_++]);
        if (pos_ < data_.size()) ++pos_;  // closing quote
        // Anything between the closing quote and the delimiter is dropped.
        while (pos_ < data_.size() && data_[pos_] != ',' && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
    } else {
        while (pos_ < data_.size() && data_[pos_] != ',' && data_[pos_] != '\r' && data_[pos_] != '\n') {
            raw.push_back(data_[pos_++]);
        }
        while (!raw.empty() && IsBlank(raw.back())) raw.pop_back();
    }
    if (pos_ < data_.size()) {
        if (data_[pos_] == ',') {
            ++pos_;
        } else if (data_[pos_] == '\r') {
            ++pos_;
            if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
        } else if (data_[pos_] == '\n') {
            ++pos_;
        }
    }
    item = DecodeCp1251(raw);
    return true;
}

bool TextReader::ReadText(std::wstring& out) { return ReadItem(out); }

bool TextReader::ReadNumber(double& out) {
    std::wstring item;
    bool quoted = false;
    if (!ReadItem(item, &quoted)) return false;
    if (!quoted && item == L"#TRUE#") { out = -1; return true; }
    if (!quoted && item == L"#FALSE#") { out = 0; return true; }
    if (item.empty()) { out = 0; return true; }
    if (!IsNumeric(item)) return false;
    out = Val(item);
    return true;
}

bool TextReader::ReadBool(bool& out) {
    std::wstring item;
    bool quoted = false;
    if (!ReadItem(item, &quoted)) return false;
    if (!quoted && item == L"#TRUE#") { out = true; return true; }
    if (!quoted && item == L"#FALSE#") { out = false; return true; }
    if (!quoted && IsNumeric(item)) { out = Val(item) != 0; return true; }
    return false;
}

bool TextReader::ReadLine(std::wstring& line) {
    line.clear();
    if (AtEnd()) return false;
    std::string raw;
    while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') raw.push_back(data_[pos_++]);
    if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    line = DecodeCp1251(raw);
    return true;
}

std::wstring PrintFormNumber(double value) { return StrNum(value) + L" "; }

void TextWriter::PrintText(std::wstring_view text) {
    out_ += EncodeCp1251(text);
    out_ += "\r\n";
}

void TextWriter::PrintNumber(double value) { PrintText(PrintFormNumber(value)); }

void TextWriter::PrintEmpty() { out_ += "\r\n"; }

void TextWriter::Separator() {
    if (inRecord_) out_ += ',';
    inRecord_ = true;
}

TextWriter& TextWriter::Text(std::wstring_view text) {
    Separator();
    // The form has no escape for a quote inside a text: a quote would end the item early
    // and break every record after it, so it is written as an apostrophe.
    std::wstring safe(text);
    for (auto& c : safe) {
        if (c == L'"') c = L'\'';
    }
    out_ += '"';
    out_ += EncodeCp1251(safe);
    out_ += '"';
    return *this;
}

TextWriter& TextWriter::Number(double value) {
    Separator();
    out_ += EncodeCp1251(NumText(value));
    return *this;
}

TextWriter& TextWriter::Bool(bool value) {
    Separator();
    out_ += value ? "#TRUE#" : "#FALSE#";
    return *this;
}

TextWriter& TextWriter::Empty() {
    Separator();
    return *this;
}

void TextWriter::EndRecord() {
    out_ += "\r\n";
    inRecord_ = false;
}

bool TextWriter::Save(const fs::path& p) const { return WriteFileAtomic(p, out_); }

}  // namespace morvath
