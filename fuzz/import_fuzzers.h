// What the import fuzzers share: a Qt application for QTextDocument and the
// RTF writer, quiet messages, and the checks every result must pass.
#pragma once

#include "Recognized.h"

#include <QGuiApplication>

#include <cstdlib>

#define IMPORT_FUZZER(name)                                                                    \
    extern "C" int LLVMFuzzerInitialize(int *, char ***)                                       \
    {                                                                                          \
        setenv("QT_QPA_PLATFORM", "offscreen", 1);                                             \
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}); \
        static int argc = 1;                                                                   \
        static char programName[] = name;                                                      \
        static char *argv[] = {programName, nullptr};                                          \
        static QGuiApplication app(argc, argv);                                                \
        return 0;                                                                              \
    }

// At most six options, each with its RTF; a single-choice key outside the
// options never passes unflagged.
inline void checkRecognition(const formats::import::Recognition &r)
{
    for (const formats::import::RecognizedQuestion &q : r.questions) {
        if (q.options.size() > 6 || q.options.size() != q.optionsRtf.size())
            __builtin_trap();
        if (q.type == 11 && q.key.size() == 1 && q.problems.isEmpty() && q.key.at(0).unicode() - u'A' >= q.options.size())
            __builtin_trap();
    }
}
