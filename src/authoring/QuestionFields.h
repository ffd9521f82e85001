#pragma once

#include "QuestionRules.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QWidget;

// The controls question entry and edit share, each wired once here.
namespace authoring {

// Type, option count and key: a self-assessed type fixes both to 1.
class KeyFields : public QObject {
    Q_OBJECT
public:
    KeyFields(QComboBox *types, QSpinBox *options, QLineEdit *key, QObject *parent = nullptr);

    void setTypes(const QVector<QuestionType> &types);
    // Shows a stored question without clearing its key; false when its type is not listed.
    bool show(int typeCode, int options, const QString &key);
    void selectFirstType();
    // The chosen type; null code 0 when none is selected.
    QuestionType currentType() const;
    // Frees the two fields a self-assessed type fixed (before saving or closing).
    void enableAll();

private:
    void typeChanged();
    void fixForType(const QuestionType &type);

    QComboBox *m_types;
    QSpinBox *m_options;
    QLineEdit *m_key;
    QVector<QuestionType> m_list;
};

// The linked exam points: the visible list with section and title, the
// parallel hidden list of codes, the picker behind "添加考点" and the Delete key.
class PointLinks : public QObject {
    Q_OBJECT
public:
    // callerTag: 1 question entry, 2 question edit; limitMessage when ten are listed.
    PointLinks(QPushButton *add, QListWidget *shown, QListWidget *codes, int callerTag, const QString &limitMessage,
               QWidget *window);

    void append(const QString &code, const QString &text);
    void clear();
    QStringList codes() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addPoints();
    void removeSelected();

    QListWidget *m_shown;
    QListWidget *m_codes;
    int m_tag;
    QString m_limitMessage;
    QWidget *m_window;
};

// "使用说明": the picker on its instructions page.
void showInstructions(QWidget *parent);

} // namespace authoring
