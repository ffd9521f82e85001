#pragma once

#include "Dataset.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QLineEdit;
class QPushButton;
class QTableWidget;
class TfrmLawDetail;
namespace ui { class TitleStrip; }

// The exam-point browser: the catalogue of laws and their sections with
// question counters, search, and a section's points with the key-point
// filter and practice of one point.
class TfrmLawsFaGui : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLawsFaGui(QWidget *parent = nullptr);
    ~TfrmLawsFaGui() override;

    bool inSectionMode() const { return m_detail != nullptr; }
    TfrmLawDetail *detail() const { return m_detail.get(); }
    int keyPointThreshold() const { return m_threshold; }
    QStringList rowIds() const { return m_rowIds; }

    ui::TitleStrip *m_Ltiltle;
    QWidget *m_pMuLu;
    QTableWidget *m_grid;
    QLineEdit *m_editFind;
    QPushButton *m_btnFind, *m_btnSelect, *m_btnMost, *m_btnQuestion, *m_btnBack, *m_btnExit;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class Mode { Catalogue, Section };

    void buildControls();
    void setUpGrid();
    void loadCatalogue();
    void applyLayout();
    void switchMode(Mode mode);
    void setKeyToggle(bool on);
    void refreshSection(int entry);

    void m_btnFindClick();
    void m_btnSelectClick();
    void m_gridSelectCell(int row);
    void m_btnMostClick();
    void m_btnQuestionClick();
    void practise(const QString &pointCode, const QString &title);
    void m_btnBackClick();
    void m_btnExitClick();

    store::Query ADOQuery1;
    QStringList m_rowIds;
    int m_threshold = 1;
    std::unique_ptr<TfrmLawDetail> m_detail;
    bool m_practising = false;
};
