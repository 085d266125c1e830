#pragma once

namespace ratalia {

class Form1;

// The standard annual rate, in per cent.
inline constexpr double standardRate = 6.75;

// Start-up: puts the standard rate into the rate field.
void Form_Load(Form1& form);
// "&Arrotonda": rounds the installment, total paid and total interest to cents.
void Command2_Click(Form1& form);
// "Ripristina tasso standard": puts the standard rate back and empties the results.
void Command3_Click(Form1& form);

} // namespace ratalia
