#include "backgroundmusic.h"
#include "composer.h"
#include "midifileinfo.h"
#include "musicplayer.h"
#include "wavanalysis.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <set>

namespace {

constexpr double Audible = 0.01; // RMS of a second of clearly audible music
constexpr double Silent = 1e-4;  // -80 dB: the 16-bit dither of silence stays below this

QString tunePath(const TuneDesign &design)
{
    return QStringLiteral(QUILLET_TUNE_DIR "/%1.mid").arg(QString::fromStdString(design.fileName));
}

// Stands in for a sound card: reports whatever the test says and lets the
// test pull the sound the player would send to the device.
class FakeOutput : public AudioOutput
{
public:
    explicit FakeOutput(bool present) : m_present(present) {}

    bool available() override { return m_present; }
    bool start(Render render) override
    {
        if (!m_present)
            return false;
        m_render = std::move(render);
        return true;
    }
    void stop() override { m_render = nullptr; }

    bool running() const { return bool(m_render); }
    std::vector<float> pull(double seconds)
    {
        const int frames = int(seconds * 44100);
        std::vector<float> left(size_t(frames), 0.0f), right(size_t(frames), 0.0f);
        if (m_render)
            m_render(left.data(), right.data(), frames);
        return left;
    }

private:
    bool m_present;
    Render m_render;
};

} // namespace

class TestMusic : public QObject
{
    Q_OBJECT

private slots:
    void tunesAreMusic_data();
    void tunesAreMusic();
    void volumeLevelsMapToGain();
    void renderedVolumeFollowsLevel();
    void unplayableFilesAreRefused_data();
    void unplayableFilesAreRefused();
    void midiReaderChecksStructure();
    void playsThroughTheOutputAndStops();
    void volumeChangesWhilePlaying();
    void noSoundCardMeansNoPlayback();
    void playMusicRequests();
    void tuneList();
    void systemOutputAnswersQuickly();

private:
    QTemporaryDir m_dir;
};

void TestMusic::tunesAreMusic_data()
{
    QTest::addColumn<int>("tune");
    for (int i = 0; i < int(tuneDesigns().size()); ++i)
        QTest::newRow(tuneDesigns()[size_t(i)].fileName.c_str()) << i;
}

// A listening check by numbers: the whole tune rendered as it would play.
void TestMusic::tunesAreMusic()
{
    QFETCH(int, tune);
    const TuneDesign &design = tuneDesigns()[size_t(tune)];
    QFile file(tunePath(design));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QString error;
    const std::optional<MidiFileInfo> info = readMidiFileInfo(file.readAll(), &error);
    QVERIFY2(info, qPrintable(error));
    QCOMPARE(info->format, 1);
    QCOMPARE(info->trackCount, 5);
    QVERIFY2(info->seconds >= 60.0 && info->seconds <= 120.0, qPrintable(QString::number(info->seconds)));
    QVERIFY(info->noteCount > 200);

    const QString wav = m_dir.filePath(QStringLiteral("tune%1.wav").arg(tune));
    QVERIFY2(MusicPlayer::renderToWav(file.fileName(), wav, MusicPlayer::MaxVolumeLevel, info->seconds, &error),
             qPrintable(error));
    const std::optional<WavAudio> audio = readWav(wav);
    QVERIFY(audio);
    QCOMPARE(audio->sampleRate, 44100);
    QCOMPARE(audio->channels, 2);
    QVERIFY(std::abs(audio->seconds() - info->seconds) < 0.01);
    QVERIFY2(audio->peak < 0.95f, "clipping");
    QVERIFY(rms(audio->mono.data(), audio->mono.size()) > 2 * Audible);

    const std::vector<double> loudness = rmsPerSecond(*audio);
    const auto audibleSeconds = std::count_if(loudness.begin(), loudness.end(), [](double r) { return r > Audible / 2; });
    QVERIFY2(audibleSeconds >= qsizetype(loudness.size() * 9 / 10), "silent over long stretches");

    // Not one stuck note: the strongest pitch moves from second to second,
    // and over the whole tune the tonic of its key is among the strongest.
    Chroma whole{};
    std::set<int> strongest;
    int changes = 0;
    int previous = -1;
    for (size_t second = 0; second < loudness.size(); ++second) {
        const Chroma c = chroma(audio->mono.data() + second * 44100, 44100 / 4, 44100);
        const int pitch = strongestPitchClass(c);
        strongest.insert(pitch);
        changes += previous >= 0 && pitch != previous;
        previous = pitch;
        for (size_t pc = 0; pc < 12; ++pc)
            whole[pc] += c[pc];
    }
    QVERIFY(strongest.size() >= 5);
    QVERIFY(changes >= int(loudness.size()) / 4);
    Chroma ranked = whole;
    std::sort(ranked.begin(), ranked.end(), std::greater<>());
    QVERIFY(whole[size_t(design.tonic % 12)] >= ranked[2]);
}

void TestMusic::volumeLevelsMapToGain()
{
    QCOMPARE(MusicPlayer::clampVolumeLevel(0), 1);
    QCOMPARE(MusicPlayer::clampVolumeLevel(40), 16);
    QCOMPARE(MusicPlayer::gainForVolumeLevel(0), 0.0f);
    QCOMPARE(MusicPlayer::gainForVolumeLevel(1), 0.0f);
    QCOMPARE(MusicPlayer::gainForVolumeLevel(40), MusicPlayer::gainForVolumeLevel(16));
    const float full = MusicPlayer::gainForVolumeLevel(16);
    QVERIFY(full > 0.0f);
    QVERIFY(qFuzzyCompare(MusicPlayer::gainForVolumeLevel(4), full * 3 / 15));

    MusicPlayer player(std::make_unique<FakeOutput>(true));
    player.setVolumeLevel(-3);
    QCOMPARE(player.volumeLevel(), 1);
    player.setVolumeLevel(99);
    QCOMPARE(player.volumeLevel(), 16);
}

void TestMusic::renderedVolumeFollowsLevel()
{
    const QString tune = tunePath(tuneDesigns().front());
    const auto loudnessAt = [&](int level) {
        const QString wav = m_dir.filePath(QStringLiteral("level%1.wav").arg(level));
        if (!MusicPlayer::renderToWav(tune, wav, level, 8.0))
            return -1.0;
        const std::optional<WavAudio> audio = readWav(wav);
        return audio ? rms(audio->mono.data(), audio->mono.size()) : -1.0;
    };
    const double muted = loudnessAt(0);
    QVERIFY(muted >= 0.0 && muted < Silent);
    const double lowest = loudnessAt(1);
    QVERIFY(lowest >= 0.0 && lowest < Silent);
    const double half = loudnessAt(8);
    const double full = loudnessAt(16);
    QVERIFY(full > Audible);
    QVERIFY(half > full * 0.3 && half < full * 0.6);
    QVERIFY(std::abs(loudnessAt(40) - full) < full * 0.01);
}

void TestMusic::unplayableFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
    QFile tune(tunePath(tuneDesigns().front()));
    tune.open(QIODevice::ReadOnly);
    const QByteArray midi = tune.readAll();
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("text") << QByteArray("这不是乐曲\n");
    QTest::newRow("header only") << midi.left(14);
    QTest::newRow("truncated") << midi.left(midi.size() / 2);
}

void TestMusic::unplayableFilesAreRefused()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(QStringLiteral("%1.mid").arg(QTest::currentDataTag()));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    auto output = std::make_unique<FakeOutput>(true);
    FakeOutput *fake = output.get();
    MusicPlayer player(std::move(output));
    QVERIFY(!player.play(path));
    QVERIFY(!player.errorString().isEmpty());
    QVERIFY(!player.isPlaying());
    QVERIFY(!fake->running());

    QString error;
    const QString wav = m_dir.filePath(QStringLiteral("refused.wav"));
    QVERIFY(!MusicPlayer::renderToWav(path, wav, 16, 1.0, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(wav));
}

void TestMusic::midiReaderChecksStructure()
{
    const QByteArray header("MThd\0\0\0\6\0\0\0\1\1\xe0", 14);
    const auto track = [](const QByteArray &events) {
        const char length[4] = {0, 0, 0, char(events.size())};
        return QByteArray("MTrk") + QByteArray(length, 4) + events;
    };
    const QByteArray note("\0\x90\x3c\x40\x83\x60\x3c\0\0\xff\x2f\0", 12); // second event by running status
    QString error;
    const std::optional<MidiFileInfo> info = readMidiFileInfo(header + track(note), &error);
    QVERIFY2(info, qPrintable(error));
    QCOMPARE(info->noteCount, 1);
    QCOMPARE(info->seconds, 0.5); // one quarter at the default 120 per minute

    const QByteArray junk = QByteArray("XYZW\0\0\0\2ab", 10);
    QVERIFY(readMidiFileInfo(header + junk + track(note), &error)); // unknown chunks are skipped
    QVERIFY(!readMidiFileInfo(header + track(QByteArray("\0\x3c\x40\0\xff\x2f\0", 7)), &error)); // data, no status
    QVERIFY(!readMidiFileInfo(header + track(QByteArray("\0\x90\x3c\xc0\0\xff\x2f\0", 8)), &error)); // bad data
    QVERIFY(!readMidiFileInfo(QByteArray("MThd\0\0\0\6\0\0\0\1\xe7\x28", 14) + track(note), &error)); // SMPTE
    QVERIFY(!readMidiFileInfo(QByteArray("MThd\0\0\0\6\0\0\0\2\1\xe0", 14) + track(note), &error)); // track missing
}

void TestMusic::playsThroughTheOutputAndStops()
{
    auto output = std::make_unique<FakeOutput>(true);
    FakeOutput *fake = output.get();
    MusicPlayer player(std::move(output));
    QVERIFY(player.audioAvailable());
    QVERIFY2(player.play(tunePath(tuneDesigns()[1])), qPrintable(player.errorString()));
    QVERIFY(player.isPlaying());
    std::vector<float> sound = fake->pull(4.0);
    QVERIFY(rms(sound.data(), sound.size()) > Audible);

    QVERIFY2(player.play(tunePath(tuneDesigns()[2])), qPrintable(player.errorString()));
    sound = fake->pull(4.0);
    QVERIFY(rms(sound.data(), sound.size()) > Audible);

    player.stop();
    QVERIFY(!player.isPlaying());
    QVERIFY(!fake->running());
}

void TestMusic::volumeChangesWhilePlaying()
{
    auto output = std::make_unique<FakeOutput>(true);
    FakeOutput *fake = output.get();
    MusicPlayer player(std::move(output));
    player.setVolumeLevel(1);
    QVERIFY(player.play(tunePath(tuneDesigns()[3])));
    std::vector<float> sound = fake->pull(3.0);
    QVERIFY(rms(sound.data(), sound.size()) < Silent);

    player.setVolumeLevel(16);
    sound = fake->pull(3.0);
    QVERIFY(rms(sound.data(), sound.size()) > Audible);

    player.setVolumeLevel(0);
    sound = fake->pull(2.0);
    QVERIFY(rms(sound.data(), sound.size()) < Silent);
}

void TestMusic::noSoundCardMeansNoPlayback()
{
    MusicPlayer player(std::make_unique<FakeOutput>(false));
    QVERIFY(!player.audioAvailable());
    QVERIFY(!player.play(tunePath(tuneDesigns().front())));
    QVERIFY(!player.errorString().isEmpty());
    QVERIFY(!player.isPlaying());
}

void TestMusic::playMusicRequests()
{
    const QString tune = tunePath(tuneDesigns().front());
    MusicPlayer silent(std::make_unique<FakeOutput>(false));
    QCOMPARE(playMusic(silent, tune, true), MusicResult::NoSoundCard);
    QCOMPARE(playMusic(silent, tune, false), MusicResult::NoSoundCard);
    QVERIFY(!silent.isPlaying());
    QCOMPARE(musicResultMessage(MusicResult::NoSoundCard), QStringLiteral("没发现声卡！"));

    MusicPlayer player(std::make_unique<FakeOutput>(true));
    QCOMPARE(playMusic(player, tune, true), MusicResult::Done);
    QVERIFY(player.isPlaying());
    QCOMPARE(playMusic(player, m_dir.filePath(QStringLiteral("乐曲99.mid")), true), MusicResult::CannotPlay);
    QVERIFY(!player.isPlaying());
    QCOMPARE(musicResultMessage(MusicResult::CannotPlay), QStringLiteral("无法播放背景音乐！"));
    QCOMPARE(playMusic(player, tune, true), MusicResult::Done);
    QCOMPARE(playMusic(player, tune, false), MusicResult::Done);
    QVERIFY(!player.isPlaying());
    QVERIFY(musicResultMessage(MusicResult::Done).isEmpty());
}

void TestMusic::tuneList()
{
    const QString appDir = QFileInfo(QStringLiteral(QUILLET_TUNE_DIR)).path();
    const QStringList tunes = availableTunes(appDir);
    QCOMPARE(tunes, (QStringList{"乐曲01", "乐曲02", "乐曲03", "乐曲04", "乐曲05", "乐曲06"}));
    QCOMPARE(tunes.first(), DefaultTune);
    QCOMPARE(tuneFile(appDir, QStringLiteral(" 乐曲03 ")), tunePath(tuneDesigns()[2]));
    QVERIFY(QFile::exists(tuneFile(appDir + '/', DefaultTune)));
    QVERIFY(availableTunes(m_dir.path()).isEmpty());
}

// Whatever this machine has, asking must not hang, and without a device
// playing must fail rather than pretend.
void TestMusic::systemOutputAnswersQuickly()
{
    MusicPlayer player;
    QElapsedTimer timer;
    timer.start();
    const bool available = player.audioAvailable();
    QVERIFY(timer.elapsed() < 5000);
    if (available)
        QSKIP("this machine has a sound device; not playing music during tests");
    QVERIFY(!player.play(tunePath(tuneDesigns().front())));
    QVERIFY(!player.isPlaying());
    QVERIFY(timer.elapsed() < 10000);
}

QTEST_GUILESS_MAIN(TestMusic)
#include "test_music.moc"
