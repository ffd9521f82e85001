#pragma once

#include "musicplayer.h"

#include <QString>
#include <QStringList>

// The tune played when none was chosen.
inline const QString DefaultTune = QStringLiteral("乐曲01");

// The tunes in the program folder's sound/ folder by name (no ".mid"), sorted.
QStringList availableTunes(const QString &appDir);
// The file of a tune named in the tune list; surrounding blanks are ignored.
QString tuneFile(const QString &appDir, const QString &tuneName);

// The outcome of a background-music request, as the main window reports it.
enum class MusicResult { Done, NoSoundCard, CannotPlay };

// Starts `midiFile` looping (play) or stops the music (not play). Without a
// sound device nothing changes, not even a stop.
MusicResult playMusic(MusicPlayer &player, const QString &midiFile, bool play);

// The learner's message for a failure; empty for Done.
QString musicResultMessage(MusicResult result);
