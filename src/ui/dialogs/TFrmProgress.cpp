#include "TFrmProgress.h"

#include "Bevel.h"
#include "Pictures.h"
#include "Theme.h"
#include "TitleStrip.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

int openScopes = 0;

} // namespace

TFrmProgress::TFrmProgress(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("FrmProgress");
    setWindowTitle(tr("进度条"));
    setFixedSize(358, 63);
    setCursor(Qt::WaitCursor);

    epBevel1 = new ui::Bevel(this);
    epBevel1->setObjectName("epBevel1");
    epBevel1->setGeometry(rect());

    auto *band = new ui::TitleStrip({}, epBevel1);
    band->setGeometry(0, 0, width(), 4);

    auto *icon = new QLabel(epBevel1);
    icon->setPixmap(QPixmap::fromImage(pics::hourglass(32)));
    icon->setGeometry(width() - 48, 18, 32, 32);

    Label1 = new QLabel(tr("请等待..."), epBevel1);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    QFont font = Label1->font();
    font.setPixelSize(16);
    font.setBold(true);
    Label1->setFont(font);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, theme::Maroon);
    Label1->setPalette(palette);
    Label1->setGeometry(16, 22, width() - 16 - 56, 24);

    Timer1.setObjectName("Timer1");
    Timer1.setInterval(100);
}

TFrmProgress &TFrmProgress::instance()
{
    // Lives until the process ends, like the other start-up windows.
    static TFrmProgress *window = new TFrmProgress;
    return *window;
}

void TFrmProgress::showText(const QString &text)
{
    Label1->setText(text);
    if (!isVisible())
        show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

ProgressScope::ProgressScope(const QString &text)
    : outerText(TFrmProgress::instance().Label1->text())
{
    ++openScopes;
    TFrmProgress::instance().showText(text);
}

ProgressScope::~ProgressScope()
{
    TFrmProgress &window = TFrmProgress::instance();
    if (--openScopes > 0)
        window.Label1->setText(outerText);
    else
        window.hide();
}

void ProgressScope::setText(const QString &text) { TFrmProgress::instance().showText(text); }
