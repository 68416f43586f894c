// The progress bar component on its own: caption, fill, number and default geometry.

#include "MessageRecorder.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>

#include <memory>

namespace {

const QUrl kBarUrl(QStringLiteral("qrc:/Tavlo_App/GenericProgressBar.qml"));

QQuickItem* child(QQuickItem* from, const QString& objectName)
{
    if (from->objectName() == objectName)
        return from;
    const auto children = from->childItems();
    for (QQuickItem* item : children) {
        if (QQuickItem* found = child(item, objectName))
            return found;
    }
    return nullptr;
}

} // namespace

class ProgressBarTest : public QObject
{
    Q_OBJECT

    MessageRecorder messages;
    QQmlEngine engine;

    std::unique_ptr<QQuickItem> make(const QVariantMap& properties = {}, QQuickItem* parent = nullptr)
    {
        QQmlComponent component(&engine, kBarUrl);
        if (component.isError())
            qWarning("%s", qPrintable(component.errorString()));
        QObject* object = component.createWithInitialProperties(properties);
        auto* item = qobject_cast<QQuickItem*>(object);
        if (item && parent)
            item->setParentItem(parent);
        return std::unique_ptr<QQuickItem>(item);
    }

private slots:
    void cleanup()
    {
        QVERIFY2(messages.warnings().isEmpty(), qPrintable(messages.warnings().join('\n')));
        messages.clear();
    }

    void defaults()
    {
        auto bar = make();
        QVERIFY(bar);
        QCOMPARE(bar->width(), 300.0);
        QCOMPARE(bar->height(), 120.0);
        QCOMPARE(bar->property("mode").toString(), QStringLiteral("flashing"));
        QCOMPARE(bar->property("percentage").toDouble(), 0.0);
        QCOMPARE(bar->property("fileName").toString(), QString());
        QVERIFY(!bar->isVisible());
        QCOMPARE(child(bar.get(), "label")->property("text").toString(), QStringLiteral("Working..."));
        QCOMPARE(child(bar.get(), "percentText")->property("text").toString(), QStringLiteral("0%"));
        QCOMPARE(child(bar.get(), "progressFill")->width(), 0.0);
    }

    void visibleWhileFlashing()
    {
        QQuickItem parent;
        parent.setSize(QSizeF(1000, 500));
        auto bar = make({}, &parent);
        QVERIFY(!bar->isVisible());
        bar->setProperty("isFlashing", true);
        QVERIFY(bar->isVisible());
        bar->setProperty("isFlashing", false);
        QVERIFY(!bar->isVisible());
    }

    void geometryWithParent()
    {
        QQuickItem parent;
        parent.setSize(QSizeF(1000, 500));
        auto bar = make({}, &parent);
        QCOMPARE(bar->width(), 400.0);
        QCOMPARE(bar->height(), 120.0);
        parent.setWidth(500);
        QCOMPARE(bar->width(), 200.0);
        const QQuickItem* column = child(bar.get(), "progressColumn");
        QCOMPARE(column->width(), 160.0);
        // Centred in the component.
        QCOMPARE(column->x(), 20.0);
        QVERIFY(qAbs(column->y() + column->height() / 2 - 60.0) <= 1); // centring snaps to pixels
        QCOMPARE(child(bar.get(), "progressBar")->height(), 18.0);
        const QFont captionFont = child(bar.get(), "label")->property("font").value<QFont>();
        QCOMPARE(captionFont.pixelSize(), 12); // 0.08 of 160, as a whole pixel size
        QCOMPARE(captionFont.family(), QStringLiteral("Poppins"));
    }

    void caption_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("caption");
        QTest::newRow("downloading") << "downloading" << "" << "Downloading...";
        QTest::newRow("downloading ignores file") << "downloading" << "a.tvq" << "Downloading...";
        QTest::newRow("transfer without file") << "transfer" << "" << "Transferring...";
        QTest::newRow("transfer with file") << "transfer" << "update_1.6.0.tvq" << "Transferring: update_1.6.0.tvq";
        QTest::newRow("flashing") << "flashing" << "" << "Working...";
        QTest::newRow("unknown mode") << "Transfer" << "x" << "Working...";
        QTest::newRow("empty mode") << "" << "" << "Working...";
    }

    void caption()
    {
        QFETCH(QString, mode);
        QFETCH(QString, fileName);
        QFETCH(QString, caption);
        auto bar = make();
        QQuickItem* label = child(bar.get(), "label");
        // Set one way, then the other, so that both properties are seen to drive the caption.
        bar->setProperty("fileName", fileName);
        bar->setProperty("mode", mode);
        QCOMPARE(label->property("text").toString(), caption);
        auto other = make({{"mode", mode}, {"fileName", fileName}});
        QCOMPARE(child(other.get(), "label")->property("text").toString(), caption);
    }

    void captionFollowsChanges()
    {
        auto bar = make();
        QQuickItem* label = child(bar.get(), "label");
        bar->setProperty("mode", "transfer");
        QCOMPARE(label->property("text").toString(), QStringLiteral("Transferring..."));
        bar->setProperty("fileName", "f.tvq");
        QCOMPARE(label->property("text").toString(), QStringLiteral("Transferring: f.tvq"));
        bar->setProperty("fileName", "");
        QCOMPARE(label->property("text").toString(), QStringLiteral("Transferring..."));
        bar->setProperty("mode", "downloading");
        QCOMPARE(label->property("text").toString(), QStringLiteral("Downloading..."));
    }

    void fill_data()
    {
        QTest::addColumn<double>("percentage");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("number");
        QTest::newRow("0") << 0.0 << 0.0 << "0%";
        QTest::newRow("49.5 rounds up") << 49.5 << 0.495 << "50%";
        QTest::newRow("49.4 rounds down") << 49.4 << 0.494 << "49%";
        QTest::newRow("100") << 100.0 << 1.0 << "100%";
        QTest::newRow("negative: no fill") << -5.0 << 0.0 << "-5%";
        QTest::newRow("over 100: number as given") << 150.0 << 1.5 << "150%";
    }

    void fill()
    {
        QFETCH(double, percentage);
        QFETCH(double, fraction);
        QFETCH(QString, number);
        auto bar = make({{"percentage", percentage}});
        const QQuickItem* track = child(bar.get(), "progressBar");
        const QQuickItem* fill = child(bar.get(), "progressFill");
        QCOMPARE(track->width(), 240.0);
        QCOMPARE(fill->width(), track->width() * fraction);
        QCOMPARE(fill->height(), track->height());
        QCOMPARE(fill->x(), 0.0);
        QCOMPARE(child(bar.get(), "percentText")->property("text").toString(), number);
        // Whatever the value, nothing is drawn outside the bar.
        QVERIFY(track->clip());
    }
};

QTEST_MAIN(ProgressBarTest)
#include "tst_ui_progress_bar.moc"
