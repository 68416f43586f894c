<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutAction</name>
    <message>
        <source>About %1…</source>
        <translation>Über %1…</translation>
    </message>
</context>
<context>
    <name>AboutWindow</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1, Version %2</translation>
    </message>
    <message>
        <source>Session logs are kept in this folder:</source>
        <translation>Die Sitzungsprotokolle liegen in diesem Ordner:</translation>
    </message>
    <message>
        <source>Built with Qt 6 (GNU LGPL version 3), RtMidi (MIT licence) and the Poppins font (SIL Open Font License 1.1).</source>
        <translation>Erstellt mit Qt 6 (GNU LGPL Version 3), RtMidi (MIT-Lizenz) und der Schrift Poppins (SIL Open Font License 1.1).</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>BackupFailureText</name>
    <message>
        <source>The backup could not be written: &quot;%1&quot; is full. Free some space there or choose another folder.</source>
        <translation>Die Sicherung konnte nicht geschrieben werden: „%1“ ist voll. Schaffe dort Platz oder wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The backup could not be written: &quot;%1&quot; is on a read-only disk. Choose another folder.</source>
        <translation>Die Sicherung konnte nicht geschrieben werden: „%1“ liegt auf einem schreibgeschützten Datenträger. Wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The backup could not be written to &quot;%1&quot; (%2). Check that you may write there, or choose another folder.</source>
        <translation>Die Sicherung konnte nicht nach „%1“ geschrieben werden (%2). Prüfe, ob du dort schreiben darfst, oder wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s file &quot;%1&quot; could not be read (%2). Nothing was backed up. Restart Tavlo and try again; if it happens again, copy the other files by hand.</source>
        <translation>Die Datei „%1“ von Tavlo konnte nicht gelesen werden (%2). Es wurde nichts gesichert. Starte Tavlo neu und versuche es noch einmal; geschieht es wieder, kopiere die übrigen Dateien von Hand.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s storage could not be read. Nothing was backed up. Restart Tavlo and try again.</source>
        <translation>Der Speicher von Tavlo konnte nicht gelesen werden. Es wurde nichts gesichert. Starte Tavlo neu und versuche es noch einmal.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s folder &quot;%1&quot; could not be read. Nothing was backed up. Restart Tavlo and try again.</source>
        <translation>Der Ordner „%1“ von Tavlo konnte nicht gelesen werden. Es wurde nichts gesichert. Starte Tavlo neu und versuche es noch einmal.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s storage went away during the backup, so nothing was kept. Check the USB cable and try again.</source>
        <translation>Der Speicher von Tavlo ist während der Sicherung verschwunden, daher wurde nichts behalten. Prüfe das USB-Kabel und versuche es noch einmal.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s storage did not appear on this computer, so nothing was backed up. Check the USB cable, or switch Tavlo off and on, and try again.</source>
        <translation>Der Speicher von Tavlo ist auf diesem Computer nicht erschienen, daher wurde nichts gesichert. Prüfe das USB-Kabel oder schalte Tavlo aus und wieder ein, und versuche es noch einmal.</translation>
    </message>
    <message>
        <source>The check after copying found that the copy of &quot;%1&quot; differs from Tavlo&apos;s file, so the backup was not kept. The backup disk may be failing: try again, or choose another folder.</source>
        <translation>Die Prüfung nach dem Kopieren hat ergeben, dass die Kopie von „%1“ von der Datei auf Tavlo abweicht, daher wurde die Sicherung nicht behalten. Der Datenträger der Sicherung ist vielleicht defekt: Versuche es noch einmal oder wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The check after copying could not read the copy of &quot;%1&quot; back, so the backup was not kept. The backup disk may be failing: try again, or choose another folder.</source>
        <translation>Die Prüfung nach dem Kopieren konnte die Kopie von „%1“ nicht zurücklesen, daher wurde die Sicherung nicht behalten. Der Datenträger der Sicherung ist vielleicht defekt: Versuche es noch einmal oder wähle einen anderen Ordner.</translation>
    </message>
</context>
<context>
    <name>BackupFlow</name>
    <message>
        <source>Backing up Tavlo&apos;s projects</source>
        <translation>Tavlos Projekte werden gesichert</translation>
    </message>
    <message>
        <source>Backup complete</source>
        <translation>Sicherung fertig</translation>
    </message>
    <message>
        <source>The backup is complete; the update did not start</source>
        <translation>Die Sicherung ist fertig; das Update hat nicht begonnen</translation>
    </message>
    <message>
        <source>Backup failed</source>
        <translation>Sicherung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Backup cancelled</source>
        <translation>Sicherung abgebrochen</translation>
    </message>
    <message>
        <source>Switching Tavlo to transfer mode…</source>
        <translation>Tavlo wechselt in den Übertragungsmodus …</translation>
    </message>
    <message>
        <source>Reading the list of Tavlo&apos;s files…</source>
        <translation>Die Liste von Tavlos Dateien wird gelesen …</translation>
    </message>
    <message>
        <source>%1 of %2 copied and checked (%3).</source>
        <translation>%1 von %2 kopiert und geprüft (%3).</translation>
    </message>
    <message>
        <source>Returning Tavlo to normal mode…</source>
        <translation>Tavlo kehrt in den Normalmodus zurück …</translation>
    </message>
    <message>
        <source>Saved and checked: %1 (%2) in &quot;%3&quot;.</source>
        <translation>Gesichert und geprüft: %1 (%2) in „%3“.</translation>
    </message>
    <message>
        <source>%1 The update was not started.</source>
        <translation>%1 Das Update wurde nicht gestartet.</translation>
    </message>
    <message>
        <source>Nothing was kept, and the update was not started.</source>
        <translation>Nichts wurde behalten, und das Update wurde nicht gestartet.</translation>
    </message>
    <message>
        <source>Nothing was kept.</source>
        <translation>Nichts wurde behalten.</translation>
    </message>
    <message>
        <source>Tavlo could not be switched to transfer mode, so nothing was backed up.</source>
        <translation>Tavlo konnte nicht in den Übertragungsmodus wechseln, daher wurde nichts gesichert.</translation>
    </message>
    <message>
        <source>Tavlo was disconnected during the backup, so the unfinished backup was removed.</source>
        <translation>Tavlo wurde während der Sicherung getrennt, daher wurde die unfertige Sicherung entfernt.</translation>
    </message>
    <message>
        <source>The backup in &quot;%1&quot; is complete.</source>
        <translation>Die Sicherung in „%1“ ist fertig.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s drive could not be ejected, so Tavlo may still be in transfer mode. Close any program that uses the drive, then press DONE. If Tavlo was disconnected, connect it again.</source>
        <translation>Tavlos Laufwerk konnte nicht ausgeworfen werden, daher ist Tavlo vielleicht noch im Übertragungsmodus. Schließe jedes Programm, das das Laufwerk verwendet, und drücke dann FERTIG. Wurde Tavlo getrennt, schließe es wieder an.</translation>
    </message>
    <message>
        <source>Last backup: %1, %2.</source>
        <translation>Letzte Sicherung: %1, %2.</translation>
    </message>
</context>
<context>
    <name>CheckLines</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>The MIDI system opens: its input and output objects can be made.</source>
        <translation>Das MIDI-System öffnet sich: Seine Ein- und Ausgabeobjekte lassen sich anlegen.</translation>
    </message>
    <message>
        <source>Without the MIDI system no ports can be listed.</source>
        <translation>Ohne das MIDI-System lassen sich keine Ports auflisten.</translation>
    </message>
    <message>
        <source>%1; none of them is Tavlo&apos;s. Connect Tavlo over USB and switch it on.</source>
        <translation>%1; keiner davon gehört zu Tavlo. Schließ Tavlo über USB an und schalte es ein.</translation>
    </message>
    <message>
        <source>%1; Tavlo shows only %2 (%3), not both an input and an output. Reconnect Tavlo; if that does not help, restart the computer.</source>
        <translation>%1; Tavlo zeigt nur %2 (%3), nicht Eingang und Ausgang zugleich. Schließ Tavlo neu an; hilft das nicht, starte den Computer neu.</translation>
    </message>
    <message>
        <source>an output</source>
        <translation>einen Ausgang</translation>
    </message>
    <message>
        <source>an input</source>
        <translation>einen Eingang</translation>
    </message>
    <message>
        <source>%1; Tavlo&apos;s: input %2, output %3.</source>
        <translation>%1; die von Tavlo: Eingang %2, Ausgang %3.</translation>
    </message>
    <message>
        <source>Without the MIDI system Tavlo cannot be reached.</source>
        <translation>Ohne das MIDI-System ist Tavlo nicht zu erreichen.</translation>
    </message>
    <message>
        <source>Tavlo is not connected.</source>
        <translation>Tavlo ist nicht angeschlossen.</translation>
    </message>
    <message>
        <source>Tavlo is not asked while another program holds it. %1</source>
        <translation>Tavlo wird nicht gefragt, solange ein anderes Programm es belegt. %1</translation>
    </message>
    <message>
        <source>Tavlo answered: firmware %1.</source>
        <translation>Tavlo hat geantwortet: Firmware %1.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s ports are there, but it did not report its firmware version within %1. Switch Tavlo off and on again, then check again.</source>
        <translation>Die Ports von Tavlo sind da, aber es hat seine Firmware-Version nicht innerhalb von %1 gemeldet. Schalte Tavlo aus und wieder ein und prüfe dann erneut.</translation>
    </message>
    <message>
        <source>without a proxy</source>
        <translation>ohne Proxy</translation>
    </message>
    <message>
        <source>through the proxy %1</source>
        <translation>über den Proxy %1</translation>
    </message>
    <message>
        <source>%1 answered (%2), but not with a release catalogue (%3). Something on this network may be answering in the server&apos;s place; try again later.</source>
        <translation>%1 hat geantwortet (%2), aber nicht mit einem Versionskatalog (%3). Womöglich antwortet etwas in diesem Netzwerk an Stelle des Servers; versuch es später noch einmal.</translation>
    </message>
    <message>
        <source>%1 (%2): %3</source>
        <translation>%1 (%2): %3</translation>
    </message>
    <message>
        <source>%1 (%2) answered with the status %3 instead of the catalogue. Try again later.</source>
        <translation>%1 (%2) hat mit dem Status %3 statt mit dem Katalog geantwortet. Versuch es später noch einmal.</translation>
    </message>
    <message>
        <source>%1 (%2) did not answer within %3. Check the internet connection, then check again.</source>
        <translation>%1 (%2) hat nicht innerhalb von %3 geantwortet. Prüfe die Internetverbindung und prüfe dann erneut.</translation>
    </message>
    <message>
        <source>%1 could not be reached (%2): %3. Check the internet connection%4, then check again.</source>
        <translation>%1 war nicht zu erreichen (%2): %3. Prüfe die Internetverbindung%4 und prüfe dann erneut.</translation>
    </message>
    <message>
        <source> and the proxy</source>
        <translation> und den Proxy</translation>
    </message>
    <message>
        <source>The storage was busy for longer than %1. Check again later.</source>
        <translation>Der Speicher war länger als %1 beschäftigt. Prüfe später erneut.</translation>
    </message>
    <message>
        <source>The download folder could not be made, or is not a plain folder of this user&apos;s. Check the cache folder&apos;s permissions.</source>
        <translation>Der Download-Ordner ließ sich nicht anlegen oder ist kein einfacher Ordner dieses Benutzers. Prüfe die Rechte des Cache-Ordners.</translation>
    </message>
    <message>
        <source>No file can be written in %1 (%2). Make the folder writable for your user, then check again.</source>
        <translation>In %1 lässt sich keine Datei schreiben (%2). Mach den Ordner für deinen Benutzer beschreibbar und prüfe dann erneut.</translation>
    </message>
    <message>
        <source>the update on offer needs %1</source>
        <translation>das angebotene Update braucht %1</translation>
    </message>
    <message>
        <source>%1 is asked for when the update&apos;s size is not known</source>
        <translation>%1 werden verlangt, solange die Größe des Updates unbekannt ist</translation>
    </message>
    <message>
        <source>%1 is writable; its free space is not known (%2).</source>
        <translation>%1 ist beschreibbar; der freie Platz ist unbekannt (%2).</translation>
    </message>
    <message>
        <source>%1 is writable, but only %2 are free (%3). Free some space, then check again.</source>
        <translation>%1 ist beschreibbar, aber nur %2 sind frei (%3). Schaffe Platz und prüfe dann erneut.</translation>
    </message>
    <message>
        <source>%1 is writable, with %2 free (%3).</source>
        <translation>%1 ist beschreibbar, %2 sind frei (%3).</translation>
    </message>
    <message>
        <source>The list of volumes did not come within %1. Check again later.</source>
        <translation>Die Liste der Laufwerke kam nicht innerhalb von %1. Prüfe später erneut.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s storage is mounted at %1 (transfer mode).</source>
        <translation>Der Speicher von Tavlo ist unter %1 eingebunden (Übertragungsmodus).</translation>
    </message>
    <message>
        <source>Tavlo&apos;s update volume is mounted at %1 (update mode).</source>
        <translation>Das Update-Laufwerk von Tavlo ist unter %1 eingebunden (Update-Modus).</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume %1 is mounted read-only, so nothing can be written to it. Eject it, switch Tavlo off and on again, then check again.</source>
        <translation>Das Laufwerk %1 von Tavlo ist schreibgeschützt eingebunden, also lässt sich nichts darauf schreiben. Wirf es aus, schalte Tavlo aus und wieder ein und prüfe dann erneut.</translation>
    </message>
    <message>
        <source>A drive that is not Tavlo&apos;s is named %1; it is left alone.</source>
        <translation>Ein Laufwerk, das nicht zu Tavlo gehört, heißt %1; es bleibt unberührt.</translation>
    </message>
    <message>
        <source>None of Tavlo&apos;s volumes is mounted, as in normal mode.</source>
        <translation>Keines der Laufwerke von Tavlo ist eingebunden, wie im normalen Modus.</translation>
    </message>
    <message>
        <source>Ports seen: %1 in, %2 out</source>
        <translation>Gefundene Ports: Eingänge %1, Ausgänge %2</translation>
    </message>
    <message>
        <source>The release catalogue was read from %1 (%2); the latest of its versions is %3 (%4 in all).</source>
        <translation>Der Versionskatalog wurde von %1 gelesen (%2); die neueste seiner Versionen ist %3 (%4 insgesamt).</translation>
    </message>
</context>
<context>
    <name>ChoicesPage</name>
    <message>
        <source>Choose a version</source>
        <translation>Version wählen</translation>
    </message>
    <message>
        <source>Versions on offer</source>
        <translation>Angebotene Versionen</translation>
    </message>
    <message>
        <source>(no version)</source>
        <translation>(keine Version)</translation>
    </message>
    <message>
        <source>(installed)</source>
        <translation>(installiert)</translation>
    </message>
    <message>
        <source>Going back to an older firmware is meant for when a newer one misbehaves. Press the button again to install %1.</source>
        <translation>Die Rückkehr zu einer älteren Firmware ist für den Fall gedacht, dass eine neuere Probleme macht. Drücke die Schaltfläche noch einmal, um %1 zu installieren.</translation>
    </message>
    <message>
        <source>Install this file</source>
        <translation>Diese Datei installieren</translation>
    </message>
    <message>
        <source>Yes, install %1</source>
        <translation>Ja, %1 installieren</translation>
    </message>
    <message>
        <source>Start Update</source>
        <translation>Update starten</translation>
    </message>
    <message>
        <source>Install from file…</source>
        <translation>Aus Datei installieren…</translation>
    </message>
    <message>
        <source>Chooses an update file on this computer</source>
        <translation>Wählt eine Update-Datei auf diesem Computer</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Choose an update file</source>
        <translation>Update-Datei wählen</translation>
    </message>
    <message>
        <source>The update file cannot be installed now.</source>
        <translation>Die Update-Datei kann jetzt nicht installiert werden.</translation>
    </message>
    <message>
        <source>cannot be installed</source>
        <translation>kann nicht installiert werden</translation>
    </message>
</context>
<context>
    <name>CliBackup</name>
    <message>
        <source>Backups need firmware 1.5.0 or later; the instrument has %1.</source>
        <translation>Sicherungen brauchen Firmware 1.5.0 oder neuer; das Instrument hat %1.</translation>
    </message>
    <message>
        <source>There is no folder for backups; name one with --to DIR.</source>
        <translation>Es gibt keinen Ordner für Sicherungen; nenne einen mit --to DIR.</translation>
    </message>
    <message>
        <source>The backup could not be started; the instrument was not changed.</source>
        <translation>Die Sicherung konnte nicht gestartet werden; das Instrument wurde nicht verändert.</translation>
    </message>
    <message>
        <source>Stopping the backup; nothing is kept. Waiting for the instrument to return to normal mode.</source>
        <translation>Die Sicherung wird angehalten; nichts wird behalten. Warten, bis das Instrument wieder im Normalmodus ist.</translation>
    </message>
    <message>
        <source>Saved and checked: %1 (%2) in &quot;%3&quot;.</source>
        <translation>Gespeichert und geprüft: %1 (%2) in „%3“.</translation>
    </message>
    <message>
        <source>Backing up</source>
        <translation>Sichern</translation>
    </message>
</context>
<context>
    <name>CliDoctor</name>
    <message>
        <source>Stopped before every check was done.</source>
        <translation>Angehalten, bevor alle Prüfungen fertig waren.</translation>
    </message>
</context>
<context>
    <name>CliHelpTable</name>
    <message>
        <source>the instruments found: ports, USB identity, firmware, mode</source>
        <translation>die gefundenen Instrumente: Ports, USB-Kennung, Firmware, Modus</translation>
    </message>
    <message>
        <source>the installed firmware and the latest on offer</source>
        <translation>die installierte Firmware und die neueste angebotene</translation>
    </message>
    <message>
        <source>install the latest firmware, or the update file PATH</source>
        <translation>die neueste Firmware oder die Update-Datei PATH installieren</translation>
    </message>
    <message>
        <source>show the instrument&apos;s storage as a drive; --done ends it</source>
        <translation>den Speicher des Instruments als Laufwerk zeigen; --done beendet das</translation>
    </message>
    <message>
        <source>install this version from the catalogue</source>
        <translation>diese Version aus dem Katalog installieren</translation>
    </message>
    <message>
        <source>install the update file PATH (no network needed)</source>
        <translation>die Update-Datei PATH installieren (ohne Netzwerk)</translation>
    </message>
    <message>
        <source>install without asking</source>
        <translation>ohne Nachfrage installieren</translation>
    </message>
    <message>
        <source>allow installing an older firmware</source>
        <translation>die Installation einer älteren Firmware erlauben</translation>
    </message>
    <message>
        <source>return an instrument left in transfer mode to normal</source>
        <translation>ein im Transfermodus gelassenes Instrument in den Normalmodus zurückholen</translation>
    </message>
    <message>
        <source>one JSON object per result or event on standard output</source>
        <translation>ein JSON-Objekt je Ergebnis oder Ereignis auf der Standardausgabe</translation>
    </message>
    <message>
        <source>read the releases from this server (a mirror)</source>
        <translation>die Releases von diesem Server lesen (ein Spiegel)</translation>
    </message>
    <message>
        <source>write the session log to PATH</source>
        <translation>das Sitzungsprotokoll nach PATH schreiben</translation>
    </message>
    <message>
        <source>act on the instrument on this MIDI port</source>
        <translation>mit dem Instrument an diesem MIDI-Port arbeiten</translation>
    </message>
    <message>
        <source>show the session log on standard error as well</source>
        <translation>das Sitzungsprotokoll auch auf der Standardfehlerausgabe zeigen</translation>
    </message>
    <message>
        <source>show this text</source>
        <translation>diesen Text zeigen</translation>
    </message>
    <message>
        <source>show the program&apos;s version</source>
        <translation>die Version des Programms zeigen</translation>
    </message>
    <message>
        <source>done (check: the instrument is up to date)</source>
        <translation>erledigt (check: das Instrument ist aktuell)</translation>
    </message>
    <message>
        <source>another failure (the instrument did not answer)</source>
        <translation>ein anderer Fehler (das Instrument hat nicht geantwortet)</translation>
    </message>
    <message>
        <source>the command line is wrong</source>
        <translation>die Befehlszeile ist falsch</translation>
    </message>
    <message>
        <source>no instrument, or several without --port</source>
        <translation>kein Instrument, oder mehrere ohne --port</translation>
    </message>
    <message>
        <source>the release server could not be read, or the download failed</source>
        <translation>der Release-Server war nicht lesbar, oder der Download ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the update file failed its check</source>
        <translation>die Update-Datei hat ihre Prüfung nicht bestanden</translation>
    </message>
    <message>
        <source>the instrument&apos;s volume could not be found or written</source>
        <translation>das Laufwerk des Instruments war nicht zu finden oder zu beschreiben</translation>
    </message>
    <message>
        <source>refused: the answer was no, or a downgrade without --allow-downgrade</source>
        <translation>abgelehnt: die Antwort war nein, oder ein Downgrade ohne --allow-downgrade</translation>
    </message>
    <message>
        <source>done, but the --log-file could not be written</source>
        <translation>erledigt, aber die --log-file konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>update: the instrument came back with another firmware (not applied)</source>
        <translation>update: das Instrument kam mit einer anderen Firmware zurück (nicht eingespielt)</translation>
    </message>
    <message>
        <source>update: the instrument did not come back to confirm the update</source>
        <translation>update: das Instrument kam nicht zurück, um das Update zu bestätigen</translation>
    </message>
    <message>
        <source>another program is using the instrument (the window, another tavlo)</source>
        <translation>ein anderes Programm verwendet das Instrument (das Fenster, ein anderes tavlo)</translation>
    </message>
    <message>
        <source>check: an update is available</source>
        <translation>check: ein Update ist verfügbar</translation>
    </message>
    <message>
        <source>stopped by Ctrl-C</source>
        <translation>mit Strg+C angehalten</translation>
    </message>
    <message>
        <source>copy the instrument&apos;s storage into a new backup folder</source>
        <translation>den Speicher des Instruments in einen neuen Sicherungsordner kopieren</translation>
    </message>
    <message>
        <source>put a backup back onto the instrument; without BACKUP: list them</source>
        <translation>eine Sicherung zurück auf das Instrument spielen; ohne BACKUP: die Sicherungen auflisten</translation>
    </message>
    <message>
        <source>back the instrument&apos;s storage up first (the default where it can be)</source>
        <translation>zuerst den Speicher des Instruments sichern (die Voreinstellung, wo es möglich ist)</translation>
    </message>
    <message>
        <source>update without the backup before it</source>
        <translation>ohne vorherige Sicherung aktualisieren</translation>
    </message>
    <message>
        <source>make the backup in DIR instead of the backups folder</source>
        <translation>die Sicherung in DIR statt im Sicherungsordner anlegen</translation>
    </message>
    <message>
        <source>look for the backups in DIR instead of the backups folder</source>
        <translation>die Sicherungen in DIR statt im Sicherungsordner suchen</translation>
    </message>
    <message>
        <source>replace the differing files without asking</source>
        <translation>die abweichenden Dateien ohne Rückfrage ersetzen</translation>
    </message>
    <message>
        <source>the backup could not be made, or the restore could not be done</source>
        <translation>die Sicherung konnte nicht angelegt oder die Wiederherstellung nicht ausgeführt werden</translation>
    </message>
    <message>
        <source>restore: the backup does not match its manifest</source>
        <translation>restore: die Sicherung stimmt nicht mit ihrem Manifest überein</translation>
    </message>
    <message>
        <source>what was done to the instrument: updates, backups, restores</source>
        <translation>was mit dem Instrument gemacht wurde: Updates, Sicherungen, Wiederherstellungen</translation>
    </message>
    <message>
        <source>check this computer: MIDI, the instrument, the server, the folders</source>
        <translation>diesen Computer prüfen: MIDI, das Instrument, den Server, die Ordner</translation>
    </message>
    <message>
        <source>this computer&apos;s MIDI system, or the instrument&apos;s MIDI port, cannot be used</source>
        <translation>das MIDI-System dieses Computers oder der MIDI-Port des Instruments kann nicht verwendet werden</translation>
    </message>
    <message>
        <source>doctor: a check found a problem</source>
        <translation>doctor: eine Prüfung hat ein Problem gefunden</translation>
    </message>
</context>
<context>
    <name>CliHelpText</name>
    <message>
        <source>Usage: tavlo [options] &lt;command&gt;</source>
        <translation>Aufruf: tavlo [Optionen] &lt;Befehl&gt;</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Befehle:</translation>
    </message>
    <message>
        <source>Options of %1:</source>
        <translation>Optionen von %1:</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>Exit-Codes:</translation>
    </message>
</context>
<context>
    <name>CliInstruments</name>
    <message>
        <source>%1  USB %2:%3  firmware %4  %5 mode</source>
        <translation>%1  USB %2:%3  Firmware %4  Modus %5</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
</context>
<context>
    <name>CliOptions</name>
    <message>
        <source>The option %1 needs a value.</source>
        <translation>Die Option %1 braucht einen Wert.</translation>
    </message>
    <message>
        <source>The option %1 takes no value.</source>
        <translation>Die Option %1 nimmt keinen Wert.</translation>
    </message>
    <message>
        <source>Unexpected word &quot;%1&quot; after the command %2.</source>
        <translation>Unerwartetes Wort „%1“ nach dem Befehl %2.</translation>
    </message>
    <message>
        <source>The option --version of update needs the version to install.</source>
        <translation>Die Option --version von update braucht die zu installierende Version.</translation>
    </message>
    <message>
        <source>Unknown option &quot;%1&quot;.</source>
        <translation>Unbekannte Option „%1“.</translation>
    </message>
    <message>
        <source>The option --file belongs to the command update.</source>
        <translation>Die Option --file gehört zum Befehl update.</translation>
    </message>
    <message>
        <source>The option --allow-downgrade belongs to the command update.</source>
        <translation>Die Option --allow-downgrade gehört zum Befehl update.</translation>
    </message>
    <message>
        <source>The option --done belongs to the command transfer.</source>
        <translation>Die Option --done gehört zum Befehl transfer.</translation>
    </message>
    <message>
        <source>Give either --version or --file, not both.</source>
        <translation>Entweder --version oder --file angeben, nicht beides.</translation>
    </message>
    <message>
        <source>The release server &quot;%1&quot; is not an https address; updates are read over https only.</source>
        <translation>Der Release-Server „%1“ ist keine https-Adresse; Updates werden nur über https gelesen.</translation>
    </message>
    <message>
        <source>Give either --backup or --no-backup, not both.</source>
        <translation>Gib entweder --backup oder --no-backup an, nicht beides.</translation>
    </message>
    <message>
        <source>The option --yes belongs to the commands update and restore.</source>
        <translation>Die Option --yes gehört zu den Befehlen update und restore.</translation>
    </message>
    <message>
        <source>The option --backup belongs to the command update.</source>
        <translation>Die Option --backup gehört zum Befehl update.</translation>
    </message>
    <message>
        <source>The option --no-backup belongs to the command update.</source>
        <translation>Die Option --no-backup gehört zum Befehl update.</translation>
    </message>
    <message>
        <source>The option --to belongs to the command backup.</source>
        <translation>Die Option --to gehört zum Befehl backup.</translation>
    </message>
    <message>
        <source>The option --from belongs to the command restore.</source>
        <translation>Die Option --from gehört zum Befehl restore.</translation>
    </message>
    <message>
        <source>Unknown command &quot;%1&quot;. The commands are list, check, update, transfer, backup, restore, history and doctor.</source>
        <translation>Unbekannter Befehl „%1“. Die Befehle sind list, check, update, transfer, backup, restore, history und doctor.</translation>
    </message>
    <message>
        <source>No command given. The commands are list, check, update, transfer, backup, restore, history and doctor.</source>
        <translation>Kein Befehl angegeben. Die Befehle sind list, check, update, transfer, backup, restore, history und doctor.</translation>
    </message>
</context>
<context>
    <name>CliPrompt</name>
    <message>
        <source>y</source>
        <translation>j</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
</context>
<context>
    <name>CliRestore</name>
    <message>
        <source>There is no backup yet.</source>
        <translation>Es gibt noch keine Sicherung.</translation>
    </message>
    <message>
        <source>Restoring needs firmware 1.5.0 or later; the instrument has %1.</source>
        <translation>Die Wiederherstellung braucht Firmware 1.5.0 oder neuer; das Instrument hat %1.</translation>
    </message>
    <message>
        <source>There is no backup folder &quot;%1&quot;.</source>
        <translation>Es gibt keinen Sicherungsordner „%1“.</translation>
    </message>
    <message>
        <source>There is no backup &quot;%1&quot;, neither as a folder nor in %2. &quot;tavlo restore&quot; lists the backups.</source>
        <translation>Es gibt keine Sicherung „%1“, weder als Ordner noch in %2. „tavlo restore“ listet die Sicherungen auf.</translation>
    </message>
    <message>
        <source>The restore could not be started; the instrument was not changed.</source>
        <translation>Die Wiederherstellung konnte nicht gestartet werden; das Instrument wurde nicht verändert.</translation>
    </message>
    <message>
        <source>Stopping the restore. Waiting for the instrument to return to normal mode.</source>
        <translation>Die Wiederherstellung wird angehalten. Warten, bis das Instrument wieder im Normalmodus ist.</translation>
    </message>
    <message>
        <source>Stopping once the instrument can be returned to normal mode.</source>
        <translation>Wird angehalten, sobald das Instrument in den Normalmodus zurückkehren kann.</translation>
    </message>
    <message>
        <source>There is nobody at a terminal to answer, so nothing is replaced; add --yes to replace the files.</source>
        <translation>Niemand ist an einem Terminal, um zu antworten, daher wird nichts ersetzt; füge --yes hinzu, um die Dateien zu ersetzen.</translation>
    </message>
    <message>
        <source>Replace these files on Tavlo? [y/N] </source>
        <translation>Diese Dateien auf Tavlo ersetzen? [j/N] </translation>
    </message>
    <message>
        <source>Restoring</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>CliRun</name>
    <message>
        <source>See &quot;tavlo --help&quot;.</source>
        <translation>Siehe „tavlo --help“.</translation>
    </message>
</context>
<context>
    <name>CliSession</name>
    <message>
        <source>The instrument is in %1 mode and not on MIDI. Switch it off and on again to return it to normal.</source>
        <translation>Das Instrument ist im Modus %1 und nicht über MIDI erreichbar. Schalte es aus und wieder ein, um es in den Normalmodus zurückzubringen.</translation>
    </message>
    <message>
        <source>No instrument found. Connect it over USB and switch it on.</source>
        <translation>Kein Instrument gefunden. Schließe es über USB an und schalte es ein.</translation>
    </message>
    <message>
        <source>No instrument on the port &quot;%1&quot;.</source>
        <translation>Kein Instrument am Port „%1“.</translation>
    </message>
    <message>
        <source>%1 instruments are connected. Choose one with --port NAME.</source>
        <translation>%1 Instrumente sind angeschlossen. Wähle eines mit --port NAME.</translation>
    </message>
    <message>
        <source>The instrument did not report its firmware version. Switch it off and on again and retry.</source>
        <translation>Das Instrument hat seine Firmware-Version nicht gemeldet. Schalte es aus und wieder ein und versuche es erneut.</translation>
    </message>
    <message>
        <source>Firmware %1 is installed; %2 is available.</source>
        <translation>Firmware %1 ist installiert; %2 ist verfügbar.</translation>
    </message>
    <message>
        <source>Firmware %1 is installed; the latest on offer is %2. Nothing to do.</source>
        <translation>Firmware %1 ist installiert; die neueste angebotene ist %2. Nichts zu tun.</translation>
    </message>
    <message>
        <source>Version %1 is not on offer. The versions on offer: %2.</source>
        <translation>Version %1 wird nicht angeboten. Angebotene Versionen: %2.</translation>
    </message>
    <message>
        <source>The instrument already has firmware %1. Nothing to do.</source>
        <translation>Das Instrument hat bereits Firmware %1. Nichts zu tun.</translation>
    </message>
    <message>
        <source>Firmware %1 is older than the installed %2; add --allow-downgrade to install it.</source>
        <translation>Firmware %1 ist älter als die installierte %2; füge --allow-downgrade hinzu, um sie zu installieren.</translation>
    </message>
    <message>
        <source>The instrument did not come back in transfer mode.</source>
        <translation>Das Instrument ist nicht im Übertragungsmodus zurückgekommen.</translation>
    </message>
    <message>
        <source>The instrument did not come back after the transfer. Switch it off and on again.</source>
        <translation>Das Instrument ist nach der Übertragung nicht zurückgekommen. Schalte es aus und wieder ein.</translation>
    </message>
    <message>
        <source>The instrument is back in normal mode.</source>
        <translation>Das Instrument ist wieder im Normalmodus.</translation>
    </message>
    <message>
        <source>Transfer mode needs firmware 1.5.0 or later; the instrument has %1.</source>
        <translation>Der Übertragungsmodus braucht Firmware 1.5.0 oder neuer; das Instrument hat %1.</translation>
    </message>
    <message>
        <source>Switching the instrument to transfer mode...</source>
        <translation>Das Instrument wechselt in den Übertragungsmodus...</translation>
    </message>
    <message>
        <source>The instrument is in transfer mode, but its volume %1 did not appear. Run &quot;tavlo transfer --done&quot; to return it to normal.</source>
        <translation>Das Instrument ist im Übertragungsmodus, aber sein Laufwerk %1 ist nicht erschienen. Führe „tavlo transfer --done“ aus, um es in den Normalmodus zurückzubringen.</translation>
    </message>
    <message>
        <source>The instrument&apos;s storage is at %1</source>
        <translation>Der Speicher des Instruments liegt unter %1</translation>
    </message>
    <message>
        <source>Press Enter to eject it and return the instrument to normal (or run &quot;tavlo transfer --done&quot; later).</source>
        <translation>Drücke die Eingabetaste, um es auszuwerfen und das Instrument in den Normalmodus zurückzubringen (oder führe später „tavlo transfer --done“ aus).</translation>
    </message>
    <message>
        <source>Left in transfer mode; run &quot;tavlo transfer --done&quot; to end it.</source>
        <translation>Im Übertragungsmodus gelassen; führe „tavlo transfer --done“ aus, um ihn zu beenden.</translation>
    </message>
    <message>
        <source>The instrument is not in transfer mode. Nothing to do.</source>
        <translation>Das Instrument ist nicht im Übertragungsmodus. Nichts zu tun.</translation>
    </message>
    <message>
        <source>Ejecting the volume and returning the instrument to normal...</source>
        <translation>Das Laufwerk wird ausgeworfen und das Instrument in den Normalmodus zurückgebracht...</translation>
    </message>
    <message>
        <source>The volume %1 could not be ejected; close the files open on it and run &quot;tavlo transfer --done&quot; again.</source>
        <translation>Das Laufwerk %1 konnte nicht ausgeworfen werden; schließe die darauf geöffneten Dateien und führe „tavlo transfer --done“ erneut aus.</translation>
    </message>
    <message>
        <source>Stopped. The instrument was not changed; it is in normal mode.</source>
        <translation>Angehalten. Das Instrument wurde nicht verändert; es ist im Normalmodus.</translation>
    </message>
    <message>
        <source>Stopping once the instrument is in transfer mode, to return it to normal.</source>
        <translation>Anhalten, sobald das Instrument im Übertragungsmodus ist, um es in den Normalmodus zurückzubringen.</translation>
    </message>
    <message>
        <source>Stopping once the instrument is back in normal mode.</source>
        <translation>Anhalten, sobald das Instrument wieder im Normalmodus ist.</translation>
    </message>
</context>
<context>
    <name>CliUpdate</name>
    <message>
        <source>firmware %1 from the release server</source>
        <translation>Firmware %1 vom Release-Server</translation>
    </message>
    <message>
        <source>the update file %1</source>
        <translation>die Update-Datei %1</translation>
    </message>
    <message>
        <source>An update of the instrument was interrupted; it waits in update mode. This update finishes it.</source>
        <translation>Ein Update des Instruments wurde unterbrochen; es wartet im Update-Modus. Dieses Update schließt es ab.</translation>
    </message>
    <message>
        <source>Install %1 on the instrument (firmware %2)? [y/N] </source>
        <translation>%1 auf dem Instrument (Firmware %2) installieren? [j/N] </translation>
    </message>
    <message>
        <source>Not installed; the instrument was not changed.</source>
        <translation>Nicht installiert; das Instrument wurde nicht verändert.</translation>
    </message>
    <message>
        <source>The update could not be started; the instrument was not changed.</source>
        <translation>Das Update konnte nicht gestartet werden; das Instrument wurde nicht verändert.</translation>
    </message>
    <message>
        <source>Stopped. The instrument was not changed; it is in normal mode.</source>
        <translation>Angehalten. Das Instrument wurde nicht verändert; es ist im Normalmodus.</translation>
    </message>
    <message>
        <source>Stopped before the instrument came back; it goes on applying the update by itself.</source>
        <translation>Angehalten, bevor das Instrument zurückkam; es spielt das Update von selbst weiter ein.</translation>
    </message>
    <message>
        <source>Stopping after this step: the update file is being handed to the instrument, which would otherwise stay in update mode.</source>
        <translation>Anhalten nach diesem Schritt: Die Update-Datei wird an das Instrument übergeben, das sonst im Update-Modus bliebe.</translation>
    </message>
    <message>
        <source>The instrument is switching to update mode.</source>
        <translation>Das Instrument wechselt in den Update-Modus.</translation>
    </message>
    <message>
        <source>The update file is on the instrument. Telling it to apply the update...</source>
        <translation>Die Update-Datei ist auf dem Instrument. Es wird angewiesen, das Update anzuwenden...</translation>
    </message>
    <message>
        <source>The instrument did not come back to take the update. Switch it off and on again; it applies the file it holds.</source>
        <translation>Das Instrument ist nicht zurückgekommen, um das Update zu übernehmen. Schalte es aus und wieder ein; es wendet die Datei an, die es hat.</translation>
    </message>
    <message>
        <source>The instrument went away during the update; it was not changed. Connect it and run the command again.</source>
        <translation>Das Instrument wurde während des Updates getrennt; es wurde nicht verändert. Schließe es an und führe den Befehl erneut aus.</translation>
    </message>
    <message>
        <source>Copying to the instrument</source>
        <translation>Kopieren auf das Instrument</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>The update file could not be put onto the instrument: %1 The instrument is in update mode; switch it off and on again to return it to normal.</source>
        <translation>Die Update-Datei konnte nicht auf das Instrument gebracht werden: %1 Das Instrument ist im Update-Modus; schalte es aus und wieder ein, um es in den Normalmodus zurückzubringen.</translation>
    </message>
    <message>
        <source>File transfer complete! Tavlo will now reboot to apply the update.</source>
        <translation>Dateiübertragung abgeschlossen! Tavlo startet jetzt neu, um das Update anzuwenden.</translation>
    </message>
    <message>
        <source>There is no folder for backups.</source>
        <translation>Es gibt keinen Ordner für Sicherungen.</translation>
    </message>
    <message>
        <source>No backup can be made now.</source>
        <translation>Jetzt kann keine Sicherung angelegt werden.</translation>
    </message>
    <message>
        <source>%1 The update was not started; run it with --no-backup to update without a backup.</source>
        <translation>%1 Das Update wurde nicht gestartet; starte es mit --no-backup, um ohne Sicherung zu aktualisieren.</translation>
    </message>
</context>
<context>
    <name>ComputerCheckAction</name>
    <message>
        <source>Check this computer…</source>
        <translation>Diesen Computer prüfen…</translation>
    </message>
</context>
<context>
    <name>ComputerCheckWindow</name>
    <message>
        <source>Check this computer</source>
        <translation>Diesen Computer prüfen</translation>
    </message>
    <message>
        <source>Checking this computer…</source>
        <translation>Dieser Computer wird geprüft…</translation>
    </message>
    <message>
        <source>What this computer offers Tavlo</source>
        <translation>Was dieser Computer Tavlo bietet</translation>
    </message>
    <message>
        <source>The checks of this computer</source>
        <translation>Die Prüfungen dieses Computers</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ConnectInstructions</name>
    <message>
        <source>1- Connect the USB-C to USB-A Tavlo cable to the HOST port of Tavlo (USB-C) and to the computer (USB-A).

2- Ensure that the Breakout Module is connected to Tavlo by using the USB-C to USB-C cable from the Module Output on Tavlo to the USB-C port on the Breakout Module.

3- Make sure that No cables are connected to the USB MIDI port of Tavlo.</source>
        <translation>1- Verbinde das Tavlo-Kabel (USB-C auf USB-A) mit dem HOST-Anschluss von Tavlo (USB-C) und mit dem Computer (USB-A).

2- Sorge dafür, dass das Breakout-Modul mit Tavlo verbunden ist: mit dem Kabel USB-C auf USB-C vom Module-Output an Tavlo zum USB-C-Anschluss am Breakout-Modul.

3- Achte darauf, dass am USB-MIDI-Anschluss von Tavlo kein Kabel steckt.</translation>
    </message>
</context>
<context>
    <name>ConnectionIndicator</name>
    <message>
        <source>Looking for Tavlo</source>
        <translation>Suche nach Tavlo</translation>
    </message>
    <message>
        <source>Tavlo logo</source>
        <translation>Tavlo-Logo</translation>
    </message>
</context>
<context>
    <name>CurlFallback</name>
    <message>
        <source>Hmm, the download didn’t go through</source>
        <translation>Hm, der Download hat nicht geklappt</translation>
    </message>
    <message>
        <source>there is no temporary folder to download the update into</source>
        <translation>es gibt keinen temporären Ordner, in den das Update geladen werden kann</translation>
    </message>
    <message>
        <source>the program &quot;curl&quot; was not found on the search path</source>
        <translation>das Programm „curl“ wurde im Suchpfad nicht gefunden</translation>
    </message>
    <message>
        <source>curl could not be started: %1</source>
        <translation>curl konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Download completed</source>
        <translation>Download abgeschlossen</translation>
    </message>
    <message>
        <source>curl stopped unexpectedly</source>
        <translation>curl wurde unerwartet beendet</translation>
    </message>
    <message>
        <source>curl exited with code %1</source>
        <translation>curl wurde mit Code %1 beendet</translation>
    </message>
    <message>
        <source>Fallback failed: %1</source>
        <translation>Auch der zweite Weg ist fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>DiagnosisReport</name>
    <message>
        <source>MIDI system</source>
        <translation>MIDI-System</translation>
    </message>
    <message>
        <source>MIDI ports</source>
        <translation>MIDI-Ports</translation>
    </message>
    <message>
        <source>Tavlo</source>
        <translation>Tavlo</translation>
    </message>
    <message>
        <source>Release server</source>
        <translation>Versionsserver</translation>
    </message>
    <message>
        <source>Download folder</source>
        <translation>Download-Ordner</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volumes</source>
        <translation>Laufwerke von Tavlo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Problem</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>Not checked</source>
        <translation>Nicht geprüft</translation>
    </message>
    <message>
        <source>%1: %2. %3</source>
        <translation>%1: %2. %3</translation>
    </message>
    <message>
        <source>Check of this computer, %1</source>
        <translation>Prüfung dieses Computers, %1</translation>
    </message>
</context>
<context>
    <name>DownloadFailureText</name>
    <message>
        <source>The second download route (the program curl) is not installed.</source>
        <translation>Der zweite Download-Weg (das Programm curl) ist nicht installiert.</translation>
    </message>
    <message>
        <source>The second download route (the program curl) could not be started.</source>
        <translation>Der zweite Download-Weg (das Programm curl) konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The update file offered by the server has an unusable name, so it was not downloaded.</source>
        <translation>Die Update-Datei, die der Server anbietet, hat einen unbrauchbaren Namen und wurde daher nicht heruntergeladen.</translation>
    </message>
    <message>
        <source>The release server does not have the file (it answered 404, not found).</source>
        <translation>Der Release-Server hat die Datei nicht (er antwortete 404, nicht gefunden).</translation>
    </message>
    <message>
        <source>The release server has a problem (it answered %1). Try again later.</source>
        <translation>Der Release-Server hat ein Problem (er antwortete %1). Versuche es später noch einmal.</translation>
    </message>
    <message>
        <source>The release server refused the request (it answered %1).</source>
        <translation>Der Release-Server hat die Anfrage abgelehnt (er antwortete %1).</translation>
    </message>
    <message>
        <source>The release server&apos;s certificate is not trusted, so nothing was downloaded from it.</source>
        <translation>Dem Zertifikat des Release-Servers wird nicht vertraut, daher wurde nichts von ihm heruntergeladen.</translation>
    </message>
    <message>
        <source>The release server could not be reached. Check the internet connection.</source>
        <translation>Der Release-Server war nicht erreichbar. Prüfe die Internetverbindung.</translation>
    </message>
    <message>
        <source>The connection to the release server broke off before the download was complete.</source>
        <translation>Die Verbindung zum Release-Server brach ab, bevor der Download vollständig war.</translation>
    </message>
    <message>
        <source>The download from the release server failed.</source>
        <translation>Der Download vom Release-Server ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The download stopped: nothing arrived for %1 seconds.</source>
        <translation>Der Download ist stehen geblieben: %1 Sekunden lang kam nichts an.</translation>
    </message>
    <message>
        <source>The update file could not be written: the download folder is read-only or missing.</source>
        <translation>Die Update-Datei konnte nicht geschrieben werden: Der Download-Ordner ist schreibgeschützt oder fehlt.</translation>
    </message>
    <message>
        <source>The update file could not be written: the download folder&apos;s disk is full.</source>
        <translation>Die Update-Datei konnte nicht geschrieben werden: Der Datenträger des Download-Ordners ist voll.</translation>
    </message>
    <message>
        <source>The release server sent the download to an insecure (http) address, so it was not followed.</source>
        <translation>Der Release-Server hat den Download an eine unsichere (http-)Adresse umgeleitet; dem wurde nicht gefolgt.</translation>
    </message>
    <message>
        <source>The update file could not be written: the download folder is full or read-only.</source>
        <translation>Die Update-Datei konnte nicht geschrieben werden: Der Download-Ordner ist voll oder schreibgeschützt.</translation>
    </message>
    <message>
        <source>The download stopped: the release server was too slow or stopped sending.</source>
        <translation>Der Download ist stehen geblieben: Der Release-Server war zu langsam oder hat aufgehört zu senden.</translation>
    </message>
    <message>
        <source>The second download route (the program curl) stopped unexpectedly.</source>
        <translation>Der zweite Download-Weg (das Programm curl) wurde unerwartet beendet.</translation>
    </message>
    <message>
        <source>The second download route (the program curl) failed too (code %1).</source>
        <translation>Auch der zweite Download-Weg (das Programm curl) ist fehlgeschlagen (Code %1).</translation>
    </message>
    <message>
        <source>The list of updates could not be read. </source>
        <translation>Die Liste der Updates konnte nicht gelesen werden. </translation>
    </message>
    <message>
        <source>The release server&apos;s list of updates is unusable (%1).</source>
        <translation>Die Liste der Updates des Release-Servers ist unbrauchbar (%1).</translation>
    </message>
    <message>
        <source>The release server&apos;s list of updates is too large (over %1 MiB), so it was not read.</source>
        <translation>Die Liste der Updates des Release-Servers ist zu groß (über %1 MiB) und wurde daher nicht gelesen.</translation>
    </message>
    <message>
        <source>The update file has the wrong size (%1 bytes instead of %2), so it was not used.</source>
        <translation>Die Update-Datei hat die falsche Größe (%1 statt %2 Bytes) und wurde daher nicht verwendet.</translation>
    </message>
    <message>
        <source>The update file does not match its checksum, so it was not used.</source>
        <translation>Die Update-Datei passt nicht zu ihrer Prüfsumme und wurde daher nicht verwendet.</translation>
    </message>
    <message>
        <source>The update file could not be read.</source>
        <translation>Die Update-Datei konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The download was cut short (%1 of %2 bytes arrived).</source>
        <translation>Der Download brach vorzeitig ab (%1 von %2 Bytes kamen an).</translation>
    </message>
    <message>
        <source>The release server&apos;s certificate is not trusted, so nothing was downloaded from it, and no other way to download was tried.</source>
        <translation>Dem Zertifikat des Release-Servers wird nicht vertraut, daher wurde nichts von ihm heruntergeladen und auch kein anderer Download-Weg versucht.</translation>
    </message>
    <message>
        <source>The catalogue&apos;s checksum for this file cannot be read, so it was not downloaded.</source>
        <translation>Die Prüfsumme, die die Liste der Updates für diese Datei angibt, ist nicht lesbar; die Datei wurde daher nicht heruntergeladen.</translation>
    </message>
    <message>
        <source>The list of updates could not be read: nothing arrived from the release server for %1 seconds.</source>
        <translation>Die Liste der Updates konnte nicht gelesen werden: Vom Release-Server kam %1 Sekunden lang nichts.</translation>
    </message>
    <message>
        <source>The list of updates could not be read: the release server had not sent all of it after %1 seconds.</source>
        <translation>Die Liste der Updates konnte nicht gelesen werden: Der Release-Server hatte sie nach %1 Sekunden noch nicht ganz gesendet.</translation>
    </message>
    <message>
        <source>The update file is larger than an update file can be (over %1 GiB), so it was not downloaded.</source>
        <translation>Die Update-Datei ist größer, als eine Update-Datei sein kann (über %1 GiB), und wurde daher nicht heruntergeladen.</translation>
    </message>
    <message>
        <source>What arrived is kept: when you try again, the download continues where it stopped.</source>
        <translation>Was schon angekommen ist, bleibt erhalten: Wenn du es noch einmal versuchst, geht der Download dort weiter, wo er aufgehört hat.</translation>
    </message>
</context>
<context>
    <name>FinishInterrupted</name>
    <message>
        <source>Finish update</source>
        <translation>Abschließen</translation>
    </message>
    <message>
        <source>Copies the update file onto Tavlo and tells it to apply it</source>
        <translation>Kopiert die Update-Datei auf Tavlo und weist Tavlo an, sie einzuspielen</translation>
    </message>
</context>
<context>
    <name>FirstConnectionLink</name>
    <message>
        <source>The update file is on Tavlo&apos;s volume, but Tavlo could not be told to apply it: it did not answer. Unplug Tavlo and plug it in again, then press Try again.</source>
        <translation>Die Update-Datei liegt auf dem Laufwerk von Tavlo, aber Tavlo konnte nicht angewiesen werden, sie einzuspielen: Tavlo hat nicht geantwortet. Ziehe Tavlos Kabel ab, stecke es wieder ein und drücke dann „Erneut versuchen“.</translation>
    </message>
</context>
<context>
    <name>FlowPanel</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>GenericProgressBar</name>
    <message>
        <source>Downloading...</source>
        <translation>Download läuft...</translation>
    </message>
    <message>
        <source>Transferring: %1</source>
        <translation>Übertragung: %1</translation>
    </message>
    <message>
        <source>Transferring...</source>
        <translation>Übertragung läuft...</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Bitte warten...</translation>
    </message>
</context>
<context>
    <name>HistoryAction</name>
    <message>
        <source>History…</source>
        <translation>Verlauf…</translation>
    </message>
</context>
<context>
    <name>HistoryText</name>
    <message>
        <source>Nothing has been done to Tavlo yet.</source>
        <translation>Mit Tavlo wurde noch nichts gemacht.</translation>
    </message>
    <message>
        <source>confirmed</source>
        <translation>bestätigt</translation>
    </message>
    <message>
        <source>not applied</source>
        <translation>nicht eingespielt</translation>
    </message>
    <message>
        <source>not confirmed</source>
        <translation>nicht bestätigt</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>done</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 Byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1 kB</source>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>Update: %1</source>
        <translation>Update: %1</translation>
    </message>
    <message>
        <source>Update to %1: %2</source>
        <translation>Update auf %1: %2</translation>
    </message>
    <message>
        <source>Update from %1: %2</source>
        <translation>Update von %1: %2</translation>
    </message>
    <message>
        <source>Update %1 → %2: %3</source>
        <translation>Update %1 → %2: %3</translation>
    </message>
    <message>
        <source>Backup: %1</source>
        <translation>Sicherung: %1</translation>
    </message>
    <message>
        <source>Backup: 1 file, %1</source>
        <translation>Sicherung: 1 Datei, %1</translation>
    </message>
    <message>
        <source>Backup: %1 files, %2</source>
        <translation>Sicherung: %1 Dateien, %2</translation>
    </message>
    <message>
        <source>Restore from %1</source>
        <translation>Wiederherstellung aus %1</translation>
    </message>
    <message>
        <source>Restore from %1 firmware %2</source>
        <translation>Wiederherstellung aus %1, Firmware %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: 1 file</source>
        <translation>%1: 1 Datei</translation>
    </message>
    <message>
        <source>%1: %2 files</source>
        <translation>%1: %2 Dateien</translation>
    </message>
    <message>
        <source>File %1</source>
        <translation>Datei %1</translation>
    </message>
    <message>
        <source>SHA-256 %1</source>
        <translation>SHA-256 %1</translation>
    </message>
    <message>
        <source>The instrument reported firmware %1 afterwards.</source>
        <translation>Danach meldete das Instrument die Firmware %1.</translation>
    </message>
    <message>
        <source>Folder %1</source>
        <translation>Ordner %1</translation>
    </message>
    <message>
        <source>%1 taken over from the backup before</source>
        <translation>%1 aus der vorigen Sicherung übernommen</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>What was done to Tavlo</source>
        <translation>Was mit Tavlo gemacht wurde</translation>
    </message>
    <message>
        <source>Nothing has been done to Tavlo yet.</source>
        <translation>Mit Tavlo wurde noch nichts gemacht.</translation>
    </message>
    <message>
        <source>What was done to Tavlo, newest first</source>
        <translation>Was mit Tavlo gemacht wurde, das Neueste zuerst</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>HomeScreen</name>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Transfer</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>Shows the storage of Tavlo on this computer, to move files</source>
        <translation>Zeigt den Speicher von Tavlo auf diesem Computer an, um Dateien zu verschieben</translation>
    </message>
    <message>
        <source>Back up now</source>
        <translation>Jetzt sichern</translation>
    </message>
    <message>
        <source>Copies Tavlo&apos;s projects and other files into a new backup on this computer</source>
        <translation>Kopiert Tavlos Projekte und übrige Dateien in eine neue Sicherung auf diesem Computer</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Puts the files of a backup back onto Tavlo</source>
        <translation>Spielt die Dateien einer Sicherung zurück auf Tavlo</translation>
    </message>
</context>
<context>
    <name>InUseWindow</name>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>InstrumentLock</name>
    <message>
        <source>Tavlo is already open in another window (process %1). Use that window, or close it and try again.</source>
        <translation>Tavlo ist bereits in einem anderen Fenster geöffnet (Prozess %1). Nutze dieses Fenster, oder schließe es und versuche es erneut.</translation>
    </message>
    <message>
        <source>The command &quot;tavlo %1&quot; is using Tavlo (process %2). Wait until it has ended, then try again.</source>
        <translation>Der Befehl „tavlo %1“ verwendet Tavlo (Prozess %2). Warte, bis er beendet ist, und versuche es dann erneut.</translation>
    </message>
    <message>
        <source>Another program is using Tavlo (process %1). Wait until it has ended, then try again.</source>
        <translation>Ein anderes Programm verwendet Tavlo (Prozess %1). Warte, bis es beendet ist, und versuche es dann erneut.</translation>
    </message>
    <message>
        <source>Another program is using Tavlo. Wait until it has ended, then try again.</source>
        <translation>Ein anderes Programm verwendet Tavlo. Warte, bis es beendet ist, und versuche es dann erneut.</translation>
    </message>
</context>
<context>
    <name>InterruptedUpdate</name>
    <message>
        <source>An update of Tavlo was interrupted. Finish it now?</source>
        <translation>Ein Update von Tavlo wurde unterbrochen. Jetzt abschließen?</translation>
    </message>
</context>
<context>
    <name>LocalUpdateFile</name>
    <message>
        <source>Update files (*.%1)</source>
        <translation>Update-Dateien (*.%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>No update file was chosen.</source>
        <translation>Es wurde keine Update-Datei gewählt.</translation>
    </message>
    <message>
        <source>The file %1 is not there any more.</source>
        <translation>Die Datei %1 ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 ist keine Datei.</translation>
    </message>
    <message>
        <source>%1 is not an update file: update files end in .%2.</source>
        <translation>%1 ist keine Update-Datei: Update-Dateien enden auf .%2.</translation>
    </message>
    <message>
        <source>The file %1 could not be read.</source>
        <translation>Die Datei %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file %1 is empty.</source>
        <translation>Die Datei %1 ist leer.</translation>
    </message>
    <message>
        <source>The file %1 (%2) is larger than Tavlo&apos;s volume (%3).</source>
        <translation>Die Datei %1 (%2) ist größer als das Laufwerk von Tavlo (%3).</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>LogProblemNotice</name>
    <message>
        <source>This run keeps no session log. %1</source>
        <translation>Diese Sitzung wird nicht protokolliert. %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MidiHandlerCore</name>
    <message>
        <source>Tavlo could not be told to switch to update mode, so nothing was written to it. Check the USB cable and try again.</source>
        <translation>Tavlo konnte nicht angewiesen werden, in den Update-Modus zu wechseln, daher wurde nichts darauf geschrieben. Prüfe das USB-Kabel und versuche es erneut.</translation>
    </message>
</context>
<context>
    <name>MidiProblemText</name>
    <message>
        <source>This computer&apos;s MIDI system could not be opened%1. Load its sequencer (on Linux: &quot;sudo modprobe snd-seq&quot;); Tavlo is found as soon as it is there.</source>
        <translation>Das MIDI-System dieses Computers ließ sich nicht öffnen%1. Lade seinen Sequencer (unter Linux: „sudo modprobe snd-seq“); Tavlo wird gefunden, sobald er da ist.</translation>
    </message>
    <message>
        <source>This computer&apos;s MIDI system could not be opened%1. Add your user to the audio group, then log in again.</source>
        <translation>Das MIDI-System dieses Computers ließ sich nicht öffnen%1. Füge deinen Benutzer der Gruppe „audio“ hinzu und melde dich dann neu an.</translation>
    </message>
    <message>
        <source>Tavlo is connected, but another program is using its MIDI port (a DAW or another MIDI tool). Close it; Tavlo is found as soon as the port is free.</source>
        <translation>Tavlo ist angeschlossen, aber ein anderes Programm verwendet seinen MIDI-Anschluss (eine DAW oder ein anderes MIDI-Werkzeug). Schließe es; Tavlo wird gefunden, sobald der Anschluss frei ist.</translation>
    </message>
    <message>
        <source>This computer&apos;s MIDI system reported an error%1. Reconnect Tavlo; if that does not help, restart the computer.</source>
        <translation>Das MIDI-System dieses Computers meldete einen Fehler%1. Schließe Tavlo neu an; hilft das nicht, starte den Computer neu.</translation>
    </message>
</context>
<context>
    <name>Presence</name>
    <message>
        <source>Looking for Tavlo</source>
        <translation>Suche nach Tavlo</translation>
    </message>
    <message>
        <source>Tavlo is connected</source>
        <translation>Tavlo ist verbunden</translation>
    </message>
    <message>
        <source>Tavlo is not connected</source>
        <translation>Tavlo ist nicht verbunden</translation>
    </message>
</context>
<context>
    <name>ProxyFailureText</name>
    <message>
        <source>The proxy server %1 asks for a user name and password, and none it accepts was given. Check the proxy settings of this computer.</source>
        <translation>Der Proxyserver %1 verlangt einen Benutzernamen und ein Passwort, und es wurden keine angegeben, die er annimmt. Prüfe die Proxy-Einstellungen dieses Computers.</translation>
    </message>
    <message>
        <source>The proxy server %1 refused the connection. Check the proxy settings of this computer.</source>
        <translation>Der Proxyserver %1 hat die Verbindung abgelehnt. Prüfe die Proxy-Einstellungen dieses Computers.</translation>
    </message>
    <message>
        <source>The proxy server %1 could not be found. Check the proxy settings of this computer and the internet connection.</source>
        <translation>Der Proxyserver %1 wurde nicht gefunden. Prüfe die Proxy-Einstellungen dieses Computers und die Internetverbindung.</translation>
    </message>
    <message>
        <source>The proxy server %1 did not answer in time. Check the proxy settings of this computer, or try again later.</source>
        <translation>Der Proxyserver %1 hat nicht rechtzeitig geantwortet. Prüfe die Proxy-Einstellungen dieses Computers oder versuche es später noch einmal.</translation>
    </message>
    <message>
        <source>The proxy server %1 closed the connection before the download was complete. Try again later, or check the proxy settings of this computer.</source>
        <translation>Der Proxyserver %1 hat die Verbindung beendet, bevor der Download vollständig war. Versuche es später noch einmal oder prüfe die Proxy-Einstellungen dieses Computers.</translation>
    </message>
    <message>
        <source>The proxy server %1 could not reach the release server. Try again later, or check the proxy settings of this computer.</source>
        <translation>Der Proxyserver %1 konnte den Release-Server nicht erreichen. Versuche es später noch einmal oder prüfe die Proxy-Einstellungen dieses Computers.</translation>
    </message>
    <message>
        <source>The connection through the proxy server %1 failed. Check the proxy settings of this computer.</source>
        <translation>Die Verbindung über den Proxyserver %1 ist fehlgeschlagen. Prüfe die Proxy-Einstellungen dieses Computers.</translation>
    </message>
</context>
<context>
    <name>ReleaseChoices</name>
    <message>
        <source>This entry has no version that can be read.</source>
        <translation>Dieser Eintrag hat keine lesbare Version.</translation>
    </message>
    <message>
        <source>This entry names no update file.</source>
        <translation>Dieser Eintrag nennt keine Update-Datei.</translation>
    </message>
    <message>
        <source>This entry&apos;s file name cannot be used.</source>
        <translation>Der Dateiname dieses Eintrags kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>This version is listed again later in the catalogue.</source>
        <translation>Diese Version steht weiter unten im Katalog noch einmal.</translation>
    </message>
</context>
<context>
    <name>ReleaseNotesText</name>
    <message>
        <source>The rest of these notes is left out: they are longer than 64 KiB.</source>
        <translation>Der Rest dieser Hinweise ist weggelassen: Sie sind länger als 64 KiB.</translation>
    </message>
</context>
<context>
    <name>RestoreFailureText</name>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>The backup&apos;s files do not match what was backed up: %1. They were changed or removed since, so this backup cannot be restored. Choose another backup.</source>
        <translation>Die Dateien der Sicherung stimmen nicht mehr mit dem Gesicherten überein: %1. Sie wurden seitdem geändert oder entfernt, daher kann diese Sicherung nicht wiederhergestellt werden. Wähle eine andere Sicherung.</translation>
    </message>
    <message>
        <source>This backup has no list of its files (manifest.json), so it cannot be restored. Choose another backup.</source>
        <translation>Diese Sicherung hat keine Liste ihrer Dateien (manifest.json), daher kann sie nicht wiederhergestellt werden. Wähle eine andere Sicherung.</translation>
    </message>
    <message>
        <source>The list of this backup&apos;s files (manifest.json) cannot be read (%1), so the backup cannot be restored. Choose another backup.</source>
        <translation>Die Liste der Dateien dieser Sicherung (manifest.json) kann nicht gelesen werden (%1), daher kann die Sicherung nicht wiederhergestellt werden. Wähle eine andere Sicherung.</translation>
    </message>
    <message>
        <source>The backup&apos;s file %1 changed during the restore, so it was not restored. Leave the backup folder alone while restoring, check the backup again, then restore again.</source>
        <translation>Die Datei %1 der Sicherung hat sich während der Wiederherstellung geändert, daher wurde sie nicht wiederhergestellt. Lass den Ordner der Sicherung während der Wiederherstellung unberührt, prüfe die Sicherung erneut und stelle sie dann erneut wieder her.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is full: the restore needs %1, %2 are free. Delete files on Tavlo you no longer need, then restore again.</source>
        <translation>Das Laufwerk von Tavlo ist voll: Die Wiederherstellung braucht %1, frei sind %2. Lösche Dateien auf Tavlo, die du nicht mehr brauchst, und stelle dann erneut wieder her.</translation>
    </message>
    <message>
        <source>Tavlo was disconnected during the restore. No file was restored; the files on Tavlo are as they were. Connect Tavlo again, then restore again.</source>
        <translation>Tavlo wurde während der Wiederherstellung getrennt. Keine Datei wurde wiederhergestellt; die Dateien auf Tavlo sind wie zuvor. Verbinde Tavlo erneut und stelle dann erneut wieder her.</translation>
    </message>
    <message>
        <source>Tavlo was disconnected during the restore. Restored: %1. The other files on Tavlo are as they were. Connect Tavlo again, then restore again to finish.</source>
        <translation>Tavlo wurde während der Wiederherstellung getrennt. Wiederhergestellt: %1. Die übrigen Dateien auf Tavlo sind wie zuvor. Verbinde Tavlo erneut und stelle dann erneut wieder her, um den Rest abzuschließen.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume did not appear on this computer. Check the cable, then try again.</source>
        <translation>Das Laufwerk von Tavlo ist auf diesem Computer nicht erschienen. Prüfe das Kabel und versuche es dann erneut.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is read-only, so nothing could be restored onto it.</source>
        <translation>Das Laufwerk von Tavlo ist schreibgeschützt, daher konnte nichts darauf wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume refused to take %1 (%2). The file is as it was; restore again, and if it fails again, check Tavlo&apos;s storage.</source>
        <translation>Das Laufwerk von Tavlo hat %1 nicht angenommen (%2). Die Datei ist wie zuvor; stelle erneut wieder her, und wenn es wieder scheitert, prüfe den Speicher von Tavlo.</translation>
    </message>
    <message>
        <source>%1 could not be restored: a folder on its way on Tavlo&apos;s volume is a link or a file, and nothing is written through it. Move it away on Tavlo, then restore again.</source>
        <translation>%1 konnte nicht wiederhergestellt werden: Ein Ordner auf dem Weg dorthin ist auf dem Laufwerk von Tavlo eine Verknüpfung oder eine Datei, und durch so etwas wird nichts geschrieben. Verschiebe sie auf Tavlo an einen anderen Ort und stelle dann erneut wieder her.</translation>
    </message>
    <message>
        <source>The copy of %1 on Tavlo&apos;s volume did not read back as written, so it was not put in place; the file is as it was. Restore again, and if it fails again, check Tavlo&apos;s storage.</source>
        <translation>Die Kopie von %1 auf dem Laufwerk von Tavlo ließ sich nicht so zurücklesen, wie sie geschrieben wurde, daher wurde sie nicht an ihren Platz gesetzt; die Datei ist wie zuvor. Stelle erneut wieder her, und wenn es wieder scheitert, prüfe den Speicher von Tavlo.</translation>
    </message>
    <message>
        <source>not a path within the volume</source>
        <translation>kein Pfad innerhalb des Laufwerks</translation>
    </message>
    <message>
        <source>a folder could not be made</source>
        <translation>ein Ordner konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>the file could not be flushed</source>
        <translation>die Datei konnte nicht auf das Gerät geschrieben werden</translation>
    </message>
    <message>
        <source>the file could not be put in place</source>
        <translation>die Datei konnte nicht an ihren Platz gesetzt werden</translation>
    </message>
    <message>
        <source>%1 was not restored; the file on Tavlo is as it was. %2</source>
        <translation>%1 wurde nicht wiederhergestellt; die Datei auf Tavlo ist unverändert. %2</translation>
    </message>
</context>
<context>
    <name>RestoreFlow</name>
    <message>
        <source>%1, firmware %2: %3, %4</source>
        <translation>%1, Firmware %2: %3, %4</translation>
    </message>
    <message>
        <source>Restore a backup</source>
        <translation>Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>Replace these files on Tavlo?</source>
        <translation>Diese Dateien auf Tavlo ersetzen?</translation>
    </message>
    <message>
        <source>Restoring &quot;%1&quot;</source>
        <translation>„%1“ wird wiederhergestellt</translation>
    </message>
    <message>
        <source>Restore complete</source>
        <translation>Wiederherstellung fertig</translation>
    </message>
    <message>
        <source>Restore failed</source>
        <translation>Wiederherstellung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Restore cancelled</source>
        <translation>Wiederherstellung abgebrochen</translation>
    </message>
    <message>
        <source>There is no backup yet.</source>
        <translation>Es gibt noch keine Sicherung.</translation>
    </message>
    <message>
        <source>Choose the backup to put back onto Tavlo.</source>
        <translation>Wähle die Sicherung, die zurück auf Tavlo soll.</translation>
    </message>
    <message>
        <source>Checking the backup&apos;s files…</source>
        <translation>Die Dateien der Sicherung werden geprüft …</translation>
    </message>
    <message>
        <source>Switching Tavlo to transfer mode…</source>
        <translation>Tavlo wechselt in den Übertragungsmodus …</translation>
    </message>
    <message>
        <source>Comparing Tavlo&apos;s files with the backup…</source>
        <translation>Tavlos Dateien werden mit der Sicherung verglichen …</translation>
    </message>
    <message>
        <source>Differing from the backup: %1 on Tavlo (%2 to write). Each is replaced with the backup&apos;s version.</source>
        <translation>Anders als in der Sicherung: %1 auf Tavlo (%2 zu schreiben). Jede wird durch die Fassung der Sicherung ersetzt.</translation>
    </message>
    <message>
        <source>Only on Tavlo, and left as they are: %1.</source>
        <translation>Nur auf Tavlo, und bleiben, wie sie sind: %1.</translation>
    </message>
    <message>
        <source>%1 of %2 written and checked.</source>
        <translation>%1 von %2 geschrieben und geprüft.</translation>
    </message>
    <message>
        <source>Returning Tavlo to normal mode…</source>
        <translation>Tavlo kehrt in den Normalmodus zurück …</translation>
    </message>
    <message>
        <source>Tavlo already holds every file of this backup as it is; nothing was replaced.</source>
        <translation>Tavlo hat schon jede Datei dieser Sicherung so, wie sie ist; nichts wurde ersetzt.</translation>
    </message>
    <message>
        <source>Restored from the backup and checked: %1.</source>
        <translation>Aus der Sicherung wiederhergestellt und geprüft: %1.</translation>
    </message>
    <message>
        <source>Nothing on Tavlo was replaced.</source>
        <translation>Nichts auf Tavlo wurde ersetzt.</translation>
    </message>
    <message>
        <source>Restored before it stopped: %1. The others are as they were.</source>
        <translation>Wiederhergestellt, bevor es anhielt: %1. Die anderen sind, wie sie waren.</translation>
    </message>
    <message>
        <source>%1 (changed on Tavlo)</source>
        <translation>%1 (auf Tavlo geändert)</translation>
    </message>
    <message>
        <source>%1 (no longer on Tavlo)</source>
        <translation>%1 (nicht mehr auf Tavlo)</translation>
    </message>
    <message>
        <source>Tavlo could not be switched to transfer mode, so nothing was restored.</source>
        <translation>Tavlo konnte nicht in den Übertragungsmodus wechseln, daher wurde nichts wiederhergestellt.</translation>
    </message>
    <message>
        <source>Tavlo was disconnected during the restore. The files restored before that are complete; the file being written was left as it was.</source>
        <translation>Tavlo wurde während der Wiederherstellung getrennt. Die bis dahin wiederhergestellten Dateien sind vollständig; die Datei, die gerade geschrieben wurde, blieb, wie sie war.</translation>
    </message>
    <message>
        <source>Tavlo was disconnected, so nothing was restored.</source>
        <translation>Tavlo wurde getrennt, daher wurde nichts wiederhergestellt.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s drive could not be ejected, so Tavlo may still be in transfer mode. Close any program that uses the drive, then press DONE. If Tavlo was disconnected, connect it again.</source>
        <translation>Tavlos Laufwerk konnte nicht ausgeworfen werden, daher ist Tavlo vielleicht noch im Übertragungsmodus. Schließe jedes Programm, das das Laufwerk verwendet, und drücke dann FERTIG. Wurde Tavlo getrennt, schließe es wieder an.</translation>
    </message>
</context>
<context>
    <name>RestorePage</name>
    <message>
        <source>Backups</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>Files to replace</source>
        <translation>Zu ersetzende Dateien</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Replaces the listed files on Tavlo with the backup&apos;s versions</source>
        <translation>Ersetzt die aufgeführten Dateien auf Tavlo durch die Fassungen der Sicherung</translation>
    </message>
    <message>
        <source>Keep Tavlo&apos;s files</source>
        <translation>Tavlos Dateien behalten</translation>
    </message>
    <message>
        <source>Leaves Tavlo as it is and ends the restore</source>
        <translation>Lässt Tavlo, wie es ist, und beendet die Wiederherstellung</translation>
    </message>
</context>
<context>
    <name>SessionLog</name>
    <message>
        <source>The session log folder %1 cannot be made; this run keeps no log.</source>
        <translation>Der Ordner der Sitzungsprotokolle %1 kann nicht angelegt werden; dieser Lauf führt kein Protokoll.</translation>
    </message>
    <message>
        <source>The session log folder %1 cannot be written; this run keeps no log.</source>
        <translation>In den Ordner der Sitzungsprotokolle %1 kann nicht geschrieben werden; dieser Lauf führt kein Protokoll.</translation>
    </message>
    <message>
        <source>The log file %1 cannot be written; this run keeps no log.</source>
        <translation>Die Protokolldatei %1 kann nicht geschrieben werden; dieser Lauf führt kein Protokoll.</translation>
    </message>
    <message>
        <source>The log file %1 is a symbolic link, which is not followed; this run keeps no log.</source>
        <translation>Die Protokolldatei %1 ist ein symbolischer Link, dem nicht gefolgt wird; dieser Lauf führt kein Protokoll.</translation>
    </message>
</context>
<context>
    <name>SizeText</name>
    <message>
        <source>less than a minute</source>
        <translation>weniger als eine Minute</translation>
    </message>
    <message>
        <source>about 1 minute</source>
        <translation>etwa 1 Minute</translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation>etwa %1 Minuten</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
</context>
<context>
    <name>StayAwake</name>
    <message>
        <source>This computer stays awake until the update is done.</source>
        <translation>Dieser Computer bleibt wach, bis das Update fertig ist.</translation>
    </message>
    <message>
        <source>Keep this computer awake and plugged in until the update is done.</source>
        <translation>Halte diesen Computer wach und am Strom, bis das Update fertig ist.</translation>
    </message>
</context>
<context>
    <name>StorageFailureText</name>
    <message>
        <source>Tavlo&apos;s volume is not there any more. Was Tavlo unplugged?</source>
        <translation>Das Laufwerk von Tavlo ist nicht mehr da. Wurde Tavlo abgezogen?</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume went away during the copy. Was Tavlo unplugged?</source>
        <translation>Das Laufwerk von Tavlo ist während des Kopierens verschwunden. Wurde Tavlo abgezogen?</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume went away before it could be ejected. Was Tavlo unplugged?</source>
        <translation>Das Laufwerk von Tavlo ist verschwunden, bevor es ausgeworfen werden konnte. Wurde Tavlo abgezogen?</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume went away right after the copy. Was Tavlo unplugged?</source>
        <translation>Das Laufwerk von Tavlo ist direkt nach dem Kopieren verschwunden. Wurde Tavlo abgezogen?</translation>
    </message>
    <message>
        <source>Tavlo&apos;s update volume did not appear on this computer.</source>
        <translation>Das Update-Laufwerk von Tavlo ist auf diesem Computer nicht erschienen.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is read-only, so the update file could not be copied onto it.</source>
        <translation>Das Laufwerk von Tavlo ist schreibgeschützt, daher konnte die Update-Datei nicht darauf kopiert werden.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is full, so the update file could not be copied onto it.</source>
        <translation>Das Laufwerk von Tavlo ist voll, daher konnte die Update-Datei nicht darauf kopiert werden.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is full: the update file needs %1, %2 are free.</source>
        <translation>Das Laufwerk von Tavlo ist voll: Die Update-Datei braucht %1, frei sind %2.</translation>
    </message>
    <message>
        <source>The update file (%1) is larger than Tavlo&apos;s volume (%2).</source>
        <translation>Die Update-Datei (%1) ist größer als das Laufwerk von Tavlo (%2).</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is in use, so it could not be ejected safely. Close any window or program that uses it, then try again.</source>
        <translation>Das Laufwerk von Tavlo wird gerade benutzt und konnte daher nicht sicher ausgeworfen werden. Schließe alle Fenster und Programme, die es benutzen, und versuche es dann noch einmal.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume is in use by %1, so it could not be ejected safely. Close what it has open there, then try again.</source>
        <translation>Das Laufwerk von Tavlo wird gerade von %1 benutzt und konnte daher nicht sicher ausgeworfen werden. Schließe, was dort geöffnet ist, und versuche es dann noch einmal.</translation>
    </message>
    <message>
        <source>Tavlo&apos;s volume could not be released.</source>
        <translation>Das Laufwerk von Tavlo konnte nicht freigegeben werden.</translation>
    </message>
    <message>
        <source>The update file could not be written to Tavlo&apos;s volume (%1).</source>
        <translation>Die Update-Datei konnte nicht auf das Laufwerk von Tavlo geschrieben werden (%1).</translation>
    </message>
    <message>
        <source>The update file could not be flushed to Tavlo&apos;s volume, so it may not have reached the device.</source>
        <translation>Die Update-Datei konnte nicht vollständig auf das Laufwerk von Tavlo geschrieben werden; sie ist womöglich nicht auf dem Gerät angekommen.</translation>
    </message>
    <message>
        <source>The downloaded update file could not be read.</source>
        <translation>Die heruntergeladene Update-Datei konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The downloaded update file changed during the copy.</source>
        <translation>Die heruntergeladene Update-Datei hat sich während des Kopierens verändert.</translation>
    </message>
    <message>
        <source>An old update file on Tavlo&apos;s volume could not be removed.</source>
        <translation>Eine alte Update-Datei auf dem Laufwerk von Tavlo konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>The copy on Tavlo&apos;s volume could not be read back.</source>
        <translation>Die Kopie auf dem Laufwerk von Tavlo konnte nicht zurückgelesen werden.</translation>
    </message>
    <message>
        <source>The copy on Tavlo&apos;s volume does not match the update file (read-back check failed).</source>
        <translation>Die Kopie auf dem Laufwerk von Tavlo stimmt nicht mit der Update-Datei überein (die Prüfung beim Zurücklesen schlug fehl).</translation>
    </message>
    <message>
        <source>A drive named %1 that is not Tavlo is connected; it was left alone.</source>
        <translation>Ein Laufwerk namens %1 ist angeschlossen, das nicht zu Tavlo gehört; es wurde nicht angetastet.</translation>
    </message>
    <message>
        <source>More than one Tavlo drive named %1 is connected, so none was used. Connect only one Tavlo, then try again.</source>
        <translation>Mehr als ein Tavlo-Laufwerk namens %1 ist angeschlossen, daher wurde keines verwendet. Schließe nur ein Tavlo an und versuche es dann erneut.</translation>
    </message>
</context>
<context>
    <name>SupportFile</name>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>Tavlo support file</source>
        <translation>Tavlo-Supportdatei</translation>
    </message>
    <message>
        <source>Written %1</source>
        <translation>Geschrieben %1</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Qt</source>
        <translation>Qt</translation>
    </message>
    <message>
        <source>Operating system</source>
        <translation>Betriebssystem</translation>
    </message>
    <message>
        <source>MIDI ports seen</source>
        <translation>Gesehene MIDI-Ports</translation>
    </message>
    <message>
        <source>Volumes seen</source>
        <translation>Gesehene Laufwerke</translation>
    </message>
    <message>
        <source>Catalogue last read</source>
        <translation>Zuletzt gelesener Katalog</translation>
    </message>
    <message>
        <source>Session log %1</source>
        <translation>Sitzungsprotokoll %1</translation>
    </message>
    <message>
        <source>The support file was saved as %1.</source>
        <translation>Die Supportdatei wurde als %1 gespeichert.</translation>
    </message>
    <message>
        <source>The support file could not be saved as %1.</source>
        <translation>Die Supportdatei konnte nicht als %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Check of this computer</source>
        <translation>Prüfung dieses Computers</translation>
    </message>
    <message>
        <source>MIDI system problems</source>
        <translation>Probleme des MIDI-Systems</translation>
    </message>
    <message>
        <source>Proxy for the release server</source>
        <translation>Proxy für den Release-Server</translation>
    </message>
    <message>
        <source>Not run in this session (&quot;Check this computer…&quot; in the window&apos;s menu).</source>
        <translation>In dieser Sitzung nicht gelaufen („Diesen Computer prüfen…“ im Menü des Fensters).</translation>
    </message>
</context>
<context>
    <name>SupportFileAction</name>
    <message>
        <source>Save support file…</source>
        <translation>Supportdatei speichern…</translation>
    </message>
    <message>
        <source>Save support file</source>
        <translation>Supportdatei speichern</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Replace the file?</source>
        <translation>Datei ersetzen?</translation>
    </message>
    <message>
        <source>A file named “%1” is already there. Replace it?</source>
        <translation>Eine Datei namens „%1“ ist schon da. Ersetzen?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TlsProblemText</name>
    <message>
        <source>d MMMM yyyy</source>
        <extracomment>A date in the computer check&apos;s sentences about the clock (&quot;1 January 2020&quot;): a QDate format.</extracomment>
        <translation>d. MMMM yyyy</translation>
    </message>
    <message>
        <source>This computer&apos;s clock says %1, but the server&apos;s certificate is valid from %2. Set the date and time, then check again.</source>
        <translation>Die Uhr dieses Computers zeigt den %1, aber das Zertifikat des Servers gilt erst ab dem %2. Stell Datum und Uhrzeit richtig und prüfe dann erneut.</translation>
    </message>
    <message>
        <source>This computer&apos;s clock says %1, but the server&apos;s certificate was valid until %2. If the date is wrong, set the date and time, then check again; if it is right, the server&apos;s certificate has run out: try again later.</source>
        <translation>Die Uhr dieses Computers zeigt den %1, aber das Zertifikat des Servers galt nur bis zum %2. Stimmt das Datum nicht, stell Datum und Uhrzeit richtig und prüfe dann erneut; stimmt es, ist das Zertifikat des Servers abgelaufen: Versuch es später noch einmal.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is made out for another name, so the answer may not come from the release server. Something on this network may be answering in its place: ask whoever looks after the network.</source>
        <translation>Das Zertifikat des Servers ist auf einen anderen Namen ausgestellt, die Antwort kommt also womöglich nicht vom Versionsserver. Vielleicht antwortet etwas in diesem Netzwerk an seiner Stelle: Frag, wer das Netzwerk betreut.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not vouched for by an authority this computer trusts. A proxy or security program may be answering in the server&apos;s place, or the computer&apos;s list of authorities is out of date: update the system, or ask whoever looks after the network.</source>
        <translation>Für das Zertifikat des Servers bürgt keine Stelle, der dieser Computer vertraut. Vielleicht antwortet ein Proxy oder Sicherheitsprogramm an Stelle des Servers, oder die Liste der Zertifizierungsstellen des Computers ist veraltet: Aktualisiere das System oder frag, wer das Netzwerk betreut.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate has been withdrawn. Try again later.</source>
        <translation>Das Zertifikat des Servers wurde zurückgezogen. Versuch es später noch einmal.</translation>
    </message>
    <message>
        <source>The secure connection to the server failed. Try again later.</source>
        <translation>Die sichere Verbindung zum Server ist gescheitert. Versuch es später noch einmal.</translation>
    </message>
    <message>
        <source>The secure connection to the server failed: %1. Try again later.</source>
        <translation>Die sichere Verbindung zum Server ist gescheitert: %1. Versuch es später noch einmal.</translation>
    </message>
</context>
<context>
    <name>TransferFlow</name>
    <message>
        <source>Connecting to Tavlo</source>
        <translation>Verbindung mit Tavlo wird hergestellt</translation>
    </message>
    <message>
        <source>Finalizing Transfer</source>
        <translation>Übertragung wird abgeschlossen</translation>
    </message>
</context>
<context>
    <name>TransferScreen</name>
    <message>
        <source>Open Projects</source>
        <translation>Projekte öffnen</translation>
    </message>
    <message>
        <source>Open Instruments</source>
        <translation>Instrumente öffnen</translation>
    </message>
    <message>
        <source>Open MIDI Files</source>
        <translation>MIDI-Dateien öffnen</translation>
    </message>
    <message>
        <source>Open Grooves</source>
        <translation>Grooves öffnen</translation>
    </message>
    <message>
        <source>Tavlo is now in transfer mode. You can move files between Tavlo and this computer. After you are done click the done button to finalize the transfer.</source>
        <translation>Tavlo ist jetzt im Übertragungsmodus. Du kannst Dateien zwischen Tavlo und diesem Computer verschieben. Wenn du fertig bist, klicke auf „FERTIG“, um die Übertragung abzuschließen.</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FERTIG</translation>
    </message>
    <message>
        <source>Ends the transfer mode and gives Tavlo its storage back</source>
        <translation>Beendet den Übertragungsmodus und gibt Tavlo seinen Speicher zurück</translation>
    </message>
</context>
<context>
    <name>UpdateChoices</name>
    <message>
        <source>Tavlo is up to date: it has %1, the latest on offer is %2.</source>
        <translation>Tavlo ist auf dem neuesten Stand: Es hat %1, die neueste angebotene Version ist %2.</translation>
    </message>
    <message>
        <source>Install %1</source>
        <translation>%1 installieren</translation>
    </message>
    <message>
        <source>%1 is already installed on Tavlo.</source>
        <translation>%1 ist bereits auf Tavlo installiert.</translation>
    </message>
    <message>
        <source>Reinstall</source>
        <translation>Erneut installieren</translation>
    </message>
    <message>
        <source>%1 is older than %2, the version Tavlo has now. Installing it goes back to the older firmware.</source>
        <translation>%1 ist älter als %2, die Version, die Tavlo jetzt hat. Die Installation kehrt zur älteren Firmware zurück.</translation>
    </message>
    <message>
        <source>Install older version</source>
        <translation>Ältere Version installieren</translation>
    </message>
    <message>
        <source>Updates Tavlo from %1 to %2.</source>
        <translation>Aktualisiert Tavlo von %1 auf %2.</translation>
    </message>
    <message>
        <source>%1 is older than the latest on offer, and Tavlo has not told its version yet: installing it may go back to an older firmware.</source>
        <translation>%1 ist älter als die neueste angebotene Version, und Tavlo hat seine Version noch nicht gemeldet: Die Installation kann zu einer älteren Firmware zurückkehren.</translation>
    </message>
    <message>
        <source>Installs %1 on Tavlo.</source>
        <translation>Installiert %1 auf Tavlo.</translation>
    </message>
    <message>
        <source>Installs %1 (%2) from this computer.</source>
        <translation>Installiert %1 (%2) von diesem Computer.</translation>
    </message>
</context>
<context>
    <name>UpdateFlow</name>
    <message>
        <source>Looking for the latest version or Tvx...</source>
        <translation>Suche nach der neuesten Version von Tvx...</translation>
    </message>
    <message>
        <source>The latest available version is Tvx</source>
        <translation>Die neueste verfügbare Version ist Tvx</translation>
    </message>
    <message>
        <source>The latest version could not be found.</source>
        <translation>Die neueste Version wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The latest version is already installed!</source>
        <translation>Die neueste Version ist bereits installiert!</translation>
    </message>
    <message>
        <source>Download failed!</source>
        <translation>Download fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Trying a different route now—hang tight...</source>
        <translation>Wir versuchen es jetzt auf anderem Weg – einen Moment noch...</translation>
    </message>
    <message>
        <source>File transfer complete!</source>
        <translation>Dateiübertragung abgeschlossen!</translation>
    </message>
    <message>
        <source>File transfer failed!</source>
        <translation>Dateiübertragung fehlgeschlagen!</translation>
    </message>
    <message>
        <source>The update was not finished!</source>
        <translation>Das Update wurde nicht abgeschlossen!</translation>
    </message>
    <message>
        <source>PLEASE MAKE SURE THAT TAVLO IS CONNECTED TO THE BREAKOUT MODULE AND THAT THE MIDI USB PORT IS NOT CONNECTED TO ANY DEVICE 
 
 
 The update will take several minutes and Tavlo might reboot multiple times during the process. 
 
  DO NOT UNPLUG power or disconnect the Breakout Module until the update is done</source>
        <translation>BITTE ACHTE DARAUF, DASS TAVLO MIT DEM BREAKOUT-MODUL VERBUNDEN IST UND AM USB-MIDI-ANSCHLUSS KEIN GERÄT HÄNGT 
 
 
 Das Update dauert einige Minuten, und Tavlo startet dabei eventuell mehrmals neu. 
 
  Trenne NICHT den Strom und NICHT das Breakout-Modul, bis das Update fertig ist</translation>
    </message>
    <message>
        <source>The latest version is already installed! You can now close this application.</source>
        <translation>Die neueste Version ist bereits installiert! Du kannst dieses Programm jetzt schließen.</translation>
    </message>
    <message>
        <source>File transfer complete! Tavlo will now reboot to apply the update. You can now close this application.</source>
        <translation>Dateiübertragung abgeschlossen! Tavlo startet jetzt neu, um das Update einzuspielen. Du kannst dieses Programm jetzt schließen.</translation>
    </message>
    <message>
        <source>Something went wrong during the file transfer. Please try again or contact support.</source>
        <translation>Bei der Dateiübertragung ist etwas schiefgegangen. Bitte versuche es noch einmal oder wende dich an den Support.</translation>
    </message>
    <message>
        <source>Tavlo has not been told to apply the update.</source>
        <translation>Tavlo wurde nicht angewiesen, das Update einzuspielen.</translation>
    </message>
    <message>
        <source>Downloading... %1%</source>
        <translation>Download läuft... %1%</translation>
    </message>
    <message>
        <source>Transfering file... %1</source>
        <translation>Datei wird übertragen... %1</translation>
    </message>
    <message>
        <source> Tavlo may still be in update mode: unplug it and plug it in again, then press Try again.</source>
        <translation> Tavlo ist möglicherweise noch im Update-Modus: Trenne es vom Computer, schließe es wieder an und drücke dann „Erneut versuchen“.</translation>
    </message>
    <message>
        <source>The update file cannot be installed now.</source>
        <translation>Die Update-Datei kann jetzt nicht installiert werden.</translation>
    </message>
    <message>
        <source>The update was not applied!</source>
        <translation>Das Update wurde nicht eingespielt!</translation>
    </message>
    <message>
        <source>The update could not be confirmed!</source>
        <translation>Das Update konnte nicht bestätigt werden!</translation>
    </message>
    <message>
        <source>Waiting for Tavlo to restart and report its firmware...</source>
        <translation>Warte darauf, dass Tavlo neu startet und seine Firmware meldet...</translation>
    </message>
    <message>
        <source>Waiting for Tavlo to restart with firmware %1...</source>
        <translation>Warte darauf, dass Tavlo mit Firmware %1 neu startet...</translation>
    </message>
    <message>
        <source>Tavlo now runs firmware %1.</source>
        <translation>Auf Tavlo läuft jetzt Firmware %1.</translation>
    </message>
    <message>
        <source>Tavlo came back with firmware %1: the update was not applied.</source>
        <translation>Tavlo ist mit Firmware %1 zurückgekommen: Das Update wurde nicht eingespielt.</translation>
    </message>
    <message>
        <source>Tavlo did not come back after the update, so the update could not be confirmed. Switch Tavlo off and on again, then press Try again.</source>
        <translation>Tavlo ist nach dem Update nicht zurückgekommen, daher konnte das Update nicht bestätigt werden. Schalte Tavlo aus und wieder ein und drücke dann „Erneut versuchen“.</translation>
    </message>
</context>
<context>
    <name>UpdatePanel</name>
    <message>
        <source>Start Update</source>
        <translation>Update starten</translation>
    </message>
    <message>
        <source>EXIT</source>
        <translation>BEENDEN</translation>
    </message>
    <message>
        <source>Downloads the latest firmware and copies it onto Tavlo</source>
        <translation>Lädt die neueste Firmware herunter und kopiert sie auf Tavlo</translation>
    </message>
    <message>
        <source>Closes this application</source>
        <translation>Schließt dieses Programm</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Other versions…</source>
        <translation>Andere Versionen…</translation>
    </message>
    <message>
        <source>Lists every version on offer with its release notes</source>
        <translation>Zeigt alle angebotenen Versionen mit ihren Versionshinweisen</translation>
    </message>
    <message>
        <source>Install from file…</source>
        <translation>Aus Datei installieren…</translation>
    </message>
    <message>
        <source>Chooses an update file on this computer</source>
        <translation>Wählt eine Update-Datei auf diesem Computer</translation>
    </message>
    <message>
        <source>Back up Tavlo&apos;s projects first</source>
        <translation>Zuerst Tavlos Projekte sichern</translation>
    </message>
</context>
<context>
    <name>WatchedLink</name>
    <message>
        <source>The update file is on Tavlo&apos;s volume, but Tavlo did not come back to be told to apply it. Unplug Tavlo and plug it in again, then press Try again.</source>
        <translation>Die Update-Datei liegt auf dem Laufwerk von Tavlo, aber Tavlo kam nicht zurück, um die Anweisung zum Einspielen zu erhalten. Ziehe Tavlos Kabel ab, stecke es wieder ein und drücke dann „Erneut versuchen“.</translation>
    </message>
</context>
<context>
    <name>WriteRefusalText</name>
    <message>
        <source>Windows did not let this program write to Tavlo&apos;s drive (%1), although the drive is not write-protected. Controlled folder access or an antivirus program may be blocking it: allow &quot;%2&quot; in Windows Security (Virus &amp; threat protection, Ransomware protection, Allow an app through Controlled folder access) or in your antivirus program, then try again.</source>
        <translation>Windows hat diesem Programm das Schreiben auf Tavlos Laufwerk nicht erlaubt (%1), obwohl das Laufwerk nicht schreibgeschützt ist. Überwachter Ordnerzugriff oder ein Virenschutzprogramm blockiert es vielleicht: Erlaube „%2“ in der Windows-Sicherheit (Viren- &amp; Bedrohungsschutz, Ransomware-Schutz, App durch überwachten Ordnerzugriff zulassen) oder in deinem Virenschutzprogramm und versuche es dann noch einmal.</translation>
    </message>
    <message>
        <source>Windows did not let this program write to &quot;%1&quot; (%2). Controlled folder access or an antivirus program may be blocking it: allow &quot;%3&quot; in Windows Security (Virus &amp; threat protection, Ransomware protection, Allow an app through Controlled folder access) or in your antivirus program, or choose another folder.</source>
        <translation>Windows hat diesem Programm das Schreiben in „%1“ nicht erlaubt (%2). Überwachter Ordnerzugriff oder ein Virenschutzprogramm blockiert es vielleicht: Erlaube „%3“ in der Windows-Sicherheit (Viren- &amp; Bedrohungsschutz, Ransomware-Schutz, App durch überwachten Ordnerzugriff zulassen) oder in deinem Virenschutzprogramm, oder wähle einen anderen Ordner.</translation>
    </message>
    <message>
        <source>This computer did not let your user write to Tavlo&apos;s drive (%1), although the drive is not write-protected. Check the drive&apos;s permissions, or connect Tavlo again so that the system mounts its drive for you, then try again.</source>
        <translation>Dieser Computer hat deinem Benutzer das Schreiben auf Tavlos Laufwerk nicht erlaubt (%1), obwohl das Laufwerk nicht schreibgeschützt ist. Prüfe die Rechte des Laufwerks oder schließe Tavlo neu an, damit das System sein Laufwerk für dich einbindet, und versuche es dann noch einmal.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
</context>
</TS>
