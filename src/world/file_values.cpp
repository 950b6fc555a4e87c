#include "world/file_values.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string_view>

namespace morvath {

double SingleAsWritten(float v) {
    if (!std::isfinite(v)) return 0;
    char buf[48];
    for (int digits = 1; digits <= 9; ++digits) {
        auto w = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v), std::chars_format::general, digits);
        float back = 0;
        auto r = std::from_chars(buf, w.ptr, back);
        if (r.ec == std::errc() && back == v) return DecimalValue(std::string_view(buf, static_cast<std::size_t>(w.ptr - buf)));
    }
    return static_cast<double>(v);
}

float ToSingle(double v) {
    if (v != v) return 0;
    return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

FieldReader& FieldReader::Text(std::wstring& out) {
    if (ok_) ok_ = r_.ReadText(out);
    return *this;
}

FieldReader& FieldReader::Number(double& out) {
    double d = 0;
    if (ok_) ok_ = r_.ReadNumber(d);
    if (ok_) out = d;
    return *this;
}

FieldReader& FieldReader::Bool(bool& out) {
    bool b = false;
    if (ok_) ok_ = r_.ReadBool(b);
    if (ok_) out = b;
    return *this;
}

Variant CellFromItem(const std::wstring& item, bool quoted) {
    if (quoted) return Variant(item);
    if (item.empty()) return Variant();
    if (item == L"#TRUE#") return Variant::Boolean(true);
    if (item == L"#FALSE#") return Variant::Boolean(false);
    if (IsNumeric(item)) return Variant(Val(item));
    return Variant(item);
}

void WriteCell(TextWriter& w, const Variant& v) {
    switch (v.kind()) {
        case Variant::Kind::Empty: w.Empty(); break;
        case Variant::Kind::Number: w.Number(v.ToNumber()); break;
        case Variant::Kind::Text: w.Text(v.ToText()); break;
        case Variant::Kind::Bool: w.Bool(v.ToNumber() != 0); break;
    }
}

}  // namespace morvath
