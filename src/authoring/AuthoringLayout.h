#pragma once

#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QWidget;
namespace richtext {
class RichEditBar;
class RichEditor;
} // namespace richtext
namespace ui { class TitleStrip; }

// The one look of the question entry and edit windows: the editors with
// their formatting row on the left, type, options, key and exam points on
// the right, the commands along the bottom.
namespace authoring {

// Creates the named controls of a form on `window`.
class EditorForm {
public:
    explicit EditorForm(QWidget *window) : m_window(window) {}
    QLabel *label(const char *name, const QString &text) const;
    richtext::RichEditor *editor(const char *name) const;
    QSpinBox *spinBox(const char *name) const;
    QLineEdit *lineEdit(const char *name) const;
    QComboBox *comboBox(const char *name) const;
    QPushButton *button(const char *name, const QString &text) const;
    QListWidget *list(const char *name) const;

    // SE_Num, Edit1, ComboBox1, BtnAddFg, ListBox1 and the hidden ListBox2 of both windows.
    struct KeyAndLinks {
        QSpinBox *options;
        QLineEdit *key;
        QComboBox *types;
        QPushButton *addPoints;
        QListWidget *shown;
        QListWidget *codes;
    };
    KeyAndLinks keyAndLinks() const;

private:
    QWidget *m_window;
};

struct EditorLayout {
    struct Editor {
        QLabel *label;
        richtext::RichEditor *editor;
        int stretch;
    };
    struct Field {
        QLabel *label;
        QWidget *field;
    };
    ui::TitleStrip *caption = nullptr;
    richtext::RichEditBar *bar = nullptr;
    QList<Editor> editors;
    QList<Field> fields;
    QListWidget *links = nullptr;
    QList<QPushButton *> buttons;
    QLabel *status = nullptr; // left of the commands: what the last command did

    void install(QWidget *window) const;
};

void centreOnScreen(QWidget *window);

} // namespace authoring
