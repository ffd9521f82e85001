#include "PageViewer.h"

#include "Look.h"
#include "ShellOpener.h"
#include "TitleStrip.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ui {
namespace {

const QSize DesignSize(860, 640);

bool isOwnPage(const QUrl &link)
{
    return link.isLocalFile() || link.isRelative();
}

} // namespace

PageViewer::PageViewer(const QString &page, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PageViewer"));
    resize(DesignSize);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    Caption = new TitleStrip(QString(), this);
    Caption->setObjectName(QStringLiteral("Caption"));
    Caption->setFixedHeight(30);
    column->addWidget(Caption);

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(false);
    Browser->document()->setDefaultFont(programFont(16));
    column->addWidget(Browser, 1);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(10, 6, 10, 8);
    bar->setSpacing(8);
    BackButton = new QPushButton(QStringLiteral("后退"), this);
    BackButton->setObjectName(QStringLiteral("BackButton"));
    ForwardButton = new QPushButton(QStringLiteral("前进"), this);
    ForwardButton->setObjectName(QStringLiteral("ForwardButton"));
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setWordWrap(true);
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CloseButton = new QPushButton(QStringLiteral("关闭"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton *button : {BackButton, ForwardButton, CloseButton}) {
        button->setMinimumSize(80, 28);
        button->setAutoDefault(false);
    }
    bar->addWidget(BackButton);
    bar->addWidget(ForwardButton);
    bar->addWidget(Status, 1);
    bar->addWidget(CloseButton);
    column->addLayout(bar);

    connect(BackButton, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(ForwardButton, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackButton, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardButton, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::anchorClicked, this, &PageViewer::follow);
    connect(Browser, &QTextBrowser::sourceChanged, this, &PageViewer::showTitle);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);

    Browser->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    showTitle();
}

void PageViewer::follow(const QUrl &link)
{
    Status->clear();
    if (isOwnPage(link)) {
        Browser->setSource(Browser->source().resolved(link));
        return;
    }
    if (!openWebAddress(link))
        Status->setText(QStringLiteral("没有可用的网页浏览器，请自行访问：%1").arg(link.toString()));
}

void PageViewer::showTitle()
{
    const QString title = Browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("帮助") : title);
    Caption->setText(windowTitle());
}

} // namespace ui
