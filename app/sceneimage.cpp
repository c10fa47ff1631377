#include "app/sceneimage.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "app/controls.h"

namespace kvelmor {

namespace {

QAccessibleInterface* imageInterface(const QString&, QObject* object)
{
    if (auto* image = qobject_cast<SceneImage*>(object)) {
        return new QAccessibleWidget(image, QAccessible::Graphic);
    }
    return nullptr;
}

}  // namespace

SceneImage::SceneImage(QWidget* window, Language language) : QWidget(window)
{
    static const bool installed = [] {
        QAccessible::installFactory(imageInterface);
        return true;
    }();
    Q_UNUSED(installed);

    setObjectName(QStringLiteral("kresba"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    setAccessibleName(qtext(TextKey::PictureName, language));
    setAccessibleDescription(qtext(TextKey::PictureEmpty, language));
    lower();
}

void SceneImage::announce(const QString& description)
{
    setAccessibleDescription(description);
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace kvelmor
