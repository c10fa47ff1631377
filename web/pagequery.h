#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/texts.h"

namespace kvelmor {

// The setting that the page's address carries in its query, so that a link opens the window as
// the teacher left it: ?kmitocet=vysoky&vzdalenost=300&zpomaleni=120. The frequency is named as
// kvelmor-export's --frequency names it: one of the ASCII words nizky, nizsi, stredni, vyssi and
// vysoky, the option's Czech or English caption (in any letter case, "vysoký", "highest"), or
// the number its option writes ("0.6"); the distance is 300, 350 or 400; the slow-down the scroll
// bar's value, 0 to 32767, in plain digits (leading zeros allowed); and &lang=en for the English
// page ("cs" or "en" in any case; Czech needs none). A key may be given more than once where it
// says the same each time. Each key is a row of one table (pagequery.cpp), which further keys
// join.
struct AddressSetting {
    std::string frequencyOption;  // the option the key selects, "op5"; empty: not given
    std::string distanceOption;   // "opV300"
    std::optional<int> scrollValue;
    std::optional<Language> language;
};

struct AddressReading {
    AddressSetting setting;
    // Each part of the query that was not taken, as written there (with its escapes decoded where
    // they decode to text): an unknown key, a value the key does not take, a key given twice with
    // different values.
    std::vector<std::string> ignored;
};

// Reads the query of the page's address, with or without its leading "?". Parts it does not take
// leave their setting as it was and are listed.
AddressReading readAddressQuery(std::string_view query);

// The setting of the window whose frequency and distance boxes hold `frequencyText` ("0.6") and
// `distanceText` ("350"), whose scroll bar stands at `scrollValue`, shown in `language`.
AddressSetting addressSetting(std::string_view frequencyText, std::string_view distanceText,
                              int scrollValue, Language language);

// The query that opens `setting`, without the "?": every key that the setting gives, in the
// table's order ("kmitocet=stredni&vzdalenost=350&zpomaleni=0&lang=en").
std::string addressQuery(const AddressSetting& setting);

}  // namespace kvelmor
