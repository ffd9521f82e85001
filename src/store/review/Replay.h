#pragma once

#include <QString>
#include <QVector>

class QIODevice;

// Answers of many learners replayed through the model: for each, the chance the model gave it
// before seeing it, from that learner's earlier answers only.
namespace store::review {

struct ReplayLine {
    QString learner;
    QString question;
    double day = 0;
    bool correct = false;
    int type = 0;
    int options = 0;
};

struct ReplayInput {
    QVector<ReplayLine> lines;
    QString error; // the first bad line, said for the learner; empty when all were read
};

// Lines "learner,question,day,correct,type,options"; blank lines and a heading line are
// skipped. A learner's days must not go backwards.
ReplayInput readReplay(QIODevice &in);

QVector<double> replay(const QVector<ReplayLine> &lines);

} // namespace store::review
