#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

// Opens a window the way every menu command does: hourglass while it is
// created and until it shows, modal, then destroyed. The cursor comes back
// and the window goes away on every path, also when an error escapes.
template <typename Window>
void RunHourglass(const std::function<void(Window &)> &prepare = {}, bool restoreBeforeShow = false)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool restored = false;
    auto restore = [&restored] {
        if (!restored) {
            restored = true;
            QApplication::restoreOverrideCursor();
        }
    };
    try {
        std::unique_ptr<Window> window = std::make_unique<Window>();
        if (prepare)
            prepare(*window);
        if (restoreBeforeShow)
            restore();
        QTimer::singleShot(0, window.get(), restore);
        window->exec();
        restore();
    } catch (...) {
        restore();
        throw;
    }
}
