#include "ExportPaperCommand.h"

#include "FileDialogs.h"
#include "ShellOpener.h"
#include "SystemMessageBox.h"
#include "TFrmDlg.h"
#include "TFrmProgress.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace exam {

QString proposedDocumentPath(const QString &title)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    // Characters no file name may hold on the desktops the document may travel to.
    QString name = title;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    if (name.trimmed().isEmpty())
        name = QStringLiteral("试卷");
    return QDir(folder).filePath(name + QStringLiteral(".docx"));
}

bool ExportPaperToWord(QWidget *parent, store::Connection &connection, const QString &table, const QString &title)
{
    QString path = ui::getSaveFileName(parent, QStringLiteral("生成文档"), proposedDocumentPath(title),
                                       QStringLiteral("Word 文档 (*.docx)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QStringLiteral(".docx"), Qt::CaseInsensitive))
        path += QStringLiteral(".docx");
    try {
        ProgressScope wait(QStringLiteral("正在导出试卷，请等待..."));
        PaperRef paper = storedPaper(connection, table);
        paper.title = title;
        exportPaper(connection, paper, path);
    } catch (const std::exception &) {
        SystemMessageBox(QStringLiteral("警告"), QStringLiteral("导出试题发生错误，请退出后重试！"),
                         QMessageBox::Warning);
        return false;
    }
    if (!ui::openLocalPage(path))
        ShowMessageBox(QStringLiteral("提示"),
                       QStringLiteral("试卷已保存到：%1\n本机没有打开 Word 文档的程序。").arg(QDir::toNativeSeparators(path)),
                       1, QStringLiteral("NO"), 1);
    return true;
}

} // namespace exam
