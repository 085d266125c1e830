#pragma once

// What both plan windows show, written once as a person would write it.

#include <string>
#include <vector>

namespace ratalia::test {

// 1 000 € over 3 months at 6 %: 336,67 twice, then the 335,00 left and its 1,68.
inline const std::string threeRowsHeader = "N.;Rata;Interessi;Quota capitale;Debito residuo\n";
inline const std::string threeRows = "1;336,67;5,00;331,67;668,33\n"
                                     "2;336,67;3,34;333,33;335,00\n"
                                     "3;336,68;1,68;335,00;0,00\n";

// The plan window's stops from its table on: the buttons, the inputs, back
// to the table. Windows has no "Salva PDF…": its PDF comes from its printer.
inline std::vector<std::string> planTabOrder(bool savePdf)
{
    std::vector<std::string> order{"Copy", "ExportCsv", "Print"};
    if (savePdf)
        order.push_back("SavePdf");
    for (const char* stop :
         {"Close", "Kind", "InitialFees", "SubstituteTax", "InstallmentFee", "AnnualFee", "Installments"})
        order.push_back(stop);
    return order;
}

} // namespace ratalia::test
