#include "WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QShowEvent>
#include <QWidget>

namespace ui {
namespace {

const QWidget *openerOf(const QWidget *window)
{
    if (const QWidget *parent = window->parentWidget())
        return parent->window();
    const QWidget *active = QApplication::activeWindow();
    return active != window ? active : nullptr;
}

QScreen *screenFor(const QWidget *opener)
{
    if (opener && opener->screen())
        return opener->screen();
    return QGuiApplication::primaryScreen();
}

bool isSecondaryWindow(const QWidget *widget)
{
    if (!widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen || type == Qt::Desktop
        || type == Qt::SubWindow)
        return false;
    return qobject_cast<const QDialog *>(widget) || widget->parentWidget();
}

class Placement : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType()
            || m_showing.contains(watched))
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!isSecondaryWindow(window))
            return false;
        // The window's own show handling sets its size and layout first.
        m_showing.insert(watched);
        static_cast<QObject *>(window)->event(event);
        m_showing.remove(watched);
        placeOverOpener(window);
        return true;
    }

private:
    QSet<QObject *> m_showing;
};

} // namespace

QRect placementOver(const QSize &size, const QRect &opener, const QRect &available)
{
    QRect placed(QPoint(0, 0), size.boundedTo(available.size()));
    placed.moveCenter(opener.isValid() ? opener.center() : available.center());
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

void placeOverOpener(QWidget *window)
{
    const QWidget *opener = openerOf(window);
    const QScreen *screen = screenFor(opener);
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    // Room the window manager's frame takes around the client area.
    const QMargins margins(window->geometry().left() - frame.left(), window->geometry().top() - frame.top(),
                           frame.right() - window->geometry().right(), frame.bottom() - window->geometry().bottom());
    const QRect placed = placementOver(frame.size(), opener ? opener->frameGeometry() : QRect(), available);
    const QSize client = placed.marginsRemoved(margins).size();
    if (client.width() < window->width() || client.height() < window->height()) {
        window->setMinimumSize(window->minimumSize().boundedTo(client));
        window->resize(window->size().boundedTo(client));
    }
    window->move(placed.topLeft());
}

void installWindowPlacement(QApplication &app)
{
    static Placement *placement = new Placement(&app);
    app.installEventFilter(placement);
}

} // namespace ui
