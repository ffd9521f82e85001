#pragma once

#include "Recognized.h"

#include <QtTest>

// Compares one recognized question field by field, naming the field that differs.
#define EXPECT_QUESTION(q, type_, stem_, options_, key_)                                   \
    do {                                                                                  \
        const formats::import::RecognizedQuestion &q__ = (q);                            \
        QCOMPARE(q__.type, (type_));                                                      \
        QCOMPARE(q__.stem, QString(stem_));                                               \
        QCOMPARE(q__.options, QStringList(options_));                                     \
        QCOMPARE(q__.key, QString(key_));                                                 \
    } while (false)

#define EXPECT_CLEAN(q) QVERIFY2((q).problems.isEmpty(), qPrintable((q).problems.join(QLatin1Char(';'))))
