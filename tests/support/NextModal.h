#pragma once

#include "MessageRecorder.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

// Runs `act` on the next modal window once it is up.
inline void onNextModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *w = QApplication::activeModalWidget();
        QVERIFY(w);
        act(w);
    });
}

// The messages shown so far, each as "caption|text".
inline QStringList captionsAndTexts()
{
    QStringList texts;
    for (const MessageRecord &r : MessageRecorder::shown())
        texts << r.caption + "|" + r.text;
    return texts;
}
