#pragma once

#include "smfwriter.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int TicksPerQuarter = 480;

// How the chord instrument plays each bar.
enum class Accompaniment { Arpeggio, Picking, Waltz, OffbeatChords, Sustained };

// A General-MIDI instrument and its mix.
struct Instrument
{
    int program;
    int volume;
    int pan;
    int reverb;
};

// Everything that makes one tune differ from another; the melody itself is
// drawn from `seed`, so a design always gives the same tune.
struct TuneDesign
{
    std::string fileName;
    std::string title;
    int tonic;              // MIDI key of the tonic
    bool minor;
    int beatsPerMinute;
    int beatsPerBar;        // 3 or 4
    std::vector<int> sectionA; // chord per bar as a scale degree, 0 = tonic
    std::vector<int> sectionB;
    bool sevenths;
    Accompaniment accompaniment;
    Instrument melody, chords, pad, bass;
    int melodyLow, melodyHigh; // melody range (MIDI keys)
    int chordsLow;             // lowest key of the accompaniment voicing
    int bassLow;               // lowest bass key
    uint32_t seed;
};

const std::vector<TuneDesign> &tuneDesigns();

// Intro, A, B, A and a closing cadence: a conductor track and four parts.
std::vector<SmfTrack> composeTune(const TuneDesign &design);
