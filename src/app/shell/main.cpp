#include "Look.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TFrmStart.h"

int main(int argc, char **argv)
{
    QuilletApplication app(argc, argv);
    SingleInstance instance;
    if (instance.anotherIsRunning())
        return 0;
    QObject::connect(&instance, &SingleInstance::activationRequested, &app, &BringApplicationToFront);
    ui::applyLook(app);
    LoadChineseTranslations(app);
    Session session = StartQuillet();
    if (!session.running())
        return 0;
    session.mainWindow->show();
    return app.exec();
}
