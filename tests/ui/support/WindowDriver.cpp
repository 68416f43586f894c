#include "WindowDriver.h"

#include "QuickItemSearch.h"

#include <QKeySequence>
#include <QMetaObject>
#include <functional>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>


WindowDriver::WindowDriver() = default;

WindowDriver::~WindowDriver() = default;

QQmlApplicationEngine& WindowDriver::engine()
{
    return m_engine;
}

void WindowDriver::publish(const QString& name, QObject* object)
{
    m_engine.rootContext()->setContextProperty(name, object);
}

bool WindowDriver::load(const QUrl& url)
{
    m_engine.load(url);
    return adopt();
}

bool WindowDriver::adopt()
{
    const auto roots = m_engine.rootObjects();
    if (roots.isEmpty())
        return false;
    m_root = roots.constFirst();
    QQuickWindow* quickWindow = window();
    if (!quickWindow)
        return false;
    quickWindow->show();
    return QTest::qWaitForWindowExposed(quickWindow, 5000);
}

QQuickWindow* WindowDriver::window() const
{
    return qobject_cast<QQuickWindow*>(m_root);
}

QObject* WindowDriver::root() const
{
    return m_root;
}

QQuickItem* WindowDriver::item(const QString& objectName) const
{
    if (!window())
        return nullptr;
    return QuickItemSearch::byObjectName(window()->contentItem(), objectName);
}

QQuickItem* WindowDriver::item(const QString& objectName, QQuickItem* within) const
{
    return QuickItemSearch::byObjectName(within, objectName);
}

QQuickItem* WindowDriver::button(const QString& text) const
{
    if (!window())
        return nullptr;
    return QuickItemSearch::buttonWithText(window()->contentItem(), text);
}

bool WindowDriver::isShown(const QString& objectName) const
{
    const QQuickItem* found = item(objectName);
    return found && found->isVisible();
}

QStringList WindowDriver::shown(const QStringList& objectNames) const
{
    QStringList result;
    for (const QString& name : objectNames) {
        if (isShown(name))
            result.append(name);
    }
    return result;
}

QString WindowDriver::text(const QString& objectName) const
{
    const QQuickItem* found = item(objectName);
    return found ? found->property("text").toString() : QString();
}

bool WindowDriver::click(QQuickItem* target)
{
    if (!target || !target->isVisible() || !window())
        return false;
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}

bool WindowDriver::clickButton(const QString& text)
{
    return click(button(text));
}

bool WindowDriver::press(const QString& objectName)
{
    return click(item(objectName));
}

bool WindowDriver::key(const QString& name)
{
    const QKeySequence sequence = QKeySequence::fromString(name);
    if (!window() || sequence.count() != 1)
        return false;
    const QKeyCombination combination = sequence[0];
    if (combination.key() == Qt::Key_unknown || int(combination.key()) == 0)
        return false;
    // The keypad's Enter, as a keyboard sends it.
    const Qt::KeyboardModifiers modifiers =
        combination.key() == Qt::Key_Enter ? Qt::KeypadModifier : combination.keyboardModifiers();
    QTest::keyClick(window(), combination.key(), modifiers);
    return true;
}

QVariant WindowDriver::call(const char* function, const QVariantList& arguments)
{
    QVariant result;
    if (!m_root)
        return result;
    QVariant a[3];
    for (int i = 0; i < arguments.size() && i < 3; ++i)
        a[i] = arguments.at(i);
    bool invoked = false;
    switch (arguments.size()) {
    case 0:
        invoked = QMetaObject::invokeMethod(m_root, function, Q_RETURN_ARG(QVariant, result));
        break;
    case 1:
        invoked = QMetaObject::invokeMethod(m_root, function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a[0]));
        break;
    case 2:
        invoked = QMetaObject::invokeMethod(m_root, function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a[0]),
                                            Q_ARG(QVariant, a[1]));
        break;
    default:
        invoked = QMetaObject::invokeMethod(m_root, function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a[0]),
                                            Q_ARG(QVariant, a[1]), Q_ARG(QVariant, a[2]));
        break;
    }
    if (!invoked)
        qWarning("WindowDriver: the window has no function %s taking %d arguments", function, int(arguments.size()));
    return result;
}

QImage WindowDriver::grab()
{
    return window() ? window()->grabWindow() : QImage();
}
