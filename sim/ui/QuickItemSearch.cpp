#include "QuickItemSearch.h"

#include <QQuickItem>
#include <QQuickWindow>

QQuickItem* QuickItemSearch::find(QQuickItem* from, const std::function<bool(QQuickItem*)>& matches)
{
    if (!from)
        return nullptr;
    if (matches(from))
        return from;
    const auto children = from->childItems();
    for (QQuickItem* child : children) {
        if (QQuickItem* found = find(child, matches))
            return found;
    }
    return nullptr;
}

QQuickItem* QuickItemSearch::byObjectName(QQuickItem* from, const QString& objectName)
{
    return find(from, [&objectName](QQuickItem* candidate) { return candidate->objectName() == objectName; });
}

QQuickItem* QuickItemSearch::buttonWithText(QQuickItem* from, const QString& text)
{
    return find(from, [&text](QQuickItem* candidate) {
        return candidate->inherits("QQuickAbstractButton") && candidate->property("text").toString() == text;
    });
}

QQuickItem* QuickItemSearch::content(QQuickWindow* window)
{
    return window ? window->contentItem() : nullptr;
}
