#include "AuthoringLayout.h"

#include "Buttons.h"
#include "Globals.h"
#include "RichEditBar.h"
#include "RichEditor.h"
#include "TitleStrip.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace authoring {
namespace {

template <class W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

constexpr int kFieldHeight = 28;

} // namespace

QLabel *EditorForm::label(const char *name, const QString &text) const
{
    return named(new QLabel(text, m_window), name);
}

richtext::RichEditor *EditorForm::editor(const char *name) const
{
    auto *editor = named(new richtext::RichEditor(m_window), name);
    editor->setTabChangesFocus(true);
    return editor;
}

QSpinBox *EditorForm::spinBox(const char *name) const
{
    auto *box = named(new QSpinBox(m_window), name);
    box->setMinimumHeight(kFieldHeight);
    // The shared style sheet leaves the step buttons too narrow for their arrows.
    box->setStyleSheet(QStringLiteral("QSpinBox::up-button, QSpinBox::down-button { width: 20px; }"));
    return box;
}

QLineEdit *EditorForm::lineEdit(const char *name) const
{
    auto *edit = named(new QLineEdit(m_window), name);
    edit->setMinimumHeight(kFieldHeight);
    return edit;
}

QComboBox *EditorForm::comboBox(const char *name) const
{
    auto *box = named(new QComboBox(m_window), name);
    box->setEditable(false); // a type is chosen from the list, never typed
    box->setMinimumHeight(kFieldHeight);
    return box;
}

QPushButton *EditorForm::button(const char *name, const QString &text) const
{
    auto *b = named<QPushButton>(new ui::ShapeButton(text, m_window), name);
    b->setAutoDefault(false);
    b->setMinimumSize(88, 30);
    return b;
}

QListWidget *EditorForm::list(const char *name) const
{
    auto *list = named(new QListWidget(m_window), name);
    list->setWordWrap(true);
    return list;
}

EditorForm::KeyAndLinks EditorForm::keyAndLinks() const
{
    KeyAndLinks c{spinBox("SE_Num"), lineEdit("Edit1"), comboBox("ComboBox1"),
                  button("BtnAddFg", QStringLiteral("添加考点")), list("ListBox1"), list("ListBox2")};
    c.codes->hide();
    return c;
}

void EditorLayout::install(QWidget *window) const
{
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 12);
    outer->setSpacing(8);
    caption->setFixedHeight(30);
    outer->addWidget(caption);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(14, 0, 14, 0);
    body->setSpacing(14);
    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(bar);
    for (const Editor &e : editors) {
        left->addWidget(e.label);
        left->addWidget(e.editor, e.stretch);
    }
    body->addLayout(left, 1);

    auto *side = new QVBoxLayout;
    side->setSpacing(8);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    for (int row = 0; row < fields.size(); ++row) {
        grid->addWidget(fields.at(row).label, row, 0, Qt::AlignRight);
        grid->addWidget(fields.at(row).field, row, 1);
    }
    side->addSpacing(bar->sizeHint().height() + 4);
    side->addLayout(grid);
    side->addWidget(links, 1);
    auto *sideBox = new QWidget(window);
    sideBox->setObjectName(QStringLiteral("SidePanel"));
    sideBox->setLayout(side);
    // The compact windows leave more of their width to the editors.
    sideBox->setFixedWidth(ScreenClass == QLatin1String("800") ? 220 : 260);
    side->setContentsMargins(0, 0, 0, 0);
    body->addWidget(sideBox);
    outer->addLayout(body, 1);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(14, 0, 14, 0);
    row->setSpacing(12);
    if (status)
        row->addWidget(status);
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    outer->addLayout(row);
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace authoring
