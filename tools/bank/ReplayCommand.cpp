#include "ReplayCommand.h"

#include "Replay.h"

#include <QFile>
#include <QTextStream>

namespace bank {

int replayCommand(const QString &file, QTextStream &out, QTextStream &err)
{
    QFile in;
    const bool opened = file == QLatin1String("-") ? in.open(stdin, QIODevice::ReadOnly)
                                                   : (in.setFileName(file), in.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "cannot read " << file << ": " << in.errorString() << Qt::endl;
        return 1;
    }
    const store::review::ReplayInput input = store::review::readReplay(in);
    if (!input.error.isEmpty()) {
        err << file << ": " << input.error << Qt::endl;
        return 1;
    }
    for (double chance : store::review::replay(input.lines))
        out << QString::number(chance, 'f', 6) << '\n';
    out.flush();
    return 0;
}

} // namespace bank
