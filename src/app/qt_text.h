#pragma once
// Conversions between the core's texts (module bytes in Windows-1252, messages in UTF-8) and QString.

#include <QString>
#include <string>
#include <string_view>

namespace vex::app {

/// Windows-1252 module bytes as a QString.
QString FromModule(std::string_view cp1252);
/// A QString as Windows-1252 module bytes (characters the code page lacks become "?").
std::string ToModule(const QString& text);
/// UTF-8 text as a QString.
inline QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
/// A QString as UTF-8 text.
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace vex::app
