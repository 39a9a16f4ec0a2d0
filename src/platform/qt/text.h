#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace waymint::qt {

// The program's texts are bytes. Shown on screen they are UTF-8 where they are valid
// UTF-8, otherwise Windows-1252.
QString toQString(std::string_view bytes);
// What the user typed or picked, as the UTF-8 bytes the program works with.
std::string toBytes(const QString& text);

}  // namespace waymint::qt
