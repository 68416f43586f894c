#include "AccessibleCheck.h"

#include "ScreenItems.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSet>

namespace {

QString describe(const QAccessibleInterface* node)
{
    const QObject* object = node->object();
    return QStringLiteral("%1 '%2' \"%3\"")
        .arg(object ? ScreenItems::typeName(object) : QStringLiteral("?"),
             object ? object->objectName() : QString(), node->text(QAccessible::Name).simplified());
}

struct Walk
{
    const ScreenItems& screen;
    QStringList problems;
    QSet<const QObject*> readOut;

    void visit(QAccessibleInterface* node, int depth, bool hidden = false)
    {
        if (!node || depth > 64)
            return;
        const auto* item = qobject_cast<const QQuickItem*>(node->object());
        // A hidden node is in the tree too, marked invisible; some readers still find it.
        static const QRegularExpression hole(
            QStringLiteral(R"(\s[.,;:!?](\s|$)|%\d|\bundefined\b|\bNaN\b|\(\s*\))"));
        if (item && hole.match(node->text(QAccessible::Name)).hasMatch())
            problems.append(QStringLiteral("a11y-hole: %1 has a gap").arg(describe(node)));
        hidden = hidden || node->state().invisible;
        if (item && !hidden) {
            readOut.insert(item);
            const QString name = node->text(QAccessible::Name);
            const QString why = screen.whyHidden(item);
            // A row scrolled out of a list is read out as a screen reader scrolls: only what
            // nobody can see at all counts.
            if (!name.trimmed().isEmpty()
                && (why == QLatin1String("transparent") || why.startsWith(QLatin1String("covered by"))))
                problems.append(QStringLiteral("a11y-hidden: %1 is read out but %2").arg(describe(node), why));
        }
        for (int i = 0; i < node->childCount(); ++i)
            visit(node->child(i), depth + 1, hidden);
    }
};

} // namespace

QStringList AccessibleCheck::problems(QQuickWindow* window)
{
    ScreenItems::settle(window);
    const ScreenItems screen(window);
    Walk walk{screen, {}, {}};
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (!root)
        return {QStringLiteral("a11y-window: the window has no accessibility tree")};
    if (root->text(QAccessible::Name).trimmed().isEmpty())
        walk.problems.append(QStringLiteral("a11y-window: the window has no accessible name"));
    walk.visit(root, 0);

    // The focus: on an item that is read out with a name, or on a part of one (a button's
    // caption inside it).
    // Nothing has it while the focus rests on the window's own content (a Tab takes it to
    // the first control).
    const QQuickItem* focus = window->activeFocusItem();
    const bool onWindow = focus == window->contentItem()
        || focus == window->property("contentItem").value<QQuickItem*>();
    if (focus && !onWindow) {
        const QQuickItem* spoken = focus;
        while (spoken && !walk.readOut.contains(spoken))
            spoken = spoken->parentItem();
        QAccessibleInterface* node =
            spoken ? QAccessible::queryAccessibleInterface(const_cast<QQuickItem*>(spoken)) : nullptr;
        if (!spoken || spoken == window->contentItem())
            walk.problems.append(QStringLiteral("a11y-focus: the focus is on %1 '%2', which is not read out")
                                     .arg(ScreenItems::typeName(focus), focus->objectName()));
        else if (node && node->text(QAccessible::Name).trimmed().isEmpty())
            walk.problems.append(QStringLiteral("a11y-focus: the focus is on %1, which has no name").arg(describe(node)));
    }
    return walk.problems;
}
