#include "cli/convert_flags.h"

#include <map>
#include <string>

namespace zmr::cli {

void addConvertFlags(CLI::App& command, ConvertOptions& options) {
    std::map<std::string, TextEncoding> encodings;
    for (const TextEncoding e : kReadingEncodings) encodings.emplace(textEncodingName(e), e);
    command
        .add_option("--text-encoding", options.textEncoding,
                    "How titles and lyrics are written: viqr-vni (default), utf8, cp1258 or auto (per song)")
        ->transform(CLI::CheckedTransformer(encodings))
        ->option_text("ENCODING");
    command.add_flag("--kar-text", options.karText,
                     "Lyrics from Soft Karaoke text events for a song without lyric events");
    command.add_flag("--lenient", options.lenient,
                     "Also read RIFF MIDI, chunks other than MTrk and unknown meta events");
}

}  // namespace zmr::cli
