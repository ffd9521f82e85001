#include "MessageRecorder.h"

#include <QQueue>

namespace {

// Enough for any test; keeps a long session from growing the list for ever.
const int MaxRecords = 200;

QQueue<int> &queuedAnswers()
{
    static QQueue<int> answers;
    return answers;
}

QList<MessageRecord> &records()
{
    static QList<MessageRecord> list;
    return list;
}

} // namespace

void MessageRecorder::queueAnswer(int answer) { queuedAnswers().enqueue(answer); }

QList<MessageRecord> MessageRecorder::shown() { return records(); }

void MessageRecorder::clear()
{
    queuedAnswers().clear();
    records().clear();
}

bool MessageRecorder::takeAnswer(int &answer)
{
    if (queuedAnswers().isEmpty())
        return false;
    answer = queuedAnswers().dequeue();
    return true;
}

void MessageRecorder::record(const MessageRecord &record)
{
    records().append(record);
    if (records().size() > MaxRecords)
        records().removeFirst();
}
