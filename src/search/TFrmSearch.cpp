#include "TFrmSearch.h"

#include "Bevel.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "ResultDetail.h"
#include "ResultList.h"
#include "RichView.h"
#include "SearchIndex.h"
#include "SearchPractice.h"
#include "TFrmDlg.h"
#include "TFrmProgress.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>

namespace search {

namespace {

const int kCaptionHeight = 25;
const int kShownResults = 500;
const int kTypingPauseMs = 180;
const QSize kDesignSize(980, 660);
const QSize kCompactSize(790, 560);

void say(const QString &text, int icon) { ShowMessageBox(QStringLiteral("提示"), text, 1, QStringLiteral("NO"), icon); }

QComboBox *combo(QWidget *parent, const char *name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (int i = 0; i < items.size(); ++i)
        box->addItem(items.at(i), i);
    return box;
}

} // namespace

TFrmSearch::TFrmSearch(QWidget *parent, bool duringPractice)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_duringPractice(duringPractice)
{
    setObjectName(QStringLiteral("FrmSearch"));
    setWindowTitle(QStringLiteral("搜索"));
    m_names.load(DataModule->ADOCn1);
    m_searcher = std::make_unique<Searcher>(DataModule->ADOCn1);
    buildControls();
    applyLayout(ScreenClass == QLatin1String("800"));
    typingPause.setSingleShot(true);
    typingPause.setInterval(kTypingPauseMs);
    connect(&typingPause, &QTimer::timeout, this, &TFrmSearch::runQuery);
    connect(edtQuery, &QLineEdit::textChanged, this, [this] { typingPause.start(); });
    connect(edtQuery, &QLineEdit::returnPressed, this, &TFrmSearch::runQuery);
    for (QComboBox *box : {cbScope, cbSubject, cbType, cbAnswered})
        connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, &TFrmSearch::runQuery);
    connect(lstResults->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFrmSearch::showCurrent);
    connect(btnPractice, &QPushButton::clicked, this, &TFrmSearch::btnPracticeClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    runQuery();
}

TFrmSearch::~TFrmSearch() = default;

void TFrmSearch::buildControls()
{
    Caption = new ui::TitleStrip(QStringLiteral("搜索"), this);
    epBevel1 = new ui::Bevel(this);
    auto *outer = new QVBoxLayout(epBevel1);
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(6);

    edtQuery = new QLineEdit(epBevel1);
    edtQuery->setObjectName(QStringLiteral("edtQuery"));
    edtQuery->setClearButtonEnabled(true);
    edtQuery->setPlaceholderText(QStringLiteral("输入要找的字词、整句或题号"));
    outer->addWidget(edtQuery);

    lblHint = new QLabel(QStringLiteral("空格隔开的几个词须同时出现；\"…\" 找整句；-词 排除含该词的；输入题号直接找到该题。"),
                         epBevel1);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);
    outer->addWidget(lblHint);

    auto *filters = new QHBoxLayout;
    cbScope = combo(epBevel1, "cbScope", {QStringLiteral("试题和考点"), QStringLiteral("只找试题"), QStringLiteral("只找考点")});
    cbSubject = combo(epBevel1, "cbSubject", {QStringLiteral("全部科目")});
    for (int s = 1; s <= 5; ++s)
        cbSubject->addItem(m_names.subjectName(s), s);
    cbType = combo(epBevel1, "cbType", {QStringLiteral("全部题型")});
    cbType->setItemData(0, 0);
    for (const auto &[code, name] : m_names.types())
        cbType->addItem(name, code);
    cbAnswered = combo(epBevel1, "cbAnswered",
                       {QStringLiteral("做过没做过都找"), QStringLiteral("做过的"), QStringLiteral("做错的"), QStringLiteral("没做过的")});
    for (QComboBox *box : {cbScope, cbSubject, cbType, cbAnswered})
        filters->addWidget(box, 1);
    outer->addLayout(filters);

    splitter = new QSplitter(epBevel1);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    lstResults = new QListView(splitter);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setUniformItemSizes(true);
    lstResults->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    lstResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_model = new ResultModel(*m_searcher, m_names, this);
    lstResults->setModel(m_model);
    reDetail = new richtext::RichView(splitter);
    reDetail->setObjectName(QStringLiteral("reDetail"));
    outer->addWidget(splitter, 1);

    auto *bottom = new QHBoxLayout;
    lblStatus = new QLabel(epBevel1);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    bottom->addWidget(lblStatus, 1);
    btnPractice = new QPushButton(QStringLiteral("练习(&P)"), epBevel1);
    btnPractice->setObjectName(QStringLiteral("btnPractice"));
    btnPractice->setToolTip(m_duringPractice ? QStringLiteral("正在练习中，关闭当前练习后才能练习搜索结果")
                                             : QStringLiteral("把找到的试题（最多 %1 道）按顺序练习一遍").arg(kShownResults));
    bottom->addWidget(btnPractice);
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), epBevel1);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    bottom->addWidget(btnClose);
    outer->addLayout(bottom);
}

void TFrmSearch::applyLayout(bool compact)
{
    const QSize size = compact ? kCompactSize : kDesignSize;
    setFixedSize(size);
    Caption->setGeometry(0, 0, size.width(), kCaptionHeight);
    epBevel1->setGeometry(0, kCaptionHeight, size.width(), size.height() - kCaptionHeight);
    const int body = compact ? 13 : 15;
    lstResults->setItemDelegate(new ResultDelegate(body, lstResults));
    // The compact window is too narrow for two columns: the question goes under the list.
    splitter->setOrientation(compact ? Qt::Vertical : Qt::Horizontal);
    splitter->setSizes(compact ? QList<int>{230, 200} : QList<int>{470, 480});
    lblHint->setVisible(!compact);
    edtQuery->setMinimumHeight(compact ? 26 : 30);
}

void TFrmSearch::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    edtQuery->setFocus();
}

void TFrmSearch::setVisible(bool visible)
{
    // Hidden while a practice run shows: QDialog would end this window's modal loop.
    if (!visible && m_practising) {
        QWidget::setVisible(false);
        return;
    }
    QDialog::setVisible(visible);
}

bool TFrmSearch::prepareIndex()
{
    store::Connection &c = DataModule->ADOCn1;
    try {
        if (search::isBuilt(c))
            return true;
        if (c.isReadOnly()) {
            say(QStringLiteral("题库文件只读，无法建立搜索索引！"), 2);
            return false;
        }
        ui::WaitCursor hourglass;
        ProgressScope wait(QStringLiteral("正在建立搜索索引……"));
        search::build(c, [&wait](int done, int total) {
            wait.setText(QStringLiteral("正在建立搜索索引…… %1%").arg(total > 0 ? done * 100 / total : 100));
        });
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
        return false;
    }
    runQuery();
    return true;
}

void TFrmSearch::setQuery(const QString &text)
{
    edtQuery->setText(text);
    runQuery();
}

Filter TFrmSearch::currentFilter() const
{
    Filter f;
    f.scope = Filter::Scope(cbScope->currentIndex());
    f.subject = cbSubject->currentData().toInt();
    f.type = cbType->currentData().toInt();
    f.answered = Filter::Answered(cbAnswered->currentIndex());
    return f;
}

void TFrmSearch::runQuery()
{
    typingPause.stop();
    Results results;
    QElapsedTimer clock;
    clock.start();
    try {
        results = m_searcher->find(edtQuery->text(), currentFilter(), kShownResults);
    } catch (const store::Error &e) {
        // The index is damaged or missing; a query itself is never an error.
        lblStatus->setText(QStringLiteral("搜索出错：%1").arg(e.learnerMessage()));
    }
    const qint64 ms = clock.elapsed();
    m_model->setResults(results);
    if (results.query.isEmpty() && results.hits.isEmpty())
        lblStatus->setText(edtQuery->text().trimmed().isEmpty() ? QStringLiteral("请输入要找的字词。")
                                                                : QStringLiteral("只有排除的词，请再输入要找的字词。"));
    else if (results.total == 0)
        lblStatus->setText(QStringLiteral("没有找到。"));
    else if (results.total > results.hits.size())
        lblStatus->setText(QStringLiteral("找到 %1 条，显示最相关的 %2 条（%3 毫秒）").arg(results.total).arg(results.hits.size()).arg(ms));
    else
        lblStatus->setText(QStringLiteral("找到 %1 条（%2 毫秒）").arg(results.total).arg(ms));
    btnPractice->setEnabled(!m_duringPractice && !practisedIds().isEmpty());
    if (m_model->rowCount() > 0)
        lstResults->setCurrentIndex(m_model->index(0));
    else
        reDetail->clear();
}

void TFrmSearch::showCurrent()
{
    const QModelIndex index = lstResults->currentIndex();
    if (!index.isValid()) {
        reDetail->clear();
        return;
    }
    try {
        fillDetail(reDetail->document(), DataModule->ADOCn1, m_model->hitAt(index.row()), m_names,
                   m_model->results().query);
    } catch (const store::Error &e) {
        reDetail->setPlainText(QStringLiteral("无法打开试题！%1").arg(e.learnerMessage()));
    }
}

QStringList TFrmSearch::practisedIds() const
{
    QStringList ids;
    for (const Hit &hit : m_model->results().hits)
        if (hit.kind == Kind::Question)
            ids << hit.ref;
    return ids;
}

void TFrmSearch::btnPracticeClick()
{
    const QStringList ids = practisedIds();
    if (m_duringPractice || ids.isEmpty())
        return;
    ui::WaitCursor hourglass;
    PracticeSql = practiceSql(ids);
    SearchPracticeWindow window;
    if (!window.PrepareSession()) {
        hourglass.restore();
        say(QStringLiteral("没有可以练习的试题！"), 1);
        return;
    }
    m_practising = true;
    hide();
    window.setBoardText(QStringLiteral("搜索：") + edtQuery->text().trimmed());
    hourglass.restore();
    window.exec();
    m_practising = false;
    show();
    // The run changed the answers the results show.
    runQuery();
}

} // namespace search
