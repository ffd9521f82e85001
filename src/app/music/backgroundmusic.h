#pragma once

#include "musicplayer.h"

#include <QString>

// The outcome of a background-music request, as the main window reports it.
enum class MusicResult { Done, NoSoundCard, CannotPlay };

// Starts `midiFile` looping (play) or stops the music (not play). Without a
// sound device nothing changes, not even a stop.
MusicResult playMusic(MusicPlayer &player, const QString &midiFile, bool play);

// The learner's message for a failure; empty for Done.
QString musicResultMessage(MusicResult result);
