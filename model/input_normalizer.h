#pragma once

namespace ratalia {

class Form1;

// Makes "." and "," both mean the regional decimal separator: reads the
// form's DatoInEntrata and leaves the result, of the same length, in
// DatoInUscita. Never fails, whatever the text.
void ModificatoreDatiInEntrata_(Form1& form);

} // namespace ratalia
