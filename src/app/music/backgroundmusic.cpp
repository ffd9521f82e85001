#include "backgroundmusic.h"

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
