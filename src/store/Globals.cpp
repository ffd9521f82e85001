#include "Globals.h"

QString AppDir;
int PracticeSubject = 0;
int CurrentSubject = 0;
QString ScreenClass;
QVector<int> TypeCodes;
QVector<int> TypeTimes;
bool MusicOn = false;
QString MusicFile;
int VolumeLevel = 0;
int SettingsVariant = 0;
bool SelectorOpen = false;
QString CurrentChapterCode;
QString PracticeSql;
QString FirstQuestionId;
bool NotesHaveContent = false;
int LinkedPointCount = 0;
