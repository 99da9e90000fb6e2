#pragma once
// The menu "Options": how songs are read, as the command line's
// --text-encoding, --kar-text and --lenient. Every item is off (the encoding
// "VIQR or VNI") until the user turns it on, and the choice is remembered
// between runs. The dialogs draw the items; which are checked, what a click
// on one does and how the choice is stored are decided here.

#include <array>
#include <optional>
#include <string>

#include "dialog/dialog_ids.h"
#include "dialog/settings_store.h"
#include "image/convert_options.h"

namespace zmr::dialog {

struct OptionItem {
    int id;
    const char* text;
    const char* tip;  // the command-line option it stands for
};

struct EncodingItem {
    TextEncoding encoding;
    int id;
    const char* text;
};

// "Text Encoding" and its choices, in menu order.
inline constexpr std::array<EncodingItem, 4> kEncodingItems = {{
    {TextEncoding::ViqrVni, ID_TEXT_VIQR_VNI, "VIQR or VNI"},
    {TextEncoding::Utf8, ID_TEXT_UTF8, "UTF-8"},
    {TextEncoding::Cp1258, ID_TEXT_CP1258, "Windows-1258"},
    {TextEncoding::Auto, ID_TEXT_AUTO, "Automatic (UTF-8 or VIQR/VNI)"},
}};
inline constexpr char kTextEncodingMenu[] = "Text Encoding";
// The two switches, after the encodings.
inline constexpr OptionItem kKarTextItem = {
    ID_KAR_TEXT, "Lyrics from Text Events (.kar)",
    "--kar-text: a song without lyric events takes its lyrics from the text events of one track"};
inline constexpr OptionItem kLenientItem = {
    ID_LENIENT, "Lenient Reading",
    "--lenient: also read RIFF MIDI files, chunks other than MTrk and unknown meta events"};

// The command-line option an encoding's item stands for.
std::string encodingTip(TextEncoding encoding);

// A click on item `id`: the options it leaves; nothing for an id not the menu's.
std::optional<ConvertOptions> afterOptionCommand(ConvertOptions options, int id);
// Whether item `id` shows a check under `options`.
bool optionChecked(const ConvertOptions& options, int id);

// The choice stored last; what an older version stored under its own names
// is read too, so nobody loses it.
ConvertOptions loadOptions(const SettingsStore& store);
void saveOptions(SettingsStore& store, const ConvertOptions& options);

}  // namespace zmr::dialog
