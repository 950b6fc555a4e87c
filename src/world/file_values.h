#pragma once
// Field conversions shared by the location files and the save set.
#include <optional>
#include <string>

#include "platform/numbers.h"
#include "platform/textforms.h"
#include "platform/variant.h"

namespace morvath {

// A Single as the game writes it: its shortest decimal text read back as a Double, so
// 20.5 stays 20.5 and 0.1f is written 0.1, not 0.100000001490116.
double SingleAsWritten(float v);
// A number read from a file into a Single field; nothing when it does not fit one.
std::optional<float> ToSingle(double v);

// Reads the fields of one record in turn. The first field that is missing or cannot be
// converted spoils the record: ok() turns false, the target is left alone, and later reads
// do nothing.
class FieldReader {
public:
    explicit FieldReader(TextReader& reader) : r_(reader) {}
    FieldReader& Text(std::wstring& out);
    FieldReader& Number(double& out);
    template <typename T>
    FieldReader& Number(VbInt<T>& out) {
        double d = 0;
        Number(d);
        if (ok_) out = d;
        return *this;
    }
    FieldReader& Single(float& out);
    FieldReader& Bool(bool& out);
    bool ok() const { return ok_; }

private:
    TextReader& r_;
    bool ok_ = true;
};

// A record-form field as a table cell: quoted is a text, empty is nothing, #TRUE# and
// #FALSE# are truth values, a number is a number, anything else a text.
Variant CellFromItem(const std::wstring& item, bool quoted);
// Writes a table cell as one record-form field.
void WriteCell(TextWriter& w, const Variant& v);

}  // namespace morvath
