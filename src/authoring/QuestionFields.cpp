#include "QuestionFields.h"

#include "Globals.h"
#include "SystemMessageBox.h"
#include "TFrmSelectFG.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

namespace authoring {

KeyFields::KeyFields(QComboBox *types, QSpinBox *options, QLineEdit *key, QObject *parent)
    : QObject(parent), m_types(types), m_options(options), m_key(key)
{
    m_options->setRange(1, kMostOptions);
    m_key->setMaxLength(100);
    connect(m_key, &QLineEdit::textEdited, m_key, [this](const QString &text) {
        const int cursor = m_key->cursorPosition();
        m_key->setText(text.toUpper());
        m_key->setCursorPosition(cursor);
    });
    connect(m_types, qOverload<int>(&QComboBox::currentIndexChanged), this, &KeyFields::typeChanged);
}

void KeyFields::setTypes(const QVector<QuestionType> &types)
{
    m_list = types;
    const QSignalBlocker blocker(m_types);
    m_types->clear();
    for (const QuestionType &type : types)
        m_types->addItem(type.name, type.code);
}

bool KeyFields::show(int typeCode, int options, const QString &key)
{
    const QSignalBlocker blocker(m_types);
    const int index = m_types->findData(typeCode);
    m_types->setCurrentIndex(index);
    enableAll();
    m_options->setValue(options);
    m_key->setText(key);
    if (index >= 0)
        fixForType(m_list.at(index));
    return index >= 0;
}

void KeyFields::selectFirstType()
{
    if (m_types->count() == 0)
        return;
    if (m_types->currentIndex() == 0)
        typeChanged();
    else
        m_types->setCurrentIndex(0);
}

QuestionType KeyFields::currentType() const
{
    const int index = m_types->currentIndex();
    return index >= 0 && index < m_list.size() ? m_list.at(index) : QuestionType();
}

void KeyFields::enableAll()
{
    m_options->setEnabled(true);
    m_key->setEnabled(true);
}

void KeyFields::typeChanged()
{
    enableAll();
    const QuestionType type = currentType();
    if (type.subjective)
        fixForType(type);
    else
        m_key->clear();
}

void KeyFields::fixForType(const QuestionType &type)
{
    if (!type.subjective)
        return;
    m_options->setValue(1);
    m_key->setText(QStringLiteral("1"));
    m_options->setEnabled(false);
    m_key->setEnabled(false);
}

PointLinks::PointLinks(QPushButton *add, QListWidget *shown, QListWidget *codes, int callerTag,
                       const QString &limitMessage, QWidget *window)
    : QObject(window), m_shown(shown), m_codes(codes), m_tag(callerTag), m_limitMessage(limitMessage), m_window(window)
{
    m_shown->setToolTip(QStringLiteral("点击\u201CDelete\u201D键可以删除考点"));
    m_shown->installEventFilter(this);
    connect(add, &QPushButton::clicked, this, &PointLinks::addPoints);
}

void PointLinks::append(const QString &code, const QString &text)
{
    m_codes->addItem(code);
    m_shown->addItem(text);
}

void PointLinks::clear()
{
    m_shown->clear();
    m_codes->clear();
}

QStringList PointLinks::codes() const
{
    QStringList list;
    for (int i = 0; i < m_codes->count(); ++i)
        list << m_codes->item(i)->text();
    return list;
}

void PointLinks::addPoints()
{
    if (m_shown->count() >= kMostLinks) {
        SystemMessageBox(QStringLiteral("提示"), m_limitMessage, QMessageBox::Information);
        return;
    }
    TFrmSelectFG picker(m_window);
    picker.Notebook1->setCurrentIndex(TFrmSelectFG::PickPage);
    const QStringList linked = codes();
    picker.setCaller(m_tag, linked);
    LinkedPointCount = int(linked.size());
    if (picker.exec() != QDialog::Accepted)
        return;
    for (const TFrmSelectFG::PickedPoint &point : picker.pickedPoints())
        if (!codes().contains(point.ftid))
            append(point.ftid, point.section + QLatin1Char('[') + point.title + QLatin1Char(']'));
}

void PointLinks::removeSelected()
{
    const int row = m_shown->currentRow();
    if (row < 0)
        return;
    delete m_shown->takeItem(row);
    delete m_codes->takeItem(row);
}

bool PointLinks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_shown && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        removeSelected();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void showInstructions(QWidget *parent)
{
    TFrmSelectFG picker(parent);
    picker.Notebook1->setCurrentIndex(TFrmSelectFG::InstructionsPage);
    picker.exec();
}

} // namespace authoring
