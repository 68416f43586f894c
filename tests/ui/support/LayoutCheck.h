#pragma once

#include <QStringList>

class QQuickItem;
class QQuickWindow;
class ScreenItems;

// Reads a shown window's item tree (ScreenItems) and reports every layout problem a person
// would meet on the screen as it is, one readable line each, starting with its kind:
//   overlap:  two shown texts overlap (only their shown parts count: what a clipping list
//             or scroll area or an opaque item over them hides is left out)
//   clipped:  a shown text is elided, needs more width than it has, more height while it
//             neither wraps nor elides (or while clipping itself), sticks out of the control
//             it belongs to, or is cut by a clipping item that is not a scrolling one
//   outside:  a shown text or control reaches past the window's edges
//   repeated: the same non-empty sentence is shown by two texts at once (the rows of a list,
//             which show data, are left out)
//   markdown: a shown text displays Markdown markers (MarkdownMarkers)
//   markup:   a shown text would read markup (rich text, HTML, Markdown) from what it shows;
//             (the items of Qt's own documents, the style's and its file dialog's, are left out)
//   focus:    the item with the keyboard focus is not shown
// It changes nothing in the window; it waits only for layouts already due (ScreenItems::settle).
class LayoutCheck
{
public:
    static QStringList problems(QQuickWindow* window);
    static QStringList problems(const ScreenItems& screen);

private:
    static QStringList overlaps(const ScreenItems& screen);
    static QStringList clipped(const ScreenItems& screen);
    static QStringList outside(const ScreenItems& screen);
    static QStringList repeated(const ScreenItems& screen);
    static QStringList markdown(const ScreenItems& screen);
    static QStringList markup(const ScreenItems& screen);
    static QStringList focus(const ScreenItems& screen);
};
