#include "Settle.h"

#include "RichText.h"

namespace formats::import {

namespace {

void addProblem(RecognizedQuestion &q, const QString &reason)
{
    if (!q.problems.contains(reason))
        q.problems << reason;
}

// "A" true, "B" false, as the bank keeps true/false keys; "" when unknown.
QString truthKey(const RecognizedQuestion &q, const Key &key)
{
    if (key.truth == 1)
        return QStringLiteral("A");
    if (key.truth == 2 || (key.letterF && q.options.size() < 6))
        return QStringLiteral("B");
    if (key.letters.size() != 1)
        return {};
    const int index = key.letters.at(0).unicode() - u'A';
    if (index < q.options.size()) {
        // Options written as "A.正确 B.错误" (or the other way round).
        const int truth = truthOfWord(fold(q.options.at(index)));
        if (truth)
            return truth == 1 ? QStringLiteral("A") : QStringLiteral("B");
        return {};
    }
    return q.options.isEmpty() && index < 2 ? key.letters : QString();
}

bool optionsAreTruthWords(const QStringList &options)
{
    return options.size() == 2 && truthOfWord(fold(options.at(0))) && truthOfWord(fold(options.at(1)))
           && truthOfWord(fold(options.at(0))) != truthOfWord(fold(options.at(1)));
}

void becomeTrueFalse(RecognizedQuestion &q, const Evidence &e)
{
    q.type = 41;
    if (e.key.valid()) {
        q.key = truthKey(q, e.key);
        if (q.key.isEmpty())
            addProblem(q, reasons::keyNotInOptions());
    } else {
        addProblem(q, reasons::noKey());
    }
    if (!q.options.isEmpty() && !optionsAreTruthWords(q.options))
        addProblem(q, reasons::typeMismatch());
    q.options = QStringList{QStringLiteral("正确"), QStringLiteral("错误")};
    q.optionsRtf = QStringList{plainRtf(q.options.at(0)), plainRtf(q.options.at(1))};
}

void becomeSubjective(RecognizedQuestion &q, const Evidence &e, int subject)
{
    q.type = subjectiveType(subject, e.headingKind);
    q.key.clear();
    if (!q.options.isEmpty()) {
        addProblem(q, reasons::typeMismatch());
        q.options.clear();
        q.optionsRtf.clear();
    }
    if (e.key.valid())
        addProblem(q, reasons::typeMismatch());
    // The written answer is what the learner compares with: it leads the explanation.
    if (!e.answerText.isEmpty()) {
        if (q.explanation.isEmpty()) {
            q.explanation = e.answerText;
            q.explanationRtf = e.answerTextRtf;
        } else {
            q.explanation = e.answerText + QLatin1Char('\n') + q.explanation;
            q.explanationRtf = plainRtf(q.explanation);
        }
    }
}

void becomeChoice(RecognizedQuestion &q, const Evidence &e)
{
    const QString letters = e.key.letters;
    if (e.headingType == 11 || e.headingType == 14)
        q.type = e.headingType;
    else if (letters.size() == 1)
        q.type = 11;
    else if (letters.size() > 1)
        q.type = 14;
    else
        q.type = 0;

    if (q.options.size() == 1)
        addProblem(q, reasons::oneOption());
    if (letters.isEmpty()) {
        addProblem(q, reasons::noKey());
        if (q.type == 0)
            addProblem(q, reasons::unknownType());
        return;
    }
    q.key = letters;
    const QChar last = letters.at(letters.size() - 1);
    if (last.unicode() - u'A' >= q.options.size())
        addProblem(q, reasons::keyNotInOptions());
    if (q.type == 11 && letters.size() > 1)
        addProblem(q, reasons::singleWithSeveral());
    if (q.type == 14 && letters.size() == 1 && e.headingKind == QStringLiteral("多选"))
        addProblem(q, reasons::multipleWithOne());
}

} // namespace

void settle(RecognizedQuestion &q, const Evidence &e, int subject)
{
    if (q.stem.isEmpty())
        addProblem(q, reasons::noStem());
    if (e.keyConflict)
        addProblem(q, reasons::keyConflict());
    for (const QString &option : q.options)
        if (option.isEmpty())
            addProblem(q, reasons::emptyOption());

    const bool truthKeyWithoutOptions = q.options.isEmpty() && (e.key.truth != 0 || e.key.letterF);
    if (e.headingType == 41 || truthKeyWithoutOptions
        || (e.headingType == 0 && optionsAreTruthWords(q.options) && e.key.letters.size() == 1)) {
        becomeTrueFalse(q, e);
    } else if (e.headingType == kSubjective || (q.options.isEmpty() && !e.key.valid())) {
        becomeSubjective(q, e, subject);
    } else if (q.options.isEmpty()) {
        q.type = e.headingType > 0 ? e.headingType : 0;
        q.key = e.key.letters;
        addProblem(q, reasons::noOptions());
        if (q.key.isEmpty())
            addProblem(q, reasons::noKey());
    } else {
        becomeChoice(q, e);
    }
}

} // namespace formats::import
