#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

class QObject;
class QQuickItem;
class QQuickWindow;
class ScreenItems;

// The keyboard as a person uses it on a shown window, with readable report lines (starting
// with "tab:", "keys:" or "escape:"):
//   tabOrder     Tab pressed from the window's present focus until the focus comes back
//                where the round began: every stop is shown, enabled and reached by Tab
//                (ScreenItems::takesTab; a list's row that the list scrolls into view counts
//                as shown); each shown one is reached (a list also through one of its rows),
//                once a round (while a popup such as a dialog holds the focus, only its
//                own); the stops follow reading order (top to bottom, then left to right,
//                items whose middles lie within kRowTolerance pixels counting as one row).
//                The focus is put back afterwards.
//   activates    Tab to the control, then Enter (keypad) or Return: its clicked signal is
//                emitted once. What the click does happens: the screen may change.
//   escapeLeaves Escape on a page or dialog that is shown: it is gone afterwards and the
//                screen it was opened from is shown again.
// Key presses are delivered at once; nothing here waits.
class KeyboardCheck
{
public:
    static constexpr qreal kRowTolerance = 4.0;

    static QStringList tabOrder(QQuickWindow* window);
    // Empty when the key presses the control; else why not.
    static QString activates(QQuickWindow* window, QQuickItem* control, Qt::Key key);
    // page: an item, or a dialog object with a "visible" property; back: the item that shows
    // the screen before it. Empty when Escape went back; else why not.
    static QString escapeLeaves(QQuickWindow* window, QObject* page, QQuickItem* back);

    // The shown items that Tab should reach, in reading order.
    static QList<QQuickItem*> tabStops(const ScreenItems& screen);
    // True when a comes before b in reading order (by their shown parts).
    static bool readsBefore(const ScreenItems& screen, const QQuickItem* a, const QQuickItem* b);

private:
    // Tab pressed until the focus comes back to the first item it reached: those items, in
    // order (those still there at the end); what went wrong on the way is added to found.
    static QList<QQuickItem*> tabRound(QQuickWindow* window, const QList<QQuickItem*>& stops, QStringList& found);
    // Tab until the control has the focus; false when it never does.
    static bool tabTo(QQuickWindow* window, const QQuickItem* control, int presses);
};
