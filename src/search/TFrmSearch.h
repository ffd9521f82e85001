#pragma once

#include "BankNames.h"
#include "Searcher.h"

#include <QDialog>
#include <QTimer>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSplitter;
namespace richtext {
class RichView;
}
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

namespace search {

class ResultModel;

// 搜索: finds questions and exam points of the whole bank as the learner
// types, shows the chosen one whole, and practises the questions found.
class TFrmSearch : public QDialog {
    Q_OBJECT
public:
    // `duringPractice`: opened from a practice run, which cannot start another one.
    explicit TFrmSearch(QWidget *parent = nullptr, bool duringPractice = false);
    ~TFrmSearch() override;

    // Builds the index when the bank has none (with the wait window); false
    // when the bank has none and cannot be given one.
    bool prepareIndex();

    void setQuery(const QString &text);
    // Runs the query now instead of after the typing pause.
    void runQuery();

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QLineEdit *edtQuery;
    QComboBox *cbScope, *cbSubject, *cbType, *cbAnswered;
    QListView *lstResults;
    richtext::RichView *reDetail;
    QSplitter *splitter;
    QLabel *lblStatus, *lblHint;
    QPushButton *btnPractice, *btnClose;
    QTimer typingPause;

protected:
    void showEvent(QShowEvent *event) override;
    void setVisible(bool visible) override;

private:
    void buildControls();
    void applyLayout(bool compact);
    Filter currentFilter() const;
    void showCurrent();
    void btnPracticeClick();
    QStringList practisedIds() const;

    bool m_duringPractice;
    bool m_practising = false;
    BankNames m_names;
    std::unique_ptr<Searcher> m_searcher;
    ResultModel *m_model = nullptr;
};

} // namespace search
