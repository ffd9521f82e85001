#pragma once

#include "audiooutput.h"

#include <QString>

#include <memory>

// Background music: loops one MIDI tune through a General-MIDI synthesizer
// until stopped. Volume is a level 1 … 16 (1 silent, 16 full), applied as
// the synthesizer's gain.
class MusicPlayer
{
public:
    static constexpr int MinVolumeLevel = 1;
    static constexpr int MaxVolumeLevel = 16;

    explicit MusicPlayer(std::unique_ptr<AudioOutput> output = makeSystemAudioOutput());
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer &) = delete;
    MusicPlayer &operator=(const MusicPlayer &) = delete;

    // Whether there is a sound device to play on ("no sound card" when false).
    bool audioAvailable();

    // Replaces whatever plays with `midiFile`, looped. On failure nothing
    // plays and errorString() says why.
    [[nodiscard]] bool play(const QString &midiFile);
    void stop();
    bool isPlaying() const;
    QString errorString() const;

    // Clamped to 1 … 16; takes effect at once, also while a tune plays.
    void setVolumeLevel(int level);
    int volumeLevel() const;

    static int clampVolumeLevel(int level);
    static float gainForVolumeLevel(int level);

    // Renders `seconds` of `midiFile`, looped as in the background, to a
    // 16-bit stereo 44.1 kHz WAV file. For checking tunes without a sound card.
    static bool renderToWav(const QString &midiFile, const QString &wavFile, int level, double seconds,
                            QString *error = nullptr);

private:
    struct Engine;

    std::unique_ptr<AudioOutput> m_output;
    std::unique_ptr<Engine> m_engine;
    int m_volumeLevel = MaxVolumeLevel;
    bool m_playing = false;
    QString m_error;
};
