#include "app/explorerviews.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "app/chainview.h"
#include "app/patternview.h"

namespace kvelmor {

namespace {

QAccessibleInterface* graphicInterface(const QString&, QObject* object)
{
    if (qobject_cast<ChainView*>(object) || qobject_cast<PatternView*>(object)) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

}  // namespace

void installGraphicAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(graphicInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace kvelmor
