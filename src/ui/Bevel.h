#pragma once

#include <QWidget>

namespace ui {

// A double-line bevel frame, raised or lowered, drawn over a panel background.
class Bevel : public QWidget {
    Q_OBJECT
public:
    enum class Style { Raised, Lowered };

    explicit Bevel(QWidget *parent = nullptr, Style style = Style::Raised);

    Style style() const { return bevelStyle; }
    void setStyle(Style style);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Style bevelStyle;
};

} // namespace ui
