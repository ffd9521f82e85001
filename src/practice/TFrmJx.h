#pragma once

#include <QDialog>

class QPushButton;
namespace richtext {
class DbRichView;
}
namespace store {
class DataSource;
class Dataset;
} // namespace store

// The explanation of the question on display, read-only.
class TFrmJx : public QDialog {
    Q_OBJECT
public:
    explicit TFrmJx(QWidget *parent = nullptr);

    // Shows `field` of the source's current row; a missing field or dataset leaves the view empty.
    void bind(store::Dataset &dataset, store::DataSource &source, const QString &field);

    richtext::DbRichView *Re;
    QPushButton *epEfTrBtn1;
};
