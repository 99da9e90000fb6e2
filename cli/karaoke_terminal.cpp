#include "cli/karaoke_terminal.h"

#include "cli/karaoke_screen.h"

namespace zmr::cli {

KaraokeTerminal::KaraokeTerminal(Terminal& terminal, Transport& transport, const PlaybackClock& clock,
                                 const PreviewSong& song, std::string sound)
    : terminal_(terminal), transport_(transport), clock_(clock), song_(song), sound_(std::move(sound)) {}

bool KaraokeTerminal::step(std::chrono::milliseconds wait) {
    const TerminalKey key = terminal_.readKey(wait);
    switch (key) {
        case TerminalKey::PlayPause: transport_.togglePause(); break;
        case TerminalKey::Back: transport_.seekBy(-kSeekStep); break;
        case TerminalKey::Forward: transport_.seekBy(kSeekStep); break;
        case TerminalKey::Quit:
        case TerminalKey::Interrupt:
        case TerminalKey::QuitSignal: endKey_ = key; return false;
        case TerminalKey::Suspend: {
            // The song waits while the process is stopped, and goes on where it was.
            const bool playing = transport_.playing();
            transport_.pause();
            terminal_.suspend();
            if (playing) transport_.play();
            break;
        }
        case TerminalKey::None: break;
    }
    const Transport::State state = transport_.state();
    terminal_.write(drawKaraokeFrame(KaraokeFrame{song_.number, &song_.lyrics, state, transport_.length(), sound_,
                                                  terminal_.columns(), terminal_.rows()}));
    if (!transport_.finished()) {
        endedAt_.reset();
        return true;
    }
    if (!endedAt_) endedAt_ = clock_.now();
    return clock_.now() < *endedAt_ + kRingOut;
}

}  // namespace zmr::cli
