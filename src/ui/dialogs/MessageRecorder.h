#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Every message the program shows passes here: our own box (ShowMessageBox)
// and the system box (SystemMessageBox). Each is recorded; when an answer has
// been queued the box is answered with it instead of being shown.
struct MessageRecord {
    enum class Kind { OwnBox, SystemBox };
    Kind kind = Kind::OwnBox;
    QString caption;
    QString text;
    int layout = -1;         // own box only
    QString mode;            // own box only
    int icon = 0;            // own box: icon page; system box: QMessageBox::Icon
    QStringList buttons;     // captions of the buttons offered
    int answer = 0;          // own box: 1/2/3; system box: QMessageBox::StandardButton
};

class MessageRecorder {
public:
    static void queueAnswer(int answer);
    static QList<MessageRecord> shown();
    static void clear(); // forgets the records and any queued answers

    // For the two message routines.
    static bool takeAnswer(int &answer);
    static void record(const MessageRecord &record);
};
