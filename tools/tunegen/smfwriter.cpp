#include "smfwriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace {

void appendBigEndian(std::vector<uint8_t> *out, uint32_t value, int byteCount)
{
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        out->push_back(uint8_t(value >> shift));
}

uint8_t dataByte(int value)
{
    if (value < 0 || value > 127)
        throw std::out_of_range("MIDI data byte out of range");
    return uint8_t(value);
}

uint8_t status(int kind, int channel)
{
    if (channel < 0 || channel > 15)
        throw std::out_of_range("MIDI channel out of range");
    return uint8_t(kind | channel);
}

} // namespace

std::vector<uint8_t> encodeVarLen(uint32_t value)
{
    if (value > 0x0fffffff)
        throw std::out_of_range("delta time too large for a MIDI file");
    std::vector<uint8_t> bytes{uint8_t(value & 0x7f)};
    while (value >>= 7)
        bytes.insert(bytes.begin(), uint8_t(0x80 | (value & 0x7f)));
    return bytes;
}

void SmfTrack::add(uint32_t tick, Order order, std::vector<uint8_t> bytes)
{
    m_events.push_back({tick, order, std::move(bytes)});
    extendTo(tick);
}

void SmfTrack::extendTo(uint32_t tick)
{
    m_endTick = std::max(m_endTick, tick);
}

void SmfTrack::trackName(const std::string &name)
{
    std::vector<uint8_t> bytes{0xff, 0x03};
    const std::vector<uint8_t> length = encodeVarLen(uint32_t(name.size()));
    bytes.insert(bytes.end(), length.begin(), length.end());
    bytes.insert(bytes.end(), name.begin(), name.end());
    add(0, Setting, std::move(bytes));
}

void SmfTrack::tempo(uint32_t tick, double beatsPerMinute)
{
    std::vector<uint8_t> bytes{0xff, 0x51, 0x03};
    appendBigEndian(&bytes, uint32_t(std::lround(60'000'000.0 / beatsPerMinute)), 3);
    add(tick, Setting, std::move(bytes));
}

void SmfTrack::timeSignature(uint32_t tick, int beatsPerBar, int beatUnit)
{
    const int unitPower = int(std::log2(beatUnit));
    add(tick, Setting, {0xff, 0x58, 0x04, dataByte(beatsPerBar), dataByte(unitPower), 24, 8});
}

void SmfTrack::programChange(uint32_t tick, int channel, int program)
{
    add(tick, Setting, {status(0xc0, channel), dataByte(program)});
}

void SmfTrack::controlChange(uint32_t tick, int channel, int controller, int value)
{
    add(tick, Setting, {status(0xb0, channel), dataByte(controller), dataByte(value)});
}

void SmfTrack::note(uint32_t tick, uint32_t duration, int channel, int key, int velocity)
{
    add(tick, NoteOn, {status(0x90, channel), dataByte(key), dataByte(std::clamp(velocity, 1, 127))});
    add(tick + duration, NoteOff, {status(0x80, channel), dataByte(key), 64});
}

std::vector<uint8_t> SmfTrack::chunk() const
{
    std::vector<Event> events = m_events;
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> body;
    uint32_t previous = 0;
    for (const Event &event : events) {
        const std::vector<uint8_t> delta = encodeVarLen(event.tick - previous);
        body.insert(body.end(), delta.begin(), delta.end());
        body.insert(body.end(), event.bytes.begin(), event.bytes.end());
        previous = event.tick;
    }
    const std::vector<uint8_t> delta = encodeVarLen(m_endTick - previous);
    body.insert(body.end(), delta.begin(), delta.end());
    body.insert(body.end(), {0xff, 0x2f, 0x00});

    std::vector<uint8_t> chunk{'M', 'T', 'r', 'k'};
    appendBigEndian(&chunk, uint32_t(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<uint8_t> smfFile(const std::vector<SmfTrack> &tracks, int ticksPerQuarter)
{
    std::vector<uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    appendBigEndian(&file, uint32_t(tracks.size()), 2);
    appendBigEndian(&file, uint32_t(ticksPerQuarter), 2);
    for (const SmfTrack &track : tracks) {
        const std::vector<uint8_t> chunk = track.chunk();
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

bool writeSmfFile(const std::string &path, const std::vector<SmfTrack> &tracks, int ticksPerQuarter)
{
    const std::vector<uint8_t> bytes = smfFile(tracks, ticksPerQuarter);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}
