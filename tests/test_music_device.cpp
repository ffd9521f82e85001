// The system audio output against ALSA's null device: CTest points HOME at
// an .asoundrc that makes it the default and keeps any sound server away.
#include "audiooutput.h"
#include "composer.h"
#include "musicplayer.h"

#include <QtTest>

#include <atomic>
#include <thread>

class TestMusicDevice : public QObject
{
    Q_OBJECT

private slots:
    void outputCallsRenderUntilStopped();
    void playerPlaysAndStopsOnTheDevice();
};

void TestMusicDevice::outputCallsRenderUntilStopped()
{
    std::unique_ptr<AudioOutput> output = makeSystemAudioOutput();
    QVERIFY(output->available());
    std::atomic<long long> frames{0};
    QVERIFY(output->start([&frames](float *, float *, int count) { frames += count; }));
    QVERIFY(output->available());
    QTRY_VERIFY(frames > 44100);
    output->stop();
    const long long stoppedAt = frames;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QCOMPARE(frames.load(), stoppedAt);
}

void TestMusicDevice::playerPlaysAndStopsOnTheDevice()
{
    MusicPlayer player;
    QVERIFY(player.audioAvailable());
    const QString tune = QStringLiteral(QUILLET_TUNE_DIR "/%1.mid");
    QVERIFY2(player.play(tune.arg(QString::fromStdString(tuneDesigns()[0].fileName))), qPrintable(player.errorString()));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    player.setVolumeLevel(5);
    QVERIFY2(player.play(tune.arg(QString::fromStdString(tuneDesigns()[1].fileName))), qPrintable(player.errorString()));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    player.stop();
    QVERIFY(!player.isPlaying());
}

QTEST_GUILESS_MAIN(TestMusicDevice)
#include "test_music_device.moc"
