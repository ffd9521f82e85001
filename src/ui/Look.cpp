#include "Look.h"
#include "Pictures.h"
#include "Theme.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPalette>

// Q_INIT_RESOURCE must stand outside any namespace; the resource lives in a
// static library, so it is registered explicitly.
static void registerLookResource() { Q_INIT_RESOURCE(look); }

namespace ui {

QFont programFont(int pixelSize)
{
    QFont font;
    font.setFamilies({"Noto Sans CJK SC", "WenQuanYi Micro Hei", "AR PL UMing CN",
                      "Droid Sans Fallback", "WenQuanYi Zen Hei"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(pics::emblem(size)));
    return icon;
}

void applyLook(QApplication &app)
{
    registerLookResource();
    app.setStyle("Fusion");
    app.setFont(programFont());
    app.setWindowIcon(programIcon());
    installWindowPlacement(app);

    QPalette palette = app.palette();
    palette.setColor(QPalette::Window, theme::Page);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, theme::Panel);
    palette.setColor(QPalette::Button, theme::Panel);
    palette.setColor(QPalette::WindowText, theme::Text);
    palette.setColor(QPalette::ButtonText, theme::Text);
    palette.setColor(QPalette::Text, theme::Text);
    palette.setColor(QPalette::Highlight, theme::Accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, theme::Panel);
    palette.setColor(QPalette::ToolTipText, theme::Text);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    app.setPalette(palette);

    QFile sheet(":/quillet/look.qss");
    if (sheet.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

} // namespace ui
