#pragma once

#include <string>
#include <string_view>

namespace ratalia {

// A field's text in UTF-16 code units, the unit the window's text fields count
// in, so that lengths and positions mean the same thing in the model and on screen.
using Text = std::u16string;
using TextView = std::u16string_view;

// For standard streams and command lines, which speak UTF-8. An unpaired
// surrogate or a malformed byte becomes U+FFFD.
std::string toUtf8(TextView text);
Text fromUtf8(std::string_view bytes);

} // namespace ratalia
