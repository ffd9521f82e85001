#include "CjkFonts.h"

#include "Look.h"

#include <QFont>
#include <QFontDatabase>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QStringList>

namespace richtext {
namespace {

// Screen faces first: the Noto CJK faces are drawn for reading on screens.
const QStringList SerifCjk = {"Noto Serif CJK SC", "AR PL UMing CN", "AR PL UMing TW",
                              "WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Droid Sans Fallback"};
const QStringList KaiCjk = {"AR PL UKai CN", "AR PL UKai TW", "AR PL UMing CN",
                            "WenQuanYi Micro Hei", "Droid Sans Fallback"};
const QStringList SansCjk = {"Noto Sans CJK SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                             "Droid Sans Fallback", "AR PL UMing CN"};
const QStringList SerifLatin = {"Liberation Serif", "DejaVu Serif", "Nimbus Roman"};
const QStringList SansLatin = {"Liberation Sans", "DejaVu Sans", "Nimbus Sans"};
const QStringList MonoLatin = {"Liberation Mono", "DejaVu Sans Mono", "Nimbus Mono PS"};

struct Fallback {
    QStringList windowsNames;
    QStringList latin;
    QStringList cjk;
};

const QList<Fallback> &fallbacks()
{
    static const QList<Fallback> list = {
        {{"宋体", "SimSun", "新宋体", "NSimSun", "宋体-方正超大字符集", "华文宋体", "STSong",
          "仿宋", "仿宋_GB2312", "FangSong", "FangSong_GB2312", "华文仿宋", "STFangsong"},
         {}, SerifCjk},
        {{"楷体", "楷体_GB2312", "KaiTi", "KaiTi_GB2312", "华文楷体", "STKaiti"}, {}, KaiCjk},
        {{"黑体", "SimHei", "微软雅黑", "Microsoft YaHei", "等线", "DengXian", "幼圆", "YouYuan",
          "华文细黑", "STXihei", "隶书", "LiSu"},
         {}, SansCjk},
        {{"Times New Roman", "Times"}, SerifLatin, SerifCjk},
        {{"Arial", "Helvetica", "Tahoma", "Verdana", "MS Sans Serif"}, SansLatin, SansCjk},
        {{"Courier New", "Courier"}, MonoLatin, SansCjk},
    };
    return list;
}

QStringList installed(const QStringList &families)
{
    QStringList found;
    for (const QString &family : families)
        if (QFontDatabase::hasFamily(family))
            found << family;
    return found;
}

} // namespace

void installCjkFontFallbacks()
{
    static bool installedOnce = false;
    if (installedOnce)
        return;
    installedOnce = true;
    for (const Fallback &fallback : fallbacks()) {
        const QStringList substitutes = installed(fallback.latin + fallback.cjk);
        if (substitutes.isEmpty())
            continue;
        for (const QString &name : fallback.windowsNames)
            if (!QFontDatabase::hasFamily(name))
                QFont::insertSubstitutions(name, substitutes);
    }
}

QString readingCjkFamily()
{
    static const QString family = installed(SerifCjk).value(0, programCjkFamily());
    return family;
}

QString programCjkFamily()
{
    static const QString family = installed(ui::programFont().families()).value(0, QFont().defaultFamily());
    return family;
}

void substituteMissingFonts(const QTextDocument &document)
{
    static QSet<QString> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString family = it.fragment().charFormat().fontFamilies().toStringList().value(0);
            if (family.isEmpty() || seen.contains(family))
                continue;
            seen.insert(family);
            if (!QFontDatabase::hasFamily(family) && QFont::substitutes(family).isEmpty())
                QFont::insertSubstitution(family, programCjkFamily());
        }
    }
}

} // namespace richtext
