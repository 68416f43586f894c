// The meta-object interfaces of MidiHandler, Downloader, FileManager and MainController, in
// declaration order, as the window and the connections see them. Built once per edition,
// each build against its own expectation file, so that neither edition's members leak into
// the other and every class keeps its name.

// The edition's four classes, by their paths from the tree's root (tests/app/CMakeLists.txt).
#include TAVLO_DOWNLOADER_H
#include TAVLO_FILE_MANAGER_H
#include TAVLO_MAIN_CONTROLLER_H
#include TAVLO_MIDI_HANDLER_H

#include <QFile>
#include <QMetaMethod>
#include <QMetaObject>
#include <QTest>

namespace {

// "signal deviceFound(bool)", "slot private bool checkForTavloHost()", "method downloadFile()":
// the return type is named where it is not void.
QStringList ownMethods(const QMetaObject& meta)
{
    QStringList list;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        QString kind;
        switch (m.methodType()) {
        case QMetaMethod::Signal:
            kind = QStringLiteral("signal ");
            break;
        case QMetaMethod::Slot:
            kind = m.access() == QMetaMethod::Private ? QStringLiteral("slot private ")
                                                      : QStringLiteral("slot ");
            break;
        default:
            kind = QStringLiteral("method ");
            break;
        }
        const QString returns = m.returnMetaType() == QMetaType::fromType<void>()
                                    ? QString()
                                    : QString::fromLatin1(m.typeName()) + QLatin1Char(' ');
        list << kind + returns + QString::fromLatin1(m.methodSignature());
    }
    return list;
}

// The expectation file: "Class: member" lines; '#' starts a comment line.
QMap<QString, QStringList> expectedMembers(bool* ok)
{
    QMap<QString, QStringList> members;
    QFile file(QStringLiteral(TAVLO_EXPECTED_INTERFACES));
    *ok = file.open(QIODevice::ReadOnly | QIODevice::Text);
    while (*ok && !file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int colon = line.indexOf(QLatin1String(": "));
        members[line.left(colon)] << line.mid(colon + 2);
    }
    return members;
}

} // namespace

class TestInterfaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void declarationOrder_data();
    void declarationOrder();
    void everyExpectedClassChecked();
};

void TestInterfaces::declarationOrder_data()
{
    QTest::addColumn<const QMetaObject*>("meta");
    QTest::newRow("MidiHandler") << &MidiHandler::staticMetaObject;
    QTest::newRow("Downloader") << &Downloader::staticMetaObject;
    QTest::newRow("FileManager") << &FileManager::staticMetaObject;
    QTest::newRow("MainController") << &MainController::staticMetaObject;
}

void TestInterfaces::declarationOrder()
{
    QFETCH(const QMetaObject*, meta);
    bool ok = false;
    const QMap<QString, QStringList> expected = expectedMembers(&ok);
    QVERIFY2(ok, TAVLO_EXPECTED_INTERFACES);
    // The class keeps its plain name: no namespace, no edition suffix.
    const QString name = QString::fromLatin1(meta->className());
    QVERIFY2(expected.contains(name), qPrintable(name));
    QCOMPARE(ownMethods(*meta), expected.value(name));
}

void TestInterfaces::everyExpectedClassChecked()
{
    bool ok = false;
    const QStringList classes = expectedMembers(&ok).keys();
    QVERIFY(ok);
    QCOMPARE(classes, (QStringList{"Downloader", "FileManager", "MainController", "MidiHandler"}));
}

QTEST_GUILESS_MAIN(TestInterfaces)
#include "tst_interfaces.moc"
