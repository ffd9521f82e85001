#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPlainTextEdit;
class QPushButton;
namespace store {
class DataSource;
}

// The learner's note on the question on display, saved into its row on close.
class TFrmBj : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBj(QWidget *parent = nullptr);

    // Puts the source's dataset in edit mode and edits `field` of its current row.
    void bind(store::DataSource &source, const QString &field);

    QPlainTextEdit *DBMemo1;
    QPushButton *epEfTrBtn1;
    QLabel *Label1; // the caller's mode marker: "lx" practice, "ks" exam

    void done(int result) override;

private:
    QPointer<store::DataSource> m_source;
    QString m_field;
};
