// The main window's dialogs wait for their first use: none of the menu, dialog or notice of
// "Save support file…" is made before it is asked for, and a right click or Ctrl+Shift+S still
// offers it as before; the choices page's update file dialog is made when it is first opened.

#include "LayoutCheck.h"
#include "MainWindowFixture.h"
#include "Startup.h"
#include "SupportFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QQuickWindow>
#include <QTest>
#include <QTranslator>
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

    QObject* openedDialog()
    {
        QTest::keyClick(f->driver.window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QObject* dialog = find("supportFileDialog");
        QDeadlineTimer deadline(5000);
        while (dialog && !dialog->property("visible").toBool() && !deadline.hasExpired())
            QTest::qWait(10);
        return dialog && dialog->property("visible").toBool() ? dialog : nullptr;
    }

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    // The menu shows its whole caption in either language.
    void menuShowsItsWholeCaption_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
    }

    void menuShowsItsWholeCaption()
    {
        QFETCH(QString, language);
        QTranslator german;
        if (language == QLatin1String("de")) {
            QVERIFY(Startup::installTranslation(german, QLocale(QStringLiteral("de_DE"))));
            f.reset(); // one message recorder at a time
            f = std::make_unique<MainWindowFixture>(); // loaded in German
            QVERIFY(f->load());
        }
        QTest::mouseClick(f->driver.window(), Qt::RightButton, Qt::NoModifier, centre());
        auto* item = qobject_cast<QQuickItem*>(find("saveSupportFileItem"));
        QVERIFY(item);
        QObject* menu = find("supportFileMenu");
        QVERIFY(menu);
        QTRY_VERIFY(menu->property("opened").toBool());
        QStringList clipped;
        for (const QString& problem : LayoutCheck::problems(f->driver.window())) {
            if (problem.contains(QLatin1String("saveSupportFileItem")) || problem.contains(item->property("text").toString()))
                clipped << problem;
        }
        QCoreApplication::removeTranslator(&german);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
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

    // The dialog opens in a folder that is there (the documents folder, else the home
    // folder) and says what it does.
    void dialogStartsWhereAFolderIs()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        QObject* dialog = openedDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->property("currentFolder").toUrl().toLocalFile(), home.path());
        QCOMPARE(dialog->property("acceptLabel").toString(), QStringLiteral("Save"));
        QMetaObject::invokeMethod(dialog, "reject");

        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
        QCOMPARE(openedDialog()->property("currentFolder").toUrl().toLocalFile(), home.path() + "/Documents");
        QMetaObject::invokeMethod(dialog, "reject");
        qputenv("HOME", oldHome);
    }

    // A file that is there already is replaced only after the user says so.
    void anExistingFileIsReplacedOnlyWhenAsked_data()
    {
        QTest::addColumn<QString>("answer"); // the button pressed on the question
        QTest::addColumn<bool>("replaced");
        QTest::newRow("kept") << "keepSupportFileButton" << false;
        QTest::newRow("replaced") << "replaceSupportFileButton" << true;
    }

    void anExistingFileIsReplacedOnlyWhenAsked()
    {
        QFETCH(QString, answer);
        QFETCH(bool, replaced);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("notes of mine.txt"));
        QFile mine(path);
        QVERIFY(mine.open(QIODevice::WriteOnly) && mine.write("mine") == 4);
        mine.close();

        QObject* dialog = openedDialog();
        QVERIFY(dialog);
        QMetaObject::invokeMethod(dialog, "reject");
        // As the dialog hands on the file chosen in it.
        QVERIFY(QMetaObject::invokeMethod(find("supportFileParts"), "chosen",
                                          Q_ARG(QVariant, QUrl::fromLocalFile(path).toString())));
        QObject* question = find("replaceSupportFileDialog");
        QVERIFY(question);
        QTRY_VERIFY(question->property("opened").toBool());
        QCOMPARE(find("replaceSupportFileText")->property("text").toString(),
                 QString::fromUtf8("A file named \u201cnotes of mine.txt\u201d is already there. Replace it?"));
        QCOMPARE(readAll(path), QByteArray("mine"));

        QVERIFY(f->driver.click(qobject_cast<QQuickItem*>(find(answer.toLatin1().constData()))));
        QTRY_VERIFY(!question->property("visible").toBool());
        QCOMPARE(readAll(path) != "mine", replaced);
        if (replaced)
            QVERIFY(readAll(path).contains("Tavlo"));
    }
};

QTEST_MAIN(SupportActionTest)
#include "tst_ui_support_action.moc"
