#pragma once

#include "Limits.h"
#include "Recognized.h"

#include <QElapsedTimer>

namespace formats::import {

// The time budget of one file; check() throws once it is spent.
class Deadline
{
public:
    Deadline() { timer_.start(); }
    void check() const
    {
        if (timer_.elapsed() > limits::kMilliseconds)
            throw ImportError(QStringLiteral("文件过于复杂，%1 秒内没能读完，已停止。").arg(limits::kMilliseconds / 1000));
    }

private:
    QElapsedTimer timer_;
};

} // namespace formats::import
