#include "BackupScript.h"

#include <QMetaEnum>

BackupScript::BackupScript()
{
    backup.setBackupsRoot(QStringLiteral("/home/u/Documents/Tavlo Backups"));
    restore.setLister([this] {
        QList<BackupList::Item> items;
        for (int i = 0; i < backups; ++i)
            items.append({QStringLiteral("/b/%1").arg(i), QStringLiteral("backup %1").arg(i),
                          QDateTime(QDate(2026, 12, 9 - i), QTime(14, 3), Qt::UTC),
                          QStringLiteral("1.5.2"), 12, 3000000});
        return items;
    });
    QStringList& calls = script.calls;
    QObject::connect(&backup, &BackupFlow::backUpRequested, &backup,
                     [&calls](const QString& label, const QString&, const QString& firmware) {
                         calls << QStringLiteral("backUp %1 %2").arg(label, firmware);
                     });
    QObject::connect(&backup, &BackupFlow::cancelRequested, &backup,
                     [&calls] { calls << QStringLiteral("cancelBackup"); });
    QObject::connect(&restore, &RestoreFlow::checkRequested, &restore,
                     [&calls](const QString& folder) { calls << QStringLiteral("check ") + folder; });
    QObject::connect(&restore, &RestoreFlow::planRequested, &restore,
                     [&calls] { calls << QStringLiteral("plan"); });
    QObject::connect(&restore, &RestoreFlow::restoreRequested, &restore,
                     [&calls] { calls << QStringLiteral("restore"); });
    QObject::connect(&restore, &RestoreFlow::cancelRequested, &restore,
                     [&calls] { calls << QStringLiteral("cancelRestore"); });
    QObject::connect(&backup, &BackupFlow::recorded, &backup,
                     [this](const QString& firmware, const QString&, int files, qint64, qint64,
                            qint64, const QString& result) {
                         records << QStringLiteral("backup %1 %2 %3").arg(result, firmware).arg(files);
                     });
    QObject::connect(&restore, &RestoreFlow::recorded, &restore,
                     [this](const QString&, const QString& folder, int files, const QString& result) {
                         records << QStringLiteral("restore %1 %2 %3").arg(result, folder).arg(files);
                     });
}

bool BackupScript::play(const QStringList& steps)
{
    for (const QString& text : steps) {
        const QString verb = text.section(QLatin1Char(' '), 0, 0);
        if (!step(verb, text.section(QLatin1Char(' '), 1)) && !script.play({text}))
            return false;
    }
    return true;
}

bool BackupScript::step(const QString& verb, const QString& rest)
{
    const auto is = [&verb](const char* word) { return verb == QLatin1String(word); };
    const QStringList args = rest.split(QLatin1Char(' '));
    const auto names = [](int count, const char* stem) {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << QStringLiteral("projects/%1 %2.tvp").arg(QLatin1String(stem)).arg(i);
        return list;
    };
    if (is("backupNow"))
        backup.backUpNow();
    else if (is("startUpdate"))
        backup.startUpdate();
    else if (is("installLocal"))
        script.calls << QStringLiteral("installLocal: ") + backup.installLocal(rest, rest);
    else if (is("linkSettles"))
        backup.setLinkSettles(true);
    else if (is("settled"))
        backup.onLinkSettled();
    else if (is("option"))
        backup.setBeforeUpdate(rest == QLatin1String("on"));
    else if (is("cancel")) {
        backup.cancel();
        restore.cancel();
    } else if (is("close")) {
        backup.close();
        restore.close();
    } else if (is("sized"))
        backup.onBackupSized(args.value(0).toInt(), args.value(1).toLongLong());
    else if (is("progress"))
        backup.onBackupProgress(args.value(0).toLongLong(), args.value(1).toLongLong());
    else if (is("backedUp"))
        backup.onBackupFinished(true, false, QStringLiteral("/b/new"), 12, 3000000, 0, QString());
    else if (is("backupFailed"))
        backup.onBackupFinished(false, false, QString(), 12, 3000000, 0, rest);
    else if (is("backupCancelled"))
        backup.onBackupFinished(false, true, QString(), 12, 3000000, 0, QString());
    else if (is("restoreOpen"))
        restore.open();
    else if (is("choose"))
        restore.choose(rest.toInt());
    else if (is("checked"))
        restore.onBackupChecked(args.value(0) == QLatin1String("ok"), {}, rest.section(QLatin1Char(' '), 1));
    else if (is("planned"))
        restore.onRestorePlanned(true, names(args.value(0).toInt(), "changed"),
                                 names(args.value(1).toInt(), "gone"), args.value(2).toInt(), 5000, {});
    else if (is("confirm"))
        restore.confirm();
    else if (is("decline"))
        restore.decline();
    else if (is("wrote"))
        restore.onRestoreFinished(true, false, rest.toInt(), QString());
    else if (is("restoreFailed"))
        restore.onRestoreFinished(false, false, 1, rest);
    else
        return false;
    return true;
}

QString BackupScript::shown() const
{
    const auto key = [](auto value) {
        return QString::fromLatin1(QMetaEnum::fromType<decltype(value)>().valueToKey(int(value)));
    };
    QStringList buttons;
    if (backup.offered())
        buttons << QStringLiteral("backupNow");
    if (restore.offered())
        buttons << QStringLiteral("restore");
    if (backup.optionOffered())
        buttons << (backup.beforeUpdate() ? QStringLiteral("option(on)") : QStringLiteral("option(off)"));
    if (backup.cancelShown() || (restore.pageShown() && restore.cancelShown()))
        buttons << QStringLiteral("cancel");
    if (restore.askShown())
        buttons << QStringLiteral("replace keep");
    if (backup.closeShown() || restore.closeShown())
        buttons << QStringLiteral("close");
    if (script.transfer.screenShown())
        buttons << QStringLiteral("folders");
    if (buttons.isEmpty())
        buttons << QStringLiteral("-");
    const bool restoring = restore.pageShown();
    const QString title = restoring ? restore.titleText() : backup.titleText();
    const QString status = restoring ? restore.statusText() : backup.statusText();
    return key(backup.state()) + QLatin1Char(' ') + key(restore.state()) + QLatin1Char(' ')
        + key(script.transfer.state()) + QLatin1Char(' ') + key(script.update.state())
        + QStringLiteral(" | ") + (title.isEmpty() ? QStringLiteral("-") : title)
        + QStringLiteral(" | ") + (status.isEmpty() ? QStringLiteral("-") : status.left(40).trimmed())
        + QStringLiteral(" | ") + buttons.join(QLatin1Char(' '));
}
