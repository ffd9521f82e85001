#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace ui {

// The program's open and save dialogs. An empty result means the learner
// cancelled. Tests queue the path a dialog will answer with instead of
// showing it, and read back what was asked.
QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
QString getSaveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                        const QString &filter);

struct FileDialogRequest {
    bool save = false;
    QString caption;
    QString dir; // the folder, or the proposed path of a save dialog
    QString filter;
};

class FileDialogRecorder {
public:
    static void queueAnswer(const QString &path); // an empty path answers "cancelled"
    static QList<FileDialogRequest> asked();
    static void clear();
};

} // namespace ui
