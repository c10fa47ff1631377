#include "app/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/kvelmorstyle.h"

namespace kvelmor {

namespace {

// Sizes in pixels, not points, so that a desktop's font DPI cannot make captions outgrow their
// rectangles.
QFont fontOf(ControlFont font)
{
    const FontFace face = fontFace(font);
    return makeFont(qstring(face.family), face.pixelSize, face.bold);
}

QWidget* makeControl(const ControlRow& row, QWidget* parent, Language language)
{
    const QString caption = qtext(row.caption, language);
    switch (row.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setAutoFillBackground(true);  // opaque: the drawing never shows through
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case ControlKind::ScrollBar: {
        auto* bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setRange(kScrollMinimum, kScrollMaximum);
        bar->setSingleStep(kScrollSmallStep);
        bar->setPageStep(kScrollLargeStep);
        bar->setValue(kScrollMinimum);
        bar->setTracking(false);               // report a dragged thumb only when it is released
        bar->setFocusPolicy(Qt::StrongFocus);  // a tab stop, moved by the arrow keys
        bar->setInvertedControls(false);       // Right and Up slow down, as the arrows show
        return bar;
    }
    case ControlKind::Frame: {
        auto* frame = new QGroupBox(caption, parent);
        frame->setAutoFillBackground(true);
        return frame;
    }
    case ControlKind::Option: {
        auto* option = new QRadioButton(caption, parent);
        option->setAutoFillBackground(true);
        option->setAutoExclusive(true);  // one exclusive group per frame
        return option;
    }
    case ControlKind::SettingsBox:
        return new QLineEdit(caption, parent);
    }
    return nullptr;
}

}  // namespace

QString qstring(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString qtext(TextKey key, Language language)
{
    return qstring(text(key, language));
}

// Once a name: a run would otherwise repeat it at each of its 221 steps.
void reportMissingControl(const QWidget& window, std::string_view name, const char* typeName)
{
    static std::set<std::string, std::less<>> reported;
    if (!reported.emplace(name).second) return;
    qCritical("%s has no %s called \"%.*s\"", qPrintable(window.objectName()), typeName,
              int(name.size()), name.data());
}

// Every attribute is set, so that a control never inherits, say, the bold of its frame's caption.
QFont makeFont(const QString& family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

QColor backColour()
{
    return QColor(kBackColour & 0xFF, (kBackColour >> 8) & 0xFF, (kBackColour >> 16) & 0xFF);
}

QFont defaultFont()
{
    return fontOf(ControlFont::Default);
}

void createControls(QWidget* window, Language language)
{
    auto* style = new KvelmorStyle;
    style->setParent(window);
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlRow& row : controlRows()) {
        QWidget* parent =
            row.container.empty() ? window : controlNamed<QWidget>(*window, row.container);
        QWidget* control = makeControl(row, parent ? parent : window, language);
        control->setObjectName(qstring(row.name));
        control->setAccessibleName(qtext(accessibleName(row), language));
        control->setAccessibleDescription(qtext(row.accessibleDescription, language));
        control->setStyle(style);
        control->setGeometry(twipsToPixels(row.left), twipsToPixels(row.top),
                             twipsToPixels(row.width), twipsToPixels(row.height));
        control->setFont(fontOf(row.font));
        if (row.kind != ControlKind::ScrollBar && row.kind != ControlKind::SettingsBox) {
            QPalette palette = control->palette();
            palette.setColor(QPalette::Window, backColour());
            palette.setColor(QPalette::Button, backColour());
            control->setPalette(palette);
        }
        control->setVisible(row.shown);
        if (control->focusPolicy() != Qt::NoFocus) tabOrder.emplace_back(row.tabIndex, control);
    }

    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
}

}  // namespace kvelmor
