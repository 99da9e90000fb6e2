#include "dialog/dialog_options.h"

namespace zmr::dialog {
namespace {

// Each option's name, and the name an older Win32 dialog stored it under
// (at the top of its key); the Qt dialog has always used the first.
struct OptionName {
    const char* name;
    const char* older;
};

constexpr OptionName kEncodingName = {"options/textEncoding", "textEncoding"};
constexpr OptionName kKarTextName = {"options/karText", "karText"};
constexpr OptionName kLenientName = {"options/lenient", "lenient"};

std::optional<std::string> readText(const SettingsStore& store, const OptionName& name) {
    if (std::optional<std::string> value = store.readText(name.name)) return value;
    return store.readText(name.older);
}

bool readSwitch(const SettingsStore& store, const OptionName& name) {
    if (const std::optional<bool> on = store.readSwitch(name.name)) return *on;
    return store.readSwitch(name.older).value_or(false);
}

}  // namespace

std::string encodingTip(TextEncoding encoding) { return "--text-encoding " + std::string(textEncodingName(encoding)); }

std::optional<ConvertOptions> afterOptionCommand(ConvertOptions options, int id) {
    if (id == ID_KAR_TEXT) {
        options.karText = !options.karText;
        return options;
    }
    if (id == ID_LENIENT) {
        options.lenient = !options.lenient;
        return options;
    }
    for (const EncodingItem& item : kEncodingItems) {
        if (item.id != id) continue;
        options.textEncoding = item.encoding;
        return options;
    }
    return std::nullopt;
}

bool optionChecked(const ConvertOptions& options, int id) {
    if (id == ID_KAR_TEXT) return options.karText;
    if (id == ID_LENIENT) return options.lenient;
    for (const EncodingItem& item : kEncodingItems)
        if (item.id == id) return item.encoding == options.textEncoding;
    return false;
}

ConvertOptions loadOptions(const SettingsStore& store) {
    ConvertOptions options;
    if (const std::optional<std::string> name = readText(store, kEncodingName))
        options.textEncoding = parseTextEncoding(*name).value_or(TextEncoding::ViqrVni);
    options.karText = readSwitch(store, kKarTextName);
    options.lenient = readSwitch(store, kLenientName);
    return options;
}

void saveOptions(SettingsStore& store, const ConvertOptions& options) {
    store.writeText(kEncodingName.name, textEncodingName(options.textEncoding));
    store.writeSwitch(kKarTextName.name, options.karText);
    store.writeSwitch(kLenientName.name, options.lenient);
}

}  // namespace zmr::dialog
