#include "composer.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <stdexcept>

namespace {

constexpr uint32_t Eighth = TicksPerQuarter / 2;
constexpr int Tonic = 0; // scale degrees of chords
constexpr int Dominant = 4;
constexpr int Scales[2][7] = {{0, 2, 4, 5, 7, 9, 11}, {0, 2, 3, 5, 7, 8, 10}};

enum Channel { MelodyChannel, ChordsChannel, PadChannel, BassChannel };
enum Track { Conductor, MelodyTrack, ChordsTrack, PadTrack, BassTrack, TrackCount };
enum Controller { Volume = 7, Pan = 10, Sustain = 64, Reverb = 91 };

// Our own generator, unlike the standard library distributions the same on
// every platform, so every build writes the same tunes.
class Random
{
public:
    explicit Random(uint32_t seed) : m_state(seed ? seed : 1) {}
    uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return int(next() % uint32_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    template <typename T>
    const T &pick(const std::vector<T> &items) { return items[size_t(below(int(items.size())))]; }

private:
    uint32_t m_state;
};

// Note lengths in eighths over two bars; a negative length is a rest.
using Rhythm = std::vector<int>;

const std::vector<Rhythm> PhraseRhythms[2] = {
    {{2, 2, 2, 4, 2}, {3, 1, 2, 4, -2}, {2, 1, 1, 2, 6}, {4, 2, 2, 2, 2}, {2, 2, 2, 3, 1, 2}},
    {{2, 2, 3, 1, 6, -2}, {1, 1, 2, 2, 2, 4, 2, -2}, {3, 1, 2, 2, 2, 2, 4}, {2, 1, 1, 2, 2, 3, 1, 4},
     {4, 2, 2, 2, 2, 2, 2}, {2, 2, 2, 2, 3, 1, -2, 2}},
};
const std::vector<Rhythm> CadenceRhythms[2] = {
    {{2, 2, 2, 6}, {4, 2, 6}, {3, 1, 2, 6}},
    {{2, 2, 2, 2, 8}, {3, 1, 4, 8}, {4, 2, 2, 8}},
};
// Mostly steps, some leaps, now and then a repeated note.
const std::vector<int> MelodicSteps = {-1, -1, -1, 1, 1, 1, -2, 2, 2, -2, 0, 3, -3};

struct Motif
{
    Rhythm rhythm;
    std::vector<int> steps; // scale steps from the previous note
};

int pitchClass(int key)
{
    return ((key % 12) + 12) % 12;
}

// The lowest key at or above `low` with the pitch class of `key`.
int placeAbove(int key, int low)
{
    return low + pitchClass(key - low);
}

class Composer
{
public:
    explicit Composer(const TuneDesign &design)
        : m_design(design), m_random(design.seed), m_tracks(TrackCount),
          m_eighthsPerBar(design.beatsPerBar * 2), m_metre(design.beatsPerBar == 3 ? 0 : 1)
    {
        if (design.beatsPerBar != 3 && design.beatsPerBar != 4)
            throw std::invalid_argument("tunes are in 3/4 or 4/4");
        for (int key = design.melodyLow; key <= design.melodyHigh; ++key) {
            if (inScale(key))
                m_melodyKeys.push_back(key);
        }
        m_lastMelodyIndex = int(m_melodyKeys.size()) / 3;
    }

    std::vector<SmfTrack> compose()
    {
        setUpTracks();
        const int introBars = int(m_design.sectionA.size()) / 4;
        std::vector<int> intro(size_t(introBars), Tonic);
        std::fill(intro.begin() + introBars / 2, intro.end(), Dominant);
        for (int degree : intro)
            accompanyBar(degree, false);

        const Motif a1 = makeMotif(false), a2 = makeMotif(false), aEnd = makeMotif(true);
        const Motif b1 = makeMotif(false), b2 = makeMotif(false), bEnd = makeMotif(true);
        playSection(m_design.sectionA, a1, a2, aEnd, 0, false);
        m_lastMelodyIndex = int(m_melodyKeys.size()) * 2 / 3; // the middle part sings higher
        playSection(m_design.sectionB, b1, b2, bEnd, 6, true);
        playSection(m_design.sectionA, a1, a2, aEnd, 3, true);
        closingCadence(introBars);
        return m_tracks;
    }

private:
    bool inScale(int key) const
    {
        const int *scale = Scales[m_design.minor ? 1 : 0];
        return std::find(scale, scale + 7, pitchClass(key - m_design.tonic)) != scale + 7;
    }

    // Pitch classes of the chord on a scale degree, stacked in thirds.
    std::vector<int> chordPitchClasses(int degree) const
    {
        const int *scale = Scales[m_design.minor ? 1 : 0];
        std::vector<int> classes;
        const int notes = m_design.sevenths ? 4 : 3;
        for (int i = 0; i < notes; ++i)
            classes.push_back(pitchClass(m_design.tonic + scale[(degree + 2 * i) % 7]));
        return classes;
    }

    bool inChord(int key, int degree) const
    {
        const std::vector<int> classes = chordPitchClasses(degree);
        return std::find(classes.begin(), classes.end(), pitchClass(key)) != classes.end();
    }

    // Close position from `low` upwards: neighbouring chords share or move
    // by step in each voice.
    std::vector<int> voicing(int degree, int low) const
    {
        std::vector<int> keys;
        for (int pc : chordPitchClasses(degree))
            keys.push_back(placeAbove(pc, low));
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    uint32_t barTick(int bar) const { return uint32_t(bar) * uint32_t(m_eighthsPerBar) * Eighth; }
    uint32_t barLength() const { return uint32_t(m_eighthsPerBar) * Eighth; }

    void setUpTracks()
    {
        SmfTrack &conductor = m_tracks[Conductor];
        conductor.trackName(m_design.title);
        conductor.tempo(0, m_design.beatsPerMinute);
        conductor.timeSignature(0, m_design.beatsPerBar, 4);
        const std::pair<Track, const Instrument *> parts[] = {
            {MelodyTrack, &m_design.melody}, {ChordsTrack, &m_design.chords},
            {PadTrack, &m_design.pad}, {BassTrack, &m_design.bass}};
        for (const auto &[track, instrument] : parts) {
            const int channel = int(track) - 1;
            m_tracks[track].programChange(0, channel, instrument->program);
            m_tracks[track].controlChange(0, channel, Volume, instrument->volume);
            m_tracks[track].controlChange(0, channel, Pan, instrument->pan);
            m_tracks[track].controlChange(0, channel, Reverb, instrument->reverb);
        }
    }

    Motif makeMotif(bool cadence)
    {
        Motif motif;
        motif.rhythm = m_random.pick((cadence ? CadenceRhythms : PhraseRhythms)[m_metre]);
        for (size_t i = 0; i < motif.rhythm.size(); ++i)
            motif.steps.push_back(i == 0 ? 0 : m_random.pick(MelodicSteps));
        // Repeating a motif should not climb or sink out of the range.
        const int drift = std::accumulate(motif.steps.begin(), motif.steps.end(), 0);
        motif.steps.back() = std::clamp(motif.steps.back() - drift, -3, 3);
        const int total = std::accumulate(motif.rhythm.begin(), motif.rhythm.end(), 0,
                                          [](int sum, int length) { return sum + std::abs(length); });
        if (total != 2 * m_eighthsPerBar)
            throw std::logic_error("a motif must fill two bars");
        return motif;
    }

    // Two-bar units: motif, answer, motif, cadence, repeated to fill the section.
    void playSection(const std::vector<int> &chords, const Motif &first, const Motif &second,
                     const Motif &cadence, int loudness, bool withPad)
    {
        const int startBar = m_bar;
        const int units = int(chords.size()) / 2;
        for (int unit = 0; unit < units; ++unit) {
            const Motif &motif = unit % 4 == 3 ? cadence : unit % 4 == 1 ? second : first;
            const bool sectionEnd = unit == units - 1;
            melodyUnit(startBar + 2 * unit, motif, &chords[size_t(2 * unit)], unit % 4 == 3, sectionEnd, loudness);
        }
        for (int degree : chords)
            accompanyBar(degree, withPad);
    }

    int nearestIndex(int index, int degree, bool tonicOnly) const
    {
        const auto fits = [&](int key) {
            return tonicOnly ? pitchClass(key - m_design.tonic) == 0 : inChord(key, degree);
        };
        for (int distance = 0; distance < int(m_melodyKeys.size()); ++distance) {
            for (int candidate : {index - distance, index + distance}) {
                if (candidate >= 0 && candidate < int(m_melodyKeys.size()) && fits(m_melodyKeys[size_t(candidate)]))
                    return candidate;
            }
        }
        return index;
    }

    void melodyUnit(int bar, const Motif &motif, const int *chords, bool cadence, bool sectionEnd, int loudness)
    {
        int position = 0; // in eighths from the unit's start
        int index = m_lastMelodyIndex;
        int previousKey = m_melodyKeys[size_t(index)];
        const int last = int(motif.rhythm.size()) - 1;
        for (int i = 0; i <= last; ++i) {
            const int length = motif.rhythm[size_t(i)];
            const int barInUnit = position / m_eighthsPerBar;
            const int inBar = position % m_eighthsPerBar;
            position += std::abs(length);
            if (length < 0)
                continue;
            const int degree = chords[barInUnit];
            index += motif.steps[size_t(i)];
            if (index < 0 || index >= int(m_melodyKeys.size()))
                index -= 2 * motif.steps[size_t(i)];
            index = std::clamp(index, 0, int(m_melodyKeys.size()) - 1);
            // A tritone leap sounds like a mistake; a step less is a fourth or fifth.
            if (std::abs(m_melodyKeys[size_t(index)] - previousKey) == 6)
                index += m_melodyKeys[size_t(index)] > previousKey ? -1 : 1;
            const bool strong = inBar == 0 || (m_eighthsPerBar == 8 && inBar == 4);
            if (i == 0 || strong)
                index = nearestIndex(index, degree, false);
            if (cadence && i == last)
                index = nearestIndex(index, degree, sectionEnd && degree == Tonic);
            const int velocity = 76 + loudness + (strong ? 8 : 0) + m_random.between(-5, 5);
            const uint32_t start = barTick(bar) + uint32_t(position - length) * Eighth;
            previousKey = m_melodyKeys[size_t(index)];
            m_tracks[MelodyTrack].note(start, uint32_t(length) * Eighth - Eighth / 6, MelodyChannel, previousKey,
                                       velocity);
        }
        m_lastMelodyIndex = index;
    }

    void chordNotes(Track track, Channel channel, uint32_t start, uint32_t length, const std::vector<int> &keys,
                    int velocity)
    {
        for (int key : keys)
            m_tracks[track].note(start, length, channel, key, velocity + m_random.between(-3, 3));
    }

    // Broken chords under the sustain pedal, one pedal per bar.
    void brokenChord(const std::vector<int> &keys, const std::vector<int> &pattern, int velocity)
    {
        SmfTrack &track = m_tracks[ChordsTrack];
        const uint32_t start = barTick(m_bar);
        track.controlChange(start, ChordsChannel, Sustain, 127);
        for (size_t i = 0; i < pattern.size(); ++i) {
            const int accent = i == 0 ? 8 : 0;
            track.note(start + uint32_t(i) * Eighth, Eighth, ChordsChannel, keys[size_t(pattern[i]) % keys.size()],
                       velocity + accent + m_random.between(-4, 4));
        }
        track.controlChange(start + barLength() - Eighth / 8, ChordsChannel, Sustain, 0);
    }

    void accompanyBar(int degree, bool withPad)
    {
        std::vector<int> keys = voicing(degree, m_design.chordsLow);
        keys.push_back(keys.front() + 12);
        const uint32_t start = barTick(m_bar);
        switch (m_design.accompaniment) {
        case Accompaniment::Arpeggio:
            brokenChord(keys, m_eighthsPerBar == 8 ? std::vector<int>{0, 1, 2, 3, 2, 1, 2, 1}
                                                   : std::vector<int>{0, 1, 2, 3, 2, 1},
                        54);
            break;
        case Accompaniment::Picking:
            brokenChord(keys, m_eighthsPerBar == 8 ? std::vector<int>{0, 2, 3, 2, 1, 2, 3, 2}
                                                   : std::vector<int>{0, 2, 3, 1, 3, 2},
                        60);
            break;
        case Accompaniment::Waltz:
            for (int beat = 1; beat < m_design.beatsPerBar; ++beat)
                chordNotes(ChordsTrack, ChordsChannel, start + uint32_t(beat) * 2 * Eighth, Eighth * 3 / 2,
                           std::vector<int>(keys.begin() + 1, keys.end()), 52);
            break;
        case Accompaniment::OffbeatChords:
            for (const auto &[at, length] : {std::pair{0, 3}, {3, 3}, {6, 2}})
                chordNotes(ChordsTrack, ChordsChannel, start + uint32_t(at) * Eighth,
                           uint32_t(length) * Eighth - Eighth / 4, keys, at == 0 ? 58 : 50);
            break;
        case Accompaniment::Sustained:
            chordNotes(ChordsTrack, ChordsChannel, start, barLength(), keys, 56);
            break;
        }
        if (withPad)
            chordNotes(PadTrack, PadChannel, start, barLength(), voicing(degree, m_design.chordsLow + 7), 44);
        bassBar(degree);
        ++m_bar;
    }

    void bassBar(int degree)
    {
        const int root = placeAbove(chordPitchClasses(degree).front(), m_design.bassLow);
        const int fifth = root + 7 <= m_design.bassLow + 14 ? root + 7 : root - 5;
        const uint32_t start = barTick(m_bar);
        SmfTrack &track = m_tracks[BassTrack];
        if (m_design.accompaniment == Accompaniment::Sustained || m_design.beatsPerBar == 3) {
            track.note(start, barLength() - Eighth / 4, BassChannel, root, 74);
        } else {
            track.note(start, 4 * Eighth - Eighth / 4, BassChannel, root, 76);
            track.note(start + 4 * Eighth, 4 * Eighth - Eighth / 4, BassChannel, fifth, 68);
        }
    }

    // The tonic chord played on, then held by every part while the tempo broadens.
    void closingCadence(int bars)
    {
        for (int i = 0; i < bars - 1; ++i)
            accompanyBar(Tonic, true);
        const uint32_t start = barTick(m_bar);
        const uint32_t length = barLength() + 2 * Eighth;
        m_tracks[Conductor].tempo(start, m_design.beatsPerMinute * 0.85);
        const int tonicIndex = nearestIndex(m_lastMelodyIndex, Tonic, true);
        m_tracks[MelodyTrack].note(start, length, MelodyChannel, m_melodyKeys[size_t(tonicIndex)], 70);
        chordNotes(ChordsTrack, ChordsChannel, start, length, voicing(Tonic, m_design.chordsLow), 52);
        chordNotes(PadTrack, PadChannel, start, length, voicing(Tonic, m_design.chordsLow + 7), 40);
        m_tracks[BassTrack].note(start, length, BassChannel, placeAbove(m_design.tonic, m_design.bassLow), 70);
        // A moment of quiet before the tune starts over.
        m_tracks[Conductor].extendTo(start + length + 4 * Eighth);
    }

    const TuneDesign &m_design;
    Random m_random;
    std::vector<SmfTrack> m_tracks;
    const int m_eighthsPerBar;
    const int m_metre; // index into the rhythm tables: 0 for 3/4, 1 for 4/4
    std::vector<int> m_melodyKeys;
    int m_lastMelodyIndex = 0;
    int m_bar = 0;
};

} // namespace

std::vector<SmfTrack> composeTune(const TuneDesign &design)
{
    return Composer(design).compose();
}
