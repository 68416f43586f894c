// The hand-over's reports as the FileManagers publish them: the copy progress in the edition's
// form only (a whole percentage, clamped; or its text, not clamped), and the reason of a
// failure just before the failure itself.
#include "HandOverReports.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(HandOverReports::ProgressForm)

class TestHandOverReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progress_data();
    void progress();
    void result_data();
    void result();
};

void TestHandOverReports::progress_data()
{
    QTest::addColumn<HandOverReports::ProgressForm>("form");
    QTest::addColumn<qint64>("copied");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QVariant>("expected");

    const auto percentage = HandOverReports::ProgressForm::Percentage;
    const auto text = HandOverReports::ProgressForm::Text;
    const qint64 big = qint64(5) << 32; // past 32 bits: the arithmetic is 64-bit
    QTest::newRow("percentage, half") << percentage << qint64(2048) << qint64(4096) << QVariant(50);
    QTest::newRow("percentage, past the total") << percentage << qint64(5000) << qint64(4096)
                                                << QVariant(100);
    QTest::newRow("percentage, no total") << percentage << qint64(10) << qint64(0) << QVariant(0);
    QTest::newRow("percentage, large file") << percentage << big / 4 << big << QVariant(25);
    QTest::newRow("text, half") << text << qint64(2048) << qint64(4096) << QVariant("50%");
    QTest::newRow("text, past the total") << text << qint64(5000) << qint64(4096)
                                          << QVariant("122%");
    QTest::newRow("text, no total") << text << qint64(10) << qint64(0) << QVariant("0%");
    QTest::newRow("text, large file") << text << big / 4 << big << QVariant("25%");
}

void TestHandOverReports::progress()
{
    QFETCH(HandOverReports::ProgressForm, form);
    QFETCH(qint64, copied);
    QFETCH(qint64, total);
    QFETCH(QVariant, expected);

    HandOverReports reports(form);
    QSignalSpy percentages(&reports, &HandOverReports::copyPercentage);
    QSignalSpy texts(&reports, &HandOverReports::copyProgressText);
    reports.progress(copied, total);

    const bool asText = form == HandOverReports::ProgressForm::Text;
    QSignalSpy& reported = asText ? texts : percentages;
    QCOMPARE((asText ? percentages : texts).count(), 0);
    QCOMPARE(reported.count(), 1);
    QCOMPARE(reported.at(0).at(0), expected);
}

void TestHandOverReports::result_data()
{
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("success") << true << QString() << QStringList{"complete:true"};
    // A reason still known from an earlier failure is not repeated with a success.
    QTest::newRow("success after a failure") << true << "volume in use"
                                             << QStringList{"complete:true"};
    QTest::newRow("failure") << false << "volume in use"
                             << QStringList{"reason:volume in use", "complete:false"};
    QTest::newRow("failure without words") << false << QString()
                                           << QStringList{"reason:", "complete:false"};
}

void TestHandOverReports::result()
{
    QFETCH(bool, success);
    QFETCH(QString, reason);
    QFETCH(QStringList, expected);

    HandOverReports reports(HandOverReports::ProgressForm::Percentage);
    QStringList heard;
    connect(&reports, &HandOverReports::transferFailureReason, this,
            [&heard](const QString& why) { heard << QStringLiteral("reason:") + why; });
    connect(&reports, &HandOverReports::fileTransferComplete, this, [&heard](bool ok) {
        heard << (ok ? QStringLiteral("complete:true") : QStringLiteral("complete:false"));
    });
    reports.result(success, reason);
    QCOMPARE(heard, expected);
}

QTEST_GUILESS_MAIN(TestHandOverReports)
#include "tst_hand_over_reports.moc"
