#include "KnownScreenFaults.h"

#include <QTest>

namespace {

KnownScreenFaults::Fault fault(const char* id, const char* what, const char* sign)
{
    return {QString::fromLatin1(id), QString::fromUtf8(what), QRegularExpression(QString::fromUtf8(sign))};
}

} // namespace

const QList<KnownScreenFaults::Fault>& KnownScreenFaults::all()
{
    static const QList<Fault> faults{
        fault("a", "known: the failure reason is drawn over the update warning (update-only edition)",
              R"re(^overlap: UpdateNotice 'infoText' .* and FailureReason 'failureReasonText')re"),
        fault("b", "known: the failure sentence is shown twice, in the notice and as the reason",
              R"re(^repeated: \S+ '(infoText|failureReasonText)' .* and \S+ '(infoText|failureReasonText)' )re"),
        fault("c", "known: the version page and the keyboard: Tab leaves the version list for the "
                   "buttons and never comes back to it",
              R"re(^focus: ListView 'versionList' .* but is invisible)re"
              R"re(|^tab: Tab stops at ListView 'versionList' .*, which is invisible)re"
              R"re(|^tab: Tab stops at FramedButton 'startUpdateButton' .*, which is covered by ChoicesPage 'choicesPage')re"
              R"re(|^tab: the first Tab goes to FramedButton '\w+' .*, not to ListView 'versionList')re"
              R"re(|^tab: Tab never reaches ListView 'versionList')re"
              R"re(|^escape: Escape leaves ChoicesPage 'choicesPage' .*on the screen)re"),
        fault("d", "known: the release notes show their Markdown source on one line",
              R"re(^markdown: Text 'releaseNotesText' )re"),
        fault("list-rows-elided", "found: a version list row is elided: \"(installed)\" is cut off",
              R"re(^clipped: Text in 'versionList' .* is elided$)re"),
        fault("retry-below-window", "found: \"Try again\" reaches past the bottom of the update-only window",
              R"re(^outside: FramedButton 'tryAgainButton' )re"),
        fault("instructions-over-screen",
              "found: unplugged on the update or transfer screen, the connection instructions are drawn over it",
              R"re(^overlap: .*Text 'infoConnectText' )re"),
        fault("done-below-window", "found: the German transfer screen pushes \"DONE\" past the window's bottom",
              R"re(^outside: (FolderButton 'completeTransferButton'|Text in 'completeTransferButton') )re"),
        fault("buttons-below-warning",
              "found: the downgrade warning pushes the version page's last buttons past the window's bottom",
              R"re(^outside: (FramedButton '(choicesBackButton|installFromFileButton)'|MnemonicLabel 'label' "(Back|Zurück|Install from file…|Aus Datei installieren…)"))re"
              R"re(|^tab: Tab stops at FramedButton '(choicesBackButton|installFromFileButton)' .*, which is (clipped away|outside the window))re"),
        fault("file-dialog", "found: the file dialog drawn by Qt Quick (where the system offers none): a file's "
                             "size and date overlap, Tab jumps from the file list up to the folder bar, Tab "
                             "stops at the folder bar's buttons that it has scrolled out of sight, and a screen "
                             "reader reads the page under the dialog but not the file that has the focus",
              R"re(^(overlap|clipped): Label in 'fileDialogDelegate\d+' )re"
              R"re(|^a11y-hidden: .* is read out but covered by Rectangle \()re"
              R"re(|^a11y-focus: the focus is on FileDialogDelegate 'fileDialogDelegate\d+')re"
              R"re(|^tab: Tab goes from (FileDialogDelegate 'fileDialogDelegate\d+'|Button "Cancel"|ToolButton) .*, against reading order)re"
              R"re(|^tab: Tab stops at Button_QMLTYPE_\d+ "/" .*, which is clipped away)re"),
        fault("file-dialog-escape",
              "found: Escape in the file dialog of \"Install from file…\" goes back to the version page, not to the update screen",
              R"re(^escape: Escape closes UpdateFileDialog 'updateFileDialog', but FramedButton 'startUpdateButton' .* is (covered by ChoicesPage 'choicesPage'|invisible afterwards))re"),
        fault("up-to-date-too-long", "found: the German \"up to date\" sentence runs into the connection label",
              R"re(^overlap: Text 'connectionlabel' .* and VersionLine 'versionText' "Tavlo ist auf dem neuesten Stand)re"),
    };
    return faults;
}

KnownScreenFaults::Fault KnownScreenFaults::byId(const QString& id)
{
    for (const Fault& known : all()) {
        if (known.id == id)
            return known;
    }
    return {id, QStringLiteral("unknown fault ") + id, QRegularExpression(QStringLiteral("(?!)"))};
}

QStringList KnownScreenFaults::signs(const QString& id, const QStringList& report)
{
    const QRegularExpression sign = byId(id).sign;
    QStringList lines;
    for (const QString& line : report) {
        if (sign.match(line).hasMatch())
            lines.append(line);
    }
    return lines;
}

QStringList KnownScreenFaults::rest(const QStringList& ids, const QStringList& report)
{
    QStringList lines = report;
    for (const QString& id : ids) {
        for (const QString& line : signs(id, report))
            lines.removeAll(line);
    }
    return lines;
}

void KnownScreenFaults::verify(const QStringList& report, const QStringList& ids)
{
    const QStringList others = rest(ids, report);
    QVERIFY2(others.isEmpty(), qPrintable(others.join(QLatin1Char('\n'))));
    for (const QString& id : ids) {
        const QStringList lines = signs(id, report);
        QEXPECT_FAIL("", qPrintable(byId(id).what), Continue);
        QVERIFY2(lines.isEmpty(), qPrintable(lines.join(QLatin1Char('\n'))));
    }
}
