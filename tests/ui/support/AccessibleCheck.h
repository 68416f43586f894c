#pragma once

#include <QStringList>

class QQuickWindow;

// Reads a shown window as a screen reader does, through the accessibility tree, and reports
// every problem a person who listens to it would meet, one readable line each, starting with
// its kind:
//   a11y-window: the window has no accessible name
//   a11y-hidden: a node is read out (not marked invisible) while its item is not on the
//                screen: transparent, or covered by an opaque item (a page over a screen)
//   a11y-hole:   a node's name has a gap where a value was to be filled in ("install .",
//                "%1", "undefined"), also while the node is hidden
//   a11y-focus:  the item with the keyboard focus is not read out, or has no name
// It changes nothing in the window.
class AccessibleCheck
{
public:
    static QStringList problems(QQuickWindow* window);
};
