#pragma once

#include <QApplication>
#include <QDir>
#include <QThread>
#include <QWidget>
#include <cstdio>

// Saving pictures of windows for the screen tools.
namespace screens {

// Lets pending layout and painting happen before a picture is taken.
inline void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

// Saves <folder>/<prefix>-<name>.png and prints its path.
inline void save(QWidget &widget, const QString &folder, const QString &prefix, const QString &name)
{
    settle();
    const QString path = QDir(folder).filePath(prefix + "-" + name + ".png");
    widget.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace screens
