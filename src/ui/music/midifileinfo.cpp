#include "midifileinfo.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

struct TempoChange
{
    quint64 tick;
    quint32 microsPerQuarter;
};

class Reader
{
public:
    Reader(const char *data, qsizetype size) : m_data(reinterpret_cast<const uchar *>(data)), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }

    bool take(qsizetype count, const uchar **out)
    {
        if (count < 0 || count > m_size - m_pos)
            return false;
        *out = m_data + m_pos;
        m_pos += count;
        return true;
    }

    bool byte(uchar *out)
    {
        const uchar *p;
        if (!take(1, &p))
            return false;
        *out = *p;
        return true;
    }

    bool fourCC(std::string_view *out)
    {
        const uchar *p;
        if (!take(4, &p))
            return false;
        *out = std::string_view(reinterpret_cast<const char *>(p), 4);
        return true;
    }

    bool bigEndian(int byteCount, quint32 *out)
    {
        const uchar *p;
        if (!take(byteCount, &p))
            return false;
        *out = 0;
        for (int i = 0; i < byteCount; ++i)
            *out = (*out << 8) | p[i];
        return true;
    }

    // Variable-length quantity of at most four bytes.
    bool varLen(quint32 *out)
    {
        *out = 0;
        for (int i = 0; i < 4; ++i) {
            const uchar *p;
            if (!take(1, &p))
                return false;
            *out = (*out << 7) | (*p & 0x7f);
            if (!(*p & 0x80))
                return true;
        }
        return false;
    }

    bool chunk(qsizetype length, Reader *out)
    {
        const uchar *p;
        if (!take(length, &p))
            return false;
        *out = Reader(reinterpret_cast<const char *>(p), length);
        return true;
    }

private:
    const uchar *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

struct TrackSummary
{
    quint64 endTick = 0;
    int noteCount = 0;
};

bool readTrack(Reader track, std::vector<TempoChange> *tempi, TrackSummary *summary)
{
    quint64 tick = 0;
    quint32 runningStatus = 0;
    while (!track.atEnd()) {
        quint32 delta, status;
        if (!track.varLen(&delta) || !track.bigEndian(1, &status))
            return false;
        tick += delta;
        if (status == 0xff) {
            quint32 type, length;
            const uchar *payload;
            if (!track.bigEndian(1, &type) || !track.varLen(&length) || !track.take(length, &payload))
                return false;
            if (type == 0x51 && length == 3)
                tempi->push_back({tick, quint32(payload[0] << 16 | payload[1] << 8 | payload[2])});
            if (type == 0x2f)
                break;
        } else if (status == 0xf0 || status == 0xf7) {
            quint32 length;
            const uchar *payload;
            if (!track.varLen(&length) || !track.take(length, &payload))
                return false;
        } else {
            uchar first;
            if (status & 0x80) {
                if (status >= 0xf0 || !track.byte(&first))
                    return false;
                runningStatus = status;
            } else {
                if (runningStatus == 0)
                    return false;
                first = uchar(status);
            }
            const quint32 kind = runningStatus & 0xf0;
            uchar second = 0;
            if (kind != 0xc0 && kind != 0xd0 && !track.byte(&second))
                return false;
            if ((first | second) & 0x80)
                return false;
            if (kind == 0x90 && second > 0)
                ++summary->noteCount;
        }
    }
    summary->endTick = tick;
    return true;
}

double secondsAt(quint64 endTick, int ticksPerQuarter, std::vector<TempoChange> tempi)
{
    std::stable_sort(tempi.begin(), tempi.end(),
                     [](const TempoChange &a, const TempoChange &b) { return a.tick < b.tick; });
    double seconds = 0.0;
    quint64 tick = 0;
    quint32 microsPerQuarter = 500000;
    for (const TempoChange &change : tempi) {
        if (change.tick >= endTick)
            break;
        seconds += double(change.tick - tick) * microsPerQuarter / 1e6 / ticksPerQuarter;
        tick = change.tick;
        microsPerQuarter = change.microsPerQuarter;
    }
    return seconds + double(endTick - tick) * microsPerQuarter / 1e6 / ticksPerQuarter;
}

} // namespace

std::optional<MidiFileInfo> readMidiFileInfo(const QByteArray &data, QString *error)
{
    const auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    Reader file(data.constData(), data.size());
    std::string_view id;
    quint32 headerLength;
    Reader header(nullptr, 0);
    if (!file.fourCC(&id) || id != "MThd" || !file.bigEndian(4, &headerLength) || headerLength < 6)
        return fail(QStringLiteral("不是 MIDI 文件"));
    quint32 format, trackCount, division;
    if (!file.chunk(headerLength, &header) || !header.bigEndian(2, &format) || !header.bigEndian(2, &trackCount)
        || !header.bigEndian(2, &division))
        return fail(QStringLiteral("MIDI 文件不完整"));
    if (format > 2 || trackCount == 0 || (format == 0 && trackCount != 1))
        return fail(QStringLiteral("MIDI 文件头有误"));
    // The player counts in ticks per quarter note only.
    if (division == 0 || (division & 0x8000))
        return fail(QStringLiteral("不支持这种 MIDI 计时方式"));

    MidiFileInfo info;
    info.format = int(format);
    info.trackCount = int(trackCount);
    info.division = int(division);
    std::vector<TempoChange> tempi;
    quint64 endTick = 0;
    for (quint32 track = 0; track < trackCount;) {
        quint32 length;
        Reader body(nullptr, 0);
        if (!file.fourCC(&id) || !file.bigEndian(4, &length) || !file.chunk(length, &body))
            return fail(QStringLiteral("MIDI 文件不完整"));
        if (id != "MTrk")
            continue; // chunks of unknown kinds are skipped
        TrackSummary summary;
        if (!readTrack(body, &tempi, &summary))
            return fail(QStringLiteral("MIDI 音轨 %1 有误").arg(track + 1));
        info.noteCount += summary.noteCount;
        endTick = std::max(endTick, summary.endTick);
        ++track;
    }
    info.seconds = secondsAt(endTick, info.division, tempi);
    return info;
}
