// Shows the study plan, the study log and the four statistics charts on a copy
// of a bank with a few weeks of study written into it, and saves pictures:
//   quillet_study_screens <bank file> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check.
#include "BarPages.h"
#include "Clock.h"
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "ScreenGrab.h"
#include "StudyHistory.h"
#include "TFrmRz.h"
#include "TFrmplan.h"
#include "Tfrmchart.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

QString outFolder, prefix;

void save(QWidget &widget, const QString &name) { screens::save(widget, outFolder, prefix, name); }

void plan()
{
    TFrmplan window;
    window.show();
    save(window, "plan");
    window.SpeedButton1->click();
    save(window, "plan-editing");
    window.done(0);
}

void log()
{
    TFrmRz window;
    window.show();
    save(window, "log");
    window.done(0);
}

void charts()
{
    Tfrmchart window;
    window.show();
    const struct {
        Tfrmchart::ChartType type;
        const char *name;
    } shots[] = {{Tfrmchart::Frequency, "chart-frequency"},
                 {Tfrmchart::Distribution, "chart-distribution"},
                 {Tfrmchart::Progress, "chart-progress"},
                 {Tfrmchart::Curve, "chart-curve"}};
    for (const auto &shot : shots) {
        window.selectChartType(shot.type);
        save(window, QString::fromLatin1(shot.name));
    }
    window.selectChartType(Tfrmchart::Distribution);
    window.selectLegendPosition(3);
    save(window, "chart-distribution-right");
    window.selectChartType(Tfrmchart::Frequency);
    window.selectLegendPosition(1);
    window.CheckBox1->click();
    save(window, "chart-frequency-flat-bottom");
    window.done(0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    ui::applyLook(app);
    outFolder = QString::fromLocal8Bit(argv[2]);
    ScreenClass = QString::fromLatin1(argv[3]);
    prefix = QStringLiteral("study-") + ScreenClass;
    QDir().mkpath(outFolder);

    QTemporaryDir program;
    QDir(program.path()).mkpath(QStringLiteral("data"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), program.path() + QStringLiteral("/data/Vellumar.mdb")))
        return 1;
    TDM1 dm(program.path());
    if (!dm.connected)
        return 1;
    WriteStudyHistory(dm.ADOCn1, store::today());
    plan();
    log();
    charts();
    return 0;
}
