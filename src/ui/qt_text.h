#pragma once
// Conversions between the core's text and Qt's.
#include <QString>
#include <string>

namespace morvath::ui {

inline QString Q(const std::wstring& s) { return QString::fromStdWString(s); }
inline std::wstring W(const QString& s) { return s.toStdWString(); }

}  // namespace morvath::ui
