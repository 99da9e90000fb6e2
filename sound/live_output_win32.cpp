// The live output on Windows: the system's MIDI synthesizer, through the MIDI
// mapper (the default device), one short message at a time.

#include "sound/live_output.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "fileio/wide_text.h"
#include "midi/midi_status.h"

namespace zmr {
namespace {

constexpr uint8_t kChannels = 16;

DWORD packed(uint8_t status, uint8_t data1, uint8_t data2) {
    return DWORD{status} | (DWORD{data1} << 8) | (DWORD{data2} << 16);
}

std::string errorText(MMRESULT error) {
    wchar_t text[MAXERRORLENGTH] = {};
    if (midiOutGetErrorTextW(error, text, MAXERRORLENGTH) != MMSYSERR_NOERROR) return "error " + std::to_string(error);
    return utf8FromWide(text);
}

// While a device is open the system's timer ticks every millisecond, so that
// the sound thread wakes when a message is due rather than up to 15.6 ms later.
class MidiOutDevice : public MidiOutput {
public:
    explicit MidiOutDevice(HMIDIOUT device) : device_(device) { timeBeginPeriod(1); }
    ~MidiOutDevice() override {
        midiOutReset(device_);
        midiOutClose(device_);
        timeEndPeriod(1);
    }

    void send(std::span<const uint8_t> message) override {
        if (message.empty()) return;
        midiOutShortMsg(device_, packed(message[0], message.size() > 1 ? message[1] : 0, message.size() > 2 ? message[2] : 0));
    }

    // midiOutReset only ends the notes; the rest is what a synthesizer holds at power-on.
    void reset() override {
        midiOutReset(device_);
        for (uint8_t channel = 0; channel < kChannels; ++channel) {
            const uint8_t control = static_cast<uint8_t>(midi::kControlChange | channel);
            midiOutShortMsg(device_, packed(control, 121, 0));  // reset all controllers
            midiOutShortMsg(device_, packed(control, 0, 0));    // bank select
            midiOutShortMsg(device_, packed(control, 32, 0));
            midiOutShortMsg(device_, packed(control, 7, 100));  // volume
            midiOutShortMsg(device_, packed(control, 10, 64));  // pan
            midiOutShortMsg(device_, packed(static_cast<uint8_t>(midi::kProgramChange | channel), 0, 0));
            midiOutShortMsg(device_, packed(static_cast<uint8_t>(midi::kPitchBend | channel), 0, 0x40));
        }
    }

private:
    HMIDIOUT device_;
};

}  // namespace

bool liveOutputTakesSoundFont() { return false; }

Result<LiveOutput> openLiveOutput(const LiveOutputOptions&) {
    HMIDIOUT device = nullptr;
    const MMRESULT opened = midiOutOpen(&device, MIDI_MAPPER, 0, 0, CALLBACK_NULL);
    if (opened != MMSYSERR_NOERROR) return LiveOutput{nullptr, "no MIDI output device", "midiOutOpen: " + errorText(opened)};
    std::string name = "the MIDI mapper";
    MIDIOUTCAPSW caps{};
    if (midiOutGetDevCapsW(MIDI_MAPPER, &caps, sizeof caps) == MMSYSERR_NOERROR) name = utf8FromWide(caps.szPname);
    return LiveOutput{std::make_unique<MidiOutDevice>(device), "Windows MIDI", name};
}

}  // namespace zmr
