#pragma once

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTimer>
#include <QDir>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <functional>

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

// Saves the whole screen as <folder>/<prefix>-<name>.png while the message box
// the action opens is up, then answers the box with its first button.
inline void grabWithMessage(const QString &folder, const QString &prefix, const QString &name,
                            const std::function<void()> &action)
{
    QTimer::singleShot(400, [folder, prefix, name] {
        settle();
        const QString path = QDir(folder).filePath(prefix + "-" + name + ".png");
        QGuiApplication::primaryScreen()->grabWindow(0).save(path);
        std::printf("%s\n", qPrintable(path));
        if (auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            box->done(1);
    });
    action();
}

} // namespace screens
