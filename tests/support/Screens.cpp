#include "Screens.h"

#include "Globals.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

void SaveScreen(QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("QUILLET_SCREENS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QApplication::processEvents();
    const QString screenClass = ScreenClass.isEmpty() ? QStringLiteral("1024") : ScreenClass;
    window.grab().save(QDir(folder).filePath(name + QLatin1Char('-') + screenClass + QStringLiteral(".png")));
}
