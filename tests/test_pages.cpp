// The local pages the program opens: present, UTF-8, and without dead links.
#include "Pictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtTest>

class TestPages : public QObject {
    Q_OBJECT

    QString readUtf8(const QString &path, bool &valid)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return valid = false, QString();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(file.readAll());
        valid = !utf8.hasError();
        return text;
    }

private slots:
    void pagesOpenedByTheProgramExist()
    {
        const QDir htm(QUILLET_HTM_DIR);
        for (const char *page : {"制作群.htm", "出版社简介.htm", "公司简介.htm", "发行站及专业书店联系方式.htm",
                                 "法规汇编.htm", "help/index.htm"})
            QVERIFY2(QFileInfo(htm.filePath(QString::fromUtf8(page))).isFile(), page);
    }

    void everyPageIsUtf8AndItsLinksResolve()
    {
        QStringList glyphs;
        for (const pics::GlyphFile &file : pics::glyphFiles())
            glyphs << file.fileName;

        QDirIterator pages(QUILLET_HTM_DIR, {"*.htm"}, QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        const QRegularExpression link("(?:href|src)=\"([^\"]+)\"");
        while (pages.hasNext()) {
            const QString path = pages.next();
            ++count;
            bool valid = false;
            const QString text = readUtf8(path, valid);
            QVERIFY2(valid, qPrintable(path));
            QVERIFY2(text.contains("<meta charset=\"utf-8\">"), qPrintable(path));

            const QDir here = QFileInfo(path).dir();
            for (auto match = link.globalMatch(text); match.hasNext();) {
                const QString target = match.next().captured(1);
                const QString where = path + " -> " + target;
                if (target.startsWith('#')) {
                    QVERIFY2(text.contains("id=\"" + target.mid(1) + "\""), qPrintable(where));
                } else if (target.contains("/pic/")) {
                    // Glyphs are drawn at build time and installed beside htm/.
                    QVERIFY2(glyphs.contains(QFileInfo(target).fileName()), qPrintable(where));
                } else {
                    QVERIFY2(QFileInfo(here.filePath(target)).isFile(), qPrintable(where));
                }
            }
        }
        QVERIFY(count >= 6);
    }
};

QTEST_MAIN(TestPages)
#include "test_pages.moc"
