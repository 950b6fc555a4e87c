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
// A number read from a file into a Single field, saturating at the Single's range.
float ToSingle(double v);

// The typed reads every reader of the game's files offers on top of its own
// Number(double&) and ok(): 16- and 32-bit integer fields and Singles, each saturating at
// its range.
// A value that does not convert spoils the read: ok() turns false and the field is left alone.
template <typename Reader>
class TypedReads {
public:
    template <typename T>
    Reader& Number(VbInt<T>& out) {
        double d = 0;
        self().Number(d);
        if (self().ok()) out = d;
        return self();
    }
    Reader& Single(float& out) {
        double d = 0;
        self().Number(d);
        if (!self().ok()) return self();
        out = ToSingle(d);
        return self();
    }

private:
    Reader& self() { return static_cast<Reader&>(*this); }
};

// Reads the fields of one record in turn. The first field that is missing or cannot be
// converted spoils the record: ok() turns false, the target is left alone, and later reads
// do nothing.
class FieldReader : public TypedReads<FieldReader> {
public:
    explicit FieldReader(TextReader& reader) : r_(reader) {}
    using TypedReads::Number;
    FieldReader& Text(std::wstring& out);
    FieldReader& Number(double& out);
    FieldReader& Bool(bool& out);
    bool ok() const { return ok_; }
    void Spoil() { ok_ = false; }

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
