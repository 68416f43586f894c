#pragma once

#include <QHash>
#include <QList>
#include <QRectF>
#include <QString>

class QQuickItem;
class QQuickWindow;

// What a person sees of a shown QQuickWindow, read once from its item tree: the items in
// the order they are painted, and for each the part of it that is on screen. An item is
// shown when it and all its ancestors are visible with an opacity above 0, and some part of
// it is left after the clipping ancestors, the window's edges and the opaque items painted
// over it (Rectangles of an opaque colour at full opacity) have taken theirs. For a text
// the part is that of its painted lines (its content box placed by its alignment), which may
// be larger than the item itself.
class ScreenItems
{
public:
    explicit ScreenItems(QQuickWindow* window);

    // Lets the layouts that are due (Column, Row and the like place their items before the
    // next frame) run, so that the tree reads as the next frame shows it. Returns at once
    // when none is due.
    static void settle(QQuickWindow* window);

    QQuickWindow* window() const { return m_window; }
    QRectF windowRect() const;

    // The Text items (Label included) that are shown and hold a non-empty text, and the
    // Qt Quick Controls that are shown, in painting order.
    const QList<QQuickItem*>& texts() const { return m_texts; }
    const QList<QQuickItem*>& controls() const { return m_controls; }

    // True when some part of the item is seen (see above).
    bool isShown(const QQuickItem* item) const;
    // The seen part in scene coordinates; empty when none.
    QRectF shownRect(const QQuickItem* item) const;
    // The part left by the clipping ancestors alone, which may reach past the window's edges.
    QRectF clippedBox(const QQuickItem* item) const;
    // The item's box (for a text: its painted lines) in scene coordinates, before any
    // clipping.
    static QRectF boxOf(const QQuickItem* item);
    // The opaque item painted over the whole of it, or null.
    const QQuickItem* coveredBy(const QQuickItem* item) const;
    // Why the item is not shown, in a few words ("invisible", "transparent", "covered by
    // ...", "clipped away", "outside the window"); empty when it is shown.
    QString whyHidden(const QQuickItem* item) const;

    // A person reaches it with Tab: enabled, and either focusable by Tab or a list that is
    // moved through with the arrow keys.
    static bool takesTab(const QQuickItem* item);
    static bool isText(const QQuickItem* item);
    static bool isControl(const QQuickItem* item);
    // The text as displayed: the item's text, or for Markdown and rich text the plain text
    // of the document the item draws.
    static QString displayedText(const QQuickItem* text);
    // The QML type's name (or the class's, without "QQuick").
    static QString typeName(const QObject* object);
    // "Class 'objectName' "text" (x,y wxh)": the item as a report line names it (an item
    // without a name: "Class in 'name of the nearest named item around it' ...").
    static QString describe(const QQuickItem* item);

private:
    struct Facts
    {
        int paintIndex = 0;
        bool visible = false;
        QRectF clip;  // what the clipping ancestors leave, in scene coordinates
    };

    void walk(QQuickItem* item, bool visible, const QRectF& clip);
    QRectF uncovered(const QQuickItem* item, QRectF part, const QQuickItem** cover) const;

    QQuickWindow* m_window;
    int m_painted = 0;
    QHash<const QQuickItem*, Facts> m_facts;
    QList<QQuickItem*> m_opaque;  // in painting order
    QList<QQuickItem*> m_texts;
    QList<QQuickItem*> m_controls;
};
