#include "LayoutCheck.h"

#include "MarkdownMarkers.h"

#include <QQmlContext>
#include <QtQml/qqml.h>
#include "ScreenItems.h"

#include <QHash>
#include <QQuickItem>
#include <QQuickWindow>

namespace {

// Less than a pixel is rounding or antialiasing, not a fault.
constexpr qreal kTolerance = 1.0;

bool within(const QRectF& inner, const QRectF& outer)
{
    return outer.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(inner);
}

QString size(const QRectF& rect)
{
    return QStringLiteral("%1x%2").arg(qRound(rect.width())).arg(qRound(rect.height()));
}

// A list or scroll area shows part of its content by design.
bool scrolls(const QQuickItem* item)
{
    return item->inherits("QQuickFlickable") || item->inherits("QQuickScrollView");
}

// The rows of a list show data, which may repeat from row to row.
bool inList(const QQuickItem* item)
{
    for (const QQuickItem* up = item->parentItem(); up; up = up->parentItem()) {
        if (up->inherits("QQuickItemView"))
            return true;
    }
    return false;
}

} // namespace

QStringList LayoutCheck::problems(QQuickWindow* window)
{
    ScreenItems::settle(window);
    return problems(ScreenItems(window));
}

QStringList LayoutCheck::problems(const ScreenItems& screen)
{
    return overlaps(screen) + clipped(screen) + outside(screen) + repeated(screen) + markdown(screen) + markup(screen)
           + focus(screen);
}

QStringList LayoutCheck::overlaps(const ScreenItems& screen)
{
    QStringList found;
    const QList<QQuickItem*>& texts = screen.texts();
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF first = screen.shownRect(texts.at(i));
        for (int j = i + 1; j < texts.size(); ++j) {
            const QRectF both = first & screen.shownRect(texts.at(j));
            if (both.width() <= kTolerance || both.height() <= kTolerance)
                continue;
            found.append(QStringLiteral("overlap: %1 and %2 share %3")
                             .arg(ScreenItems::describe(texts.at(i)), ScreenItems::describe(texts.at(j)), size(both)));
        }
    }
    return found;
}

QStringList LayoutCheck::clipped(const ScreenItems& screen)
{
    QStringList found;
    for (const QQuickItem* text : screen.texts()) {
        const QString name = ScreenItems::describe(text);
        const qreal roomWide = text->width() - text->property("leftPadding").toReal()
                               - text->property("rightPadding").toReal();
        const qreal roomHigh = text->height() - text->property("topPadding").toReal()
                               - text->property("bottomPadding").toReal();
        const qreal wide = text->property("contentWidth").toReal();
        const qreal high = text->property("contentHeight").toReal();
        const bool wraps = text->property("wrapMode").toInt() != 0;
        const bool elides = text->property("elide").toInt() != 0;
        if (text->property("truncated").toBool())
            found.append(QStringLiteral("clipped: %1 is elided").arg(name));
        else if (wide > roomWide + kTolerance)
            found.append(QStringLiteral("clipped: %1 needs %2 px of width, has %3").arg(name).arg(qRound(wide)).arg(qRound(roomWide)));
        if (high > roomHigh + kTolerance && ((!wraps && !elides) || text->clip()))
            found.append(QStringLiteral("clipped: %1 needs %2 px of height, has %3").arg(name).arg(qRound(high)).arg(qRound(roomHigh)));

        const QRectF box = ScreenItems::boxOf(text);
        for (const QQuickItem* up = text->parentItem(); up; up = up->parentItem()) {
            if (ScreenItems::isControl(up) && !scrolls(up)) {
                if (!within(box, ScreenItems::boxOf(up)))
                    found.append(QStringLiteral("clipped: %1 sticks out of %2").arg(name, ScreenItems::describe(up)));
                break;
            }
        }
        for (const QQuickItem* up = text->parentItem(); up; up = up->parentItem()) {
            if (up->clip() && !scrolls(up) && !within(box, ScreenItems::boxOf(up))) {
                found.append(QStringLiteral("clipped: %1 is cut by %2").arg(name, ScreenItems::describe(up)));
                break;
            }
        }
    }
    return found;
}

QStringList LayoutCheck::outside(const ScreenItems& screen)
{
    QStringList found;
    for (const QList<QQuickItem*>& items : {screen.texts(), screen.controls()}) {
        for (const QQuickItem* item : items) {
            if (!within(screen.clippedBox(item), screen.windowRect()))
                found.append(QStringLiteral("outside: %1 reaches past the window (%2)")
                                 .arg(ScreenItems::describe(item), size(screen.windowRect())));
        }
    }
    return found;
}

QStringList LayoutCheck::repeated(const ScreenItems& screen)
{
    QStringList found;
    QHash<QString, const QQuickItem*> first;
    for (const QQuickItem* text : screen.texts()) {
        if (inList(text))
            continue;
        const QString sentence = ScreenItems::displayedText(text).simplified();
        if (const QQuickItem* earlier = first.value(sentence)) {
            found.append(QStringLiteral("repeated: %1 and %2 show the same sentence")
                             .arg(ScreenItems::describe(earlier), ScreenItems::describe(text)));
        } else {
            first.insert(sentence, text);
        }
    }
    return found;
}

QStringList LayoutCheck::markdown(const ScreenItems& screen)
{
    QStringList found;
    for (const QQuickItem* text : screen.texts()) {
        const QStringList markers = MarkdownMarkers::in(ScreenItems::displayedText(text));
        if (!markers.isEmpty())
            found.append(QStringLiteral("markdown: %1 shows %2")
                             .arg(ScreenItems::describe(text), markers.join(QStringLiteral(", "))));
    }
    return found;
}

QStringList LayoutCheck::markup(const ScreenItems& screen)
{
    QStringList found;
    for (const QQuickItem* text : screen.texts()) {
        // A style's caption of a button, and the items of Qt's own documents (a style's
        // controls, the file dialog drawn in Qt Quick): what they read is Qt's to decide.
        if (text->parentItem() && text->parentItem()->inherits("QQuickIconLabel"))
            continue;
        const QQmlContext* context = qmlContext(text);
        if (context && context->baseUrl().path().startsWith(QLatin1String("/qt-project.org/imports/QtQuick")))
            continue;
        if (text->property("textFormat").toInt() != 0 /* Text.PlainText */)
            found.append(QStringLiteral("markup: %1 would read markup from its text").arg(ScreenItems::describe(text)));
    }
    return found;
}

QStringList LayoutCheck::focus(const ScreenItems& screen)
{
    const QQuickItem* focused = screen.window() ? screen.window()->activeFocusItem() : nullptr;
    if (!focused || focused == screen.window()->contentItem() || screen.isShown(focused))
        return {};
    return {QStringLiteral("focus: %1 has the keyboard focus but is %2")
                .arg(ScreenItems::describe(focused), screen.whyHidden(focused))};
}
