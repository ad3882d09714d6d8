#pragma once

#include "framework/PageContract.h"
#include "support/VValues.h"

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Values written as "name:value;name:value", in list order; an empty value
// stays visible as "name:", a repeated name makes a chain.
inline void fillValues(VValues &values, const QString &text)
{
    values.Clear();
    const QStringList pairs = text.split(u';', Qt::SkipEmptyParts);
    for (const QString &pair : pairs) {
        const qsizetype colon = pair.indexOf(u':');
        values.Append(pair.mid(colon + 1), pair.left(colon));
    }
}

inline QString valuesText(const VValues &values)
{
    QStringList pairs;
    for (const Pair &pair : values)
        pairs << pair.Key() + u':' + pair.Value();
    return pairs.join(u';');
}

// The page's control named name; a missing one ends the test run, since every
// later step would only fail confusingly.
template <typename T>
T *pageControl(const QWidget *page, const QString &name)
{
    T *found = page->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A left click as the window system delivers it: to the window, which hands
// it to the widget under the pointer unless an open popup takes it first.
inline void userClick(QWidget *widget, QPoint point)
{
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, point));
}

// True when Alt+key on the page puts the focus into the control named target.
inline bool accessKeyFocuses(QWidget *page, int key, const QString &target)
{
    page->activateWindow();
    if (!QTest::qWaitForWindowActive(page))
        return false;
    QTest::keyClick(page, Qt::Key(key), Qt::AltModifier);
    const QWidget *focused = QApplication::focusWidget();
    const QWidget *expected = pageControl<QWidget>(page, target);
    return focused && (focused == expected || expected->isAncestorOf(focused));
}

// A new page bound to values, shown at about the size the main window gives
// it; null when it could not be shown.
template <typename Page>
Page *showPage(VValues &values)
{
    auto *page = new Page;
    page->Init(values);
    page->resize(650, 520);
    page->show();
    if (!QTest::qWaitForWindowExposed(page)) {
        delete page;
        return nullptr;
    }
    return page;
}

// The page shows a rule whose declarations are given as "name:value;...".
inline void reShowWith(IPage &page, VValues &values, const QString &declarations)
{
    fillValues(values, declarations);
    page.ReShow();
}
