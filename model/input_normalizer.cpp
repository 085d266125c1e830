#include "model/input_normalizer.h"

#include "model/form1.h"

namespace ratalia {

void ModificatoreDatiInEntrata_(Form1& form)
{
    WorkingValues& v = form.values();
    // The separator is whatever the region writes between 1 and 1.
    const Text SeparatoreDecimale = form.numbers().onePointOne().substr(1, 1);

    v.Posizione = 1;
    v.DatoInUscita.clear();
    const auto length = v.DatoInEntrata.size();
    v.DatoInUscita.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        v.Posizione = static_cast<int>(i + 1);
        v.Carattere.assign(1, v.DatoInEntrata[i]);
        if (v.Carattere == u"." || v.Carattere == u",")
            v.Carattere = SeparatoreDecimale;
        v.DatoInUscita += v.Carattere;
    }
}

} // namespace ratalia
