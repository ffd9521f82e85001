#include "PracticeGlyphs.h"

#include "TFrmDlg.h"

#include <QApplication>
#include <cstdlib>

namespace practice {

namespace {

bool loadAll(const QString &programFolder, std::initializer_list<std::pair<QPixmap *, const char *>> files)
{
    bool all = true;
    for (const auto &[pixmap, name] : files)
        all = pixmap->load(programFolder + QStringLiteral("pic/") + QLatin1String(name)) && all;
    return all;
}

} // namespace

bool NumberGlyphs::load(const QString &programFolder)
{
    return loadAll(programFolder, {{&up, "vaskup.bmp"},
                                   {&down, "vaskdw.bmp"},
                                   {&yes, "vaskyes.bmp"},
                                   {&no, "vaskno.bmp"},
                                   {&downRight, "vaskdw_r.bmp"},
                                   {&downWrong, "vaskdw_w.bmp"},
                                   {&over, "vaskover.bmp"}});
}

const QPixmap &NumberGlyphs::normal(AnswerState state) const
{
    switch (state) {
    case AnswerState::Right:
        return yes;
    case AnswerState::Wrong:
        return no;
    case AnswerState::Answered:
        return over;
    case AnswerState::NotAnswered:
        break;
    }
    return up;
}

const QPixmap &NumberGlyphs::pressed(AnswerState state) const
{
    switch (state) {
    case AnswerState::Right:
        return downRight;
    case AnswerState::Wrong:
        return downWrong;
    case AnswerState::Answered:
    case AnswerState::NotAnswered:
        break;
    }
    return down;
}

bool TypeGlyphs::load(const QString &programFolder)
{
    return loadAll(programFolder, {{&up, "vasktxup.bmp"}, {&down, "vasktxdw.bmp"}});
}

void endProgramForMissingPictures()
{
    ShowMessageBox(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, QStringLiteral("NO"), 2);
    std::exit(EXIT_FAILURE);
}

} // namespace practice
