#pragma once

#include "DataModule.h"
#include "TFrmStart.h"

#include <QApplication>
#include <memory>

// Hands errors that escape an event handler to one place that shows them,
// so the program keeps running after a failed command.
class QuilletApplication : public QApplication {
public:
    QuilletApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Qt's own dialogs and controls in Chinese (qtbase_zh_CN), and the Chinese
// locale for calendars and dates. False when Qt's translations are missing.
bool LoadChineseTranslations(QApplication &app);

// Shows an error that escaped a command (the application's default handler).
void ReportUnhandledError(const QString &message);

// What start-up leaves running: the data module and the main window.
struct Session {
    std::unique_ptr<TDM1> dataModule;
    std::unique_ptr<TFrmStart> mainWindow;
    bool running() const { return mainWindow != nullptr; }
};

// The start-up checks and windows in order; an empty session means the
// program ends (its reason has already been shown).
Session StartQuillet(const QString &programFolder = QString());
