#pragma once

#include "numbers/text.h"

namespace ratalia {

class NumberText;

// Makes "." and "," both mean the regional decimal separator: returns the
// text with each of them replaced, every other unit as it was, so of the same
// length. Never fails, whatever the text.
Text normalizedInput(TextView text, const NumberText& numbers);

} // namespace ratalia
