#include "ScreenItems.h"

#include <QColor>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTextDocument>
#include <QtQuickTest/quicktest.h>

#include <algorithm>

namespace {

// Less than half a pixel is rounding, not a fault.
constexpr qreal kSlack = 0.5;

bool hasArea(const QRectF& rect)
{
    return rect.width() > kSlack && rect.height() > kSlack;
}

// Placed as its alignment places content of this length in room of that length.
qreal aligned(int alignment, int start, int end, qreal room, qreal content)
{
    if (alignment & end)
        return room - content;
    if (alignment & start)
        return 0;
    return (room - content) / 2;
}

} // namespace

ScreenItems::ScreenItems(QQuickWindow* window) : m_window(window)
{
    if (!window || !window->contentItem())
        return;
    // The clip starts unbounded: the window's edges are taken where the shown part is asked for.
    walk(window->contentItem(), true, QRectF(-1e9, -1e9, 2e9, 2e9));
    QList<QQuickItem*> texts = m_texts;
    QList<QQuickItem*> controls = m_controls;
    m_texts.clear();
    m_controls.clear();
    for (QQuickItem* text : texts) {
        if (isShown(text))
            m_texts.append(text);
    }
    for (QQuickItem* control : controls) {
        if (isShown(control))
            m_controls.append(control);
    }
}

void ScreenItems::settle(QQuickWindow* window)
{
    if (window && QQuickTest::qIsPolishScheduled(window))
        QQuickTest::qWaitForPolish(window, 1000);
}

QRectF ScreenItems::windowRect() const
{
    return m_window ? QRectF(0, 0, m_window->width(), m_window->height()) : QRectF();
}

void ScreenItems::walk(QQuickItem* item, bool visible, const QRectF& clip)
{
    visible = visible && item->isVisible() && item->opacity() > 0;
    QList<QQuickItem*> children = item->childItems();
    std::stable_sort(children.begin(), children.end(),
                     [](const QQuickItem* a, const QQuickItem* b) { return a->z() < b->z(); });
    const QRectF childClip = item->clip() ? clip & boxOf(item) : clip;
    auto below = children.begin();
    for (; below != children.end() && (*below)->z() < 0; ++below)
        walk(*below, visible, childClip);

    m_facts.insert(item, Facts{m_painted++, visible, clip});
    if (visible && item->inherits("QQuickRectangle") && hasArea(boxOf(item))) {
        qreal opacity = 1;
        for (const QQuickItem* up = item; up; up = up->parentItem())
            opacity *= up->opacity();
        if (opacity > 0.999 && item->property("color").value<QColor>().alpha() == 255)
            m_opaque.append(item);
    }
    if (visible && isText(item) && !displayedText(item).isEmpty())
        m_texts.append(item);
    if (visible && isControl(item))
        m_controls.append(item);

    for (auto above = below; above != children.end(); ++above)
        walk(*above, visible, childClip);
}

QRectF ScreenItems::uncovered(const QQuickItem* item, QRectF part, const QQuickItem** cover) const
{
    const int index = m_facts.value(item).paintIndex;
    for (const QQuickItem* opaque : m_opaque) {
        const Facts facts = m_facts.value(opaque);
        if (facts.paintIndex <= index || item->isAncestorOf(opaque) || !hasArea(part))
            continue;
        const QRectF over = boxOf(opaque) & facts.clip;
        if (!over.intersects(part))
            continue;
        if (over.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(part)) {
            if (cover)
                *cover = opaque;
            return {};
        }
        // A cover across the whole width (or height) leaves a rectangle: take it away.
        if (over.left() <= part.left() + kSlack && over.right() >= part.right() - kSlack) {
            if (over.top() <= part.top())
                part.setTop(over.bottom());
            else if (over.bottom() >= part.bottom())
                part.setBottom(over.top());
        } else if (over.top() <= part.top() + kSlack && over.bottom() >= part.bottom() - kSlack) {
            if (over.left() <= part.left())
                part.setLeft(over.right());
            else if (over.right() >= part.right())
                part.setRight(over.left());
        }
    }
    return hasArea(part) ? part : QRectF();
}

bool ScreenItems::isShown(const QQuickItem* item) const
{
    return hasArea(shownRect(item));
}

QRectF ScreenItems::shownRect(const QQuickItem* item) const
{
    const auto found = m_facts.constFind(item);
    if (found == m_facts.constEnd() || !found->visible)
        return {};
    return uncovered(item, boxOf(item) & found->clip & windowRect(), nullptr);
}

QRectF ScreenItems::clippedBox(const QQuickItem* item) const
{
    const auto found = m_facts.constFind(item);
    return found == m_facts.constEnd() ? QRectF() : boxOf(item) & found->clip;
}

const QQuickItem* ScreenItems::coveredBy(const QQuickItem* item) const
{
    const auto found = m_facts.constFind(item);
    if (found == m_facts.constEnd())
        return nullptr;
    const QQuickItem* cover = nullptr;
    uncovered(item, boxOf(item) & found->clip & windowRect(), &cover);
    return cover;
}

QString ScreenItems::whyHidden(const QQuickItem* item) const
{
    const auto found = m_facts.constFind(item);
    if (found == m_facts.constEnd())
        return QStringLiteral("not in the window");
    if (isShown(item))
        return {};
    for (const QQuickItem* up = item; up; up = up->parentItem()) {
        if (!up->isVisible())
            return QStringLiteral("invisible");
        if (up->opacity() <= 0)
            return QStringLiteral("transparent");
    }
    if (const QQuickItem* cover = coveredBy(item))
        return QStringLiteral("covered by ") + describe(cover);
    if (!windowRect().intersects(boxOf(item)))
        return QStringLiteral("outside the window");
    return QStringLiteral("clipped away");
}

bool ScreenItems::takesTab(const QQuickItem* item)
{
    if (!item->isEnabled())
        return false;
    if (item->activeFocusOnTab())
        return true;
    return item->inherits("QQuickItemView") && item->property("keyNavigationEnabled").toBool()
           && item->property("count").toInt() > 0;
}

bool ScreenItems::isText(const QQuickItem* item)
{
    return item->inherits("QQuickText");
}

bool ScreenItems::isControl(const QQuickItem* item)
{
    return item->inherits("QQuickControl");
}

QString ScreenItems::displayedText(const QQuickItem* text)
{
    const QString source = text->property("text").toString();
    enum { Plain = 0, Rich = 1, Auto = 2, Markdown = 3, Styled = 4 };
    int format = text->property("textFormat").toInt();
    if (format == Auto)
        format = Qt::mightBeRichText(source) ? Styled : Plain;
    if (format == Plain)
        return source;
    // The document the item lays out and draws, where it has one: what is on the screen,
    // even where the item reads its source otherwise than its format says.
    if (const auto* drawn = text->findChild<QTextDocument*>(QString(), Qt::FindDirectChildrenOnly))
        return drawn->toPlainText();
    QTextDocument document;
    if (format == Markdown)
        document.setMarkdown(source);
    else
        document.setHtml(source);
    return document.toPlainText();
}

QRectF ScreenItems::boxOf(const QQuickItem* item)
{
    QRectF local(0, 0, item->width(), item->height());
    if (isText(item)) {
        const qreal left = item->property("leftPadding").toReal();
        const qreal right = item->property("rightPadding").toReal();
        const qreal top = item->property("topPadding").toReal();
        const qreal bottom = item->property("bottomPadding").toReal();
        const qreal width = item->property("contentWidth").toReal();
        const qreal height = item->property("contentHeight").toReal();
        const int horizontal = item->property("effectiveHorizontalAlignment").toInt();
        const int vertical = item->property("verticalAlignment").toInt();
        local = QRectF(left + aligned(horizontal, Qt::AlignLeft | Qt::AlignJustify, Qt::AlignRight,
                                      item->width() - left - right, width),
                       top + aligned(vertical, Qt::AlignTop, Qt::AlignBottom, item->height() - top - bottom, height),
                       width, height);
    }
    return item->mapRectToScene(local);
}

QString ScreenItems::typeName(const QObject* object)
{
    static const QRegularExpression generated(QStringLiteral("_QML(TYPE)?_\\d+$"));
    QString name = QString::fromLatin1(object->metaObject()->className()).remove(generated);
    if (name.startsWith(QLatin1String("QQuick")))
        name.remove(0, 6);
    return name;
}

QString ScreenItems::describe(const QQuickItem* item)
{
    QString line = typeName(item);
    if (!item->objectName().isEmpty())
        line += QStringLiteral(" '%1'").arg(item->objectName());
    // An item without a name is found by the nearest named one around it.
    const QQuickItem* named = item->parentItem();
    while (item->objectName().isEmpty() && named && named->objectName().isEmpty())
        named = named->parentItem();
    if (item->objectName().isEmpty() && named)
        line += QStringLiteral(" in '%1'").arg(named->objectName());
    QString text = (isText(item) ? displayedText(item) : item->property("text").toString()).simplified();
    if (text.size() > 48)
        text = text.left(45) + QStringLiteral("...");
    if (!text.isEmpty())
        line += QStringLiteral(" \"%1\"").arg(text);
    const QRect box = boxOf(item).toAlignedRect();
    return line + QStringLiteral(" (%1,%2 %3x%4)").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
}
