#pragma once

#include <QImage>
#include <QQmlApplicationEngine>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

class QQuickItem;
class QQuickWindow;

// Loads a window document with optional stand-ins published under the program's context
// property names, finds its items by objectName or by a button's text, and drives it the
// way a user would: mouse clicks on the window at an item's centre.
class WindowDriver
{
public:
    WindowDriver();
    ~WindowDriver();
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    QQmlApplicationEngine& engine();

    // Publishes an object as a context property; call before load().
    void publish(const QString& name, QObject* object);

    // Loads the document and waits until its window is exposed. False when no window came
    // out of it or it was not exposed within five seconds.
    bool load(const QUrl& url);

    // For documents loaded by someone else through engine(): takes the first root object
    // and waits until its window is exposed.
    bool adopt();

    QQuickWindow* window() const;
    QObject* root() const;

    // The item whose objectName is given, anywhere under the window's content; or null.
    QQuickItem* item(const QString& objectName) const;
    // The same, searched only under the given item (itself included).
    QQuickItem* item(const QString& objectName, QQuickItem* within) const;
    // The first button (any Qt Quick Controls button) whose text is the one given; or null.
    QQuickItem* button(const QString& text) const;

    // True when the item exists and is effectively visible (its parents included).
    bool isShown(const QString& objectName) const;
    // Of the named items, those that are shown, in the order given.
    QStringList shown(const QStringList& objectNames) const;
    // The "text" property of the named item (empty when there is no such item).
    QString text(const QString& objectName) const;

    // A left click at the item's centre. False, without clicking, when the item is null or
    // not shown: a user cannot press what is not there.
    bool click(QQuickItem* item);
    bool clickButton(const QString& text);
    // A click on the shown item with that objectName (false when there is none).
    bool press(const QString& objectName);
    // One key pressed and released on the window: a name QKeySequence knows ("Tab",
    // "Return", "Enter", "Escape", "Down", "Space"). False for a name it does not know.
    bool key(const QString& name);

    // Calls a function declared on the root object.
    QVariant call(const char* function, const QVariantList& arguments = {});

    QImage grab();

private:
    QQmlApplicationEngine m_engine;
    QObject* m_root = nullptr;
};
