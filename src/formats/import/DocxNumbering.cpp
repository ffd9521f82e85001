#include "DocxNumbering.h"

#include "SafeXml.h"

namespace formats::import {

namespace {

QString chineseNumber(int n)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九");
    if (n <= 0 || n >= 100)
        return QString::number(n);
    if (n < 10)
        return digits.at(n);
    QString s = n / 10 == 1 ? QString() : QString(digits.at(n / 10));
    s += QStringLiteral("十");
    if (n % 10)
        s += digits.at(n % 10);
    return s;
}

QString formatted(const QString &format, int n)
{
    if (format == QLatin1String("upperLetter") || format == QLatin1String("lowerLetter")) {
        const QChar base = format == QLatin1String("upperLetter") ? QLatin1Char('A') : QLatin1Char('a');
        return n >= 1 && n <= 26 ? QString(QChar(base.unicode() + n - 1)) : QString::number(n);
    }
    if (format.startsWith(QLatin1String("chinese")) || format.startsWith(QLatin1String("ideograph"))
        || format.startsWith(QLatin1String("japanese")) || format == QLatin1String("taiwaneseCounting"))
        return chineseNumber(n);
    if (format == QLatin1String("decimalEnclosedCircle") || format == QLatin1String("decimalEnclosedCircleChinese"))
        return n >= 1 && n <= 20 ? QString(QChar(0x2460 + n - 1)) : QString::number(n);
    if (format == QLatin1String("none") || format == QLatin1String("bullet"))
        return {};
    return QString::number(n);
}

} // namespace

void DocxNumbering::read(SafeXml &xml)
{
    QString abstractId, numId;
    int level = -1;
    while (xml.next()) {
        if (xml.isStart(QLatin1StringView("abstractNum"))) {
            abstractId = xml.attribute(QLatin1StringView("abstractNumId"));
        } else if (xml.isStart(QLatin1StringView("lvl")) && !abstractId.isEmpty()) {
            level = qBound(0, xml.attribute(QLatin1StringView("ilvl")).toInt(), 8);
            QVector<Level> &levels = abstracts_[abstractId];
            if (levels.size() <= level)
                levels.resize(level + 1);
        } else if (level >= 0 && xml.isStart(QLatin1StringView("numFmt"))) {
            abstracts_[abstractId][level].format = xml.attribute(QLatin1StringView("val"));
        } else if (level >= 0 && xml.isStart(QLatin1StringView("lvlText"))) {
            abstracts_[abstractId][level].text = xml.attribute(QLatin1StringView("val"));
        } else if (level >= 0 && xml.isStart(QLatin1StringView("start"))) {
            abstracts_[abstractId][level].start = xml.attribute(QLatin1StringView("val")).toInt();
        } else if (xml.isEnd(QLatin1StringView("lvl"))) {
            level = -1;
        } else if (xml.isEnd(QLatin1StringView("abstractNum"))) {
            abstractId.clear();
        } else if (xml.isStart(QLatin1StringView("num"))) {
            numId = xml.attribute(QLatin1StringView("numId"));
        } else if (!numId.isEmpty() && xml.isStart(QLatin1StringView("abstractNumId"))) {
            abstractOfNum_.insert(numId, xml.attribute(QLatin1StringView("val")));
        } else if (xml.isEnd(QLatin1StringView("num"))) {
            numId.clear();
        }
    }
}

QString DocxNumbering::next(const QString &numId, int level)
{
    const QString abstractId = abstractOfNum_.value(numId);
    const auto found = abstracts_.constFind(abstractId);
    if (abstractId.isEmpty() || found == abstracts_.constEnd() || level < 0 || level >= found->size())
        return {};
    const QVector<Level> &levels = *found;
    QVector<int> &counters = counters_[abstractId];
    if (counters.size() < levels.size()) {
        counters.resize(levels.size());
        for (int i = 0; i < levels.size(); ++i)
            counters[i] = levels[i].start - 1;
    }
    ++counters[level];
    for (int deeper = level + 1; deeper < levels.size(); ++deeper)
        counters[deeper] = levels[deeper].start - 1;

    QString label = levels[level].text;
    for (int i = 0; i <= level && i < levels.size(); ++i)
        label.replace(QLatin1Char('%') + QString::number(i + 1), formatted(levels[i].format, counters[i]));
    return label;
}

} // namespace formats::import
