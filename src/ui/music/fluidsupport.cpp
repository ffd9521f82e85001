#include "fluidsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fluid {

namespace {
const char *const SoundFontDir = "/usr/share/sounds/sf2";
const char *const PreferredSoundFont = "TimGM6mb.sf2";
}

void silenceLog()
{
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
        fluid_set_log_function(level, nullptr, nullptr);
}

Settings makeSettings()
{
    silenceLog();
    Settings settings(new_fluid_settings());
    if (settings) {
        fluid_settings_setnum(settings.get(), "synth.sample-rate", SampleRate);
        // The player keeps time by the samples rendered, so it follows whatever
        // pulls the sound: a device, a file or a test.
        fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    }
    return settings;
}

QString findSoundFont()
{
    const QDir dir(QString::fromLatin1(SoundFontDir));
    const QString preferred = dir.filePath(QString::fromLatin1(PreferredSoundFont));
    if (QFileInfo(preferred).isReadable())
        return preferred;
    const QFileInfoList others = dir.entryInfoList({QStringLiteral("*.sf2")}, QDir::Files | QDir::Readable, QDir::Name);
    return others.isEmpty() ? QString() : others.first().absoluteFilePath();
}

Synth makeSynth(fluid_settings_t *settings, QString *error)
{
    const QString soundFont = findSoundFont();
    if (soundFont.isEmpty()) {
        *error = QStringLiteral("找不到 General-MIDI 音色库（%1/*.sf2）").arg(QString::fromLatin1(SoundFontDir));
        return nullptr;
    }
    Synth synth(new_fluid_synth(settings));
    if (!synth) {
        *error = QStringLiteral("无法创建合成器");
        return nullptr;
    }
    if (fluid_synth_sfload(synth.get(), QFile::encodeName(soundFont).constData(), 1) == FLUID_FAILED) {
        *error = QStringLiteral("无法加载音色库 %1").arg(soundFont);
        return nullptr;
    }
    return synth;
}

Player startLoopingPlayer(fluid_synth_t *synth, const QByteArray &midi)
{
    Player player(new_fluid_player(synth));
    if (!player
        || fluid_player_add_mem(player.get(), midi.constData(), size_t(midi.size())) != FLUID_OK
        || fluid_player_set_loop(player.get(), -1) != FLUID_OK
        || fluid_player_play(player.get()) != FLUID_OK)
        return nullptr;
    return player;
}

} // namespace fluid
