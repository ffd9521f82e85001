#include "Startup.h"

#include "BankRecovery.h"
#include "DataModule.h"
#include "Error.h"
#include "Look.h"
#include "ReadingStyle.h"
#include "Routines.h"
#include "SystemMessageBox.h"
#include "TFrmDlg.h"
#include "TFrmProgress.h"
#include "TFrmStart.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QuilletApplication::QuilletApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quillet"));
    setApplicationDisplayName(QStringLiteral("Quillet"));
    // Matches the installed quillet.desktop, so the launcher groups our windows under its entry.
    setDesktopFileName(QStringLiteral("quillet"));
}

bool QuilletApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const store::Error &e) {
        ReportUnhandledError(e.learnerMessage());
    } catch (const std::exception &e) {
        ReportUnhandledError(QString::fromUtf8(e.what()));
    } catch (...) {
        ReportUnhandledError(QStringLiteral("未知错误"));
    }
    return false;
}

bool LoadChineseTranslations(QApplication &app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    static QTranslator *qtbase = new QTranslator(&app);
    if (!qtbase->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return app.installTranslator(qtbase);
}

void ReportUnhandledError(const QString &message)
{
    SystemMessageBox(QStringLiteral("Quillet"), message, QMessageBox::Critical);
}

Session StartQuillet(const QString &programFolder)
{
    Session session;
    if (!FlashInstalled()) {
        SystemMessageBox(QStringLiteral("提示"), QStringLiteral("请安装Flash插件文件！"), QMessageBox::Warning);
        return session;
    }
    auto dataModule = OpenBankOrOfferRestore(programFolder);
    if (!dataModule) {
        SystemMessageBox(QStringLiteral("错误"), QStringLiteral("无法连接数据库！"), QMessageBox::Critical);
        return session;
    }
    MakeDailyBackup(*dataModule);
    session.dataModule = std::move(dataModule);
    auto mainWindow = std::make_unique<TFrmStart>();
    if (!mainWindow->created()) {
        session.dataModule.reset();
        return session;
    }
    TFrmProgress::instance();
    TFrmDlg::instance();
    if (session.dataModule->ADOCn1.isReadOnly())
        ShowMessageBox(QStringLiteral("提示"), QStringLiteral("题库文件只读，练习和考试的答题都不能保存！"), 1,
                       QStringLiteral("NO"), 1);
    richtext::ReadingScale::instance().loadFromBank();
    session.mainWindow = std::move(mainWindow);
    return session;
}
