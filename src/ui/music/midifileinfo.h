#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What a Standard MIDI File holds, read strictly enough that a file which
// passes can be handed to the synthesizer's player.
struct MidiFileInfo
{
    int format = 0;
    int trackCount = 0;
    int division = 0;      // ticks per quarter note (SMPTE files: ticks per second)
    int noteCount = 0;     // note-ons with a velocity above zero
    double seconds = 0.0;  // playing time up to the last track's end
};

// Nothing (and `error` set) when `data` is not a complete, well-formed MIDI file.
std::optional<MidiFileInfo> readMidiFileInfo(const QByteArray &data, QString *error);
