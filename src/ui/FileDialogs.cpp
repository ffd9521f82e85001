#include "FileDialogs.h"

#include <QFileDialog>
#include <QList>
#include <QQueue>

namespace ui {
namespace {

struct DialogLog {
    QQueue<QString> answers;
    QList<FileDialogRequest> asked;
};

DialogLog &log()
{
    static DialogLog state;
    return state;
}

QString ask(const FileDialogRequest &request, QWidget *parent)
{
    log().asked << request;
    if (!log().answers.isEmpty())
        return log().answers.dequeue();
    return request.save ? QFileDialog::getSaveFileName(parent, request.caption, request.dir, request.filter)
                        : QFileDialog::getOpenFileName(parent, request.caption, request.dir, request.filter);
}

} // namespace

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return ask({false, caption, dir, filter}, parent);
}

QString getSaveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                        const QString &filter)
{
    return ask({true, caption, proposedPath, filter}, parent);
}

void FileDialogRecorder::queueAnswer(const QString &path) { log().answers.enqueue(path); }

QList<FileDialogRequest> FileDialogRecorder::asked() { return log().asked; }

void FileDialogRecorder::clear()
{
    log().answers.clear();
    log().asked.clear();
}

} // namespace ui
