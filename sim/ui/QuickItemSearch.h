#pragma once

#include <QString>

#include <functional>

class QQuickItem;
class QQuickWindow;

// Finds items of a Qt Quick window the way a person reads the screen: by their object name
// or by a button's text, walking the visual item tree.
class QuickItemSearch
{
public:
    static QQuickItem* find(QQuickItem* from, const std::function<bool(QQuickItem*)>& matches);
    static QQuickItem* byObjectName(QQuickItem* from, const QString& objectName);
    static QQuickItem* buttonWithText(QQuickItem* from, const QString& text);
    // The window's content item, or null without a window.
    static QQuickItem* content(QQuickWindow* window);
};
