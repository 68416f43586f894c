// The main window's dialogs wait for their first use: none of the menu, dialog or notice of
// "Save support file…" is made before it is asked for, and a right click or Ctrl+Shift+S still
// offers it as before; the choices page's update file dialog is made when it is first opened.

#include "MainWindowFixture.h"
#include "SupportFile.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml>

#include <memory>

class SupportActionTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    QObject* find(const char* objectName) const
    {
        return f->driver.root()->findChild<QObject*>(QString::fromLatin1(objectName));
    }

    QPoint centre() const
    {
        return QPoint(f->driver.window()->width() / 2, f->driver.window()->height() / 2);
    }

private slots:
    void initTestCase()
    {
        // What the full edition's wiring registers before its window is loaded.
        qmlRegisterType<SupportFile>("Tavlo_Support", 1, 0, "SupportFile");
    }

    void init()
    {
        f = std::make_unique<MainWindowFixture>();
        QVERIFY(f->load());
    }

    void cleanup()
    {
        const QStringList warnings = f->messages.warnings();
        f.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    void nothingIsMadeBeforeItIsAskedFor()
    {
        QVERIFY(!find("saveSupportFileItem"));
        QVERIFY(!find("supportFileDialog"));
    }

    void updateFileDialogIsMadeWhenFirstOpened()
    {
        QVERIFY(!find("updateFileDialog"));
        QQuickItem* page = f->driver.item(QStringLiteral("choicesPage"));
        QVERIFY(page);
        QVERIFY(QMetaObject::invokeMethod(page, "openFileDialog"));
        QObject* dialog = find("updateFileDialog");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("visible").toBool());
        QCOMPARE(dialog->property("title").toString(), QStringLiteral("Choose an update file"));
        QMetaObject::invokeMethod(dialog, "reject");
        // Opened again, it is the same dialog.
        QVERIFY(QMetaObject::invokeMethod(page, "openFileDialog"));
        QCOMPARE(find("updateFileDialog"), dialog);
        QMetaObject::invokeMethod(dialog, "reject");
    }

    void rightClickOffersTheItemThatOpensTheDialog()
    {
        QTest::mouseClick(f->driver.window(), Qt::RightButton, Qt::NoModifier, centre());
        auto* item = qobject_cast<QQuickItem*>(find("saveSupportFileItem"));
        QVERIFY(item);
        QTRY_VERIFY(item->isVisible());
        QCOMPARE(item->property("text").toString(), QStringLiteral("Save support file…"));
        QVERIFY(f->driver.click(item));
        QObject* dialog = find("supportFileDialog");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("visible").toBool());
        QVERIFY(dialog->property("selectedFile").toUrl().fileName().startsWith(QStringLiteral("tavlo-support-")));
        QMetaObject::invokeMethod(dialog, "reject");
    }

    void shortcutOpensTheDialog()
    {
        QTest::keyClick(f->driver.window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QObject* dialog = find("supportFileDialog");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("visible").toBool());
        QCOMPARE(dialog->property("title").toString(), QStringLiteral("Save support file"));
        QMetaObject::invokeMethod(dialog, "reject");
    }
};

QTEST_MAIN(SupportActionTest)
#include "tst_ui_support_action.moc"
