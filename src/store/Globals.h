#pragma once

#include <QString>
#include <QVector>

// Process-wide values shared by the windows (GUI thread only); empty, 0 or false at start.
extern QString AppDir;             // program folder, with a trailing separator
extern int PracticeSubject;        // subject chosen for chapter practice
extern int CurrentSubject;         // subject of tab_tx<n> and of the last mock exam
extern QString ScreenClass;        // "800" (compact layouts) or "1024"
extern QVector<int> TypeCodes;     // question-type code per row of tab_tx<CurrentSubject>
extern QVector<int> TypeTimes;     // milliseconds per step of the 100-step answer gauge
extern bool MusicOn;
extern QString MusicFile;
extern int VolumeLevel;
extern int SettingsVariant;        // settings window face: 0 music, 1 answer times
extern bool SelectorOpen;          // the chapter selector is showing
extern QString CurrentChapterCode; // hint text (C1_1) of the current chapter row
extern QString PracticeSql;        // the SELECT of the next practice run
extern QString FirstQuestionId;
extern bool NotesHaveContent;
extern int LinkedPointCount;
