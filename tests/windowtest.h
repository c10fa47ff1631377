#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>

#include "app/frmkvelmor.h"

// Finds a control of the window by its object name, failing loudly when it is not there.
template <typename T = QWidget>
T* find(QWidget* window, const char* name)
{
    T* w = window->findChild<T*>(QString::fromUtf8(name));
    if (!w) qFatal("no control named %s", name);
    return w;
}

inline QString boxText(QWidget* window, const char* name)
{
    return find<QLineEdit>(window, name)->text();
}

// Clicks a button (or option) with the mouse, near its left end where the indicator or the
// caption is, as a user would.
inline void clickOn(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}
