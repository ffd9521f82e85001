#include "backgroundmusic.h"

#include <QDir>
#include <QFileInfo>

QStringList availableTunes(const QString &appDir)
{
    QStringList names;
    const QDir sound(QDir(appDir).filePath(QStringLiteral("sound")));
    for (const QFileInfo &file : sound.entryInfoList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name))
        names << file.completeBaseName();
    return names;
}

QString tuneFile(const QString &appDir, const QString &tuneName)
{
    return QDir(appDir).filePath(QStringLiteral("sound/%1.mid").arg(tuneName.trimmed()));
}

MusicResult playMusic(MusicPlayer &player, const QString &midiFile, bool play)
{
    if (!player.audioAvailable())
        return MusicResult::NoSoundCard;
    if (!play) {
        player.stop();
        return MusicResult::Done;
    }
    return player.play(midiFile) ? MusicResult::Done : MusicResult::CannotPlay;
}

QString musicResultMessage(MusicResult result)
{
    switch (result) {
    case MusicResult::Done:
        break;
    case MusicResult::NoSoundCard:
        return QStringLiteral("没发现声卡！");
    case MusicResult::CannotPlay:
        return QStringLiteral("无法播放背景音乐！");
    }
    return QString();
}
