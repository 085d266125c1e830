#pragma once

// Offers kept in a file: each a whole loan as the plan window holds it, with
// the name the borrower gave it ("Banca A"). The file is text a person can
// read and mend, one "key: value" a line, the keys the command line's
// options without their dashes, every number with "," before its decimals
// and no thousands separators, whatever the region that wrote it:
//
//   ratalia-offerte: 1
//
//   [offerta]
//   nome: Banca A
//   capitale: 180000
//   mesi: 300
//   tasso: 3,1
//   spese-iniziali: 1500
//   rimborso: 60:20000
//   rimborso: 120:10000:durata
//
// The first line says the format's version: a later one is refused whole
// rather than read in part.

#include "loan/plan_inputs.h"
#include "numbers/number_text.h"
#include "numbers/text.h"

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ratalia {

struct Offer {
    Text name;
    PlanInputs inputs;
    bool operator==(const Offer&) const = default;
};

// The version this program writes and reads, and what it reads before it.
inline constexpr int offersFormatVersion = 1;
// The files' extension, with its dot.
inline constexpr std::u16string_view offersExtension = u".ratalia";

// The name a new offer gets: "Offerta 2".
Text defaultOfferName(std::size_t number);

// The file's bytes: UTF-8, one line for each value given, "\n" at the ends.
std::string offersFileText(std::span<const Offer> offers, const NumberText& numbers);

// Why a file's bytes are no offers this program can open.
struct OffersFileError {
    enum class Reason {
        NotOffers, // no "ratalia-offerte: N" first line: some other file
        Newer,     // a version after offersFormatVersion (`version`)
        Damaged,   // line `line` cannot be read (`detail` says why), or the text is not UTF-8
        NoOffers,  // the header and nothing else
    };
    Reason reason = Reason::Damaged;
    std::size_t line = 0;
    int version = 0;
    Text detail;
};

// The offers the bytes hold, their numbers in the region's form; or why
// none is opened: a file is read whole or not at all.
std::variant<std::vector<Offer>, OffersFileError> readOffersFile(std::string_view bytes, const NumberText& numbers);

// The bytes of a file of offers, by its name.
struct OffersFileBytes {
    Text path;
    std::string bytes;
};
// Every offer of the files, in order; a name two files both use says which
// file each is from ("Offerta 1 (a.ratalia)"). Or the sentence for the first
// file that cannot be read whole: then none is opened.
std::variant<std::vector<Offer>, Text> offersOfFiles(std::span<const OffersFileBytes> files, const NumberText& numbers);

// One sentence for a file that could not be opened, naming it.
Text offersFileErrorText(const OffersFileError& error, TextView fileName);

// A file that could not be written: nothing of it changed.
Text offersNotSavedText(TextView fileName);

// The offer named `name`, or the first where the name is empty; nothing where none is so named.
const Offer* offerNamed(std::span<const Offer> offers, TextView name);

} // namespace ratalia
