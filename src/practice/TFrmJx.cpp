#include "TFrmJx.h"

#include "DataSource.h"
#include "DbRichView.h"
#include "QuestionDialogFrame.h"

#include <QPushButton>

TFrmJx::TFrmJx(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmJx"));
    Re = new richtext::DbRichView(this);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    epEfTrBtn1 = FrameQuestionDialog(*this, QStringLiteral("解析"), QSize(596, 359), Re, QStringLiteral("关闭"));
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
