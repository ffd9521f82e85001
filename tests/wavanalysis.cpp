#include "wavanalysis.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>

std::optional<WavAudio> readWav(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    WavAudio audio;
    int bitsPerSample = 0;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const auto length = qsizetype(qFromLittleEndian<quint32>(bytes.constData() + at + 4));
        const char *body = bytes.constData() + at + 8;
        if (length > bytes.size() - at - 8)
            return std::nullopt;
        if (id == "fmt " && length >= 16) {
            if (qFromLittleEndian<quint16>(body) != 1)
                return std::nullopt;
            audio.channels = qFromLittleEndian<quint16>(body + 2);
            audio.sampleRate = int(qFromLittleEndian<quint32>(body + 4));
            bitsPerSample = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data") {
            if (bitsPerSample != 16 || audio.channels < 1)
                return std::nullopt;
            const qsizetype frames = length / (2 * audio.channels);
            audio.mono.resize(size_t(frames));
            for (qsizetype f = 0; f < frames; ++f) {
                float sum = 0.0f;
                for (int c = 0; c < audio.channels; ++c) {
                    const float sample = qFromLittleEndian<qint16>(body + 2 * (f * audio.channels + c)) / 32768.0f;
                    audio.peak = std::max(audio.peak, std::abs(sample));
                    sum += sample;
                }
                audio.mono[size_t(f)] = sum / float(audio.channels);
            }
            return audio;
        }
        at += 8 + length + (length & 1);
    }
    return std::nullopt;
}

double rms(const float *samples, size_t count)
{
    double sum = 0.0;
    for (size_t i = 0; i < count; ++i)
        sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / double(count)) : 0.0;
}

std::vector<double> rmsPerSecond(const WavAudio &audio)
{
    std::vector<double> result;
    const size_t second = size_t(audio.sampleRate);
    for (size_t at = 0; second && at + second <= audio.mono.size(); at += second)
        result.push_back(rms(audio.mono.data() + at, second));
    return result;
}

// Goertzel filters at each semitone from C3 to B6, folded into pitch classes.
Chroma chroma(const float *samples, size_t count, int sampleRate)
{
    Chroma energy{};
    for (int key = 48; key < 96; ++key) {
        const double frequency = 440.0 * std::pow(2.0, (key - 69) / 12.0);
        const double coefficient = 2.0 * std::cos(2.0 * M_PI * frequency / sampleRate);
        double previous = 0.0, beforePrevious = 0.0;
        for (size_t i = 0; i < count; ++i) {
            const double current = samples[i] + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        energy[size_t(key % 12)] +=
            previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    }
    return energy;
}

int strongestPitchClass(const Chroma &chroma)
{
    return int(std::max_element(chroma.begin(), chroma.end()) - chroma.begin());
}
