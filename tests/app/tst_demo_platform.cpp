// The demo's system seams: the current user's root certificate store (under Wine it is a real
// store in the prefix; on Windows itself adding a root asks the user, so the test leaves the
// store alone there; elsewhere there is none) and ending the process at once.
#include "ProcessEnd.h"
#include "RunningUnderWine.h"
#include "UserRootStore.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {
// A self-signed test authority made for this test alone (DER, base64).
const char kAuthority[] =
    "MIIBqjCCAVGgAwIBAgIUDvIvroc4ZZHgZ+P/zs5B37U2MyswCgYIKoZIzj0E"
    "AwIwKjEoMCYGA1UEAwwfVGF2bG8gcm9vdCBzdG9yZSB0ZXN0IGF1dGhvcml0"
    "eTAgFw0yNjEyMDgxMDUzMjNaGA8yMTI2MTExNDEwNTMyM1owKjEoMCYGA1UE"
    "AwwfVGF2bG8gcm9vdCBzdG9yZSB0ZXN0IGF1dGhvcml0eTBZMBMGByqGSM49"
    "AgEGCCqGSM49AwEHA0IABMPVbm2GMM4o+0oEAHh7YcfstqlSnw3ci7WGso1b"
    "ZynLki9NDjHfh6h8fkP+qGc7fBfwYljh6BNXAkkbssa+2JCjUzBRMB0GA1Ud"
    "DgQWBBQ3UhVOwQptlE2yOhzXz/FQNs6XoTAfBgNVHSMEGDAWgBQ3UhVOwQpt"
    "lE2yOhzXz/FQNs6XoTAPBgNVHRMBAf8EBTADAQH/MAoGCCqGSM49BAMCA0cA"
    "MEQCIHdy5vDhAmYYQUsW9B64cjQS0MYEz6Ny46DdwLWDNkMtAiAHCcfBfsy7"
    "yU4RxLgdrVzB8edtoSbKUh4l1SwlZOFLrA==";

UserRootStore::Der authority()
{
    const QByteArray der = QByteArray::fromBase64(kAuthority);
    return UserRootStore::Der(der.cbegin(), der.cend());
}

const char kEndNow[] = "--end-process-now";
} // namespace

class TestDemoPlatform : public QObject
{
    Q_OBJECT

private slots:
    void rootStoreElsewhereSaysThereIsNone();
    void rootStoreTakesAndGivesBack();
    void rootStoreRefusesWhatIsNoCertificate_data();
    void rootStoreRefusesWhatIsNoCertificate();
    void processEndsWithItsCodeAndFlushedOutput();
};

void TestDemoPlatform::rootStoreElsewhereSaysThereIsNone()
{
    if (UserRootStore::isAvailable())
        QSKIP("this system has the store");
    bool added = true;
    std::string error;
    QVERIFY(!UserRootStore::add(authority(), &added, &error));
    QVERIFY(!added);
    QCOMPARE(QString::fromStdString(error), QString("This system has no user root certificate store."));
    error.clear();
    QVERIFY(!UserRootStore::remove(authority(), &error));
    QVERIFY(!error.empty());
    QVERIFY(!UserRootStore::contains(authority()));
}

void TestDemoPlatform::rootStoreTakesAndGivesBack()
{
    if (!UserRootStore::isAvailable())
        QSKIP("no user root store on this system");
    if (!runningUnderWine())
        QSKIP("on Windows itself adding a root asks the user first");
    std::string error;
    QVERIFY2(UserRootStore::remove(authority(), &error), error.c_str()); // a run before left none
    QVERIFY(!UserRootStore::contains(authority()));

    bool added = false;
    QVERIFY2(UserRootStore::add(authority(), &added, &error), error.c_str());
    QVERIFY(added);
    QVERIFY(UserRootStore::contains(authority()));
    // Already there: still true, but not taken for an addition of this call, so that its
    // caller does not take away what it did not put there.
    QVERIFY2(UserRootStore::add(authority(), &added, &error), error.c_str());
    QVERIFY(!added);

    QVERIFY2(UserRootStore::remove(authority(), &error), error.c_str());
    QVERIFY(!UserRootStore::contains(authority()));
    QVERIFY2(UserRootStore::remove(authority(), &error), error.c_str()); // gone already: fine
}

void TestDemoPlatform::rootStoreRefusesWhatIsNoCertificate_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not DER") << QByteArray("-----BEGIN CERTIFICATE-----");
    QTest::newRow("cut short") << QByteArray::fromBase64(kAuthority).left(100);
}

void TestDemoPlatform::rootStoreRefusesWhatIsNoCertificate()
{
    if (!UserRootStore::isAvailable() || !runningUnderWine())
        QSKIP("needs the store of a Wine prefix");
    QFETCH(QByteArray, bytes);
    bool added = true;
    std::string error;
    QVERIFY(!UserRootStore::add(UserRootStore::Der(bytes.cbegin(), bytes.cend()), &added, &error));
    QVERIFY(!added);
    QVERIFY2(!error.empty() && error.back() == '.', error.c_str());
}

void TestDemoPlatform::processEndsWithItsCodeAndFlushedOutput()
{
    // The child writes without a line end (kept in the C stream's buffer) and ends at once:
    // the text must come out, and the code be the one given.
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kEndNow)});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 7);
    QCOMPARE(child.readAllStandardOutput(), QByteArray("written before the end"));
}

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], kEndNow) == 0) {
        std::fputs("written before the end", stdout);
        ProcessEnd::now(7);
    }
    QCoreApplication app(argc, argv);
    TestDemoPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_demo_platform.moc"
