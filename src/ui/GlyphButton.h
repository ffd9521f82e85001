#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace ui {

// A number or type button that shows one glyph while up and another while
// pressed (checked), with its caption over or beside the glyph.
class GlyphButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class CaptionPlace { Over, Beside };

    explicit GlyphButton(const QString &text = {}, QWidget *parent = nullptr);

    void setGlyphs(const QPixmap &up, const QPixmap &down);
    QPixmap upGlyph() const { return up; }
    QPixmap downGlyph() const { return down; }
    void setCaptionPlace(CaptionPlace place);

    int tag() const { return tagValue; }
    void setTag(int tag) { tagValue = tag; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPixmap up, down;
    CaptionPlace captionPlace = CaptionPlace::Over;
    int tagValue = 0;
};

} // namespace ui
