// The play screen on a pseudo-terminal, at moments of a song chosen by a
// clock the test moves: which line shows, which characters are highlighted,
// the keys that pause, seek and end, Ctrl+Z giving the terminal back while the
// process is stopped, and a short terminal. POSIX only: Windows has no pseudo-terminal
// to give the screen (its console code is built and its plain output tested).

#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include "cli/karaoke_screen.h"
#include "cli/karaoke_terminal.h"
#include "cli/terminal.h"
#include "readback/image_index.h"
#include "support/lyric_song.h"
#include "support/manual_clock.h"
#include "support/memory_compile.h"

namespace zmr::cli {
namespace {

class PseudoTerminal {
public:
    PseudoTerminal() {
        winsize size{};
        size.ws_col = 60;
        size.ws_row = 12;
        EXPECT_EQ(::openpty(&master_, &slave_, nullptr, nullptr, &size), 0);
    }
    ~PseudoTerminal() {
        ::close(master_);
        ::close(slave_);
    }
    int slave() const { return slave_; }
    int master() const { return master_; }

    // Types keys and waits until the other side can read all of them (the
    // terminal passes them on in its own time, a byte at a time if it likes).
    void type(const std::string& keys) {
        ASSERT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
        int waiting = 0;
        for (int tries = 0; tries < 5000; ++tries) {
            ASSERT_EQ(::ioctl(slave_, FIONREAD, &waiting), 0);
            if (waiting >= static_cast<int>(keys.size())) return;
            ::usleep(1000);
        }
        FAIL() << "the terminal did not pass the keys on";
    }

    // Everything drawn since the last call, up to the end of a picture.
    std::string drawn() {
        std::string text;
        while (text.find("\x1b[J") == std::string::npos) {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, 5000) != 1) break;
            char bytes[4096];
            const ssize_t count = ::read(master_, bytes, sizeof bytes);
            if (count <= 0) break;
            text.append(bytes, static_cast<size_t>(count));
        }
        return text;
    }

private:
    int master_ = -1;
    int slave_ = -1;
};

// The last picture in what was drawn.
std::string lastFrame(const std::string& drawn) {
    const size_t home = drawn.rfind(kScreenHome);
    return home == std::string::npos ? std::string() : drawn.substr(home);
}

// The pieces one after the other (appended one by one: GCC 12 warns falsely
// about chains of std::string + on literals).
std::string joined(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (const std::string_view piece : pieces) text.append(piece);
    return text;
}

PreviewSong lyricPreview() {
    const auto compiled = test::compileInMemory({{"/songs/Em Yeu.mid", test::lyricSong()}});
    const ImageIndex scan = readImageIndex(compiled.image);
    EXPECT_EQ(scan.songs.size(), 1u);
    Result<PreviewSong> song = loadPreviewSong(compiled.image, scan.songs.at(0));
    EXPECT_TRUE(song) << song.message();
    return std::move(song).value();
}

TEST(PlayScreen, ShowsTheLineAndHighlightAtEachMomentAndFollowsTheKeys) {
    const PreviewSong song = lyricPreview();
    ASSERT_EQ(song.length, PlaybackTime(17'000));
    PseudoTerminal pty;
    test::ManualClock clock;
    Transport transport(clock, song.length);
    transport.play();
    {
        std::unique_ptr<Terminal> terminal = openTerminalOn(pty.slave(), pty.slave());
        KaraokeTerminal screen(*terminal, transport, clock, song, "no audio device: the lyrics run without sound");
        // One turn of the screen, and the picture it drew.
        const auto turn = [&] {
            EXPECT_TRUE(screen.step(std::chrono::milliseconds(0)));
            return lastFrame(pty.drawn());
        };

        // 2.04 s: "Em yêu" sung, " ấm" still to come, the next line dimmed below.
        clock.advance(PlaybackTime(2'040));
        std::string frame = turn();
        EXPECT_NE(frame.find("song 1 \xC2\xB7 Em Yeu"), std::string::npos) << frame;
        EXPECT_NE(frame.find(joined({kSungStart, "Em y\xC3\xAAu", kPlainStyle, " \xE1\xBA\xA5m\x1b[K"})),
                  std::string::npos) << frame;
        EXPECT_NE(frame.find(joined({kNextStart, "\xC4\x90i t\xC6\xB0\xC6\xA1i"})), std::string::npos) << frame;
        EXPECT_NE(frame.find("00:02 / 00:17"), std::string::npos) << frame;

        // 4.00 s: the second line, "Đi" sung, " tươi" from 4.42 s.
        clock.advance(PlaybackTime(1'960));
        frame = turn();
        EXPECT_NE(frame.find(joined({kSungStart, "\xC4\x90i", kPlainStyle, " t\xC6\xB0\xC6\xA1i"})),
                  std::string::npos) << frame;
        EXPECT_NE(frame.find(joined({kNextStart, "Vi\xE1\xBB\x87t Nam"})), std::string::npos) << frame;

        // Space pauses: the clock runs on, the song does not.
        pty.type(" ");
        turn();
        clock.advance(PlaybackTime(5'000));
        frame = turn();
        EXPECT_NE(frame.find("00:04 / 00:17  paused"), std::string::npos) << frame;

        // The right arrow seeks 10 s, still paused: the third line, all of it sung.
        pty.type("\x1b[C");
        frame = turn();
        EXPECT_NE(frame.find("00:14 / 00:17  paused"), std::string::npos) << frame;
        EXPECT_NE(frame.find(joined({kSungStart, "Vi\xE1\xBB\x87t Nam", kPlainStyle, "\x1b[K"})),
                  std::string::npos) << frame;

        // Space plays on, the left arrow goes back 10 s.
        pty.type(" ");
        turn();
        clock.advance(PlaybackTime(1'000));
        pty.type("\x1bOD");
        frame = turn();
        EXPECT_NE(frame.find("00:05 / 00:17"), std::string::npos) << frame;
        EXPECT_EQ(frame.find("paused"), std::string::npos) << frame;

        // q ends the play.
        pty.type("q");
        EXPECT_FALSE(screen.step(std::chrono::milliseconds(0)));
        EXPECT_EQ(screen.endKey(), TerminalKey::Quit);
    }
    // The terminal is given back: keys echoed and edited again.
    termios modes{};
    ASSERT_EQ(::tcgetattr(pty.slave(), &modes), 0);
    EXPECT_TRUE(modes.c_lflag & ECHO);
    EXPECT_TRUE(modes.c_lflag & ICANON);
}

TEST(PlayScreen, EndsOnceTheSongHasRungOut) {
    const PreviewSong song = lyricPreview();
    PseudoTerminal pty;
    test::ManualClock clock;
    Transport transport(clock, song.length);
    transport.seek(PlaybackTime(16'500));
    transport.play();
    std::unique_ptr<Terminal> terminal = openTerminalOn(pty.slave(), pty.slave());
    KaraokeTerminal screen(*terminal, transport, clock, song, "");
    clock.advance(PlaybackTime(600));
    EXPECT_TRUE(screen.step(std::chrono::milliseconds(0)));  // ended: the last notes ring out
    EXPECT_NE(lastFrame(pty.drawn()).find("00:17 / 00:17  end"), std::string::npos);
    clock.advance(kRingOut);
    EXPECT_FALSE(screen.step(std::chrono::milliseconds(0)));
}

TEST(PlayScreen, CursorKeysAreReadWhateverTheirForm) {
    EXPECT_EQ(readKeyBytes("\x1b[C").key, TerminalKey::Forward);
    EXPECT_EQ(readKeyBytes("\x1bOD").key, TerminalKey::Back);
    EXPECT_EQ(readKeyBytes("\x1b[1;2C").length, 6u);
    EXPECT_EQ(readKeyBytes("\x1b[").length, 0u);  // more to come
    EXPECT_EQ(readKeyBytes("\x1b[A").key, TerminalKey::None);
    EXPECT_EQ(readKeyBytes("\x04").key, TerminalKey::Quit);
    // Read as keys, not signals, so that the screen can give the terminal back first.
    EXPECT_EQ(readKeyBytes("\x03").key, TerminalKey::Interrupt);
    EXPECT_EQ(readKeyBytes("\x1c").key, TerminalKey::QuitSignal);
    EXPECT_EQ(readKeyBytes("\x1a").key, TerminalKey::Suspend);
}

TEST(PlayScreen, AShortTerminalKeepsTheLinesAndNeverScrolls) {
    const PreviewSong song = lyricPreview();
    Transport::State state;
    state.position = PlaybackTime(2'040);
    for (int rows : {1, 5, 7}) {
        const std::string frame = drawKaraokeFrame(KaraokeFrame{1, &song.lyrics, state, song.length, "sound", 60, rows});
        size_t breaks = 0;
        for (size_t at = frame.find("\r\n"); at != std::string::npos; at = frame.find("\r\n", at + 1)) ++breaks;
        EXPECT_EQ(breaks, static_cast<size_t>(rows - 1)) << frame;
        EXPECT_NE(frame.find("Em y\xC3\xAAu"), std::string::npos) << frame;
        if (rows >= 3) {
            EXPECT_NE(frame.find("00:02 / 00:17"), std::string::npos) << frame;
        }
    }
}

bool echoes(int terminal) {
    termios modes{};
    return ::tcgetattr(terminal, &modes) == 0 && (modes.c_lflag & ECHO) != 0;
}

// Reads what the screen draws, so that it never waits on a full terminal,
// until `done` holds or 10 s have passed.
template <class Done>
bool drainUntil(const PseudoTerminal& pty, Done done) {
    for (int tries = 0; tries < 2000; ++tries) {
        if (done()) return true;
        pollfd fd{pty.master(), POLLIN, 0};
        if (::poll(&fd, 1, 5) == 1) {
            char bytes[4096];
            if (::read(pty.master(), bytes, sizeof bytes) < 0) return false;
        }
    }
    return done();
}

TEST(PlayScreen, CtrlZGivesTheTerminalBackUntilTheProcessContinues) {
    const PreviewSong song = lyricPreview();
    PseudoTerminal pty;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A group of its own, whose parent is outside it: SIGTSTP stops it
        // (the system ignores it in an orphaned group).
        ::setpgid(0, 0);
        test::ManualClock clock;
        Transport transport(clock, song.length);
        transport.play();
        std::unique_ptr<Terminal> terminal = openTerminalOn(pty.slave(), pty.slave());
        KaraokeTerminal screen(*terminal, transport, clock, song, "");
        while (screen.step(std::chrono::milliseconds(10))) {
        }
        terminal.reset();
        ::_exit(screen.endKey() == TerminalKey::Quit && echoes(pty.slave()) ? 0 : 1);
    }
    int status = 0;
    bool ended = false;
    const auto state = [&](int options) {
        const bool changed = ::waitpid(child, &status, options) == child;
        ended = changed && !WIFSTOPPED(status);
        return changed;
    };
    // A failed step leaves no stopped child behind.
    struct Reaper {
        pid_t pid;
        const bool& ended;
        ~Reaper() {
            if (ended) return;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    } reaper{child, ended};
    ASSERT_TRUE(drainUntil(pty, [&] { return !echoes(pty.slave()); }));  // the screen has the terminal
    ASSERT_EQ(::write(pty.master(), "\x1a", 1), 1);
    ASSERT_TRUE(drainUntil(pty, [&] { return state(WNOHANG | WUNTRACED); }));
    ASSERT_TRUE(WIFSTOPPED(status));
    EXPECT_EQ(WSTOPSIG(status), SIGTSTP);
    EXPECT_TRUE(echoes(pty.slave()));  // given back while stopped
    ASSERT_EQ(::kill(child, SIGCONT), 0);
    EXPECT_TRUE(drainUntil(pty, [&] { return !echoes(pty.slave()); }));  // and taken again
    ASSERT_EQ(::write(pty.master(), "q", 1), 1);
    ASSERT_TRUE(drainUntil(pty, [&] { return state(WNOHANG); }));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace zmr::cli

#endif
