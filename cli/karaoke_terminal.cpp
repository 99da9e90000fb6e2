#include "cli/karaoke_terminal.h"

#include "cli/karaoke_screen.h"

namespace zmr::cli {

KaraokeTerminal::KaraokeTerminal(Terminal& terminal, Transport& transport, const PlaybackClock& clock,
                                 const PreviewSong& song, std::string sound)
    : terminal_(terminal), transport_(transport), clock_(clock), song_(song), sound_(std::move(sound)) {}

bool KaraokeTerminal::step(std::chrono::milliseconds wait) {
    switch (terminal_.readKey(wait)) {
        case TerminalKey::PlayPause: transport_.togglePause(); break;
        case TerminalKey::Back: transport_.seekBy(-kSeekStep); break;
        case TerminalKey::Forward: transport_.seekBy(kSeekStep); break;
        case TerminalKey::Quit: return false;
        case TerminalKey::None: break;
    }
    const Transport::State state = transport_.state();
    terminal_.write(drawKaraokeFrame(
        KaraokeFrame{song_.number, &song_.lyrics, state, transport_.length(), sound_, terminal_.columns()}));
    if (!transport_.finished()) {
        endedAt_.reset();
        return true;
    }
    if (!endedAt_) endedAt_ = clock_.now();
    return clock_.now() < *endedAt_ + kRingOut;
}

}  // namespace zmr::cli
