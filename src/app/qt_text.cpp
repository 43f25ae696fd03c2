#include "app/qt_text.h"

#include "text/cp1252.h"

namespace vex::app {

QString FromModule(std::string_view cp1252) { return FromUtf8(text::ToUtf8(cp1252)); }

std::string ToModule(const QString& text) { return text::FromUtf8(ToUtf8(text)); }

}  // namespace vex::app
