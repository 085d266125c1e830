#pragma once

// The rules that keep the buttons and the result fields consistent with the
// inputs: "&Calcola" only while all three inputs hold text, and any change of
// an input or of months/years throws away results that no longer match.

namespace ratalia {

class Form1;

void Text1_Change(Form1& form);
void Text2_Change(Form1& form);
void Text3_Change(Form1& form);
void Option1_Click(Form1& form);
void Option2_Click(Form1& form);

} // namespace ratalia
