#include "composer.h"
#include "midifileinfo.h"
#include "musicplayer.h"
#include "smfwriter.h"
#include "wavanalysis.h"

#include <QTemporaryDir>
#include <QtTest>

#include <set>
#include <stdexcept>

namespace {

using Bytes = std::vector<uint8_t>;

QByteArray toByteArray(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace

class TestTunegen : public QObject
{
    Q_OBJECT

private slots:
    void varLenEncoding();
    void fileHeaderAndTrackChunk();
    void eventsAreSortedAndDeltaEncoded();
    void outOfRangeValuesAreRejected();
    void writtenFileSoundsThroughTheSynthesizer();
    void tunesAreDistinctAndReproducible();
};

void TestTunegen::varLenEncoding()
{
    QCOMPARE(encodeVarLen(0), Bytes{0x00});
    QCOMPARE(encodeVarLen(0x7f), Bytes{0x7f});
    QCOMPARE(encodeVarLen(0x80), (Bytes{0x81, 0x00}));
    QCOMPARE(encodeVarLen(0x3fff), (Bytes{0xff, 0x7f}));
    QCOMPARE(encodeVarLen(0x4000), (Bytes{0x81, 0x80, 0x00}));
    QCOMPARE(encodeVarLen(0x0fffffff), (Bytes{0xff, 0xff, 0xff, 0x7f}));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, encodeVarLen(0x10000000));
}

void TestTunegen::fileHeaderAndTrackChunk()
{
    std::vector<SmfTrack> tracks(2);
    tracks[0].tempo(0, 120);
    tracks[1].note(0, 960, 0, 60, 90);
    const Bytes file = smfFile(tracks, 480);
    const Bytes header{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xe0};
    QCOMPARE(Bytes(file.begin(), file.begin() + 14), header);

    // Each chunk's length field covers exactly the bytes up to the next chunk.
    size_t at = 14;
    for (int track = 0; track < 2; ++track) {
        QCOMPARE(Bytes(file.begin() + long(at), file.begin() + long(at) + 4), (Bytes{'M', 'T', 'r', 'k'}));
        const uint32_t length = uint32_t(file[at + 4]) << 24 | file[at + 5] << 16 | file[at + 6] << 8 | file[at + 7];
        at += 8 + length;
        QCOMPARE(Bytes(file.begin() + long(at) - 3, file.begin() + long(at)), (Bytes{0xff, 0x2f, 0x00}));
    }
    QCOMPARE(at, file.size());

    QString error;
    const std::optional<MidiFileInfo> info = readMidiFileInfo(toByteArray(file), &error);
    QVERIFY2(info, qPrintable(error));
    QCOMPARE(info->noteCount, 1);
    QCOMPARE(info->seconds, 1.0);
}

void TestTunegen::eventsAreSortedAndDeltaEncoded()
{
    SmfTrack track;
    // Added out of order; the repeated key must be released before it sounds again.
    track.note(480, 480, 2, 64, 70);
    track.note(0, 480, 2, 64, 80);
    track.controlChange(0, 2, 7, 100);
    track.extendTo(1200);
    const Bytes expected{'M', 'T', 'r', 'k', 0, 0, 0, 27,
                         0x00, 0xb2, 7, 100,
                         0x00, 0x92, 64, 80,
                         0x83, 0x60, 0x82, 64, 64,
                         0x00, 0x92, 64, 70,
                         0x83, 0x60, 0x82, 64, 64,
                         0x81, 0x70, 0xff, 0x2f, 0x00};
    QCOMPARE(track.chunk(), expected);
}

void TestTunegen::outOfRangeValuesAreRejected()
{
    SmfTrack track;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, track.note(0, 10, 0, 128, 64));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, track.programChange(0, 16, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, track.controlChange(0, 0, 7, -1));
}

void TestTunegen::writtenFileSoundsThroughTheSynthesizer()
{
    QTemporaryDir dir;
    std::vector<SmfTrack> tracks(2);
    tracks[0].tempo(0, 60);
    tracks[1].programChange(0, 0, 0);
    for (int i = 0; i < 4; ++i)
        tracks[1].note(uint32_t(i) * 480, 400, 0, 60 + 4 * i, 100);
    const QString midi = dir.filePath(QStringLiteral("scale.mid"));
    QVERIFY(writeSmfFile(midi.toStdString(), tracks, 480));

    const QString wav = dir.filePath(QStringLiteral("scale.wav"));
    QString error;
    QVERIFY2(MusicPlayer::renderToWav(midi, wav, 16, 4.0, &error), qPrintable(error));
    const std::optional<WavAudio> audio = readWav(wav);
    QVERIFY(audio);
    const std::vector<double> loudness = rmsPerSecond(*audio);
    QCOMPARE(loudness.size(), size_t(4));
    for (double second : loudness)
        QVERIFY(second > 0.005);
}

void TestTunegen::tunesAreDistinctAndReproducible()
{
    std::set<Bytes> tunes;
    std::set<std::string> names;
    for (const TuneDesign &design : tuneDesigns()) {
        const Bytes file = smfFile(composeTune(design), TicksPerQuarter);
        QCOMPARE(smfFile(composeTune(design), TicksPerQuarter), file);
        QString error;
        QVERIFY2(readMidiFileInfo(toByteArray(file), &error), qPrintable(error));
        tunes.insert(file);
        names.insert(design.fileName);
    }
    QCOMPARE(tunes.size(), size_t(6));
    QCOMPARE(names, (std::set<std::string>{"乐曲01", "乐曲02", "乐曲03", "乐曲04", "乐曲05", "乐曲06"}));
}

QTEST_GUILESS_MAIN(TestTunegen)
#include "test_tunegen.moc"
