<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Download</name>
    <message>
        <source>The download of %1 failed: %2.</source>
        <translation>Der Download von %1 ist fehlgeschlagen: %2.</translation>
    </message>
    <message>
        <source>The download of %1 failed: there is not enough free space on the disk.</source>
        <translation>Der Download von %1 ist fehlgeschlagen: Auf dem Datenträger ist nicht genug Platz frei.</translation>
    </message>
    <message>
        <source>The download of %1 was ended.</source>
        <translation>Der Download von %1 wurde beendet.</translation>
    </message>
    <message>
        <source>The download of %1 was cancelled.</source>
        <translation>Der Download von %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Saved: %1.</source>
        <translation>Gespeichert: %1.</translation>
    </message>
    <message>
        <source>The download of %1 failed: it could not be saved under that name (%2).</source>
        <translation>Der Download von %1 ist fehlgeschlagen: Unter diesem Namen konnte er nicht gespeichert werden (%2).</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>DownloadList</name>
    <message>
        <source>1 download is still running</source>
        <translation>1 Download läuft noch</translation>
    </message>
    <message numerus="yes">
        <source>%n downloads are still running</source>
        <translation>
            <numerusform>%n Download läuft noch</numerusform>
            <numerusform>%n Downloads laufen noch</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Keep downloading</source>
        <translation>&amp;Weiter herunterladen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
</context>
<context>
    <name>DownloadsWindow</name>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Cancel the download of %1</source>
        <translation>Download von %1 abbrechen</translation>
    </message>
    <message>
        <source>Download of %1</source>
        <translation>Download von %1</translation>
    </message>
    <message>
        <source>Open Fol&amp;der</source>
        <translation>&amp;Ordner öffnen</translation>
    </message>
    <message>
        <source>Clear Fi&amp;nished</source>
        <translation>&amp;Fertige entfernen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Show in &amp;Folder</source>
        <translation>Im Ordner &amp;zeigen</translation>
    </message>
    <message>
        <source>Show %1 in its folder</source>
        <translation>%1 in seinem Ordner zeigen</translation>
    </message>
</context>
<context>
    <name>EngineNotice</name>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Close notice</source>
        <translation>Hinweis schließen</translation>
    </message>
</context>
<context>
    <name>EnginePrinting</name>
    <message>
        <source>The page&apos;s renderer ended while printing; nothing was printed.</source>
        <translation>Der Renderer der Seite wurde beim Drucken beendet; es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The page was not ready for printing within %1 seconds; nothing was printed.</source>
        <translation>Die Seite war nicht innerhalb von %1 Sekunden druckbereit; es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The page could not be printed to %1.</source>
        <translation>Die Seite konnte nicht in %1 gedruckt werden.</translation>
    </message>
    <message>
        <source>The page was closed before it was printed.</source>
        <translation>Die Seite wurde geschlossen, bevor sie gedruckt war.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer has ended: Refresh brings the page back to print it; nothing was printed.</source>
        <translation>Der Renderer der Seite wurde beendet: Neu laden bringt die Seite zum Drucken zurück; es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The page could not be prepared for printing; nothing was printed.</source>
        <translation>Die Seite konnte nicht zum Drucken vorbereitet werden; es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The document has none of the pages asked for; nothing was printed.</source>
        <translation>Das Dokument hat keine der gewünschten Seiten; es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>%1 Nothing was printed.</source>
        <translation>%1 Es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The PDF file has not arrived yet.</source>
        <translation>Die PDF-Datei ist noch nicht angekommen.</translation>
    </message>
    <message>
        <source>The page has a question open; answer it first.</source>
        <translation>Die Seite hat eine Frage offen; beantworten Sie sie zuerst.</translation>
    </message>
</context>
<context>
    <name>EngineView</name>
    <message>
        <source>%1 is full screen. Press Esc to leave full screen.</source>
        <translation>%1 wird im Vollbild angezeigt. Drücken Sie Esc, um das Vollbild zu verlassen.</translation>
    </message>
    <message>
        <source>A window that %1 tried to open was blocked: windows open only when you click.</source>
        <translation>Ein Fenster, das %1 öffnen wollte, wurde blockiert: Fenster öffnen sich nur auf Ihren Klick.</translation>
    </message>
    <message>
        <source>Only web pages and files can be opened, not &quot;%1&quot;.</source>
        <translation>Nur Webseiten und Dateien können geöffnet werden, nicht „%1“.</translation>
    </message>
    <message>
        <source>There is no earlier page in the history.</source>
        <translation>Im Verlauf gibt es keine vorherige Seite.</translation>
    </message>
    <message>
        <source>There is no later page in the history.</source>
        <translation>Im Verlauf gibt es keine nächste Seite.</translation>
    </message>
    <message>
        <source>The page is being printed and cannot be stopped now.</source>
        <translation>Die Seite wird gerade gedruckt und kann jetzt nicht angehalten werden.</translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation>Es gibt keine Seite zum Speichern.</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>There is no PDF file to save: %1</source>
        <translation>Es gibt keine PDF-Datei zum Speichern: %1</translation>
    </message>
    <message>
        <source>it has not arrived yet.</source>
        <translation>Sie ist noch nicht angekommen.</translation>
    </message>
    <message>
        <source>Text cannot be found in this PDF file.</source>
        <translation>In dieser PDF-Datei kann kein Text gesucht werden.</translation>
    </message>
    <message>
        <source>&amp;Open It</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>Velmora no longer asks you about %1 from %2: it refuses them.</source>
        <translation>Velmora fragt Sie nicht mehr nach %1 von %2: Solche Anfragen lehnt es ab.</translation>
    </message>
    <message>
        <source>&amp;Ask Again</source>
        <translation>Wieder &amp;fragen</translation>
    </message>
    <message>
        <source>This command is not one of the page&apos;s.</source>
        <translation>Dieser Befehl gehört nicht zur Seite.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find in page</source>
        <translation>In der Seite suchen</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>S&amp;uchen:</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>P&amp;revious</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Rückwärts suchen</translation>
    </message>
</context>
<context>
    <name>KeysWindow</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
</context>
<context>
    <name>NoteBar</name>
    <message>
        <source>Close this note</source>
        <translation>Diesen Hinweis schließen</translation>
    </message>
</context>
<context>
    <name>NotificationPopup</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close notification</source>
        <translation>Benachrichtigung schließen</translation>
    </message>
</context>
<context>
    <name>Notifications</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>OneProgram</name>
    <message>
        <source>There is no runtime folder for Velmora&apos;s socket: later starts will not hand over to this one.</source>
        <translation>Für den Socket von Velmora gibt es keinen Laufzeitordner: Spätere Starts übergeben nicht an dieses Programm.</translation>
    </message>
    <message>
        <source>%1 belongs to another user: Velmora does not hand over to it and runs on its own.</source>
        <translation>%1 gehört einem anderen Benutzer: Velmora übergibt nicht daran und läuft für sich allein.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be taken: later starts will not hand over to this one.</source>
        <translation>Die Sperrdatei %1 konnte nicht belegt werden: Spätere Starts übergeben nicht an dieses Programm.</translation>
    </message>
    <message>
        <source>%1 is in the way and could not be removed: later starts will not hand over to this one.</source>
        <translation>%1 steht im Weg und konnte nicht entfernt werden: Spätere Starts übergeben nicht an dieses Programm.</translation>
    </message>
    <message>
        <source>Velmora could not listen at %1 (%2): later starts will not hand over to this one.</source>
        <translation>Velmora konnte nicht an %1 lauschen (%2): Spätere Starts übergeben nicht an dieses Programm.</translation>
    </message>
</context>
<context>
    <name>PageActions</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>St&amp;artseite</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>Seite ein&amp;richten...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Dru&amp;ckvorschau</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Save Page...</source>
        <translation>Seite &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Find in Page...</source>
        <translation>In Seite s&amp;uchen...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Sch&amp;ließen</translation>
    </message>
    <message>
        <source>%1 could not be done.</source>
        <translation>„%1“ konnte nicht ausgeführt werden.</translation>
    </message>
</context>
<context>
    <name>PageWindow</name>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
    <message>
        <source>Source of %1</source>
        <translation>Quelltext von %1</translation>
    </message>
</context>
<context>
    <name>PdfPageView</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>PdfPages</name>
    <message>
        <source>The PDF file is empty.</source>
        <translation>Die PDF-Datei ist leer.</translation>
    </message>
    <message>
        <source>The PDF file is locked with a password.</source>
        <translation>Die PDF-Datei ist mit einem Passwort geschützt.</translation>
    </message>
    <message>
        <source>The PDF file has no pages.</source>
        <translation>Die PDF-Datei hat keine Seiten.</translation>
    </message>
    <message>
        <source>The PDF file is damaged.</source>
        <translation>Die PDF-Datei ist beschädigt.</translation>
    </message>
</context>
<context>
    <name>PdfPane</name>
    <message>
        <source>Previous Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Whole Page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>von %1</translation>
    </message>
    <message>
        <source>Pages %1 to %2 are not shown: at most %3 pages are shown here.</source>
        <translation>Die Seiten %1 bis %2 werden nicht angezeigt: Hier werden höchstens %3 Seiten angezeigt.</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>PdfViewer</name>
    <message>
        <source>The PDF file is larger than %1; it is not shown.</source>
        <translation>Die PDF-Datei ist größer als %1; sie wird nicht angezeigt.</translation>
    </message>
    <message>
        <source>Loading %1: %2</source>
        <translation>%1 wird geladen: %2</translation>
    </message>
    <message>
        <source>Loading %1...</source>
        <translation>%1 wird geladen...</translation>
    </message>
    <message>
        <source>The PDF file did not arrive whole (%1); it is not shown.</source>
        <translation>Die PDF-Datei kam nicht vollständig an (%1); sie wird nicht angezeigt.</translation>
    </message>
</context>
<context>
    <name>PrintPreview</name>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Page &amp;Setup...</source>
        <translation>Seite ein&amp;richten...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>%1 Cookies and site data are kept only until Velmora ends.</source>
        <translation>%1 Cookies und Website-Daten werden nur aufbewahrt, bis Velmora beendet wird.</translation>
    </message>
    <message>
        <source>Another copy of Velmora is using the site data in %1.</source>
        <translation>Eine andere Kopie von Velmora verwendet die Websitedaten in %1.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be made.</source>
        <translation>Die Sperrdatei %1 konnte nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be written.</source>
        <translation>Die Einstellungsdatei %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 Settings are kept only until Velmora ends.</source>
        <translation>%1 Einstellungen werden nur aufbewahrt, bis Velmora beendet wird.</translation>
    </message>
</context>
<context>
    <name>SiteStrip</name>
    <message>
        <source>Site</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Show the whole address and the connection</source>
        <translation>Die ganze Adresse und die Verbindung anzeigen</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Go back to the home page</source>
        <translation>Zurück zur Startseite</translation>
    </message>
    <message>
        <source>Certificate not trusted</source>
        <translation>Zertifikat nicht vertrauenswürdig</translation>
    </message>
    <message>
        <source>Not secure</source>
        <translation>Nicht sicher</translation>
    </message>
    <message>
        <source>Secure connection</source>
        <translation>Sichere Verbindung</translation>
    </message>
    <message>
        <source>The web engine did not trust this site&apos;s certificate, so the page was not opened. Someone may be pretending to be this site.</source>
        <translation>Die Web-Engine hat dem Zertifikat dieser Website nicht vertraut, daher wurde die Seite nicht geöffnet. Möglicherweise gibt sich jemand als diese Website aus.</translation>
    </message>
    <message>
        <source>The connection to this site is encrypted, and the web engine trusts its certificate.</source>
        <translation>Die Verbindung zu dieser Website ist verschlüsselt, und die Web-Engine vertraut ihrem Zertifikat.</translation>
    </message>
    <message>
        <source>The connection to this site is not secure: others on the network can read and change what you see and send. Do not enter passwords or card numbers here.</source>
        <translation>Die Verbindung zu dieser Website ist nicht sicher: Andere im Netzwerk können lesen und ändern, was Sie sehen und senden. Geben Sie hier keine Passwörter oder Kartennummern ein.</translation>
    </message>
    <message>
        <source>This page is a file on this computer.</source>
        <translation>Diese Seite ist eine Datei auf diesem Computer.</translation>
    </message>
    <message>
        <source>This page is not from a web site.</source>
        <translation>Diese Seite stammt nicht von einer Website.</translation>
    </message>
    <message>
        <source>Site details</source>
        <translation>Angaben zur Website</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Issued to: %1
Issued by: %2
Valid from %3 to %4</source>
        <translation>Ausgestellt für: %1
Ausgestellt von: %2
Gültig von %3 bis %4</translation>
    </message>
</context>
<context>
    <name>WebView</name>
    <message>
        <source>Command %1 with option %2 is not supported.</source>
        <translation>Der Befehl %1 mit der Option %2 wird nicht unterstützt.</translation>
    </message>
</context>
<context>
    <name>bookmarkfile::safefile</name>
    <message>
        <source>The bookmark file cannot be locked: %1 cannot be written.</source>
        <translation>Die Lesezeichendatei kann nicht gesperrt werden: In %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The bookmarks cannot be read: %1 is a link, a pipe, a device or a folder, not an ordinary file. Remove it and try again.</source>
        <translation>Die Lesezeichen können nicht gelesen werden: %1 ist eine Verknüpfung, eine Pipe, ein Gerät oder ein Ordner, keine gewöhnliche Datei. Entfernen Sie sie und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be changed: %1 is a link, a pipe, a device or a folder, not an ordinary file. Nothing was changed; remove it and try again.</source>
        <translation>Die Lesezeichendatei kann nicht geändert werden: %1 ist eine Verknüpfung, eine Pipe, ein Gerät oder ein Ordner, keine gewöhnliche Datei. Es wurde nichts geändert; entfernen Sie sie und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be locked: %1 is a link, a pipe or a device, not an ordinary file. Nothing was changed; remove it and try again.</source>
        <translation>Die Lesezeichendatei kann nicht gesperrt werden: %1 ist eine Verknüpfung, eine Pipe oder ein Gerät, keine gewöhnliche Datei. Es wurde nichts geändert; entfernen Sie sie und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The bookmarks cannot be read: %1 belongs to another user (%2). Nothing was read from it; have it removed and try again.</source>
        <translation>Die Lesezeichen können nicht gelesen werden: %1 gehört einem anderen Benutzer (%2). Es wurde nichts daraus gelesen; lassen Sie die Datei entfernen und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be changed: %1 belongs to another user (%2). Nothing was changed; have it removed and try again.</source>
        <translation>Die Lesezeichendatei kann nicht geändert werden: %1 gehört einem anderen Benutzer (%2). Es wurde nichts geändert; lassen Sie die Datei entfernen und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be locked: %1 belongs to another user (%2). Nothing was changed; have it removed and try again.</source>
        <translation>Die Lesezeichendatei kann nicht gesperrt werden: %1 gehört einem anderen Benutzer (%2). Es wurde nichts geändert; lassen Sie die Datei entfernen und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1
Part of the bookmark is left at the end of the file: %2</source>
        <translation>%1
Ein Teil des Lesezeichens ist am Ende der Datei zurückgeblieben: %2</translation>
    </message>
    <message>
        <source>The bookmark file is busy: another program is changing it. Nothing was changed; try again in a moment.</source>
        <translation>Die Lesezeichendatei ist belegt: Ein anderes Programm ändert sie gerade. Es wurde nichts geändert; versuchen Sie es gleich noch einmal.</translation>
    </message>
</context>
<context>
    <name>engineage</name>
    <message>
        <source>en</source>
        <comment>the language of the month&apos;s name, as a code</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2). Out of date: no security fixes since %3 (up to Chromium %4).</source>
        <translation>Web-Engine: Qt WebEngine %1 (Chromium %2). Veraltet: keine Sicherheitskorrekturen seit %3 (bis Chromium %4).</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2).</source>
        <translation>Web-Engine: Qt WebEngine %1 (Chromium %2).</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2), security fixes up to %3 (Chromium %4).</source>
        <translation>Web-Engine: Qt WebEngine %1 (Chromium %2), Sicherheitskorrekturen bis %3 (Chromium %4).</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Email :</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminfo...</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>%1 icon</source>
        <translation>%1-Symbol</translation>
    </message>
    <message>
        <source>%1 logo</source>
        <translation>%1-Logo</translation>
    </message>
    <message>
        <source>Velmora is a unique free tool that searches multiple hotel <byte value="xd"/>
reservation websites simultaneously to help you find the lowest rate <byte value="xd"/>
instantly.<byte value="xd"/>
<byte value="xd"/>
We eliminate the need to search major websites one by one in order to <byte value="xd"/>
compare prices and availability. Our free service is an amazing time and <byte value="xd"/>
money saver! You are welcome to use and free to distribute it.<byte value="xd"/>
</source>
        <translation>Velmora ist ein einzigartiges kostenloses Programm, das mehrere <byte value="xd"/>
Hotelbuchungsseiten gleichzeitig durchsucht, damit Sie sofort den <byte value="xd"/>
günstigsten Preis finden.<byte value="xd"/>
<byte value="xd"/>
Sie müssen nicht mehr eine große Website nach der anderen <byte value="xd"/>
durchsuchen, um Preise und Verfügbarkeit zu vergleichen. Unser <byte value="xd"/>
kostenloser Dienst spart Ihnen viel Zeit und Geld! Sie dürfen ihn <byte value="xd"/>
gern nutzen und frei weitergeben.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>frmBookmark</name>
    <message>
        <source> Bookmark</source>
        <translation> Lesezeichen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Bookmark</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <source>Connecting to server</source>
        <translation>Verbindung zum Server</translation>
    </message>
    <message>
        <source>Zoom of this site; click for 100%</source>
        <translation>Zoom dieser Website; klicken für 100 %</translation>
    </message>
    <message>
        <source>&amp;Page</source>
        <translation>&amp;Seite</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Bookmark</source>
        <translation>&amp;Lesezeichen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Do you wish to bookmark %1?</source>
        <translation>Möchten Sie ein Lesezeichen für %1 setzen?</translation>
    </message>
    <message>
        <source>Page loading</source>
        <translation>Seite wird geladen</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>This web engine (Chromium %1) has no security fixes since %2: some sites may not work, and flaws found since then are not fixed. Velmora built on a current Qt has a current engine: the package for Debian 13 or later, or its Flatpak.</source>
        <translation>Diese Web-Engine (Chromium %1) hat seit %2 keine Sicherheitskorrekturen erhalten: Manche Websites funktionieren vielleicht nicht, und seither gefundene Lücken sind nicht behoben. Velmora mit einem aktuellen Qt hat eine aktuelle Engine: das Paket für Debian 13 oder neuer oder das Flatpak.</translation>
    </message>
    <message>
        <source>&amp;Add Bookmark</source>
        <translation>Lesezeichen &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete Bookmark</source>
        <translation>Lesezeichen &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;View Bookmark</source>
        <translation>Lesezeichen &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Downloads...</source>
        <translation>&amp;Downloads...</translation>
    </message>
    <message>
        <source>hotel prices compared</source>
        <comment>the words on the logo, beside its name</comment>
        <translation>Hotelpreise im Vergleich</translation>
    </message>
    <message>
        <source>Set as &amp;Home Page...</source>
        <translation>Als Startseite &amp;festlegen...</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Only a web page (http or https) can be the home page, not &quot;%1&quot;.</source>
        <translation>Nur eine Webseite (http oder https) kann die Startseite sein, nicht „%1“.</translation>
    </message>
    <message>
        <source>Open %1 at start-up and with Home from now on?</source>
        <translation>Ab jetzt %1 beim Start und mit „Startseite“ öffnen?</translation>
    </message>
</context>
<context>
    <name>pagedialogs</name>
    <message>
        <source>Don&apos;t let this page show more dialogs</source>
        <translation>Diese Seite keine weiteren Dialoge anzeigen lassen</translation>
    </message>
    <message>
        <source>a file on this computer</source>
        <translation>eine Datei auf diesem Computer</translation>
    </message>
    <message>
        <source>The site %1 wants to know your location. Allow it?</source>
        <translation>Die Website %1 möchte Ihren Standort erfahren. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to show notifications. Allow it?</source>
        <translation>Die Website %1 möchte Benachrichtigungen anzeigen. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your microphone. Allow it?</source>
        <translation>Die Website %1 möchte Ihr Mikrofon verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your camera. Allow it?</source>
        <translation>Die Website %1 möchte Ihre Kamera verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your camera and microphone. Allow it?</source>
        <translation>Die Website %1 möchte Ihre Kamera und Ihr Mikrofon verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to see your screen. Allow it?</source>
        <translation>Die Website %1 möchte Ihren Bildschirm sehen. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to see your screen and hear its sound. Allow it?</source>
        <translation>Die Website %1 möchte Ihren Bildschirm sehen und seinen Ton hören. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to hide and take over your mouse pointer. Allow it?</source>
        <translation>Die Website %1 möchte Ihren Mauszeiger ausblenden und übernehmen. Erlauben?</translation>
    </message>
    <message>
        <source>This link is to be opened by another program on your computer (a &quot;%1:&quot; link):

%2

Open it with that program?</source>
        <translation>Dieser Link soll von einem anderen Programm auf Ihrem Computer geöffnet werden (ein „%1:“-Link):

%2

Mit diesem Programm öffnen?</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted, so the page was not opened.

Someone may be pretending to be that site.</source>
        <translation>Dem Zertifikat von %1 wird nicht vertraut, deshalb wurde die Seite nicht geöffnet.

Möglicherweise gibt sich jemand als diese Website aus.</translation>
    </message>
    <message>
        <source>This page stopped working.

Press Refresh to load it again.</source>
        <translation>Diese Seite funktioniert nicht mehr.

Klicken Sie auf „Neu laden“, um sie erneut zu laden.</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>The site %1 asks you to sign in.</source>
        <translation>Die Website %1 bittet Sie, sich anzumelden.</translation>
    </message>
    <message>
        <source>The site %1 asks you to sign in to &quot;%2&quot;.</source>
        <translation>Die Website %1 bittet Sie, sich bei „%2“ anzumelden.</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>Benutzername oder Passwort wurden nicht angenommen. Versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>The site %1 wants to read and change what you copied. Allow it?</source>
        <translation>Die Website %1 möchte lesen und ändern, was Sie kopiert haben. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 wants to see the fonts on this computer. Allow it?</source>
        <translation>Die Website %1 möchte die Schriftarten auf diesem Computer sehen. Erlauben?</translation>
    </message>
    <message>
        <source>The site %1 asked for a passkey or a security key. Velmora cannot use them yet, so the request was cancelled.</source>
        <translation>Die Website %1 hat nach einem Passkey oder Sicherheitsschlüssel gefragt. Velmora kann diese noch nicht verwenden, daher wurde die Anfrage abgebrochen.</translation>
    </message>
    <message>
        <source>windows</source>
        <translation>Fenstern</translation>
    </message>
    <message>
        <source>downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>signing in</source>
        <translation>Anmeldungen</translation>
    </message>
    <message>
        <source>your location</source>
        <translation>Ihrem Standort</translation>
    </message>
    <message>
        <source>notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>your camera</source>
        <translation>Ihrer Kamera</translation>
    </message>
    <message>
        <source>your microphone</source>
        <translation>Ihrem Mikrofon</translation>
    </message>
    <message>
        <source>your camera and microphone</source>
        <translation>Ihrer Kamera und Ihrem Mikrofon</translation>
    </message>
    <message>
        <source>your screen</source>
        <translation>Ihrem Bildschirm</translation>
    </message>
    <message>
        <source>your screen and its sound</source>
        <translation>Ihrem Bildschirm und seinem Ton</translation>
    </message>
    <message>
        <source>your mouse pointer</source>
        <translation>Ihrem Mauszeiger</translation>
    </message>
    <message>
        <source>what you copied</source>
        <translation>dem, was Sie kopiert haben</translation>
    </message>
    <message>
        <source>your fonts</source>
        <translation>Ihren Schriften</translation>
    </message>
    <message>
        <source>links to other programs</source>
        <translation>Links zu anderen Programmen</translation>
    </message>
    <message>
        <source>printing</source>
        <translation>dem Drucken</translation>
    </message>
    <message>
        <source>passkeys</source>
        <translation>Passkeys</translation>
    </message>
    <message>
        <source>%1 (a frame on %2)</source>
        <translation>%1 (ein Rahmen auf %2)</translation>
    </message>
    <message>
        <source>This page says</source>
        <translation>Diese Seite meldet</translation>
    </message>
    <message>
        <source>%1 says</source>
        <translation>%1 meldet</translation>
    </message>
</context>
<context>
    <name>privatefolder</name>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The folder %1 is missing.</source>
        <translation>Der Ordner %1 fehlt.</translation>
    </message>
    <message>
        <source>The folder %1 is a link to another place.</source>
        <translation>Der Ordner %1 ist eine Verknüpfung an einen anderen Ort.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user.</source>
        <translation>Der Ordner %1 gehört einem anderen Benutzer.</translation>
    </message>
    <message>
        <source>The folder %1 is open to other users and could not be closed to them.</source>
        <translation>Der Ordner %1 ist für andere Benutzer zugänglich und konnte nicht für sie gesperrt werden.</translation>
    </message>
</context>
<context>
    <name>progress</name>
    <message>
        <source>Please wait, connecting to server [%1 %]</source>
        <translation>Bitte warten, Verbindung zum Server [%1 %]</translation>
    </message>
</context>
<context>
    <name>schemes</name>
    <message>
        <source>only web pages (http or https) can be opened, not &quot;%1&quot;</source>
        <translation>nur Webseiten (http oder https) können geöffnet werden, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the address is longer than %1 characters</source>
        <translation>die Adresse ist länger als %1 Zeichen</translation>
    </message>
</context>
<context>
    <name>startpage</name>
    <message>
        <source>en</source>
        <comment>the language of this page, as a language code</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>No site is set for Velmora yet. Type the address of the site it is to open, such as %1, and choose “Use this site”.</source>
        <translation>Für Velmora ist noch keine Website eingestellt. Geben Sie die Adresse der Website ein, die es öffnen soll, etwa %1, und wählen Sie „Diese Website verwenden“.</translation>
    </message>
    <message>
        <source>Velmora opens %1 at start-up and with Home. To open another site instead, type its address and choose “Use this site”.</source>
        <translation>Velmora öffnet %1 beim Start und mit „Startseite“. Um stattdessen eine andere Website zu öffnen, geben Sie deren Adresse ein und wählen Sie „Diese Website verwenden“.</translation>
    </message>
    <message>
        <source>The site was not set: %1.</source>
        <translation>Die Website wurde nicht eingestellt: %1.</translation>
    </message>
    <message>
        <source>Velmora keeps it as the line %1 under %2 in your settings, %3. A line in %4 sets it for every user who has none of their own.</source>
        <translation>Velmora speichert sie als Zeile %1 unter %2 in Ihren Einstellungen, %3. Eine Zeile in %4 legt sie für alle Benutzer fest, die keine eigene haben.</translation>
    </message>
    <message>
        <source>Address of the site:</source>
        <translation>Adresse der Website:</translation>
    </message>
    <message>
        <source>Use this site</source>
        <translation>Diese Website verwenden</translation>
    </message>
</context>
<context>
    <name>startup</name>
    <message>
        <source>velmora: refusing to run as root: the web engine&apos;s sandbox, which shuts web pages off from the system, cannot run as root; run Velmora as an ordinary user, or start it with --no-sandbox to run it without the sandbox
</source>
        <translation>velmora: Start als root verweigert: Die Sandbox der Web-Engine, die Webseiten vom System abschottet, kann nicht als root laufen; starten Sie Velmora als gewöhnlicher Benutzer oder mit --no-sandbox, um es ohne die Sandbox auszuführen
</translation>
    </message>
    <message>
        <source>A small desktop browser shell.</source>
        <translation>Eine kleine Browser-Oberfläche für den Desktop.</translation>
    </message>
    <message>
        <source>Run the web engine without its sandbox, as it must run as root. Web pages then run with the program&apos;s rights.</source>
        <translation>Die Web-Engine ohne ihre Sandbox ausführen, wie es als root nötig ist. Webseiten laufen dann mit den Rechten des Programms.</translation>
    </message>
    <message>
        <source>Write the web engine&apos;s start-up report and the pages&apos; console messages to standard error.</source>
        <translation>Den Startbericht der Web-Engine und die Konsolenmeldungen der Seiten auf die Standardfehlerausgabe schreiben.</translation>
    </message>
    <message>
        <source>The window system to use: xcb, wayland, offscreen...</source>
        <translation>Das zu verwendende Fenstersystem: xcb, wayland, offscreen...</translation>
    </message>
    <message>
        <source>Where to look for window system plugins.</source>
        <translation>Wo nach Plugins des Fenstersystems gesucht wird.</translation>
    </message>
    <message>
        <source>The platform theme.</source>
        <translation>Das Plattform-Design.</translation>
    </message>
    <message>
        <source>An input plugin to load as well.</source>
        <translation>Ein zusätzlich zu ladendes Eingabe-Plugin.</translation>
    </message>
    <message>
        <source>The main window&apos;s geometry, as WxH+X+Y.</source>
        <translation>Geometrie des Hauptfensters, als BxH+X+Y.</translation>
    </message>
    <message>
        <source>The windows&apos; icon.</source>
        <translation>Das Symbol der Fenster.</translation>
    </message>
    <message>
        <source>The main window&apos;s title.</source>
        <translation>Der Titel des Hauptfensters.</translation>
    </message>
    <message>
        <source>Lay the windows out from right to left.</source>
        <translation>Die Fenster von rechts nach links anordnen.</translation>
    </message>
    <message>
        <source>The session to restore.</source>
        <translation>Die wiederherzustellende Sitzung.</translation>
    </message>
    <message>
        <source>The widget style.</source>
        <translation>Der Stil der Bedienelemente.</translation>
    </message>
    <message>
        <source>A style sheet for the windows.</source>
        <translation>Ein Stylesheet für die Fenster.</translation>
    </message>
    <message>
        <source>Print how many widgets were left at the end.</source>
        <translation>Am Ende ausgeben, wie viele Bedienelemente übrig waren.</translation>
    </message>
    <message>
        <source>Start the QML debugger with these options.</source>
        <translation>Den QML-Debugger mit diesen Optionen starten.</translation>
    </message>
    <message>
        <source>Load the testability plugin.</source>
        <translation>Das Testability-Plugin laden.</translation>
    </message>
    <message>
        <source>X11: the X display.</source>
        <translation>X11: die X-Anzeige.</translation>
    </message>
    <message>
        <source>X11: as -qwindowgeometry.</source>
        <translation>X11: wie -qwindowgeometry.</translation>
    </message>
    <message>
        <source>X11: as -qwindowtitle.</source>
        <translation>X11: wie -qwindowtitle.</translation>
    </message>
    <message>
        <source>X11: the program&apos;s resource name.</source>
        <translation>X11: der Ressourcenname des Programms.</translation>
    </message>
    <message>
        <source>X11: the visual to use.</source>
        <translation>X11: das zu verwendende Visual.</translation>
    </message>
    <message>
        <source>X11: talk to the X server synchronously.</source>
        <translation>X11: synchron mit dem X-Server kommunizieren.</translation>
    </message>
    <message>
        <source>X11: never grab the mouse or the keyboard.</source>
        <translation>X11: Maus und Tastatur nie exklusiv belegen.</translation>
    </message>
    <message>
        <source>X11: grab them even under a debugger.</source>
        <translation>X11: sie auch unter einem Debugger belegen.</translation>
    </message>
    <message>
        <source>%1 %2
Qt WebEngine %3
Chromium %4, with security patches up to %5
</source>
        <translation>%1 %2
Qt WebEngine %3
Chromium %4, mit Sicherheitskorrekturen bis %5
</translation>
    </message>
    <message>
        <source>velmora: the web engine&apos;s sandbox is off (%1 has %2)
</source>
        <translation>velmora: Die Sandbox der Web-Engine ist ausgeschaltet (%1 enthält %2)
</translation>
    </message>
    <message>
        <source>velmora: part of the web engine&apos;s sandbox is off (%1 has %2)
</source>
        <translation>velmora: Die Sandbox der Web-Engine ist teilweise ausgeschaltet (%1 enthält %2)
</translation>
    </message>
    <message>
        <source>velmora: the web engine&apos;s sandbox is off (%1 is set)
</source>
        <translation>velmora: Die Sandbox der Web-Engine ist ausgeschaltet (%1 ist gesetzt)
</translation>
    </message>
    <message>
        <source>address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>The web page to open instead of the home page (http or https); a running Velmora opens it in its window.</source>
        <translation>Die Webseite, die statt der Startseite geöffnet wird (http oder https); ein laufendes Velmora öffnet sie in seinem Fenster.</translation>
    </message>
    <message>
        <source>[address]</source>
        <translation>[Adresse]</translation>
    </message>
    <message>
        <source>only web pages (http or https) can be opened, not &quot;%1&quot;</source>
        <translation>nur Webseiten (http oder https) können geöffnet werden, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the address is longer than %1 characters</source>
        <translation>die Adresse ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>velmora: the home page &quot;%1&quot; in %2 is not a web page (http or https); it is not used
</source>
        <translation>velmora: die Startseite &quot;%1&quot; in %2 ist keine Webseite (http oder https); sie wird nicht verwendet
</translation>
    </message>
    <message>
        <source>Velmora opens one address at a time, not %1</source>
        <translation>Velmora öffnet eine Adresse auf einmal, nicht %1</translation>
    </message>
    <message>
        <source>velmora: web pages run outside the web engine&apos;s sandbox (%1 has %2)
</source>
        <translation>velmora: Webseiten laufen außerhalb der Sandbox der Web-Engine (%1 enthält %2)
</translation>
    </message>
    <message>
        <source>Nothing was opened: %1.</source>
        <translation>Es wurde nichts geöffnet: %1.</translation>
    </message>
    <message>
        <source>the command line</source>
        <translation>die Befehlszeile</translation>
    </message>
</context>
<context>
    <name>sysinfo</name>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Die Systeminformationen sind derzeit nicht verfügbar</translation>
    </message>
</context>
</TS>
