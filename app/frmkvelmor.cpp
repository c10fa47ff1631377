#include "app/frmkvelmor.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/classickeys.h"
#include "app/controls.h"
#include "app/inputblocker.h"
#include "app/sceneimage.h"
#include "app/windowrunhost.h"
#include "app/windowsettings.h"
#include "canvas/imagesurface.h"
#include "layout/description.h"
#include "run/experiment.h"

namespace kvelmor {

namespace {

// The picture covers all the run ever paints (its grey background reaches 800 x 650 pixels), so a
// window made larger than its first 765 x 560 pixels still shows the whole scene.
constexpr QSize kPictureSize(801, 651);

}  // namespace

template <typename T>
T* FrmKvelmor::control(const char* name) const
{
    return controlNamed<T>(*this, name);
}

FrmKvelmor::FrmKvelmor(QWidget* parent, qreal pictureRatio, Language language)
    : QWidget(parent), language_(language)
{
    setObjectName(QStringLiteral("frmKvelmor"));
    setWindowTitle(qtext(TextKey::WindowTitle, language_));
    setFont(defaultFont());
    QPalette grey = palette();
    grey.setColor(QPalette::Window, backColour());
    setPalette(grey);
    setAutoFillBackground(true);
    resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));

    createControls(this, language_);
    image_ = new SceneImage(this, language_);
    settings_ = std::make_unique<WindowSettings>(*this);
    host_ = std::make_unique<WindowRunHost>(*this);

    surface_ = std::make_unique<ImageSurface>(kPictureSize,
                                              pictureRatio > 0 ? pictureRatio : devicePixelRatioF(),
                                              palette(), [this](const QRect& r) { repaint(r); });

    connectOptions();
    (new ClassicKeys(this))->watchControlsOf(this);
    connect(control<QScrollBar>("HScroll1"), &QScrollBar::valueChanged, this,
            [this](int value) { scrollChanged(*settings_, value); });
    connect(control<QPushButton>("cmdStart"), &QPushButton::clicked, this, &FrmKvelmor::start);
    connect(control<QPushButton>("cmdKonec"), &QPushButton::clicked, this, &QWidget::close);

    loadStep(*settings_);
    if (auto* cmdStart = control<QPushButton>("cmdStart")) cmdStart->setFocus();
}

FrmKvelmor::~FrmKvelmor() = default;

// Each option writes its value into its settings box when it becomes selected, whether the user
// or the program selected it. Only the selected option of a group takes the focus by Tab, so Tab
// enters a group at its selection and the arrow keys move within it.
void FrmKvelmor::connectOptions()
{
    for (const OptionAction& action : optionActions()) {
        QRadioButton* option = controlNamed<QRadioButton>(*this, action.option);
        if (!option) continue;
        option->setFocusPolicy(Qt::ClickFocus);
        connect(option, &QRadioButton::toggled, this,
                [this, option, name = action.option](bool checked) {
                    option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
                    if (checked) optionSelected(*settings_, name);
                });
    }
}

void FrmKvelmor::start()
{
    if (running_) return;  // input is blocked during a run; this only guards against re-entry
    running_ = true;
    closing_ = false;
    const std::string frequency = settings_->boxText(SettingsBox::nFi);
    const std::string distance = settings_->boxText(SettingsBox::nRozteč);
    {
        InputBlocker noInput;
        emit runStarting(QString::fromStdString(frequency), QString::fromStdString(distance));
        runExperiment(*surface_, *host_);
    }
    running_ = false;
    emit runEnded(!closing_);
    if (!closing_) {
        // The drawing says what the run drew and where its pattern lies; the change is announced,
        // so that a screen reader says when the run has finished and what it showed.
        image_->announce(QString::fromStdString(runDescription(frequency, distance, language_) +
                                                " " + runSummary(frequency, distance, language_)));
    }
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
