#include "KeyboardCheck.h"

#include "ScreenItems.h"

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

// The popup (a dialog, a menu) that holds the focus: Tab stays within it. Null when none does.
QQuickItem* focusedPopup(QQuickWindow* window)
{
    for (QQuickItem* up = window->activeFocusItem(); up; up = up->parentItem()) {
        if (up->inherits("QQuickPopupItem"))
            return up;
    }
    return nullptr;
}

// The focus is on the item or inside it (a list is reached through its rows).
bool reached(const QList<QQuickItem*>& round, const QQuickItem* stop)
{
    return std::any_of(round.begin(), round.end(),
                       [stop](const QQuickItem* item) { return item == stop || stop->isAncestorOf(item); });
}

void collect(QQuickItem* item, const ScreenItems& screen, QList<QQuickItem*>& stops)
{
    if (ScreenItems::takesTab(item) && screen.isShown(item))
        stops.append(item);
    const auto children = item->childItems();
    for (QQuickItem* child : children)
        collect(child, screen, stops);
}

QString named(const QObject* object)
{
    if (const auto* item = qobject_cast<const QQuickItem*>(object))
        return ScreenItems::describe(item);
    return QStringLiteral("%1 '%2'").arg(ScreenItems::typeName(object), object->objectName());
}

bool shown(QQuickWindow* window, QObject* object)
{
    if (auto* item = qobject_cast<QQuickItem*>(object))
        return ScreenItems(window).isShown(item);
    return object->property("visible").toBool();
}

int countTakingTab(const QQuickItem* item)
{
    int count = ScreenItems::takesTab(item) ? 1 : 0;
    const auto children = item->childItems();
    for (const QQuickItem* child : children)
        count += countTakingTab(child);
    return count;
}

// Why Tab should not have stopped at the item.
QString wrongStop(const ScreenItems& screen, const QQuickItem* item)
{
    if (!screen.isShown(item))
        return screen.whyHidden(item);
    if (!item->isEnabled())
        return QStringLiteral("disabled");
    return QStringLiteral("not meant to take the focus");
}

} // namespace

QList<QQuickItem*> KeyboardCheck::tabStops(const ScreenItems& screen)
{
    QList<QQuickItem*> stops;
    if (QQuickItem* content = screen.window() ? screen.window()->contentItem() : nullptr) {
        QQuickItem* popup = focusedPopup(screen.window());
        collect(popup ? popup : content, screen, stops);
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [&screen](const QQuickItem* a, const QQuickItem* b) { return readsBefore(screen, a, b); });
    return stops;
}

bool KeyboardCheck::readsBefore(const ScreenItems& screen, const QQuickItem* a, const QQuickItem* b)
{
    const QRectF first = screen.shownRect(a);
    const QRectF second = screen.shownRect(b);
    // Controls of one row may differ in height: their middles line up.
    if (qAbs(first.center().y() - second.center().y()) > kRowTolerance)
        return first.center().y() < second.center().y();
    return first.left() < second.left() - kRowTolerance;
}

QStringList KeyboardCheck::tabOrder(QQuickWindow* window)
{
    if (!window)
        return {QStringLiteral("tab: no window")};
    ScreenItems::settle(window);
    const ScreenItems screen(window);
    const QList<QQuickItem*> stops = tabStops(screen);
    // Watched too: a list may drop the row that had the focus while Tab goes round.
    const QPointer<QQuickItem> initial = window->activeFocusItem();
    // A list may drop rows it scrolls past: only the items still there are judged.
    const QList<QPointer<QQuickItem>> watched(stops.begin(), stops.end());
    QStringList found;
    const QList<QQuickItem*> round = tabRound(window, stops, found);
    QList<QQuickItem*> reading;
    for (QQuickItem* item : round) {
        if (stops.contains(item))
            reading.append(item);
    }
    for (const QPointer<QQuickItem>& stop : watched) {
        if (stop && !reached(round, stop))
            found.append(QStringLiteral("tab: Tab never reaches %1").arg(ScreenItems::describe(stop)));
    }
    // From no stop, the first Tab goes to the first in reading order.
    if (!stops.isEmpty() && !stops.contains(initial.data()) && !round.isEmpty() && round.first() != stops.first()
        && watched.first())
        found.append(QStringLiteral("tab: the first Tab goes to %1, not to %2, the first in reading order")
                         .arg(ScreenItems::describe(round.first()), ScreenItems::describe(stops.first())));
    // In a round that follows reading order, the one step back is from the last to the first.
    const auto before = [&screen](const QQuickItem* a, const QQuickItem* b) { return readsBefore(screen, a, b); };
    const QQuickItem* first = reading.isEmpty() ? nullptr : *std::min_element(reading.begin(), reading.end(), before);
    const QQuickItem* last = reading.isEmpty() ? nullptr : *std::max_element(reading.begin(), reading.end(), before);
    for (int i = 0; i < reading.size() && reading.size() > 1; ++i) {
        const QQuickItem* from = reading.at(i);
        const QQuickItem* to = reading.at((i + 1) % reading.size());
        if (!before(from, to) && !(from == last && to == first))
            found.append(QStringLiteral("tab: Tab goes from %1 to %2, against reading order")
                             .arg(ScreenItems::describe(from), ScreenItems::describe(to)));
    }
    // The focus goes back where it was; where it was on no item, the item Tab gave it lets go.
    if (initial && initial != window->contentItem())
        initial->forceActiveFocus(Qt::OtherFocusReason);
    for (int up = 0; up < 8 && window->activeFocusItem() != initial.data() && window->activeFocusItem(); ++up)
        window->activeFocusItem()->setFocus(false);
    return found;
}

QList<QQuickItem*> KeyboardCheck::tabRound(QQuickWindow* window, const QList<QQuickItem*>& stops, QStringList& found)
{
    QList<QPointer<QQuickItem>> round;
    bool closed = false;
    // Enough presses for every item that could take the focus (rows a list scrolls into view
    // among them), and two more.
    const int presses = countTakingTab(window->contentItem()) + 2;
    for (int press = 0; press < presses && !closed; ++press) {
        QTest::keyClick(window, Qt::Key_Tab);
        QQuickItem* now = window->activeFocusItem();
        // The window itself (its root, or an ApplicationWindow's content item): no control.
        if (!now || now == window->contentItem() || now->inherits("QQuickContentItem")) {
            if (!stops.isEmpty())
                found.append(QStringLiteral("tab: Tab leaves the focus on no item"));
            closed = true;
        } else if (!round.isEmpty() && now == round.first()) {
            closed = true;
        } else if (round.contains(now)) {
            found.append(QStringLiteral("tab: Tab comes to %1 twice in one round").arg(ScreenItems::describe(now)));
            closed = true;
        } else {
            round.append(now);
            // Judged as it is then: a list scrolls the row that takes the focus into view.
            if (!stops.contains(now)) {
                // A list (the file dialog's, as its folder is read) may drop the row meanwhile.
                const QPointer<QQuickItem> stop = now;
                ScreenItems::settle(window);
                if (!stop)
                    continue;
                const ScreenItems then(window);
                if (!ScreenItems::takesTab(now) || !then.isShown(now))
                    found.append(QStringLiteral("tab: Tab stops at %1, which is %2")
                                     .arg(ScreenItems::describe(now), wrongStop(then, now)));
            }
        }
    }
    if (!closed && !round.isEmpty() && round.first())
        found.append(QStringLiteral("tab: the focus does not come back to %1 after %2 presses of Tab")
                         .arg(ScreenItems::describe(round.first()))
                         .arg(presses));
    QList<QQuickItem*> alive;
    for (const QPointer<QQuickItem>& item : std::as_const(round)) {
        if (item)
            alive.append(item);
    }
    return alive;
}

bool KeyboardCheck::tabTo(QQuickWindow* window, const QQuickItem* control, int presses)
{
    for (int press = 0; press < presses && window->activeFocusItem() != control; ++press)
        QTest::keyClick(window, Qt::Key_Tab);
    return window->activeFocusItem() == control;
}

QString KeyboardCheck::activates(QQuickWindow* window, QQuickItem* control, Qt::Key key)
{
    ScreenItems::settle(window);
    const ScreenItems screen(window);
    if (!screen.isShown(control))
        return QStringLiteral("keys: %1 is %2").arg(ScreenItems::describe(control), screen.whyHidden(control));
    if (!tabTo(window, control, int(tabStops(screen).size()) + 2))
        return QStringLiteral("keys: Tab never reaches %1").arg(ScreenItems::describe(control));
    QSignalSpy clicked(control, SIGNAL(clicked()));
    if (!clicked.isValid())
        return QStringLiteral("keys: %1 has no clicked signal").arg(ScreenItems::describe(control));
    const QString name = ScreenItems::describe(control);
    QTest::keyClick(window, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    if (clicked.count() != 1)
        return QStringLiteral("keys: %1 on %2: clicked %3 times")
            .arg(key == Qt::Key_Enter ? QStringLiteral("Enter") : QStringLiteral("Return"), name)
            .arg(clicked.count());
    return {};
}

QString KeyboardCheck::escapeLeaves(QQuickWindow* window, QObject* page, QQuickItem* back)
{
    ScreenItems::settle(window);
    if (!page || !shown(window, page))
        return QStringLiteral("escape: %1 is not shown").arg(page ? named(page) : QStringLiteral("the page"));
    const QString name = named(page);
    QTest::keyClick(window, Qt::Key_Escape);
    ScreenItems::settle(window);
    if (shown(window, page))
        return QStringLiteral("escape: Escape leaves %1 on the screen").arg(name);
    const ScreenItems after(window);
    if (back && !after.isShown(back))
        return QStringLiteral("escape: Escape closes %1, but %2 is %3 afterwards")
            .arg(name, ScreenItems::describe(back), after.whyHidden(back));
    return {};
}
