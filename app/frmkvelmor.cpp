#include "app/frmkvelmor.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/controls.h"
#include "app/inputblocker.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "run/experiment.h"
#include "run/numbertext.h"

namespace kvelmor {

namespace {

// The picture covers all the run ever paints (its grey background reaches 800 x 650 pixels), so a
// window made larger than its first 765 x 560 pixels still shows the whole scene.
constexpr QSize kPictureSize(801, 651);

void writeNumber(QLineEdit* box, double value)
{
    box->setText(QString::fromStdString(numberText(value)));
}

double readNumber(const QLineEdit* box)
{
    return numberFromText(box->text().toStdString());
}

}  // namespace

template <typename T>
T* FrmKvelmor::control(const char* name) const
{
    return findChild<T*>(QString::fromUtf8(name));
}

FrmKvelmor::FrmKvelmor(QWidget* parent, qreal pictureRatio) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmKvelmor"));
    setWindowTitle(QStringLiteral("Kvelmor - https://kvelmor.example.org"));
    setFont(defaultFont());
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    setAutoFillBackground(true);
    resize(twipsToPixels(11475), twipsToPixels(8400));

    createControls(this);
    host_ = std::make_unique<WindowRunHost>(*this);

    surface_ = std::make_unique<ImageSurface>(kPictureSize,
                                              pictureRatio > 0 ? pictureRatio : devicePixelRatioF(),
                                              palette(), [this](const QRect& r) { repaint(r); });

    connectOptions();
    connect(control<QScrollBar>("HScroll1"), &QScrollBar::valueChanged, this,
            &FrmKvelmor::scrolled);
    connect(control<QPushButton>("cmdStart"), &QPushButton::clicked, this, &FrmKvelmor::start);
    connect(control<QPushButton>("cmdKonec"), &QPushButton::clicked, this, &QWidget::close);

    load();
    control<QPushButton>("cmdStart")->setFocus();
}

FrmKvelmor::~FrmKvelmor() = default;

// Each option writes its value into its settings box when it becomes selected, whether the user
// or the program selected it. Only the selected option of a group takes the focus by Tab, so Tab
// enters a group at its selection and the arrow keys move within it.
void FrmKvelmor::connectOptions()
{
    QLineEdit* const nFi = control<QLineEdit>("nFi");
    QLineEdit* const nRozteč = control<QLineEdit>("nRozteč");
    QLineEdit* const nSpomaleni = control<QLineEdit>("nSpomaleni");
    struct OptionAction {
        const char* option;
        QLineEdit* box;
        double value;
    };
    const OptionAction actions[] = {
        {"op003", nFi, 0.03},
        {"op02", nFi, 0.2},
        {"op06", nFi, 0.6},
        {"op1", nFi, 1},
        {"op5", nFi, 5},
        {"opV300", nRozteč, 300},
        {"opV350", nRozteč, 350},
        {"opV400", nRozteč, 400},
        {"opRychlá", nSpomaleni, 1},
        {"OpPomalejší", nSpomaleni, 500000},
        {"opPomalá", nSpomaleni, 1000000},
    };
    for (const OptionAction& action : actions) {
        QRadioButton* option = control<QRadioButton>(action.option);
        option->setFocusPolicy(Qt::ClickFocus);
        connect(option, &QRadioButton::toggled, this,
                [option, box = action.box, value = action.value](bool checked) {
                    option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
                    if (checked) writeNumber(box, value);
                });
    }
}

// Selects the default options, whose actions fill the settings boxes: "střední", "350", and the
// fastest pace.
void FrmKvelmor::load()
{
    control<QRadioButton>("op06")->setChecked(true);
    writeNumber(control<QLineEdit>("nFi"), 0.6);
    control<QRadioButton>("opV350")->setChecked(true);
    control<QRadioButton>("opRychlá")->setChecked(true);
    writeNumber(control<QLineEdit>("nSpomaleni"), 1);
}

// The slow-down count for scroll value v is 30 v + 1: from 1 at the left end to 983011.
void FrmKvelmor::scrolled(int value)
{
    QLineEdit* const nSpomaleni = control<QLineEdit>("nSpomaleni");
    writeNumber(nSpomaleni, value);
    writeNumber(nSpomaleni, readNumber(nSpomaleni) * 30 + 1);
}

void FrmKvelmor::start()
{
    if (running_) return;  // input is blocked during a run; this only guards against re-entry
    running_ = true;
    closing_ = false;
    {
        InputBlocker noInput;
        runExperiment(*surface_, *host_);
    }
    running_ = false;
}

void FrmKvelmor::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    surface_->paintOnto(painter, event->rect());
}

// The desktop's close command may arrive while a run waits between steps; the run then stops
// at its next step and the program ends as soon as the click of "Start" returns.
void FrmKvelmor::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    event->accept();
}

}  // namespace kvelmor
