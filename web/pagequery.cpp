#include "web/pagequery.h"

#include <algorithm>

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"
#include "web/typedname.h"

namespace kvelmor {

namespace {

constexpr std::string_view kDistances[] = {"300", "350", "400"};

bool sameLetters(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// Every name that kvelmor-export's --frequency takes: the ASCII word, the option's caption in
// Czech or in English (in any case, its accents precomposed or not), or the number its option
// writes ("0.6").
bool readFrequency(std::string_view value, AddressSetting& setting)
{
    const std::string typed = typedName(value);
    for (const FrequencyWord& f : kFrequencyWords) {
        const ControlRow* row = findControl(f.option);
        const OptionAction* action = findOptionAction(f.option);
        const bool named =
            sameLetters(value, f.word) || value == numberText(action->value) ||
            typed == typedName(text(row->caption, Language::Czech)) ||
            typed == typedName(text(row->caption, Language::English));
        if (named) {
            setting.frequencyOption = f.option;
            return true;
        }
    }
    return false;
}

std::string writeFrequency(const AddressSetting& setting)
{
    for (const FrequencyWord& f : kFrequencyWords) {
        if (f.option == setting.frequencyOption) return std::string(f.word);
    }
    return {};
}

bool readDistance(std::string_view value, AddressSetting& setting)
{
    if (std::find(std::begin(kDistances), std::end(kDistances), value) == std::end(kDistances))
        return false;
    setting.distanceOption = "opV" + std::string(value);
    return true;
}

std::string writeDistance(const AddressSetting& setting)
{
    const std::string_view option = setting.distanceOption;
    return option.starts_with("opV") ? std::string(option.substr(3)) : std::string();
}

// Plain digits, no sign, no spaces; leading zeros count for nothing ("000100" is 100).
bool readScroll(std::string_view value, AddressSetting& setting)
{
    if (value.empty()) return false;
    int number = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
        if (number > kScrollMaximum) return false;
    }
    if (number < kScrollMinimum || number > kScrollMaximum) return false;
    setting.scrollValue = number;
    return true;
}

std::string writeScroll(const AddressSetting& setting)
{
    return setting.scrollValue ? std::to_string(*setting.scrollValue) : std::string();
}

bool readLanguage(std::string_view value, AddressSetting& setting)
{
    setting.language = languageCalled(value);
    return setting.language.has_value();
}

// Czech, the default, needs no key: a Czech page's links stay as they always were.
std::string writeLanguage(const AddressSetting& setting)
{
    const bool other = setting.language && *setting.language != kDefaultLanguage;
    return other ? std::string(languageCode(*setting.language)) : std::string();
}

struct QueryKey {
    std::string_view name;
    bool (*read)(std::string_view value, AddressSetting& setting);  // false: not taken
    std::string (*write)(const AddressSetting& setting);            // empty: not given
};
constexpr QueryKey kKeys[] = {
    {"kmitocet", readFrequency, writeFrequency},
    {"vzdalenost", readDistance, writeDistance},
    {"zpomaleni", readScroll, writeScroll},
    {"lang", readLanguage, writeLanguage},
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A part of a query with its escapes decoded ("%C3%BA" to its bytes, "+" to a space); nothing
// where an escape is broken.
std::optional<std::string> decoded(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            bytes += ' ';
        } else if (text[i] != '%') {
            bytes += text[i];
        } else {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            bytes += char(high * 16 + low);
            i += 2;
        }
    }
    return bytes;
}

// Whether `bytes` is UTF-8 text without control characters: fit to be shown as it is.
bool showable(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const int length = c < 0x80         ? 1
                           : (c >> 5) == 6  ? 2
                           : (c >> 4) == 14 ? 3
                           : (c >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + length > bytes.size() || (length == 1 && (c < 0x20 || c == 0x7F)))
            return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 2) return false;
        }
        i += length;
    }
    return true;
}

// A part as the note shows it: decoded where that gives text, else as written.
std::string shown(std::string_view part)
{
    const std::optional<std::string> text = decoded(part);
    return text && showable(*text) ? *text : std::string(part);
}

}  // namespace

AddressReading readAddressQuery(std::string_view query)
{
    if (query.starts_with('?')) query.remove_prefix(1);
    std::vector<std::string_view> parts;
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        if (end > 0) parts.push_back(query.substr(0, end));
        query.remove_prefix(std::min(end + 1, query.size()));
    }

    // Each part by itself: its key, and the setting it gives alone, written as the address
    // writes it ("vysoky" for "VYSOK%C3%9D"), or nothing where it is not taken.
    struct Part {
        std::string_view text;
        const QueryKey* key = nullptr;
        std::optional<std::string> says;
    };
    std::vector<Part> read;
    for (std::string_view part : parts) {
        const std::size_t equals = part.find('=');
        const std::optional<std::string> name = decoded(part.substr(0, equals));
        const std::optional<std::string> value =
            equals == std::string_view::npos ? std::nullopt : decoded(part.substr(equals + 1));
        Part p{part, nullptr, std::nullopt};
        for (const QueryKey& k : kKeys) {
            if (name && k.name == *name) p.key = &k;
        }
        AddressSetting alone;
        if (p.key && value && p.key->read(*value, alone)) p.says = p.key->write(alone);
        read.push_back(p);
    }

    // A key given more than once is taken where every time says the same; where two say
    // different things, neither is taken.
    AddressReading reading;
    for (const Part& p : read) {
        bool agreed = p.says.has_value();
        for (const Part& other : read) {
            if (other.key == p.key && other.says != p.says) agreed = false;
        }
        const std::optional<std::string> value =
            agreed ? decoded(p.text.substr(p.text.find('=') + 1)) : std::nullopt;
        if (!value || !p.key->read(*value, reading.setting)) reading.ignored.push_back(shown(p.text));
    }
    return reading;
}

AddressSetting addressSetting(std::string_view frequencyText, std::string_view distanceText,
                              int scrollValue, Language language)
{
    AddressSetting setting;
    for (const OptionAction& action : optionActions()) {
        const std::string text = numberText(action.value);
        if (action.box == SettingsBox::nFi && text == frequencyText)
            setting.frequencyOption = action.option;
        if (action.box == SettingsBox::nRozteč && text == distanceText)
            setting.distanceOption = action.option;
    }
    setting.scrollValue = scrollValue;
    setting.language = language;
    return setting;
}

std::string addressQuery(const AddressSetting& setting)
{
    std::string query;
    for (const QueryKey& key : kKeys) {
        const std::string value = key.write(setting);
        if (value.empty()) continue;
        if (!query.empty()) query += '&';
        query += std::string(key.name) + '=' + value;
    }
    return query;
}

}  // namespace kvelmor
