#pragma once
// A value that holds nothing, a number, a text or a truth value: the cells of the equipment
// and skills tables, the location table's columns and the script's surviving variable.
#include <string>

#include "platform/numbers.h"

namespace morvath {

class Variant {
public:
    enum class Kind { Empty, Number, Text, Bool };

    Variant() = default;
    Variant(double n) : kind_(Kind::Number), num_(n) {}  // NOLINT: implicit on purpose
    Variant(int n) : kind_(Kind::Number), num_(n) {}     // NOLINT
    Variant(std::wstring t) : kind_(Kind::Text), text_(std::move(t)) {}  // NOLINT
    Variant(const wchar_t* t) : kind_(Kind::Text), text_(t) {}           // NOLINT
    static Variant Boolean(bool b) {
        Variant v;
        v.kind_ = Kind::Bool;
        v.num_ = b ? -1 : 0;
        return v;
    }

    Kind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    bool IsNumber() const { return kind_ == Kind::Number; }
    bool IsText() const { return kind_ == Kind::Text; }
    // The length of the text a text value holds (0 for the other kinds), without a copy.
    std::size_t TextSize() const { return kind_ == Kind::Text ? text_.size() : 0; }

    // A text converts by its leading number; a truth value is -1 or 0; nothing is 0.
    double ToNumber() const { return kind_ == Kind::Text ? Val(text_) : num_; }
    // A number converts to its plain decimal text; a truth value to "True"/"False".
    std::wstring ToText() const {
        switch (kind_) {
            case Kind::Empty: return L"";
            case Kind::Number: return NumText(num_);
            case Kind::Text: return text_;
            case Kind::Bool: return num_ != 0 ? L"True" : L"False";
        }
        return L"";
    }

    bool operator==(const Variant& o) const {
        return kind_ == o.kind_ && num_ == o.num_ && text_ == o.text_;
    }

private:
    Kind kind_ = Kind::Empty;
    double num_ = 0;
    std::wstring text_;
};

}  // namespace morvath
