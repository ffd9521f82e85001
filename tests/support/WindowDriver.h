#pragma once

#include "TFrmSelectFG.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Runs `drive` on the next modal window of type T once it shows; a window a
// failed check left open is closed, so that the test does not hang.
template <class T> void onModal(std::function<void(T &)> drive)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, drive] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            const QPointer<T> open(window);
            drive(*window);
            if (open && open->isVisible())
                open->reject();
        }
    });
    timer->start();
}

// Picks the points with the given codes from the named section in the picker that `add` opens.
inline void pickPoints(QPushButton *add, const QString &section, const QStringList &codes)
{
    onModal<TFrmSelectFG>([=](TFrmSelectFG &picker) {
        picker.ComboBox1->setCurrentIndex(picker.ComboBox1->findText(section));
        emit picker.ComboBox1->activated(picker.ComboBox1->currentIndex());
        for (int i = 0; i < picker.CheckListBox2->count(); ++i)
            if (codes.contains(picker.CheckListBox2->item(i)->text()))
                picker.CheckListBox1->item(i)->setCheckState(Qt::Checked);
        picker.epEfButton1->click();
    });
    add->click();
}
