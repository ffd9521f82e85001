#pragma once

#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "ScreenGrab.h"

#include <memory>

// What the screen tools that drive windows on a bank share:
//   <tool> <program folder> <picture folder> <800|1024>
// Each picture is saved as <picture folder>/<screen class>-<name>.png.
namespace screens {

class BankRun {
public:
    // False when the arguments are wrong or the bank does not open.
    bool start(QApplication &app, int argc, char **argv)
    {
        if (argc < 4)
            return false;
        ui::applyLook(app);
        m_dataModule = std::make_unique<TDM1>(QString::fromLocal8Bit(argv[1]));
        if (!m_dataModule->connected)
            return false;
        m_folder = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(m_folder);
        ScreenClass = QString::fromLocal8Bit(argv[3]);
        return true;
    }

    void save(QWidget &widget, const QString &name) const { screens::save(widget, m_folder, ScreenClass, name); }

private:
    std::unique_ptr<TDM1> m_dataModule;
    QString m_folder;
};

} // namespace screens
