#include "musicplayer.h"

#include "fluidsupport.h"
#include "midifileinfo.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// Gain at level 16. FluidSynth's own default (0.2) leaves a few quiet
// instruments barely audible; at 1.6 our tunes peak between -7 and -3 dBFS.
constexpr float FullGain = 1.6f;

bool loadTune(const QString &midiFile, QByteArray *midi, QString *error)
{
    QFile file(midiFile);
    if (!file.exists()) {
        *error = QStringLiteral("找不到乐曲文件 %1").arg(midiFile);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取乐曲文件 %1").arg(midiFile);
        return false;
    }
    *midi = file.readAll();
    QString why;
    if (!readMidiFileInfo(*midi, &why)) {
        *error = QStringLiteral("%1：%2").arg(midiFile, why);
        return false;
    }
    return true;
}

} // namespace

struct MusicPlayer::Engine
{
    fluid::Settings settings;
    fluid::Synth synth;
    fluid::Player player;
    // Zero gain leaves notes that were already sounding faintly audible for
    // a second, so the lowest level also silences the output outright.
    std::atomic<bool> muted{false};
};

MusicPlayer::MusicPlayer(std::unique_ptr<AudioOutput> output) : m_output(std::move(output)) {}

MusicPlayer::~MusicPlayer()
{
    stop();
}

bool MusicPlayer::audioAvailable()
{
    return m_output->available();
}

bool MusicPlayer::play(const QString &midiFile)
{
    stop();
    m_error.clear();
    QByteArray midi;
    if (!loadTune(midiFile, &midi, &m_error))
        return false;
    if (!m_engine) {
        auto engine = std::make_unique<Engine>();
        engine->settings = fluid::makeSettings();
        engine->synth = fluid::makeSynth(engine->settings.get(), &m_error);
        if (!engine->synth)
            return false;
        m_engine = std::move(engine);
        setVolumeLevel(m_volumeLevel);
    }
    fluid_synth_t *synth = m_engine->synth.get();
    const std::atomic<bool> *muted = &m_engine->muted;
    m_engine->player = fluid::startLoopingPlayer(synth, midi);
    if (!m_engine->player) {
        m_error = QStringLiteral("无法播放乐曲 %1").arg(midiFile);
        return false;
    }
    const bool started = m_output->start([synth, muted](float *left, float *right, int frames) {
        fluid_synth_write_float(synth, frames, left, 0, 1, right, 0, 1);
        if (*muted) {
            std::fill(left, left + frames, 0.0f);
            std::fill(right, right + frames, 0.0f);
        }
    });
    if (!started) {
        m_engine->player.reset();
        m_error = QStringLiteral("无法打开声音输出设备");
        return false;
    }
    m_playing = true;
    return true;
}

void MusicPlayer::stop()
{
    // The output goes first: nothing may render while the player is torn down.
    m_output->stop();
    if (m_engine && m_engine->player) {
        m_engine->player.reset();
        fluid_synth_system_reset(m_engine->synth.get());
    }
    m_playing = false;
}

bool MusicPlayer::isPlaying() const
{
    return m_playing;
}

QString MusicPlayer::errorString() const
{
    return m_error;
}

void MusicPlayer::setVolumeLevel(int level)
{
    m_volumeLevel = clampVolumeLevel(level);
    if (m_engine) {
        fluid_synth_set_gain(m_engine->synth.get(), gainForVolumeLevel(m_volumeLevel));
        m_engine->muted = m_volumeLevel == MinVolumeLevel;
    }
}

int MusicPlayer::volumeLevel() const
{
    return m_volumeLevel;
}

int MusicPlayer::clampVolumeLevel(int level)
{
    return std::clamp(level, MinVolumeLevel, MaxVolumeLevel);
}

float MusicPlayer::gainForVolumeLevel(int level)
{
    const int steps = clampVolumeLevel(level) - MinVolumeLevel;
    return FullGain * float(steps) / float(MaxVolumeLevel - MinVolumeLevel);
}

bool MusicPlayer::renderToWav(const QString &midiFile, const QString &wavFile, int level, double seconds,
                              QString *error)
{
    QString why;
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    QByteArray midi;
    if (!loadTune(midiFile, &midi, &why))
        return fail(why);
    if (!(seconds > 0.0) || !std::isfinite(seconds))
        return fail(QStringLiteral("录制时长必须大于零"));

    fluid::Settings settings = fluid::makeSettings();
    fluid_settings_setstr(settings.get(), "audio.file.name", QFile::encodeName(wavFile).constData());
    fluid_settings_setstr(settings.get(), "audio.file.type", "wav");
    fluid_settings_setstr(settings.get(), "audio.file.format", "s16");
    fluid::Synth synth = fluid::makeSynth(settings.get(), &why);
    if (!synth)
        return fail(why);
    fluid_synth_set_gain(synth.get(), gainForVolumeLevel(level));
    fluid::Player player = fluid::startLoopingPlayer(synth.get(), midi);
    if (!player)
        return fail(QStringLiteral("无法播放乐曲 %1").arg(midiFile));
    fluid::FileRenderer renderer(new_fluid_file_renderer(synth.get()));
    if (!renderer)
        return fail(QStringLiteral("无法写入 %1").arg(wavFile));

    int periodFrames = 0;
    fluid_settings_getint(settings.get(), "audio.period-size", &periodFrames);
    const auto blocks = static_cast<long long>(std::ceil(seconds * fluid::SampleRate / periodFrames));
    for (long long i = 0; i < blocks; ++i) {
        if (fluid_file_renderer_process_block(renderer.get()) != FLUID_OK)
            return fail(QStringLiteral("写入 %1 失败").arg(wavFile));
    }
    return true;
}
