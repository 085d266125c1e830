#pragma once

// What both plan windows show, written once as a person would write it.

#include <string>
#include <utility>
#include <vector>

namespace ratalia::test {

// 1 000 € over 3 months at 6 %: 336,67 twice, then the 335,00 left and its 1,68.
inline const std::string threeRowsHeader = "N.;Rata;Interessi;Quota capitale;Debito residuo\n";
inline const std::string threeRows = "1;336,67;5,00;331,67;668,33\n"
                                     "2;336,67;3,34;333,33;335,00\n"
                                     "3;336,68;1,68;335,00;0,00\n";

// The plan window's stops from its table on: the buttons, the inputs in
// their sections, "Ricomincia", the views' tabs, back to the table. Windows
// has no "Salva PDF…": its PDF comes from its printer. "Elimina" is skipped
// while there is one offer, which it may not remove.
inline std::vector<std::string> planTabOrder(bool savePdf)
{
    std::vector<std::string> order{"Copy", "ExportCsv", "Print"};
    if (savePdf)
        order.push_back("SavePdf");
    for (const char* stop : {"Close",
                             "Offers",
                             "NewOffer",
                             "OfferName",
                             "OpenOffers",
                             "SaveOffers",
                             "SaveOffersAs",
                             "Solve",
                             "Capital",
                             "Duration",
                             "Unit",
                             "AnnualRate",
                             "GivenInstallment",
                             "Kind",
                             "Frequency",
                             "InterestOnly",
                             "Balloon",
                             "RateSteps",
                             "InitialFees",
                             "SubstituteTax",
                             "InstallmentFee",
                             "AnnualFee",
                             "FinalFees",
                             "Insurance",
                             "SinglePremium",
                             "Signing",
                             "FirstDue",
                             "DayCount",
                             "OddDays",
                             "RepayAfter",
                             "RepayAmount",
                             "Reduce",
                             "Penalty",
                             "Repayments",
                             "Extra",
                             "Credit",
                             "StartClean",
                             "Views",
                             "Installments"})
        order.push_back(stop);
    return order;
}

// 100 000 € over 20 years at 3,5 %, the first installment in January 2027,
// 20 000 € repaid early with the 60th, the installment kept: what both plan
// windows show, by the objects' names.
inline const std::vector<std::pair<std::string, std::string>> earlyRepaymentFigures{
    {"Taeg", "3,56 %"},
    {"RepaidAfter", "con la rata 60 (dic 2031)"},
    {"Repaid", "20.000,00"},
    {"PenaltyPaid", "0,00"},
    {"InterestSaved", "11.247,43"},
    {"LoanEnd", "con la rata 187 (lug 2042) anziché la 240 (dic 2046)"},
};
inline const std::size_t earlyRepaymentRows = 187;
inline const std::string earlyRepaymentRow60 = "60|dic 2031|579,96|237,62|342,34|20.000,00|20.579,96|61.126,54";
inline const std::string earlyRepaymentYears =
    "Anno\tRate\tInteressi\tQuota capitale\tRimborso anticipato\tDebito a fine anno\n"
    "2027\t12\t3443,97\t3515,55\t\t96484,45\n";

} // namespace ratalia::test
