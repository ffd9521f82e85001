#pragma once

#include <QString>
#include <QVector>
#include <random>

// Question texts of the length and vocabulary of the real bank, as the RTF a
// Chinese word processor writes (GBK byte pairs), so that measurements of
// reading, converting and searching texts see realistic input.
class SyntheticText {
public:
    SyntheticText();

    QString body(std::mt19937 &random, int options) const;   // stem sentence and options A … D
    QString explanation(std::mt19937 &random) const;          // two to four sentences
    QString stem(std::mt19937 &random) const;                 // background of a group of questions

private:
    QString sentence(std::mt19937 &random) const;
    const QString &term(std::mt19937 &random) const;
    QString rtf(const QString &escapedParagraphs) const;

    QVector<QString> m_terms;     // escaped RTF of each term
    QVector<QString> m_templates; // escaped RTF pieces between terms, "%1" … "%3" for terms
};
