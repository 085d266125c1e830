#pragma once

#include "numbers/text.h"

namespace ratalia {

class NumberText;

// Makes "." and "," both mean the regional decimal separator: returns the
// text with each of them replaced, every other unit as it was, so of the same
// length. Never fails, whatever the text.
Text normalizedInput(TextView text, const NumberText& numbers);

// An amount or a count as the plan window reads it: where the text groups
// its thousands with the region's separator the way the region does (one to
// three digits, then groups of exactly three: "1.500", "1.500,00",
// "100.000" under Italian settings; "1,500.25" under English ones), the
// groups go and the rest is read as the main window reads it; any other text
// is normalized as the main window normalizes it, so that "1.50" and "1,5"
// stay one and a half and "1.50.000" is no number at all.
Text normalizedAmount(TextView text, const NumberText& numbers);

} // namespace ratalia
