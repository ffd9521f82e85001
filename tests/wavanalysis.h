#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

// Rendered music read back as numbers: loudness and pitch content over time.
struct WavAudio
{
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> mono; // channels mixed, full scale is 1.0
    float peak = 0.0f;       // largest absolute sample of any channel

    double seconds() const { return sampleRate ? double(mono.size()) / sampleRate : 0.0; }
};

// 16-bit PCM WAV files only; nothing when the file is anything else.
std::optional<WavAudio> readWav(const QString &path);

double rms(const float *samples, size_t count);
// Loudness of each whole second.
std::vector<double> rmsPerSecond(const WavAudio &audio);

// Energy of each pitch class (C = 0 … B = 11) over four octaves from C3.
using Chroma = std::array<double, 12>;
Chroma chroma(const float *samples, size_t count, int sampleRate);
int strongestPitchClass(const Chroma &chroma);
