#include "TFrmJx.h"

#include "DataSource.h"
#include "DbRichView.h"
#include "TitleStrip.h"

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>

TFrmJx::TFrmJx(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmJx"));
    setWindowTitle(QStringLiteral("解析"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(596, 359);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 6);
    layout->setSpacing(4);
    layout->addWidget(new ui::TitleStrip(QStringLiteral("解析"), this));
    Re = new richtext::DbRichView(this);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    layout->addWidget(Re, 1);
    epEfTrBtn1 = new QPushButton(QStringLiteral("关闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setFixedWidth(90);
    layout->addWidget(epEfTrBtn1, 0, Qt::AlignRight);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &QDialog::close);
}

void TFrmJx::bind(store::Dataset &dataset, store::DataSource &source, const QString &field)
{
    try {
        if (!dataset.isOpen() || !dataset.hasField(field))
            return;
        Re->setDataSource(&source);
        Re->setDataField(field);
    } catch (const std::exception &) {
        // An unreadable explanation shows as an empty view.
    }
}
