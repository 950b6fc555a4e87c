#pragma once
// The two line forms every game file is built on.
//  - print form: one value per line; a number carries a blank in place of a plus sign
//    and one after it (" 4 ").
//  - record form: fields separated by commas, texts in double quotes, numbers bare with
//    "." as decimal point, truth values as #TRUE# / #FALSE#.
// Both are read item by item: an item ends at a comma or at the end of a line, blanks
// around an unquoted item are dropped, a quoted item keeps its commas and loses its quotes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace morvath {

class TextReader {
public:
    explicit TextReader(std::string bytes);
    // Nothing when the file cannot be opened.
    static std::optional<TextReader> Open(const fs::path& p);

    // True when nothing but the end of the file is left.
    bool AtEnd() const { return pos_ >= data_.size(); }

    // One item; false at the end of the file. `quoted` tells whether it stood in quotes.
    bool ReadItem(std::wstring& item, bool* quoted = nullptr);
    // Typed reads fail (and leave the reader where the item ended) when the item cannot be
    // converted: a text that is not a number, a quoted "#TRUE#" for a truth value.
    bool ReadText(std::wstring& out);
    bool ReadNumber(double& out);
    bool ReadBool(bool& out);
    // One whole line without its line end; false at the end of the file.
    bool ReadLine(std::wstring& line);

private:
    std::string data_;
    std::size_t pos_ = 0;
};

class TextWriter {
public:
    // Print form.
    void PrintText(std::wstring_view text);
    void PrintNumber(double value);
    void PrintEmpty();

    // Record form: fields are added one by one, EndRecord ends the line.
    TextWriter& Text(std::wstring_view text);
    TextWriter& Number(double value);
    TextWriter& Bool(bool value);
    // A field that holds nothing (an empty table cell): nothing between the commas.
    TextWriter& Empty();
    void EndRecord();

    const std::string& bytes() const { return out_; }
    // Whole-file replacement through a temporary file.
    bool Save(const fs::path& p) const;

private:
    void Separator();
    std::string out_;
    bool inRecord_ = false;
};

// The print-form text of a number: " 4 ", "-4 ", " 20.5 ".
std::wstring PrintFormNumber(double value);

}  // namespace morvath
