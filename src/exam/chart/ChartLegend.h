#pragma once

#include <QColor>
#include <QVector>
#include <QWidget>

namespace chart {

// The legend of a statistics chart, drawn by us so that long Chinese names
// wrap into rows (above or below the chart) or stack in a column (beside it)
// instead of being cut short.
class ChartLegend : public QWidget {
    Q_OBJECT
public:
    struct Entry {
        QColor colour;
        QString text;
        bool line = false; // a line sample instead of a square
    };

    explicit ChartLegend(QWidget *parent = nullptr);

    void setEntries(const QVector<Entry> &entries);
    QVector<Entry> entries() const { return m_entries; }
    QStringList texts() const;

    // Beside the chart the entries stack in columns; above or below they wrap into rows.
    void setBeside(bool beside);
    bool beside() const { return m_beside; }

    // Beside the chart: the text size at which every entry fits one column of this height, as
    // far as a readable size allows; above or below it the usual size.
    void fitTo(int height);

    // The height the rows need at a width, and the width the columns need at a height.
    int heightForRows(int width) const;
    int widthForColumns(int height) const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    struct Placed {
        QRect box;
        int entry;
    };
    QVector<Placed> layOut(const QSize &area) const;
    int entryWidth(int index) const;
    int rowHeight() const;
    static int rowHeightOf(const QFont &font);
    static QFont legendFont(int pixels);

    QVector<Entry> m_entries;
    bool m_beside = false;
};

} // namespace chart
