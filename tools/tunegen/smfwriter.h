#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Variable-length quantity as Standard MIDI Files store delta times.
std::vector<uint8_t> encodeVarLen(uint32_t value);

// One track of a Standard MIDI File. Events are added at absolute ticks in
// any order; chunk() sorts them and writes delta times.
class SmfTrack
{
public:
    void trackName(const std::string &name);
    void tempo(uint32_t tick, double beatsPerMinute);
    void timeSignature(uint32_t tick, int beatsPerBar, int beatUnit);
    void programChange(uint32_t tick, int channel, int program);
    void controlChange(uint32_t tick, int channel, int controller, int value);
    void note(uint32_t tick, uint32_t duration, int channel, int key, int velocity);
    // The track lasts at least until `tick`, so a looped tune keeps its tail.
    void extendTo(uint32_t tick);

    uint32_t endTick() const { return m_endTick; }
    // "MTrk", length, events and the end-of-track event.
    std::vector<uint8_t> chunk() const;

private:
    // At one tick: settings first, then note-offs, then note-ons, so a
    // repeated key is released before it sounds again.
    enum Order { Setting, NoteOff, NoteOn };
    struct Event
    {
        uint32_t tick;
        Order order;
        std::vector<uint8_t> bytes;
    };

    void add(uint32_t tick, Order order, std::vector<uint8_t> bytes);

    std::vector<Event> m_events;
    uint32_t m_endTick = 0;
};

// A format-1 file: the first track holds tempo and metre, the others the parts.
std::vector<uint8_t> smfFile(const std::vector<SmfTrack> &tracks, int ticksPerQuarter);
bool writeSmfFile(const std::string &path, const std::vector<SmfTrack> &tracks, int ticksPerQuarter);
