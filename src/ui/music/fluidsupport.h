#pragma once

// FluidSynth plumbing shared by the player, the system output and the WAV
// renderer. Only the music library's own .cpp files include this header.

#include <fluidsynth.h>

#include <QByteArray>
#include <QString>

#include <memory>

namespace fluid {

constexpr int SampleRate = 44100;

template <typename T, void (*Free)(T *)>
struct Deleter
{
    void operator()(T *p) const { Free(p); }
};

using Settings = std::unique_ptr<fluid_settings_t, Deleter<fluid_settings_t, delete_fluid_settings>>;
using Synth = std::unique_ptr<fluid_synth_t, Deleter<fluid_synth_t, delete_fluid_synth>>;
using Player = std::unique_ptr<fluid_player_t, Deleter<fluid_player_t, delete_fluid_player>>;
using Driver = std::unique_ptr<fluid_audio_driver_t, Deleter<fluid_audio_driver_t, delete_fluid_audio_driver>>;
using FileRenderer = std::unique_ptr<fluid_file_renderer_t, Deleter<fluid_file_renderer_t, delete_fluid_file_renderer>>;

// Keeps FluidSynth's messages off stderr; failures are reported by our callers.
void silenceLog();

Settings makeSettings();

// The General-MIDI SoundFont to play with: TimGM6mb when installed, otherwise
// the first other .sf2 in the system's SoundFont folder; empty when none.
QString findSoundFont();

// A synthesizer with the SoundFont loaded; null (and `error` set) on failure.
Synth makeSynth(fluid_settings_t *settings, QString *error);

// A player that loops `midi` for ever, already started; null on failure.
Player startLoopingPlayer(fluid_synth_t *synth, const QByteArray &midi);

} // namespace fluid
