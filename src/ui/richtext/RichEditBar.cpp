#include "RichEditBar.h"

#include "FileDialogs.h"
#include "RichEditor.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QTextCharFormat>
#include <QToolButton>

namespace richtext {
namespace {

const double kSizes[] = {9, 10.5, 12, 14, 16, 18, 20, 22, 24, 28};

struct NamedColour {
    const char *name;
    QRgb rgb;
};
const NamedColour kColours[] = {{"黑色", 0x000000}, {"红色", 0xc00000}, {"蓝色", 0x0050b0},
                                {"绿色", 0x2e7d32}, {"橙色", 0xd06a00}, {"紫色", 0x7030a0}};

QIcon swatch(QRgb rgb)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(QColor(rgb));
    QPainter(&pixmap).drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

QToolButton *toolButton(QWidget *parent, const char *name, const QString &text, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus); // the editor keeps the focus and its selection
    b->setMinimumSize(28, 26);
    return b;
}

} // namespace

RichEditBar::RichEditBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RichEditBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    BtnBold = toolButton(this, "BtnBold", QStringLiteral("B"), QStringLiteral("粗体"));
    BtnItalic = toolButton(this, "BtnItalic", QStringLiteral("I"), QStringLiteral("斜体"));
    BtnUnderline = toolButton(this, "BtnUnderline", QStringLiteral("U"), QStringLiteral("下划线"));
    QFont f = BtnBold->font();
    f.setBold(true);
    BtnBold->setFont(f);
    f.setBold(false);
    f.setItalic(true);
    BtnItalic->setFont(f);
    f.setItalic(false);
    f.setUnderline(true);
    BtnUnderline->setFont(f);
    for (QToolButton *b : {BtnBold, BtnItalic, BtnUnderline}) {
        b->setCheckable(true);
        layout->addWidget(b);
    }

    BtnColor = toolButton(this, "BtnColor", QStringLiteral("颜色"), QStringLiteral("文字颜色"));
    BtnColor->setPopupMode(QToolButton::InstantPopup);
    BtnColor->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BtnColor->setIcon(swatch(kColours[1].rgb));
    auto *colours = new QMenu(BtnColor);
    for (const NamedColour &colour : kColours) {
        QAction *action = colours->addAction(swatch(colour.rgb), QString::fromUtf8(colour.name));
        const QColor value(colour.rgb);
        connect(action, &QAction::triggered, this, [this, value] {
            QTextCharFormat format;
            format.setForeground(value);
            merge(format);
        });
    }
    BtnColor->setMenu(colours);
    layout->addWidget(BtnColor);

    CbSize = new QComboBox(this);
    CbSize->setObjectName(QStringLiteral("CbSize"));
    CbSize->setToolTip(QStringLiteral("字号"));
    CbSize->setFocusPolicy(Qt::NoFocus);
    for (double size : kSizes)
        CbSize->addItem(QString::number(size), size);
    CbSize->setCurrentIndex(CbSize->findData(RichEditor::kDefaultPointSize));
    layout->addWidget(CbSize);

    BtnPicture = toolButton(this, "BtnPicture", QStringLiteral("插入图片"), QStringLiteral("插入图片"));
    layout->addWidget(BtnPicture);
    layout->addStretch();

    connect(BtnBold, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        merge(format);
    });
    connect(BtnItalic, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        merge(format);
    });
    connect(BtnUnderline, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        merge(format);
    });
    connect(CbSize, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        QTextCharFormat format;
        format.setFontPointSize(CbSize->itemData(index).toDouble());
        merge(format);
    });
    connect(BtnPicture, &QToolButton::clicked, this, &RichEditBar::insertPicture);
    setEnabled(false);
}

void RichEditBar::attach(RichEditor *editor)
{
    m_editors << editor;
    editor->installEventFilter(this);
    connect(editor, &RichEditor::currentCharFormatChanged, this, [this, editor] {
        if (editor == m_current)
            showFormatAtCursor();
    });
    if (!m_current)
        setCurrent(editor);
}

bool RichEditBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        for (RichEditor *editor : std::as_const(m_editors))
            if (editor == watched)
                setCurrent(editor);
    return QWidget::eventFilter(watched, event);
}

void RichEditBar::setCurrent(RichEditor *editor)
{
    m_current = editor;
    setEnabled(editor != nullptr);
    showFormatAtCursor();
}

void RichEditBar::merge(const QTextCharFormat &format)
{
    if (!m_current)
        return;
    m_current->mergeCurrentCharFormat(format);
    m_current->setFocus();
}

void RichEditBar::showFormatAtCursor()
{
    if (!m_current)
        return;
    const QTextCharFormat format = m_current->currentCharFormat();
    BtnBold->setChecked(format.fontWeight() >= QFont::Bold);
    BtnItalic->setChecked(format.fontItalic());
    BtnUnderline->setChecked(format.fontUnderline());
    const QColor colour = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                          : m_current->palette().color(QPalette::Text);
    BtnColor->setIcon(swatch(colour.rgb()));
    const double size = format.fontPointSize() > 0 ? format.fontPointSize() : m_current->font().pointSizeF();
    if (const int index = CbSize->findData(size); index >= 0)
        CbSize->setCurrentIndex(index);
}

void RichEditBar::insertPicture()
{
    if (!m_current)
        return;
    const QString path = ui::getOpenFileName(window(), QStringLiteral("插入图片"), QString(),
                                             QStringLiteral("图片 (*.png *.jpg *.jpeg *.bmp *.gif)"));
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (!image.isNull())
        m_current->insertPicture(image);
    m_current->setFocus();
}

} // namespace richtext
