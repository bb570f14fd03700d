<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Address</name>
    <message>
        <source>The placeholder |s:%1|</source>
        <translation>Der Platzhalter |s:%1|</translation>
    </message>
    <message>
        <source>The placeholder |s:%1| of the service &quot;%2&quot;</source>
        <translation>Der Platzhalter |s:%1| des Suchdienstes „%2“</translation>
    </message>
    <message>
        <source> holds an empty option</source>
        <translation> enthält eine leere Option</translation>
    </message>
    <message>
        <source> holds the option &quot;%1&quot;, which is neither raw, + nor %20 nor a character set that web browsers know</source>
        <translation> enthält die Option „%1“, die weder raw noch + noch %20 noch ein Zeichensatz ist, den Webbrowser kennen</translation>
    </message>
    <message>
        <source> holds options that exclude each other (raw stands alone; one character set; + or %20)</source>
        <translation> enthält Optionen, die einander ausschließen (raw steht allein; ein Zeichensatz; + oder %20)</translation>
    </message>
    <message>
        <source>The address</source>
        <translation>Die Adresse</translation>
    </message>
    <message>
        <source>The service &quot;%1&quot;</source>
        <translation>Der Suchdienst „%1“</translation>
    </message>
    <message>
        <source>Web browsers know no character set &quot;%1&quot;</source>
        <translation>Webbrowser kennen keinen Zeichensatz „%1“</translation>
    </message>
    <message>
        <source>opens &quot;%1&quot;, which is not an http or https address; only those are searched</source>
        <translation>öffnet „%1“, das keine http- oder https-Adresse ist; nur solche werden durchsucht</translation>
    </message>
    <message>
        <source>opens a %1: address (&quot;%2&quot;); only http and https addresses are searched</source>
        <translation>öffnet eine %1:-Adresse („%2“); nur http- und https-Adressen werden durchsucht</translation>
    </message>
    <message>
        <source>makes an address of %1 characters; the browser pane opens addresses of up to %2 characters</source>
        <translation>ergibt eine Adresse von %1 Zeichen; der Browserbereich öffnet Adressen mit bis zu %2 Zeichen</translation>
    </message>
    <message>
        <source>opens &quot;%1&quot;, which names no valid host</source>
        <translation>öffnet „%1“, das keinen gültigen Host nennt</translation>
    </message>
    <message>
        <source>has a name of more than %1 characters</source>
        <translation>hat einen Namen von mehr als %1 Zeichen</translation>
    </message>
</context>
<context>
    <name>BrowserPane</name>
    <message>
        <source>the plugin %1 was not found</source>
        <translation>das Plugin %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>The web browser engine cannot be started: %1</source>
        <translation>Die Browser-Engine kann nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>The browser pane cannot open &quot;%1&quot;: it is neither a web address nor a local file</source>
        <translation>Der Browserbereich kann „%1“ nicht öffnen: Es ist weder eine Webadresse noch eine lokale Datei</translation>
    </message>
    <message>
        <source>The browser pane opens only http, https and local file addresses, not &quot;%1:&quot; addresses</source>
        <translation>Der Browserbereich öffnet nur http-, https- und lokale Dateiadressen, keine „%1:“-Adressen</translation>
    </message>
    <message>
        <source>The address is %1 characters long; the browser pane opens addresses of up to %2 characters</source>
        <translation>Die Adresse ist %1 Zeichen lang; der Browserbereich öffnet Adressen mit bis zu %2 Zeichen</translation>
    </message>
</context>
<context>
    <name>CaptureReport</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>the %1 failed: %2</source>
        <translation>%1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>The page was not captured: %1</source>
        <translation>Die Seite wurde nicht gesichert: %1</translation>
    </message>
    <message>
        <source>Captured the page in part: %1 written to the case; %2</source>
        <translation>Die Seite wurde zum Teil gesichert: %1 in die Akte geschrieben; %2</translation>
    </message>
    <message>
        <source>Captured the page: %1 written to the case</source>
        <translation>Die Seite wurde gesichert: %1 in die Akte geschrieben</translation>
    </message>
</context>
<context>
    <name>CaseJob</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message>
        <source>Cancelled: nothing was written</source>
        <translation>Abgebrochen: nichts wurde geschrieben</translation>
    </message>
</context>
<context>
    <name>CaseLogModel</name>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Dienst</translation>
    </message>
    <message>
        <source>Term</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Captures</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Urteil</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Started By</source>
        <translation>Ausgelöst durch</translation>
    </message>
</context>
<context>
    <name>CaseRecorder</name>
    <message>
        <source>No case is open: open or start one in the File menu first</source>
        <translation>Keine Akte ist geöffnet: Öffnen oder beginnen Sie zuerst eine im Menü Datei</translation>
    </message>
    <message>
        <source>The page on view is not a search of this case: search again to record it, then capture it</source>
        <translation>Die angezeigte Seite ist keine Suche dieser Akte: Suchen Sie erneut, um sie aufzuzeichnen, und sichern Sie sie dann</translation>
    </message>
    <message>
        <source>Capturing the page...</source>
        <translation>Die Seite wird gesichert...</translation>
    </message>
    <message>
        <source>No case is open</source>
        <translation>Keine Akte ist geöffnet</translation>
    </message>
    <message>
        <source>The case did not record the note: %1</source>
        <translation>Die Akte hat die Notiz nicht aufgezeichnet: %1</translation>
    </message>
    <message>
        <source>%1. The page is shown; the next search tries again.</source>
        <translation>%1. Die Seite wird angezeigt; die nächste Suche versucht es erneut.</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
    <message>
        <source>The server refused a record; it is kept aside on this computer: %1</source>
        <translation>Der Server hat einen Eintrag abgelehnt; er wird auf diesem Rechner beiseitegelegt: %1</translation>
    </message>
    <message>
        <source>The case&apos;s server is reached again: the records that waited are sent</source>
        <translation>Der Server der Akte ist wieder erreichbar: die wartenden Einträge werden gesendet</translation>
    </message>
    <message>
        <source>The case&apos;s server cannot be reached (%1): the records wait on this computer</source>
        <translation>Der Server der Akte ist nicht erreichbar (%1): die Einträge warten auf diesem Rechner</translation>
    </message>
    <message>
        <source>the case did not record it: %1</source>
        <translation>die Akte hat sie nicht aufgezeichnet: %1</translation>
    </message>
</context>
<context>
    <name>CaseSettingsDialog</name>
    <message>
        <source>&amp;Proxy:</source>
        <translation>&amp;Proxy:</translation>
    </message>
    <message>
        <source>socks5://HOST:PORT or http://HOST:PORT; empty for none. The case then runs in a program of its own.</source>
        <translation>socks5://RECHNER:PORT oder http://RECHNER:PORT; leer für keinen. Die Akte läuft dann in einem eigenen Programm.</translation>
    </message>
    <message>
        <source>&amp;User agent:</source>
        <translation>&amp;User-Agent:</translation>
    </message>
    <message>
        <source>What the case&apos;s pages tell sites they are; empty for the web engine&apos;s own</source>
        <translation>Was die Seiten der Akte den Websites über sich sagen; leer für den der Web-Engine</translation>
    </message>
    <message>
        <source>Case Settings - %1</source>
        <translation>Einstellungen der Akte - %1</translation>
    </message>
    <message>
        <source>Stamping the case when it is closed and exported needs the time-stamp authority&apos;s address</source>
        <translation>Das Stempeln der Akte beim Schließen und Exportieren braucht die Adresse des Zeitstempeldienstes</translation>
    </message>
    <message>
        <source>Time-stamp &amp;authority:</source>
        <translation>&amp;Zeitstempeldienst:</translation>
    </message>
    <message>
        <source>http:// or https:// address of an RFC 3161 time-stamp authority, which Case &gt; Stamp Now asks; empty for none</source>
        <translation>http://- oder https://-Adresse eines Zeitstempeldienstes nach RFC 3161, den Akte &gt; Zeitstempel jetzt fragt; leer für keinen</translation>
    </message>
    <message>
        <source>&amp;Stamp the case when it is closed and when it is exported</source>
        <translation>Akte beim &amp;Schließen und beim Exportieren stempeln</translation>
    </message>
    <message>
        <source>Asks the time-stamp authority for a stamp over the case&apos;s last record first; a close waits for it a few seconds at most</source>
        <translation>Fragt zuerst den Zeitstempeldienst nach einem Zeitstempel über den letzten Eintrag der Akte; das Schließen wartet darauf höchstens einige Sekunden</translation>
    </message>
</context>
<context>
    <name>CaseStamper</name>
    <message>
        <source>no answer within %1 seconds</source>
        <translation>keine Antwort innerhalb von %1 Sekunden</translation>
    </message>
    <message>
        <source>A stamp is under way already: the status line says when it has ended</source>
        <translation>Ein Zeitstempel ist schon unterwegs: die Statuszeile sagt, wenn er fertig ist</translation>
    </message>
    <message>
        <source>No stamp from %1: %2</source>
        <translation>Kein Zeitstempel von %1: %2</translation>
    </message>
    <message>
        <source>Stamped at %1 by %2</source>
        <translation>Gestempelt um %1 von %2</translation>
    </message>
</context>
<context>
    <name>Cases</name>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; cannot be read: %2</source>
        <translation>Der Fall „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>--format is one of %1, not &quot;%2&quot;</source>
        <translation>--format ist eines von %1, nicht „%2“</translation>
    </message>
    <message>
        <source>Left out of %1: %2</source>
        <translation>In %1 ausgelassen: %2</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(ohne Namen)</translation>
    </message>
    <message>
        <source>Service line: %1</source>
        <translation>Zeile des Suchdienstes: %1</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Shown (UTC)</source>
        <translation>Angezeigt (UTC)</translation>
    </message>
    <message>
        <source>Term</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>Address as run</source>
        <translation>Gesendete Adresse</translation>
    </message>
    <message>
        <source>Address shown</source>
        <translation>Angezeigte Adresse</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Captures</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>record %1 is missing (the case&apos;s head names record %2)</source>
        <translation>Eintrag %1 fehlt (das Kettenende des Falls nennt Eintrag %2)</translation>
    </message>
    <message>
        <source>record %1 was added outside the program (the case&apos;s head names record %2)</source>
        <translation>Eintrag %1 wurde außerhalb des Programms hinzugefügt (das Kettenende des Falls nennt Eintrag %2)</translation>
    </message>
    <message>
        <source>the case&apos;s head does not match record %1</source>
        <translation>das Kettenende des Falls passt nicht zu Eintrag %1</translation>
    </message>
    <message>
        <source>record %1 is missing</source>
        <translation>Eintrag %1 fehlt</translation>
    </message>
    <message>
        <source>records %1 to %2 are missing</source>
        <translation>die Einträge %1 bis %2 fehlen</translation>
    </message>
    <message>
        <source>record %1 is out of order</source>
        <translation>Eintrag %1 steht an falscher Stelle</translation>
    </message>
    <message>
        <source>record %1 was changed (its content does not match its hash)</source>
        <translation>Eintrag %1 wurde verändert (sein Inhalt passt nicht zu seinem Hash)</translation>
    </message>
    <message>
        <source>record %1 does not follow the record before it (the chain is broken)</source>
        <translation>Eintrag %1 folgt nicht auf den Eintrag davor (die Kette ist unterbrochen)</translation>
    </message>
    <message>
        <source>record %1 is of an unknown kind</source>
        <translation>Eintrag %1 ist von unbekannter Art</translation>
    </message>
    <message>
        <source>record %1 refers to record %2, which is no search before it</source>
        <translation>Eintrag %1 verweist auf Eintrag %2, der keine Suche vor ihm ist</translation>
    </message>
    <message>
        <source>%1 cannot be read (%2)</source>
        <translation>%1 kann nicht gelesen werden (%2)</translation>
    </message>
    <message>
        <source>%1 has %2 bytes where %3 were recorded</source>
        <translation>%1 hat %2 Bytes, aufgezeichnet waren %3</translation>
    </message>
    <message>
        <source>%1 was changed (its SHA-256 is not the one recorded)</source>
        <translation>%1 wurde verändert (sein SHA-256 ist nicht der aufgezeichnete)</translation>
    </message>
    <message>
        <source>the capture of record %1: %2</source>
        <translation>die Sicherung von Eintrag %1: %2</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; does not hold: %2</source>
        <translation>Der Fall „%1“ ist nicht intakt: %2</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; holds: %2 records (searches: %3, captures: %4, failed captures: %5, notes: %6), chain head sha256:%7</source>
        <translation>Der Fall „%1“ ist intakt: %2 Einträge (Suchen: %3, Sicherungen: %4, fehlgeschlagene Sicherungen: %5, Notizen: %6), Kettenende sha256:%7</translation>
    </message>
    <message>
        <source>%1 changed while it was exported</source>
        <translation>%1 hat sich während des Exports verändert</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>es ist kein Ordner</translation>
    </message>
    <message>
        <source>it is not a case folder (it holds no %1)</source>
        <translation>es ist kein Fallordner (er enthält keine %1)</translation>
    </message>
    <message>
        <source>Cannot open the case &quot;%1&quot;: %2</source>
        <translation>Der Fall „%1“ kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot open the case &quot;%1&quot; for writing: %2</source>
        <translation>Der Fall „%1“ kann nicht zum Schreiben geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; is open in another program (process %2 on %3): it is not written to here</source>
        <translation>Der Fall „%1“ ist in einem anderen Programm geöffnet (Prozess %2 auf %3): hier wird nichts in ihn geschrieben</translation>
    </message>
    <message>
        <source>%1 cannot be opened (%2)</source>
        <translation>%1 kann nicht geöffnet werden (%2)</translation>
    </message>
    <message>
        <source>the case cannot be created (%1)</source>
        <translation>der Fall kann nicht angelegt werden (%1)</translation>
    </message>
    <message>
        <source>%1 is damaged or not a database (%2)</source>
        <translation>%1 ist beschädigt oder keine Datenbank (%2)</translation>
    </message>
    <message>
        <source>%1 is another program&apos;s database, not a Glen Lantern case</source>
        <translation>%1 ist die Datenbank eines anderen Programms, kein Fall von Glen Lantern</translation>
    </message>
    <message>
        <source>it was written by a newer version of Glen Lantern (record version %1; this version reads up to %2)</source>
        <translation>er wurde von einer neueren Version von Glen Lantern geschrieben (Protokollversion %1; diese Version liest bis %2)</translation>
    </message>
    <message>
        <source>its identity is incomplete</source>
        <translation>seine Kennung ist unvollständig</translation>
    </message>
    <message>
        <source>The capture was not recorded: %1</source>
        <translation>Die Sicherung wurde nicht aufgezeichnet: %1</translation>
    </message>
    <message>
        <source>The case is open read-only: nothing is recorded</source>
        <translation>Der Fall ist nur zum Lesen geöffnet: nichts wird aufgezeichnet</translation>
    </message>
    <message>
        <source>The record was not written: %1</source>
        <translation>Der Eintrag wurde nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>there is no search %1 in the case</source>
        <translation>im Fall gibt es keine Suche %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a file name of %2/</source>
        <translation>„%1“ ist kein Dateiname in %2/</translation>
    </message>
    <message>
        <source>%1/%2 cannot be read (%3)</source>
        <translation>%1/%2 kann nicht gelesen werden (%3)</translation>
    </message>
    <message>
        <source>The queue for the server cannot be made in %1</source>
        <translation>Die Warteschlange für den Server kann in %1 nicht angelegt werden</translation>
    </message>
    <message>
        <source>No queue for the server can be held in %1</source>
        <translation>In %1 lässt sich keine Warteschlange für den Server belegen</translation>
    </message>
    <message>
        <source>The capture cannot be kept for the server in %1</source>
        <translation>Die Aufnahme kann in %1 nicht für den Server aufbewahrt werden</translation>
    </message>
    <message>
        <source>The record cannot be kept for the server in %1 (%2)</source>
        <translation>Der Eintrag kann in %1 nicht für den Server aufbewahrt werden (%2)</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; was not copied: record %2&apos;s capture: %3</source>
        <translation>Der Fall „%1“ wurde nicht kopiert: Aufnahme von Eintrag %2: %3</translation>
    </message>
    <message>
        <source>Qt&apos;s PostgreSQL driver is missing (Debian package libqt6sql6-psql)</source>
        <translation>Der PostgreSQL-Treiber von Qt fehlt (Debian-Paket libqt6sql6-psql)</translation>
    </message>
    <message>
        <source>the server refused or could not be reached (%1)</source>
        <translation>der Server hat abgelehnt oder ist nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>the database %1 holds no Glen Lantern cases</source>
        <translation>die Datenbank %1 enthält keine Fälle von Glen Lantern</translation>
    </message>
    <message>
        <source>the database&apos;s schema &quot;glenlantern&quot; is not Glen Lantern&apos;s</source>
        <translation>das Schema „glenlantern“ der Datenbank gehört nicht zu Glen Lantern</translation>
    </message>
    <message>
        <source>its tables were made by a newer version of Glen Lantern (version %1; this version reads up to %2)</source>
        <translation>ihre Tabellen stammen von einer neueren Version von Glen Lantern (Version %1; diese Version liest bis %2)</translation>
    </message>
    <message>
        <source>there is no case &quot;%1&quot; in the database %2</source>
        <translation>in der Datenbank %2 gibt es keinen Fall „%1“</translation>
    </message>
    <message>
        <source>The record was not written: there is no search %1 waiting</source>
        <translation>Der Eintrag wurde nicht geschrieben: keine Suche %1 wartet</translation>
    </message>
    <message>
        <source>the case is no longer in the database</source>
        <translation>der Fall ist nicht mehr in der Datenbank</translation>
    </message>
    <message>
        <source>the search it belongs to was not recorded</source>
        <translation>die Suche, zu der er gehört, wurde nicht aufgezeichnet</translation>
    </message>
    <message>
        <source>the server cannot be reached</source>
        <translation>der Server ist nicht erreichbar</translation>
    </message>
    <message>
        <source>%1 is missing from the database</source>
        <translation>%1 fehlt in der Datenbank</translation>
    </message>
    <message>
        <source>the case is already in the database: a copy goes into a new case</source>
        <translation>der Fall ist schon in der Datenbank: eine Kopie geht in einen neuen Fall</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a case on a server: %2</source>
        <translation>„%1“ ist kein Fall auf einem Server: %2</translation>
    </message>
    <message>
        <source>the %1 holds a % that is not followed by two hex digits</source>
        <translation>%1 enthält ein %, dem keine zwei Hexziffern folgen</translation>
    </message>
    <message>
        <source>the %1 is not UTF-8</source>
        <translation>%1 ist kein UTF-8</translation>
    </message>
    <message>
        <source>the %1 holds a control character</source>
        <translation>%1 enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>the IPv6 address has no closing ]</source>
        <translation>der IPv6-Adresse fehlt die schließende ]</translation>
    </message>
    <message>
        <source>only :PORT may follow the IPv6 address</source>
        <translation>auf die IPv6-Adresse darf nur :PORT folgen</translation>
    </message>
    <message>
        <source>the port after : is missing</source>
        <translation>der Port nach : fehlt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IPv6 address</source>
        <translation>„%1“ ist keine IPv6-Adresse</translation>
    </message>
    <message>
        <source>the server&apos;s name is missing</source>
        <translation>der Name des Servers fehlt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a server&apos;s name</source>
        <translation>„%1“ ist kein Servername</translation>
    </message>
    <message>
        <source>server&apos;s name</source>
        <translation>der Servername</translation>
    </message>
    <message>
        <source>a socket folder starts with / (%2F)</source>
        <translation>ein Socket-Ordner beginnt mit / (%2F)</translation>
    </message>
    <message>
        <source>the port is a number from 1 to 65535, not &quot;%1&quot;</source>
        <translation>der Port ist eine Zahl von 1 bis 65535, nicht „%1“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no value (KEY=VALUE)</source>
        <translation>„%1“ hat keinen Wert (SCHLÜSSEL=WERT)</translation>
    </message>
    <message>
        <source>value of %1</source>
        <translation>der Wert von %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not understood (case=NAME and sslmode=MODE are)</source>
        <translation>„%1“ wird nicht verstanden (case=NAME und sslmode=MODUS schon)</translation>
    </message>
    <message>
        <source>%1= is given more than once</source>
        <translation>%1= ist mehrfach angegeben</translation>
    </message>
    <message>
        <source>the case&apos;s name is empty or longer than 200 characters</source>
        <translation>der Name des Falls ist leer oder länger als 200 Zeichen</translation>
    </message>
    <message>
        <source>sslmode is one of %1, not &quot;%2&quot;</source>
        <translation>sslmode ist eines von %1, nicht „%2“</translation>
    </message>
    <message>
        <source>the case&apos;s name is missing (?case=NAME)</source>
        <translation>der Name des Falls fehlt (?case=NAME)</translation>
    </message>
    <message>
        <source>it does not start with postgresql://</source>
        <translation>sie beginnt nicht mit postgresql://</translation>
    </message>
    <message>
        <source>it holds a # (write it as %23)</source>
        <translation>sie enthält ein # (als %23 schreiben)</translation>
    </message>
    <message>
        <source>the database&apos;s name is missing (/DATABASE)</source>
        <translation>der Name der Datenbank fehlt (/DATENBANK)</translation>
    </message>
    <message>
        <source>the user is missing (USER@HOST)</source>
        <translation>der Benutzer fehlt (BENUTZER@HOST)</translation>
    </message>
    <message>
        <source>a password does not belong in the address; put it in ~/.pgpass or PGPASSWORD, or type it when asked</source>
        <translation>ein Passwort gehört nicht in die Adresse; es gehört in ~/.pgpass oder PGPASSWORD oder wird auf Nachfrage eingegeben</translation>
    </message>
    <message>
        <source>user</source>
        <translation>der Benutzer</translation>
    </message>
    <message>
        <source>database&apos;s name</source>
        <translation>der Datenbankname</translation>
    </message>
    <message>
        <source>the database&apos;s name is missing or holds a /</source>
        <translation>der Name der Datenbank fehlt oder enthält ein /</translation>
    </message>
    <message>
        <source>The password file %1 is not a plain file: it is not used</source>
        <translation>Die Passwortdatei %1 ist keine gewöhnliche Datei: sie wird nicht verwendet</translation>
    </message>
    <message>
        <source>The password file %1 may be read by others: it is not used (chmod 0600 %1)</source>
        <translation>Die Passwortdatei %1 ist für andere lesbar: sie wird nicht verwendet (chmod 0600 %1)</translation>
    </message>
    <message>
        <source>The password file %1 cannot be read (%2)</source>
        <translation>Die Passwortdatei %1 kann nicht gelesen werden (%2)</translation>
    </message>
    <message>
        <source>a copy goes into a new or empty folder</source>
        <translation>eine Kopie geht in einen neuen oder leeren Ordner</translation>
    </message>
    <message>
        <source>the copy cannot be written (%1)</source>
        <translation>die Kopie kann nicht geschrieben werden (%1)</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>the server did not answer</source>
        <translation>der Server hat nicht geantwortet</translation>
    </message>
    <message>
        <source>the server offers no TLS and asks for the password in clear text: the password is not sent (sslmode=disable in the address sends it anyway)</source>
        <translation>der Server bietet kein TLS an und verlangt das Passwort im Klartext: das Passwort wird nicht gesendet (mit sslmode=disable in der Adresse wird es trotzdem gesendet)</translation>
    </message>
    <message>
        <source>the server could not be reached (%1)</source>
        <translation>der Server ist nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>its tables are of an older version (%1) and cannot be brought up to date here: %2. Whoever owns them opens the case once to do it.</source>
        <translation>ihre Tabellen stammen von einer älteren Version (%1) und können hier nicht aktualisiert werden: %2. Wem sie gehören, der öffnet den Fall einmal, um das zu tun.</translation>
    </message>
    <message>
        <source>the database holds another case of that name now (case %1, where this computer&apos;s records are for case %2)</source>
        <translation>die Datenbank enthält jetzt einen anderen Fall dieses Namens (Fall %1, die Einträge dieses Rechners sind für Fall %2)</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>der Server hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Cannot open the case &quot;%1&quot; for writing: its record of version %2 cannot be brought up to date (%3)</source>
        <translation>Der Fall „%1“ kann nicht zum Schreiben geöffnet werden: sein Protokoll der Version %2 kann nicht aktualisiert werden (%3)</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file</source>
        <translation>%1 ist %2, keine reguläre Datei</translation>
    </message>
    <message>
        <source>the folder cannot be made (%1)</source>
        <translation>der Ordner kann nicht angelegt werden (%1)</translation>
    </message>
    <message>
        <source>%1 cannot be made (%2)</source>
        <translation>%1 kann nicht angelegt werden (%2)</translation>
    </message>
    <message>
        <source>%1 has other names (hard links), so writing it would change another file</source>
        <translation>%1 hat weitere Namen (harte Links), Schreiben darauf würde also eine andere Datei ändern</translation>
    </message>
    <message>
        <source>%1 is %2, not a folder</source>
        <translation>%1 ist %2, kein Ordner</translation>
    </message>
    <message>
        <source>%1/%2 cannot be written (%3)</source>
        <translation>%1/%2 kann nicht geschrieben werden (%3)</translation>
    </message>
    <message>
        <source>record %1&apos;s %2 %3</source>
        <translation>das Feld %2 von Eintrag %1 %3</translation>
    </message>
    <message>
        <source>is none of the outcomes a search has</source>
        <translation>ist keines der Ergebnisse, die eine Suche haben kann</translation>
    </message>
    <message>
        <source>holds a control character</source>
        <translation>enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>is none of the kinds of capture</source>
        <translation>ist keine der Arten von Sicherungen</translation>
    </message>
    <message>
        <source>record %1 is a failed capture that names a file</source>
        <translation>Eintrag %1 ist eine fehlgeschlagene Sicherung, die eine Datei nennt</translation>
    </message>
    <message>
        <source>is empty</source>
        <translation>ist leer</translation>
    </message>
    <message>
        <source>is not 64 lowercase hex digits</source>
        <translation>sind nicht 64 kleingeschriebene Hexadezimalziffern</translation>
    </message>
    <message>
        <source>is below 0</source>
        <translation>ist kleiner als 0</translation>
    </message>
    <message>
        <source>is not a UTC time in the form records hold (such as 2024-05-01T09:30:00.125Z)</source>
        <translation>ist keine UTC-Zeit in der Form der Einträge (etwa 2024-05-01T09:30:00.125Z)</translation>
    </message>
    <message>
        <source>names no record</source>
        <translation>nennt keinen Eintrag</translation>
    </message>
    <message>
        <source>the case&apos;s id is not a UUID</source>
        <translation>die Kennung des Falls ist keine UUID</translation>
    </message>
    <message>
        <source>the case&apos;s creation time is not a UTC time in the form records hold</source>
        <translation>die Anlagezeit des Falls ist keine UTC-Zeit in der Form der Einträge</translation>
    </message>
    <message>
        <source>%1/ cannot be made (%2)</source>
        <translation>%1/ kann nicht angelegt werden (%2)</translation>
    </message>
    <message>
        <source>%1/ cannot be opened (%2)</source>
        <translation>%1/ kann nicht geöffnet werden (%2)</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>ein symbolischer Link</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>eine benannte Pipe</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>a regular file</source>
        <translation>eine reguläre Datei</translation>
    </message>
    <message>
        <source>of an unknown kind</source>
        <translation>von unbekannter Art</translation>
    </message>
    <message>
        <source>there is no room left on its disk (%1)</source>
        <translation>auf seinem Datenträger ist kein Platz mehr (%1)</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>sie ist leer</translation>
    </message>
    <message>
        <source>The capture was not recorded: it was not written in the case&apos;s folder</source>
        <translation>Die Sicherung wurde nicht aufgezeichnet: sie wurde nicht im Ordner des Falls geschrieben</translation>
    </message>
    <message>
        <source>Search record of the case %1</source>
        <translation>Suchprotokoll des Falls %1</translation>
    </message>
    <message>
        <source>Case</source>
        <translation>Fall</translation>
    </message>
    <message>
        <source>Kept at</source>
        <translation>Aufbewahrt in</translation>
    </message>
    <message>
        <source>Searched by</source>
        <translation>Gesucht von</translation>
    </message>
    <message>
        <source>First search (UTC)</source>
        <translation>Erste Suche (UTC)</translation>
    </message>
    <message>
        <source>Last search (UTC)</source>
        <translation>Letzte Suche (UTC)</translation>
    </message>
    <message>
        <source>Verified at export</source>
        <translation>Beim Export geprüft</translation>
    </message>
    <message>
        <source>the record holds: %1 records, chain head sha256:%2</source>
        <translation>das Protokoll ist intakt: %1 Einträge, Kettenende sha256:%2</translation>
    </message>
    <message>
        <source>the record does not hold: %1</source>
        <translation>das Protokoll ist nicht intakt: %1</translation>
    </message>
    <message>
        <source>record %1 (sha256:%2) stamped at %3 (UTC) by %4 (%5)</source>
        <translation>Eintrag %1 (sha256:%2) gestempelt um %3 (UTC) von %4 (%5)</translation>
    </message>
    <message>
        <source>Stamps</source>
        <translation>Zeitstempel</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Exported (UTC)</source>
        <translation>Exportiert (UTC)</translation>
    </message>
    <message>
        <source>Search methods</source>
        <translation>Suchmethoden</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Dienst</translation>
    </message>
    <message>
        <source>Its line, exactly as searched</source>
        <translation>Seine Zeile, genau wie gesucht</translation>
    </message>
    <message>
        <source>Dates run (UTC)</source>
        <translation>Suchtage (UTC)</translation>
    </message>
    <message>
        <source>Searches</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Loaded</source>
        <translation>Geladen</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Not finished</source>
        <translation>Nicht beendet</translation>
    </message>
    <message>
        <source>Started by</source>
        <translation>Gestartet durch</translation>
    </message>
    <message>
        <source>Searches: %1; first %2, last %3 (UTC)</source>
        <translation>Suchen: %1; erste %2, letzte %3 (UTC)</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>The case holds no record yet: there is nothing to stamp</source>
        <translation>Der Fall enthält noch keinen Eintrag: es gibt nichts zu stempeln</translation>
    </message>
    <message>
        <source>Record %1&apos;s hash is not a SHA-256: verify the case</source>
        <translation>Der Hash von Eintrag %1 ist kein SHA-256: prüfen Sie den Fall</translation>
    </message>
    <message>
        <source>The stamp from %1 was not kept: %2</source>
        <translation>Der Zeitstempel von %1 wurde nicht aufbewahrt: %2</translation>
    </message>
    <message>
        <source>The stamp from %1 was not kept: its time %2 is before record %3&apos;s own (%4); the authority&apos;s clock or this machine&apos;s is wrong</source>
        <translation>Der Zeitstempel von %1 wurde nicht aufbewahrt: seine Zeit %2 liegt vor der von Eintrag %3 (%4); die Uhr des Zeitstempeldienstes oder dieses Rechners geht falsch</translation>
    </message>
    <message>
        <source>No stamp from %1: %2</source>
        <translation>Kein Zeitstempel von %1: %2</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; is stamped: record %2 (sha256:%3) at %4 (UTC) by %5; the answer is kept as stamps/%6</source>
        <translation>Der Fall „%1“ ist gestempelt: Eintrag %2 (sha256:%3) um %4 (UTC) von %5; die Antwort ist als stamps/%6 aufbewahrt</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; was not copied: record %2&apos;s stamp: %3</source>
        <translation>Der Fall „%1“ wurde nicht kopiert: Zeitstempel von Eintrag %2: %3</translation>
    </message>
    <message>
        <source>the stamp of record %1: %2</source>
        <translation>der Zeitstempel von Eintrag %1: %2</translation>
    </message>
    <message>
        <source>The WARC changed while it was put into the archive</source>
        <translation>Die WARC-Datei hat sich verändert, während sie ins Archiv gelegt wurde</translation>
    </message>
    <message>
        <source>The search record of the case %1 (%2), chain head sha256:%3</source>
        <translation>Das Suchprotokoll des Falls %1 (%2), Kettenende sha256:%3</translation>
    </message>
    <message>
        <source>The WARC could not be written to &quot;%1&quot;</source>
        <translation>Die WARC-Datei konnte nicht nach „%1“ geschrieben werden</translation>
    </message>
    <message>
        <source>The WARC could not be read back</source>
        <translation>Die WARC-Datei konnte nicht zurückgelesen werden</translation>
    </message>
    <message>
        <source>record %1&apos;s time is not a UTC time: its WARC records carry the export&apos;s time</source>
        <translation>die Zeit von Eintrag %1 ist keine UTC-Zeit: seine WARC-Einträge tragen die Zeit des Exports</translation>
    </message>
    <message>
        <source>names no record before it</source>
        <translation>nennt keinen Eintrag davor</translation>
    </message>
    <message>
        <source>is not a UTC time in the form records hold</source>
        <translation>ist keine UTC-Zeit in der Form der Einträge</translation>
    </message>
    <message>
        <source>The stamp was not recorded: the server has not taken every record yet</source>
        <translation>Der Zeitstempel wurde nicht aufgezeichnet: der Server hat noch nicht alle Einträge angenommen</translation>
    </message>
    <message>
        <source>The stamp was not recorded: %1</source>
        <translation>Der Zeitstempel wurde nicht aufgezeichnet: %1</translation>
    </message>
    <message>
        <source>The stamp was not recorded: it names no record&apos;s hash</source>
        <translation>Der Zeitstempel wurde nicht aufgezeichnet: er nennt keinen Hash eines Eintrags</translation>
    </message>
    <message>
        <source>The stamp was not recorded: %1/ cannot be opened (%2)</source>
        <translation>Der Zeitstempel wurde nicht aufgezeichnet: %1/ kann nicht geöffnet werden (%2)</translation>
    </message>
    <message>
        <source>The stamp was not recorded: %1/%2 is there already</source>
        <translation>Der Zeitstempel wurde nicht aufgezeichnet: %1/%2 gibt es schon</translation>
    </message>
    <message>
        <source>it names no record&apos;s hash</source>
        <translation>er nennt keinen Hash eines Eintrags</translation>
    </message>
    <message>
        <source>%1 is not a time-stamp answer of this case</source>
        <translation>%1 ist keine Zeitstempel-Antwort dieses Falls</translation>
    </message>
    <message>
        <source>the stamp of record %1 cannot be written</source>
        <translation>der Zeitstempel von Eintrag %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the stamp of record %1 cannot be written (%2)</source>
        <translation>der Zeitstempel von Eintrag %1 kann nicht geschrieben werden (%2)</translation>
    </message>
    <message>
        <source>it names record %1, which is no record before it</source>
        <translation>er nennt Eintrag %1, der kein Eintrag davor ist</translation>
    </message>
    <message>
        <source>it is over another hash than record %1&apos;s</source>
        <translation>er gilt einem anderen Hash als dem von Eintrag %1</translation>
    </message>
    <message>
        <source>stamps/%1 was changed (its SHA-256 is not the one recorded)</source>
        <translation>stamps/%1 wurde verändert (sein SHA-256 ist nicht der aufgezeichnete)</translation>
    </message>
    <message>
        <source>the token&apos;s time is %1, not the %2 recorded</source>
        <translation>die Zeit des Tokens ist %1, nicht die aufgezeichnete %2</translation>
    </message>
    <message>
        <source>its time %1 is before record %2&apos;s own (%3)</source>
        <translation>seine Zeit %1 liegt vor der von Eintrag %2 (%3)</translation>
    </message>
    <message>
        <source>the stamp of record %1 (record %2, by %3): %4</source>
        <translation>der Zeitstempel in Eintrag %1 (Eintrag %2, von %3): %4</translation>
    </message>
    <message>
        <source>libcrypto gave no reason</source>
        <translation>libcrypto nannte keinen Grund</translation>
    </message>
    <message>
        <source>the answer is no time-stamp response</source>
        <translation>die Antwort ist keine Zeitstempel-Antwort</translation>
    </message>
    <message>
        <source>the token&apos;s time cannot be read</source>
        <translation>die Zeit des Tokens kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the token is not over a SHA-256 hash</source>
        <translation>das Token gilt keinem SHA-256-Hash</translation>
    </message>
    <message>
        <source>its signature does not hold: %1</source>
        <translation>seine Signatur ist ungültig: %1</translation>
    </message>
    <message>
        <source>The time-stamp query cannot be made: %1</source>
        <translation>Die Zeitstempel-Anfrage kann nicht erstellt werden: %1</translation>
    </message>
    <message>
        <source>the authority refused (status %1)</source>
        <translation>der Zeitstempeldienst hat abgelehnt (Status %1)</translation>
    </message>
    <message>
        <source>the token is not the one asked for: %1</source>
        <translation>das Token ist nicht das angefragte: %1</translation>
    </message>
    <message>
        <source>the certificates of %1 cannot be read: %2</source>
        <translation>die Zertifikate aus %1 können nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Stamps that hold: %1; the last at %2 (UTC) by %3 (%4)</source>
        <translation>Gültige Zeitstempel: %1; der letzte um %2 (UTC) von %3 (%4)</translation>
    </message>
    <message>
        <source>The case&apos;s settings &quot;%1&quot; cannot be read: %2</source>
        <translation>Die Einstellungen der Akte „%1“ können nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it is a link</source>
        <translation>die Datei ist eine Verknüpfung</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>it is larger than %1 KiB</source>
        <translation>die Datei ist größer als %1 KiB</translation>
    </message>
    <message>
        <source>it holds no JSON object</source>
        <translation>die Datei enthält kein JSON-Objekt</translation>
    </message>
    <message>
        <source>The case&apos;s settings &quot;%1&quot; were not written: it is not a regular file</source>
        <translation>Die Einstellungen der Akte „%1“ wurden nicht geschrieben: es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>The case&apos;s settings &quot;%1&quot; were not written: %2</source>
        <translation>Die Einstellungen der Akte „%1“ wurden nicht geschrieben: %2</translation>
    </message>
    <message>
        <source>The case&apos;s proxy cannot be used: %1</source>
        <translation>Der Proxy der Akte kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>The time-stamp authority&apos;s address &quot;%1&quot; is not an http or https address</source>
        <translation>Die Adresse des Zeitstempeldienstes „%1“ ist keine http- oder https-Adresse</translation>
    </message>
    <message>
        <source>The case is to be stamped when it is closed and exported, but its settings name no time-stamp authority</source>
        <translation>Die Akte soll beim Schließen und Exportieren gestempelt werden, aber ihre Einstellungen nennen keinen Zeitstempeldienst</translation>
    </message>
    <message>
        <source>&quot;%1&quot; with %2: %3</source>
        <translation>„%1“ mit %2: %3</translation>
    </message>
    <message>
        <source>no verdict</source>
        <translation>kein Urteil</translation>
    </message>
    <message>
        <source>&quot;%1&quot; with %2: %3 -&gt; %4</source>
        <translation>„%1“ mit %2: %3 -&gt; %4</translation>
    </message>
    <message>
        <source>, the page changed</source>
        <translation>, die Seite hat sich geändert</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: its folder is not there</source>
        <translation>„%1“ kann nicht geschrieben werden: Sein Ordner existiert nicht</translation>
    </message>
    <message>
        <source>No search of the case is made with a service of the group &quot;%1&quot;</source>
        <translation>Keine Suche der Akte ist mit einem Suchdienst der Gruppe „%1“ gemacht</translation>
    </message>
    <message>
        <source>The case holds no search made with a service: there is nothing to search again</source>
        <translation>Die Akte enthält keine Suche mit einem Suchdienst: Es gibt nichts erneut zu suchen</translation>
    </message>
    <message>
        <source>No page could be loaded</source>
        <translation>Keine Seite konnte geladen werden</translation>
    </message>
    <message>
        <source>%1 searched again, %2 changed: new hits %3, hits gone %4, blocked %5, errors %6, pages changed %7</source>
        <translation>%1 erneut gesucht, %2 geändert: neue Treffer %3, verschwundene Treffer %4, blockiert %5, Fehler %6, geänderte Seiten %7</translation>
    </message>
    <message>
        <source>, other changes %1</source>
        <translation>, andere Änderungen %1</translation>
    </message>
    <message>
        <source>, without an earlier verdict %1</source>
        <translation>, ohne früheres Urteil %1</translation>
    </message>
    <message>
        <source>%1 of %2 judged</source>
        <translation>%1 von %2 bewertet</translation>
    </message>
    <message>
        <source>Hits</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>is none of the verdicts</source>
        <translation>ist keines der Urteile</translation>
    </message>
</context>
<context>
    <name>Catalogue</name>
    <message>
        <source>1 service</source>
        <translation>1 Suchdienst</translation>
    </message>
    <message>
        <source>%1 services</source>
        <translation>%1 Suchdienste</translation>
    </message>
    <message>
        <source>Load this list</source>
        <translation>Diese Liste laden</translation>
    </message>
    <message>
        <source>Add its services</source>
        <translation>Ihre Suchdienste hinzufügen</translation>
    </message>
    <message>
        <source>The catalogue of service lists is not installed: it is neither in &quot;%1&quot; nor in &quot;%2&quot;</source>
        <translation>Der Katalog der Dienstlisten ist nicht installiert: Er ist weder in „%1“ noch in „%2“</translation>
    </message>
    <message>
        <source>The catalogue folder &quot;%1&quot; does not exist</source>
        <translation>Der Katalogordner „%1“ existiert nicht</translation>
    </message>
    <message>
        <source>Cannot read the catalogue&apos;s index &quot;%1&quot;</source>
        <translation>Das Verzeichnis des Katalogs „%1“ kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Service Lists</source>
        <translation>Dienstlisten</translation>
    </message>
    <message>
        <source>Load a list in place of the service list, or add its services to the service list.</source>
        <translation>Laden Sie eine Liste anstelle der Dienstliste, oder fügen Sie ihre Suchdienste der Dienstliste hinzu.</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>&amp;Add Terms</source>
        <translation>Suchbegriffe &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Add Services</source>
        <translation>Suchdienste &amp;hinzufügen</translation>
    </message>
    <message>
        <source>R&amp;eplace Service</source>
        <translation>Suchdienst &amp;ersetzen</translation>
    </message>
    <message>
        <source>&amp;Remove Service</source>
        <translation>Suchdienst ent&amp;fernen</translation>
    </message>
    <message>
        <source>&amp;New Services</source>
        <translation>&amp;Neue Suchdienste</translation>
    </message>
    <message>
        <source>&amp;Load Services</source>
        <translation>Suchdienste &amp;laden</translation>
    </message>
    <message>
        <source>&amp;Save Services</source>
        <translation>Suchdienste &amp;speichern</translation>
    </message>
    <message>
        <source>Sa&amp;ve Services As...</source>
        <translation>Suchdienste speichern &amp;unter...</translation>
    </message>
    <message>
        <source>R&amp;eplace Term</source>
        <translation>Suchbegriff &amp;ersetzen</translation>
    </message>
    <message>
        <source>&amp;Remove Term</source>
        <translation>Suchbegriff ent&amp;fernen</translation>
    </message>
    <message>
        <source>S&amp;ort Terms</source>
        <translation>Suchbegriffe s&amp;ortieren</translation>
    </message>
    <message>
        <source>&amp;New Terms</source>
        <translation>&amp;Neue Suchbegriffe</translation>
    </message>
    <message>
        <source>&amp;Load Terms</source>
        <translation>Suchbegriffe &amp;laden</translation>
    </message>
    <message>
        <source>Sa&amp;ve Terms</source>
        <translation>Suchbegriffe &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Save Terms As...</source>
        <translation>Suchbegriffe speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Send to Tray</source>
        <translation>&amp;In den Infobereich minimieren</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Los</translation>
    </message>
    <message>
        <source>&amp;Display Console</source>
        <translation>&amp;Konsole anzeigen</translation>
    </message>
    <message>
        <source>&amp;New NotePad</source>
        <translation>&amp;Neuer Notizblock</translation>
    </message>
    <message>
        <source>&amp;Mass Add...</source>
        <translation>In die Liste &amp;übernehmen...</translation>
    </message>
    <message>
        <source>&amp;Display Terms as Text</source>
        <translation>Suchbegriffe als &amp;Text anzeigen</translation>
    </message>
    <message>
        <source>S&amp;ort Services</source>
        <translation>Suchdienste s&amp;ortieren</translation>
    </message>
    <message>
        <source>&amp;Format Text</source>
        <translation>Text &amp;formatieren</translation>
    </message>
    <message>
        <source>Re&amp;move Duplicates</source>
        <translation>&amp;Doppelte entfernen</translation>
    </message>
    <message>
        <source>&amp;View Readme</source>
        <translation>&amp;Liesmich anzeigen</translation>
    </message>
    <message>
        <source>&amp;Download New Service Lists...</source>
        <translation>Neue &amp;Dienstlisten herunterladen...</translation>
    </message>
    <message>
        <source>&amp;Add n&apos; Go</source>
        <translation>&amp;Hinzufügen und los</translation>
    </message>
    <message>
        <source>&amp;Clear Terms</source>
        <translation>Suchbegriffe lee&amp;ren</translation>
    </message>
    <message>
        <source>Visit Home Page</source>
        <translation>Homepage besuchen</translation>
    </message>
    <message>
        <source>&amp;Quick Launcher</source>
        <translation>&amp;Schnellstarter</translation>
    </message>
    <message>
        <source>Contact Us</source>
        <translation>Kontakt</translation>
    </message>
    <message>
        <source>&amp;About Glen Lantern</source>
        <translation>&amp;Über Glen Lantern</translation>
    </message>
    <message>
        <source>&amp;Import Services...</source>
        <translation>Suchdienste &amp;importieren...</translation>
    </message>
    <message>
        <source>E&amp;xport Services...</source>
        <translation>Suchdienste e&amp;xportieren...</translation>
    </message>
    <message>
        <source>Search All &amp;Services</source>
        <translation>In &amp;allen Suchdiensten suchen</translation>
    </message>
    <message>
        <source>Search All Ter&amp;ms</source>
        <translation>Mit allen Suchbegriffen su&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Private Browsing</source>
        <translation>&amp;Privates Surfen</translation>
    </message>
    <message>
        <source>&amp;Load Next Result Ahead</source>
        <translation>Nächstes Ergebnis &amp;vorausladen</translation>
    </message>
    <message>
        <source>Clear &amp;Browsing Data...</source>
        <translation>&amp;Browserdaten löschen...</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>S&amp;ave As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Add This Site&apos;s Searc&amp;h</source>
        <translation>Suche dieser &amp;Website hinzufügen</translation>
    </message>
    <message>
        <source>New &amp;Case...</source>
        <translation>Neue &amp;Akte...</translation>
    </message>
    <message>
        <source>&amp;Open Case...</source>
        <translation>Akte ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>C&amp;lose Case</source>
        <translation>Akte sch&amp;ließen</translation>
    </message>
    <message>
        <source>E&amp;xport Case...</source>
        <translation>Akte e&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Capture Page</source>
        <translation>Seite &amp;sichern</translation>
    </message>
    <message>
        <source>Capture &amp;Every Result</source>
        <translation>&amp;Jedes Ergebnis sichern</translation>
    </message>
    <message>
        <source>Show &amp;Log</source>
        <translation>&amp;Protokoll anzeigen</translation>
    </message>
    <message>
        <source>Edit &amp;Groups...</source>
        <translation>&amp;Gruppen bearbeiten...</translation>
    </message>
    <message>
        <source>Result &amp;Matrix...</source>
        <translation>Ergebnis&amp;matrix...</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Export as CSV...</source>
        <translation>Als CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>&amp;Verify Case</source>
        <translation>Akte p&amp;rüfen</translation>
    </message>
    <message>
        <source>Co&amp;py Case...</source>
        <translation>Akte k&amp;opieren...</translation>
    </message>
    <message>
        <source>Edit Servi&amp;ce...</source>
        <translation>Suchdienst &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>Se&amp;ttings...</source>
        <translation>E&amp;instellungen...</translation>
    </message>
    <message>
        <source>&amp;Forget This Case&apos;s Browsing Data...</source>
        <translation>Browserdaten dieser Akte &amp;vergessen...</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Stamp Now</source>
        <translation>&amp;Zeitstempel jetzt</translation>
    </message>
    <message>
        <source>Run &amp;All Again</source>
        <translation>Alle erneut &amp;ausführen</translation>
    </message>
    <message>
        <source>C&amp;hanges</source>
        <translation>Ä&amp;nderungen</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>search with the service of this name, as the service list writes it</source>
        <translation>mit dem Suchdienst dieses Namens suchen, wie ihn die Dienstliste schreibt</translation>
    </message>
    <message>
        <source>open this service list instead of the current folder&apos;s Default.gls</source>
        <translation>diese Dienstliste statt Default.gls im aktuellen Ordner öffnen</translation>
    </message>
    <message>
        <source>open this term list instead of the current folder&apos;s Default.glt</source>
        <translation>diese Begriffsliste statt Default.glt im aktuellen Ordner öffnen</translation>
    </message>
    <message>
        <source>add TERM to the term list, as Add n&apos; Go does</source>
        <translation>TERM der Begriffsliste hinzufügen, wie es „Hinzufügen und los“ tut</translation>
    </message>
    <message>
        <source>show the Quick Launcher, with TERM in its box</source>
        <translation>den Schnellstarter zeigen, mit TERM in seinem Feld</translation>
    </message>
    <message>
        <source>start a new, empty term list</source>
        <translation>eine neue, leere Begriffsliste beginnen</translation>
    </message>
    <message>
        <source>print the address the search opens and exit (no window, no display needed)</source>
        <translation>die Adresse ausgeben, die die Suche öffnet, und beenden (kein Fenster, keine Anzeige nötig)</translation>
    </message>
    <message>
        <source>with --print-url: one line for every service, NAME&lt;TAB&gt;ADDRESS</source>
        <translation>mit --print-url: eine Zeile für jeden Suchdienst, NAME&lt;TAB&gt;ADRESSE</translation>
    </message>
    <message>
        <source>add the search engines of SOURCE (firefox, chromium, kde, or a profile folder or file) to the service list named by --into, and exit</source>
        <translation>die Suchmaschinen von SOURCE (firefox, chromium, kde oder ein Profilordner oder eine Datei) der mit --into genannten Dienstliste hinzufügen und beenden</translation>
    </message>
    <message>
        <source>with --import: the service list to add to</source>
        <translation>mit --import: die Dienstliste, der hinzugefügt wird</translation>
    </message>
    <message>
        <source>write the services of --services FILE into the folder DIR as opensearch or kde files, one a service, and exit</source>
        <translation>die Suchdienste aus --services FILE als opensearch- oder kde-Dateien in den Ordner DIR schreiben, eine je Suchdienst, und beenden</translation>
    </message>
    <message>
        <source>start without a window, to answer the desktop&apos;s search</source>
        <translation>ohne Fenster starten, um der Suche der Arbeitsumgebung zu antworten</translation>
    </message>
    <message>
        <source>show this help and exit</source>
        <translation>diese Hilfe zeigen und beenden</translation>
    </message>
    <message>
        <source>show the version and exit</source>
        <translation>die Version zeigen und beenden</translation>
    </message>
    <message>
        <source>The file name after %1 is empty</source>
        <translation>Der Dateiname nach %1 ist leer</translation>
    </message>
    <message>
        <source>%1 cannot be used with %2</source>
        <translation>%1 kann nicht mit %2 verwendet werden</translation>
    </message>
    <message>
        <source>--into goes only with --import</source>
        <translation>--into gibt es nur mit --import</translation>
    </message>
    <message>
        <source>--all-services goes only with --print-url</source>
        <translation>--all-services gibt es nur mit --print-url</translation>
    </message>
    <message>
        <source>%1 needs a search term</source>
        <translation>%1 braucht einen Suchbegriff</translation>
    </message>
    <message>
        <source>%1 is given more than once</source>
        <translation>%1 ist mehr als einmal angegeben</translation>
    </message>
    <message>
        <source>The source after --import is blank</source>
        <translation>Die Quelle nach --import ist leer</translation>
    </message>
    <message>
        <source>--import needs --into FILE</source>
        <translation>--import braucht --into FILE</translation>
    </message>
    <message>
        <source>--import takes no search term</source>
        <translation>--import nimmt keinen Suchbegriff</translation>
    </message>
    <message>
        <source>--export writes opensearch or kde files, not &quot;%1&quot;</source>
        <translation>--export schreibt opensearch- oder kde-Dateien, nicht „%1“</translation>
    </message>
    <message>
        <source>--export needs --services FILE</source>
        <translation>--export braucht --services FILE</translation>
    </message>
    <message>
        <source>--export needs one folder to write into</source>
        <translation>--export braucht einen Ordner, in den geschrieben wird</translation>
    </message>
    <message>
        <source>The search term is blank</source>
        <translation>Der Suchbegriff ist leer</translation>
    </message>
    <message>
        <source>The service name after --service is blank</source>
        <translation>Der Name des Suchdienstes nach --service ist leer</translation>
    </message>
    <message>
        <source>There is no service named &quot;%1&quot; in the service list</source>
        <translation>In der Dienstliste gibt es keinen Suchdienst namens „%1“</translation>
    </message>
    <message>
        <source>
Exit status: 0 when all went well; 2 when the command line is wrong or names a file
that cannot be read; 1 when a job failed while it worked.
</source>
        <translation>
Rückgabewert: 0, wenn alles gut ging; 2, wenn die Befehlszeile falsch ist oder eine Datei
nennt, die nicht gelesen werden kann; 1, wenn eine Aufgabe bei der Arbeit fehlschlug.
</translation>
    </message>
    <message>
        <source>check the record of the case in DIR and its captured files, and exit (no display needed)</source>
        <translation>das Protokoll des Falls in DIR und seine gesicherten Dateien prüfen und beenden (keine Anzeige nötig)</translation>
    </message>
    <message>
        <source>%1 takes no search term</source>
        <translation>%1 nimmt keinen Suchbegriff</translation>
    </message>
    <message>
        <source>%1 needs %2</source>
        <translation>%1 braucht %2</translation>
    </message>
    <message>
        <source>%1 goes only with --export-case</source>
        <translation>%1 geht nur mit --export-case</translation>
    </message>
    <message>
        <source>search every term of --terms FILE with every service of --services FILE, judge each page by the service&apos;s rules, write CSV and exit</source>
        <translation>jeden Begriff aus --terms FILE mit jedem Suchdienst aus --services FILE suchen, jede Seite nach den Regeln des Suchdienstes beurteilen, CSV schreiben und beenden</translation>
    </message>
    <message>
        <source>--matrix takes its terms from --terms FILE</source>
        <translation>--matrix nimmt seine Begriffe aus --terms FILE</translation>
    </message>
    <message>
        <source>--matrix needs %1 FILE</source>
        <translation>--matrix braucht %1 FILE</translation>
    </message>
    <message>
        <source>The group name after --group is blank</source>
        <translation>Der Gruppenname nach --group ist leer</translation>
    </message>
    <message>
        <source>The file name after --out is empty</source>
        <translation>Der Dateiname nach --out ist leer</translation>
    </message>
    <message>
        <source>--pause takes seconds from 0 to 3600, not &quot;%1&quot;</source>
        <translation>--pause nimmt Sekunden von 0 bis 3600, nicht „%1“</translation>
    </message>
    <message>
        <source>capture the page on view into the open case (MHTML, PDF, PNG)</source>
        <translation>die angezeigte Seite in die geöffnete Akte sichern (MHTML, PDF, PNG)</translation>
    </message>
    <message>
        <source>with --capture: a note on the page&apos;s search</source>
        <translation>mit --capture: eine Notiz zur Suche der Seite</translation>
    </message>
    <message>
        <source>--note goes only with --capture</source>
        <translation>--note gibt es nur mit --capture</translation>
    </message>
    <message>
        <source>The folder name after --case is empty</source>
        <translation>Der Ordnername nach --case ist leer</translation>
    </message>
    <message>
        <source>copy the case FROM (a folder or postgresql://USER@HOST/DATABASE?case=NAME) into the new case TO, check the copy, and exit</source>
        <translation>den Fall FROM (einen Ordner oder postgresql://BENUTZER@HOST/DATENBANK?case=NAME) in den neuen Fall TO kopieren, die Kopie prüfen und beenden</translation>
    </message>
    <message>
        <source>--copy-case needs the case to copy and the new case: FROM TO</source>
        <translation>--copy-case braucht den zu kopierenden und den neuen Fall: FROM TO</translation>
    </message>
    <message>
        <source>--copy-case needs two different cases</source>
        <translation>--copy-case braucht zwei verschiedene Fälle</translation>
    </message>
    <message>
        <source>%1 needs a case</source>
        <translation>%1 braucht einen Fall</translation>
    </message>
    <message>
        <source>The case after --case is blank</source>
        <translation>Der Fall nach --case ist leer</translation>
    </message>
    <message>
        <source>record every search in the case CASE: a folder (made when new) or postgresql://USER@HOST/DATABASE?case=NAME; with --matrix, every cell&apos;s search</source>
        <translation>jede Suche in der Akte CASE aufzeichnen: ein Ordner (neu angelegt, wenn es ihn nicht gibt) oder postgresql://USER@HOST/DATABASE?case=NAME; mit --matrix die Suche jeder Zelle</translation>
    </message>
    <message>
        <source>write the record of the case in DIR to the file --out FILE as --format csv, jsonl, html, warc or wacz, and exit</source>
        <translation>das Protokoll des Falls in DIR als --format csv, jsonl, html, warc oder wacz in die Datei --out FILE schreiben und beenden</translation>
    </message>
    <message>
        <source>ask the time-stamp authority --tsa URL for a token over the last record of the case CASE, keep it in the case, and exit</source>
        <translation>beim Zeitstempeldienst --tsa URL ein Token über den letzten Eintrag des Falls CASE anfragen, es im Fall aufbewahren und beenden</translation>
    </message>
    <message>
        <source>with --stamp-case: the time-stamp authority&apos;s address (http or https)</source>
        <translation>mit --stamp-case: die Adresse des Zeitstempeldienstes (http oder https)</translation>
    </message>
    <message>
        <source>with --verify-case and --export-case: the CA certificates (PEM) the stamps must lead to; the system&apos;s trusted ones when not given</source>
        <translation>mit --verify-case und --export-case: die CA-Zertifikate (PEM), auf die die Zeitstempel zurückgehen müssen; ohne Angabe die vertrauenswürdigen des Systems</translation>
    </message>
    <message>
        <source>with --export-case: csv, jsonl, html, warc or wacz</source>
        <translation>mit --export-case: csv, jsonl, html, warc oder wacz</translation>
    </message>
    <message>
        <source>%1 goes only with %2</source>
        <translation>%1 geht nur mit %2</translation>
    </message>
    <message>
        <source>with --case: the case&apos;s pages and searches go through this proxy from now on (socks5://HOST:PORT, http://HOST:PORT, or none)</source>
        <translation>mit --case: die Seiten und Suchen der Akte gehen von nun an über diesen Proxy (socks5://RECHNER:PORT, http://RECHNER:PORT oder none)</translation>
    </message>
    <message>
        <source>with --case: the user agent the case&apos;s pages name from now on (empty for the engine&apos;s own)</source>
        <translation>mit --case: der User-Agent, den die Seiten der Akte von nun an nennen (leer für den der Engine)</translation>
    </message>
    <message>
        <source>%1 goes only with --case</source>
        <translation>%1 geht nur mit --case</translation>
    </message>
    <message>
        <source>--connections takes a number from 1 to %1, not &quot;%2&quot;</source>
        <translation>--connections nimmt eine Zahl von 1 bis %1, nicht „%2“</translation>
    </message>
    <message>
        <source>with --export-case: the file to write; with --matrix: the CSV file (standard output when not given); with --rerun-case: the changes as CSV</source>
        <translation>mit --export-case: die zu schreibende Datei; mit --matrix: die CSV-Datei (ohne sie die Standardausgabe); mit --rerun-case: die Änderungen als CSV</translation>
    </message>
    <message>
        <source>search every pair of service and term the case CASE holds a search for again, as --matrix does, record each, write the pairs whose result changed to --out FILE as CSV, and exit</source>
        <translation>jedes Paar aus Suchdienst und Begriff, für das die Akte CASE eine Suche enthält, erneut suchen wie --matrix, jede Suche aufzeichnen, die Paare mit geändertem Ergebnis als CSV nach --out FILE schreiben und beenden</translation>
    </message>
    <message>
        <source>with --matrix and --rerun-case: only the services of this group</source>
        <translation>mit --matrix und --rerun-case: nur die Suchdienste dieser Gruppe</translation>
    </message>
    <message>
        <source>with --matrix and --rerun-case: the pause before a host is asked again (default 1)</source>
        <translation>mit --matrix und --rerun-case: die Pause, bevor ein Host erneut gefragt wird (Vorgabe 1)</translation>
    </message>
    <message>
        <source>with --matrix and --rerun-case: at most N pages loading at once, over all hosts (default 64; each host is asked at most twice at once)</source>
        <translation>mit --matrix und --rerun-case: höchstens N Seiten zugleich laden, über alle Hosts (Standard 64; jeder Host wird höchstens zweimal zugleich gefragt)</translation>
    </message>
    <message>
        <source>%1 goes only with --matrix or --rerun-case</source>
        <translation>%1 geht nur mit --matrix oder --rerun-case</translation>
    </message>
    <message>
        <source>%1 goes only with --export-case, --matrix or --rerun-case</source>
        <translation>%1 geht nur mit --export-case, --matrix oder --rerun-case</translation>
    </message>
    <message>
        <source>Usage: glenlantern [OPTION...] [TERM...]
       glenlantern --import SOURCE --into FILE
       glenlantern --export opensearch|kde --services FILE DIR
       glenlantern --matrix --services FILE --terms FILE [--group NAME] [--out FILE]
       glenlantern --rerun-case CASE [--group NAME] [--out FILE]
       glenlantern --copy-case FROM TO
Search the web from saved lists of search services and terms.

Starts Glen Lantern and searches TERM with the selected (or first) service,
without adding it to the term list. When the program is already running, the
command line goes to it.

Options:
</source>
        <translation>Aufruf: glenlantern [OPTION...] [TERM...]
        glenlantern --import SOURCE --into FILE
        glenlantern --export opensearch|kde --services FILE DIR
        glenlantern --matrix --services FILE --terms FILE [--group NAME] [--out FILE]
        glenlantern --rerun-case CASE [--group NAME] [--out FILE]
        glenlantern --copy-case FROM TO
Das Web aus gespeicherten Listen von Suchdiensten und Suchbegriffen durchsuchen.

Startet Glen Lantern und sucht TERM mit dem gewählten (oder ersten) Suchdienst,
ohne ihn der Begriffsliste hinzuzufügen. Läuft das Programm bereits, geht die
Befehlszeile an es.

Optionen:
</translation>
    </message>
</context>
<context>
    <name>CommandSet</name>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>DefaultBrowser</name>
    <message>
        <source>No web browser is set up to open http addresses</source>
        <translation>Kein Webbrowser ist zum Öffnen von http-Adressen eingerichtet</translation>
    </message>
    <message>
        <source>The default web browser is not started: its desktop entry &quot;%1&quot; %2</source>
        <translation>Der Standard-Webbrowser wird nicht gestartet: Sein Desktop-Eintrag „%1“ %2</translation>
    </message>
    <message>
        <source>The address is %1 bytes long; a program can be given at most %2 bytes in one argument</source>
        <translation>Die Adresse ist %1 Byte lang; einem Programm können in einem Argument höchstens %2 Byte übergeben werden</translation>
    </message>
    <message>
        <source>The default web browser &quot;%1&quot; could not be started: %2</source>
        <translation>Der Standard-Webbrowser „%1“ konnte nicht gestartet werden: %2</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>puts the field code %%1 inside a quoted argument, which the desktop entry rules forbid</source>
        <translation>setzt den Feldcode %%1 in ein Argument in Anführungszeichen, was die Regeln für Desktop-Einträge verbieten</translation>
    </message>
    <message>
        <source>leaves a quote open in its Exec line</source>
        <translation>lässt in seiner Exec-Zeile ein Anführungszeichen offen</translation>
    </message>
    <message>
        <source>holds more than one of the field codes %f %F %u %U</source>
        <translation>enthält mehr als einen der Feldcodes %f %F %u %U</translation>
    </message>
    <message>
        <source>would start the address itself as a program</source>
        <translation>würde die Adresse selbst als Programm starten</translation>
    </message>
    <message>
        <source>names no program to start</source>
        <translation>nennt kein Programm zum Starten</translation>
    </message>
</context>
<context>
    <name>DesktopSearch</name>
    <message>
        <source>Search %1 for %2</source>
        <translation>In %1 nach %2 suchen</translation>
    </message>
    <message>
        <source>%1 (sends the form %2)</source>
        <translation>%1 (sendet das Formular %2)</translation>
    </message>
</context>
<context>
    <name>DownloadsBar</name>
    <message>
        <source>%1: %2% of %3</source>
        <translation>%1: %2 % von %3</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>%1: done, %2</source>
        <translation>%1: fertig, %2</translation>
    </message>
    <message>
        <source>%1: cancelled</source>
        <translation>%1: abgebrochen</translation>
    </message>
    <message>
        <source>%1: failed (%2)</source>
        <translation>%1: fehlgeschlagen (%2)</translation>
    </message>
    <message>
        <source>Download %1</source>
        <translation>Download %1</translation>
    </message>
    <message>
        <source>No application could be started to open %1</source>
        <translation>Keine Anwendung konnte gestartet werden, um %1 zu öffnen</translation>
    </message>
    <message>
        <source>No application could be started to show %1</source>
        <translation>Keine Anwendung konnte gestartet werden, um %1 zu zeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Save Download</source>
        <translation>Download speichern</translation>
    </message>
</context>
<context>
    <name>Error</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden. %2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Die Datei „%1“ kann nicht angelegt werden. %2</translation>
    </message>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>Listenindex außerhalb des gültigen Bereichs (%1)</translation>
    </message>
</context>
<context>
    <name>ErrorBox</name>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>und %Ln weiterer</numerusform>
            <numerusform>und %Ln weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileIo</name>
    <message>
        <source>Not a regular file</source>
        <translation>Keine reguläre Datei</translation>
    </message>
    <message>
        <source>Stream write error in file &quot;%1&quot;</source>
        <translation>Fehler beim Schreiben des Datenstroms in die Datei „%1“</translation>
    </message>
    <message>
        <source>Cannot create folder &quot;%1&quot;. %2</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden. %2</translation>
    </message>
    <message>
        <source>Cannot write to folder &quot;%1&quot;. %2</source>
        <translation>In den Ordner „%1“ kann nicht geschrieben werden. %2</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find on page</source>
        <translation>Auf der Seite suchen</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Vorheriger Treffer (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>Nächster Treffer (F3)</translation>
    </message>
    <message>
        <source>Close (Escape)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>GlenLantern</name>
    <message>
        <source>The windows cannot be opened: %1</source>
        <translation>Die Fenster können nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>--background needs the session bus</source>
        <translation>--background braucht den Sitzungsbus</translation>
    </message>
    <message>
        <source>The matrix cannot run: %1</source>
        <translation>Die Ergebnismatrix kann nicht laufen: %1</translation>
    </message>
    <message>
        <source>The case cannot be stamped: %1</source>
        <translation>Der Fall kann nicht gestempelt werden: %1</translation>
    </message>
    <message>
        <source>The program could not be started: %1</source>
        <translation>Das Programm konnte nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>HitRule</name>
    <message>
        <source>The %1 rule of the service &quot;%2&quot;</source>
        <translation>Die %1-Regel des Suchdienstes „%2“</translation>
    </message>
    <message>
        <source> holds an empty condition (a &quot;|&quot; or &quot;&amp;&quot; at an end, or two in a row)</source>
        <translation> enthält eine leere Bedingung (ein „|“ oder „&amp;“ am Ende oder zwei hintereinander)</translation>
    </message>
    <message>
        <source> holds &quot;%1&quot;: &quot;%2&quot; is no HTTP status (100 to 599)</source>
        <translation> enthält „%1“: „%2“ ist kein HTTP-Status (100 bis 599)</translation>
    </message>
    <message>
        <source> holds &quot;%1&quot;, which looks for nothing</source>
        <translation> enthält „%1“, was nach nichts sucht</translation>
    </message>
    <message>
        <source> is empty</source>
        <translation> ist leer</translation>
    </message>
    <message>
        <source>the service has no found= or missing= rule</source>
        <translation>der Suchdienst hat keine found=- oder missing=-Regel</translation>
    </message>
    <message>
        <source>its found rule holds</source>
        <translation>seine found-Regel trifft zu</translation>
    </message>
    <message>
        <source>its missing rule holds</source>
        <translation>seine missing-Regel trifft zu</translation>
    </message>
    <message>
        <source>both its found and its missing rule hold</source>
        <translation>seine found- und seine missing-Regel treffen beide zu</translation>
    </message>
    <message>
        <source>no rule of it holds</source>
        <translation>keine seiner Regeln trifft zu</translation>
    </message>
    <message>
        <source> holds &quot;%1&quot;, which is no condition: write status:CODE, text:WORDS, html:PART or url:PART, each may start with &quot;!&quot;</source>
        <translation> enthält „%1“, was keine Bedingung ist: schreiben Sie status:CODE, text:WÖRTER, html:TEIL oder url:TEIL, jede darf mit „!“ beginnen</translation>
    </message>
    <message>
        <source>the site answered with status %1, an error of its own</source>
        <translation>die Seite antwortete mit Status %1, einem eigenen Fehler</translation>
    </message>
    <message>
        <source>the site answered &quot;%1&quot;, as a site does when it refuses a checker</source>
        <translation>die Seite antwortete „%1“, wie eine Seite, die eine Prüfung abweist</translation>
    </message>
    <message>
        <source>its blocked rule holds: the page refuses a checker</source>
        <translation>seine blocked-Regel trifft zu: die Seite weist eine Prüfung ab</translation>
    </message>
</context>
<context>
    <name>HttpFetch</name>
    <message>
        <source>nothing arrived for %1 seconds</source>
        <translation>%1 Sekunden lang kam nichts an</translation>
    </message>
    <message>
        <source>the page took longer than %1 seconds</source>
        <translation>die Seite brauchte länger als %1 Sekunden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no http or https address</source>
        <translation>„%1“ ist keine http- oder https-Adresse</translation>
    </message>
    <message>
        <source>the site&apos;s certificate is not valid (%1)</source>
        <translation>das Zertifikat der Seite ist nicht gültig (%1)</translation>
    </message>
    <message>
        <source>too many redirects: the site sent the search on more than %1 times</source>
        <translation>zu viele Weiterleitungen: die Seite hat die Suche mehr als %1-mal weitergeleitet</translation>
    </message>
    <message>
        <source>the site sent the search on from https to an http address</source>
        <translation>die Seite hat die Suche von https an eine http-Adresse weitergeleitet</translation>
    </message>
</context>
<context>
    <name>HttpReader</name>
    <message>
        <source>the site&apos;s headers are larger than %1 KB</source>
        <translation>die Kopfzeilen der Seite sind größer als %1 KB</translation>
    </message>
    <message>
        <source>the site&apos;s answer is not HTTP</source>
        <translation>die Antwort der Seite ist kein HTTP</translation>
    </message>
    <message>
        <source>the site switched to another protocol</source>
        <translation>die Seite wechselte zu einem anderen Protokoll</translation>
    </message>
    <message>
        <source>the site sent two different lengths for its page</source>
        <translation>die Seite nannte zwei verschiedene Längen für ihre Seite</translation>
    </message>
    <message>
        <source>the site&apos;s Content-Length is not a number</source>
        <translation>die Content-Length der Seite ist keine Zahl</translation>
    </message>
    <message>
        <source>the site sent its page encoded as &quot;%1&quot;, which this program does not read</source>
        <translation>die Seite sandte ihre Seite als „%1“ kodiert, was dieses Programm nicht liest</translation>
    </message>
    <message>
        <source>the site&apos;s page is cut into chunks in a way HTTP does not allow</source>
        <translation>die Seite ist auf eine Weise in Stücke geteilt, die HTTP nicht erlaubt</translation>
    </message>
    <message>
        <source>the page is larger than %1 MB</source>
        <translation>die Seite ist größer als %1 MB</translation>
    </message>
    <message>
        <source>the site&apos;s compressed page could not be read</source>
        <translation>die komprimierte Seite konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the site&apos;s compressed page is damaged</source>
        <translation>die komprimierte Seite ist beschädigt</translation>
    </message>
    <message>
        <source>the site closed the connection without an answer</source>
        <translation>die Seite schloss die Verbindung ohne Antwort</translation>
    </message>
    <message>
        <source>the site closed the connection in the middle of its answer</source>
        <translation>die Seite schloss die Verbindung mitten in ihrer Antwort</translation>
    </message>
    <message>
        <source>the site closed the connection before the whole page came</source>
        <translation>die Seite schloss die Verbindung, bevor die ganze Seite kam</translation>
    </message>
</context>
<context>
    <name>Interop</name>
    <message>
        <source>Cannot read &quot;%1&quot;: it is not a Chromium profile database (it has no keywords table)</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist keine Profildatenbank von Chromium (sie hat keine Tabelle keywords)</translation>
    </message>
    <message>
        <source>no temporary folder for its copy (%1)</source>
        <translation>kein temporärer Ordner für ihre Kopie (%1)</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>its copy failed (%1)</source>
        <translation>ihre Kopie schlug fehl (%1)</translation>
    </message>
    <message>
        <source>it is not a database (%1)</source>
        <translation>es ist keine Datenbank (%1)</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the database cannot be read (%1)</source>
        <translation>die Datenbank kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>the term as typed (|s:raw|) has no form there: the term is always encoded</source>
        <translation>der Suchbegriff wie eingegeben (|s:raw|) ist dort nicht darstellbar: Der Suchbegriff wird immer kodiert</translation>
    </message>
    <message>
        <source>the blank as %1 (|s:%1|) has no form there</source>
        <translation>das Leerzeichen als %1 (|s:%1|) ist dort nicht darstellbar</translation>
    </message>
    <message>
        <source>unknown character set &quot;%1&quot;</source>
        <translation>unbekannter Zeichensatz „%1“</translation>
    </message>
    <message>
        <source>its placeholders use different character sets</source>
        <translation>seine Platzhalter verwenden verschiedene Zeichensätze</translation>
    </message>
    <message>
        <source>it has no placeholder |s| for the term</source>
        <translation>es hat keinen Platzhalter |s| für den Suchbegriff</translation>
    </message>
    <message>
        <source>its address holds \{, which KDE reads as a field</source>
        <translation>seine Adresse enthält \{, was KDE als Feld liest</translation>
    </message>
    <message>
        <source>Not written: &quot;%1&quot; already exists (it was left as it was)</source>
        <translation>Nicht geschrieben: „%1“ existiert bereits (es blieb, wie es war)</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Die Datei „%1“ kann nicht angelegt werden. %2</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;. %2</source>
        <translation>Die Datei „%1“ kann nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: it is not a Firefox places database (it has no keywords table)</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist keine places-Datenbank von Firefox (sie hat keine Tabelle keywords)</translation>
    </message>
    <message>
        <source>built into Firefox, which keeps no address for it in the profile</source>
        <translation>in Firefox eingebaut, das dafür keine Adresse im Profil hinterlegt</translation>
    </message>
    <message>
        <source>added by a Firefox extension, which keeps its address</source>
        <translation>von einer Firefox-Erweiterung hinzugefügt, die ihre Adresse selbst verwahrt</translation>
    </message>
    <message>
        <source>set by a policy, which keeps its address</source>
        <translation>durch eine Richtlinie festgelegt, die ihre Adresse selbst verwahrt</translation>
    </message>
    <message>
        <source>Firefox keeps no address for it in the profile</source>
        <translation>Firefox hinterlegt dafür keine Adresse im Profil</translation>
    </message>
    <message>
        <source>it has no address for web pages</source>
        <translation>es hat keine Adresse für Webseiten</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: it is not a Firefox search file (it has no list of engines)</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist keine Suchdatei von Firefox (sie hat keine Liste von Suchmaschinen)</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: it is too large (%2 bytes) for a file of search engines</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist zu groß (%2 Byte) für eine Datei mit Suchmaschinen</translation>
    </message>
    <message>
        <source>Skipped: %1 (%2): %3</source>
        <translation>Übersprungen: %1 (%2): %3</translation>
    </message>
    <message>
        <source>already in the list</source>
        <translation>schon in der Liste</translation>
    </message>
    <message>
        <source>Imported: </source>
        <translation>Importiert: </translation>
    </message>
    <message>
        <source>Unknown export format &quot;%1&quot;: use opensearch or kde</source>
        <translation>Unbekanntes Exportformat „%1“: Verwenden Sie opensearch oder kde</translation>
    </message>
    <message>
        <source>Written: </source>
        <translation>Geschrieben: </translation>
    </message>
    <message>
        <source>Skipped: </source>
        <translation>Übersprungen: </translation>
    </message>
    <message>
        <source>deleted in KDE&apos;s settings</source>
        <translation>in den Einstellungen von KDE gelöscht</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: it is not a web shortcut (it has no Query= line)</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist kein Web-Kürzel (es hat keine Zeile Query=)</translation>
    </message>
    <message>
        <source>its query needs several words or named fields (%1)</source>
        <translation>seine Abfrage braucht mehrere Wörter oder benannte Felder (%1)</translation>
    </message>
    <message>
        <source>it is not a Firefox compressed file (no mozLz40 header)</source>
        <translation>es ist keine komprimierte Datei von Firefox (kein Kopf mozLz40)</translation>
    </message>
    <message>
        <source>it is damaged (its header gives a size of %1 bytes for %2 compressed bytes)</source>
        <translation>es ist beschädigt (sein Kopf nennt eine Größe von %1 Byte für %2 komprimierte Byte)</translation>
    </message>
    <message>
        <source>it is too large</source>
        <translation>es ist zu groß</translation>
    </message>
    <message>
        <source>it is damaged (the compressed data does not decode)</source>
        <translation>es ist beschädigt (die komprimierten Daten lassen sich nicht entpacken)</translation>
    </message>
    <message>
        <source>it is damaged (it decodes to %1 bytes, its header says %2)</source>
        <translation>es ist beschädigt (es ergibt entpackt %1 Byte, sein Kopf sagt %2)</translation>
    </message>
    <message>
        <source>its text is not valid JSON (%1 at byte %2)</source>
        <translation>sein Text ist kein gültiges JSON (%1 bei Byte %2)</translation>
    </message>
    <message>
        <source>its text is not a JSON object</source>
        <translation>sein Text ist kein JSON-Objekt</translation>
    </message>
    <message>
        <source>it is not an OpenSearch description (its root element is &lt;%1&gt;)</source>
        <translation>es ist keine OpenSearch-Beschreibung (sein Wurzelelement ist &lt;%1&gt;)</translation>
    </message>
    <message>
        <source>it is not well-formed XML (%1, line %2)</source>
        <translation>es ist kein wohlgeformtes XML (%1, Zeile %2)</translation>
    </message>
    <message>
        <source>it has no address for web pages (a Url of type text/html)</source>
        <translation>es hat keine Adresse für Webseiten (eine Url vom Typ text/html)</translation>
    </message>
    <message>
        <source>the address has no place for the search term</source>
        <translation>die Adresse hat keinen Platz für den Suchbegriff</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>it lists no Firefox profile</source>
        <translation>sie nennt kein Firefox-Profil</translation>
    </message>
    <message>
        <source>no search engines found in this folder</source>
        <translation>in diesem Ordner wurden keine Suchmaschinen gefunden</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>keine solche Datei und kein solcher Ordner</translation>
    </message>
    <message>
        <source>No Firefox profile found (no profiles.ini in %1 or %2)</source>
        <translation>Kein Firefox-Profil gefunden (keine profiles.ini in %1 oder %2)</translation>
    </message>
    <message>
        <source>No Chromium or Google Chrome profile found in %1</source>
        <translation>Kein Profil von Chromium oder Google Chrome in %1 gefunden</translation>
    </message>
    <message>
        <source>No KDE web shortcuts found (no searchproviders folder with .desktop files in %1)</source>
        <translation>Keine Web-Kürzel von KDE gefunden (kein Ordner searchproviders mit .desktop-Dateien in %1)</translation>
    </message>
    <message>
        <source>it holds no search engines this program can read (a Firefox search.json.mozlz4 or places.sqlite, a Chromium Web Data, a KDE .desktop web shortcut, an OpenSearch .xml or a WhatsMyName .json)</source>
        <translation>es enthält keine Suchmaschinen, die dieses Programm lesen kann (eine search.json.mozlz4 oder places.sqlite von Firefox, eine Web Data von Chromium, ein .desktop-Web-Kürzel von KDE, eine OpenSearch-.xml oder eine WhatsMyName-.json)</translation>
    </message>
    <message>
        <source>the file marks it as not valid</source>
        <translation>die Datei kennzeichnet ihn als ungültig</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: it is not a WhatsMyName file (it has no list of sites)</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist keine WhatsMyName-Datei (es hat keine Liste von Sites)</translation>
    </message>
    <message>
        <source>its entry in the list of sites is not an object</source>
        <translation>sein Eintrag in der Liste der Sites ist kein Objekt</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: it is not valid JSON (%2 at byte %3)</source>
        <translation>„%1“ kann nicht gelesen werden: Es ist kein gültiges JSON (%2 bei Byte %3)</translation>
    </message>
    <message>
        <source>its form fields cannot be read (&quot;%1&quot;)</source>
        <translation>seine Formularfelder sind nicht lesbar („%1“)</translation>
    </message>
    <message>
        <source>it sends a form (POST), which KDE web shortcuts cannot send</source>
        <translation>er sendet ein Formular (POST), was Web-Kürzel von KDE nicht können</translation>
    </message>
    <message>
        <source>it sends the search by %1, which browsers do not send</source>
        <translation>er sendet die Suche per %1, was Browser nicht tun</translation>
    </message>
    <message>
        <source>its form holds &quot;%1&quot;, which is no name=value field</source>
        <translation>sein Formular enthält „%1“, das kein Feld name=wert ist</translation>
    </message>
    <message>
        <source>the term is in the name of a field of its form</source>
        <translation>der Suchbegriff steht im Namen eines Formularfelds</translation>
    </message>
    <message>
        <source>  changed: %1</source>
        <translation>  geändert: %1</translation>
    </message>
    <message>
        <source>its %1 held control characters (line ends, tabs, NUL...): %2 left out or made blanks</source>
        <translation>sein %1 enthielt Steuerzeichen (Zeilenenden, Tabulatoren, NUL...): %2 weggelassen oder zu Leerzeichen gemacht</translation>
    </message>
    <message>
        <source>not a number</source>
        <translation>keine Zahl</translation>
    </message>
    <message>
        <source>its %1 is %2, which is no HTTP status (100 to 599)</source>
        <translation>sein %1 ist %2, was kein HTTP-Status ist (100 bis 599)</translation>
    </message>
    <message>
        <source>%1 of %2 services imported, %3 already in the list, %4 skipped</source>
        <translation>%1 von %2 Diensten importiert, %3 schon in der Liste, %4 übersprungen</translation>
    </message>
    <message>
        <source>its header &quot;%1&quot; was left out: the program sends that one itself</source>
        <translation>sein Header „%1“ wurde weggelassen: diesen sendet das Programm selbst</translation>
    </message>
    <message>
        <source>its header &quot;%1&quot; was left out: a header&apos;s name is letters, digits and !#$%&amp;&apos;*+-.^_`|~ only</source>
        <translation>sein Header „%1“ wurde weggelassen: der Name eines Headers besteht nur aus Buchstaben, Ziffern und !#$%&amp;&apos;*+-.^_`|~</translation>
    </message>
</context>
<context>
    <name>LineCharset</name>
    <message>
        <source>The service&apos;s line cannot hold this text as typed</source>
        <translation>Die Zeile des Suchdienstes kann diesen Text nicht so aufnehmen, wie er eingegeben wurde</translation>
    </message>
    <message>
        <source>The character &quot;%1&quot; cannot be written into this service&apos;s line, which is in Windows-1252 (the list comes from Windows)</source>
        <translation>Das Zeichen „%1“ kann nicht in die Zeile dieses Suchdienstes geschrieben werden, die in Windows-1252 steht (die Liste stammt von Windows)</translation>
    </message>
</context>
<context>
    <name>ListCommands</name>
    <message>
        <source>Glen Lantern Services (*.gls)|*.gls</source>
        <translation>Glen-Lantern-Suchdienste (*.gls)|*.gls</translation>
    </message>
    <message>
        <source>Select Services File</source>
        <translation>Dienstdatei auswählen</translation>
    </message>
    <message>
        <source>Save Services File</source>
        <translation>Dienstdatei speichern</translation>
    </message>
    <message>
        <source>Save changes to service list?</source>
        <translation>Änderungen an der Dienstliste speichern?</translation>
    </message>
    <message>
        <source>Glen Lantern Terms (*.glt)|*.glt</source>
        <translation>Glen-Lantern-Suchbegriffe (*.glt)|*.glt</translation>
    </message>
    <message>
        <source>Select Terms File</source>
        <translation>Begriffsdatei auswählen</translation>
    </message>
    <message>
        <source>Save Term File</source>
        <translation>Begriffsdatei speichern</translation>
    </message>
    <message>
        <source>Save changes to term list?</source>
        <translation>Änderungen an der Begriffsliste speichern?</translation>
    </message>
    <message>
        <source>Add New Service</source>
        <translation>Neuen Suchdienst hinzufügen</translation>
    </message>
    <message>
        <source>Enter Service Name:</source>
        <translation>Name des Suchdienstes eingeben:</translation>
    </message>
    <message>
        <source>Service String</source>
        <translation>Suchadresse</translation>
    </message>
    <message>
        <source>Enter Service String:</source>
        <translation>Suchadresse eingeben:</translation>
    </message>
    <message>
        <source>Enter New Service String:</source>
        <translation>Neue Suchadresse eingeben:</translation>
    </message>
    <message>
        <source>Add New Term</source>
        <translation>Neuen Suchbegriff hinzufügen</translation>
    </message>
    <message>
        <source>Enter Term:</source>
        <translation>Suchbegriff eingeben:</translation>
    </message>
    <message>
        <source>Enter New Term</source>
        <translation>Neuen Suchbegriff eingeben</translation>
    </message>
    <message>
        <source>&quot;%1&quot; no longer exists; it was removed from the recent lists.</source>
        <translation>„%1“ existiert nicht mehr; es wurde aus den zuletzt geöffneten Listen entfernt.</translation>
    </message>
</context>
<context>
    <name>ListFile</name>
    <message>
        <source>Not valid UTF-16 text</source>
        <translation>Kein gültiger UTF-16-Text</translation>
    </message>
    <message>
        <source>Not a text file: line %1 holds a NUL byte</source>
        <translation>Keine Textdatei: Zeile %1 enthält ein NUL-Byte</translation>
    </message>
</context>
<context>
    <name>Matrix</name>
    <message>
        <source>No service of the list is in the group &quot;%1&quot;</source>
        <translation>Kein Suchdienst der Liste ist in der Gruppe „%1“</translation>
    </message>
    <message>
        <source>The service list is empty: there is no service to search with</source>
        <translation>Die Dienstliste ist leer: Es gibt keinen Suchdienst, mit dem gesucht werden kann</translation>
    </message>
    <message>
        <source>The term list is empty: there is nothing to search for</source>
        <translation>Die Begriffsliste ist leer: Es gibt nichts zu suchen</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: its folder is not there</source>
        <translation>„%1“ kann nicht geschrieben werden: Sein Ordner existiert nicht</translation>
    </message>
    <message>
        <source>&quot;%1&quot; with %2: %3</source>
        <translation>„%1“ mit %2: %3</translation>
    </message>
    <message>
        <source>No page could be loaded</source>
        <translation>Keine Seite konnte geladen werden</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) wait for the server in this computer&apos;s cache; they are sent the next time the case is opened</source>
        <translation>
            <numerusform>%n Eintrag wartet im Zwischenspeicher dieses Rechners auf den Server; er wird beim nächsten Öffnen des Falls gesendet</numerusform>
            <numerusform>%n Einträge warten im Zwischenspeicher dieses Rechners auf den Server; sie werden beim nächsten Öffnen des Falls gesendet</numerusform>
        </translation>
    </message>
    <message>
        <source>the site asks to wait longer than the %1 seconds a search waits</source>
        <translation>die Seite bittet, länger zu warten als die %1 Sekunden, die eine Suche wartet</translation>
    </message>
    <message>
        <source> (%1 times)</source>
        <translation> (%1-mal)</translation>
    </message>
</context>
<context>
    <name>MatrixModel</name>
    <message>
        <source>not searched</source>
        <translation>nicht gesucht</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>wartet</translation>
    </message>
    <message>
        <source>found</source>
        <translation>gefunden</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>HTTP status %1</source>
        <translation>HTTP-Status %1</translation>
    </message>
    <message>
        <source>blocked</source>
        <translation>blockiert</translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation>%1
%2</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1 found</source>
        <translation>%1 gefunden</translation>
    </message>
    <message>
        <source>%1 blocked</source>
        <translation>%1 blockiert</translation>
    </message>
    <message>
        <source>%1 in error</source>
        <translation>%1 mit Fehler</translation>
    </message>
    <message>
        <source>%1 of %2 searched: %3 found, %4 not found, %5 blocked, %6 in error, %7 unknown</source>
        <translation>%1 von %2 gesucht: %3 gefunden, %4 nicht gefunden, %5 blockiert, %6 mit Fehler, %7 unbekannt</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>T&amp;ools</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>&amp;Services</source>
        <translation>&amp;Suchdienste</translation>
    </message>
    <message>
        <source>&amp;Terms</source>
        <translation>Such&amp;begriffe</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Recen&amp;t Service Lists</source>
        <translation>&amp;Zuletzt geöffnete Dienstlisten</translation>
    </message>
    <message>
        <source>Recen&amp;t Term Lists</source>
        <translation>&amp;Zuletzt geöffnete Begriffslisten</translation>
    </message>
    <message>
        <source>&amp;Console</source>
        <translation>&amp;Konsole</translation>
    </message>
    <message>
        <source>Recent C&amp;ases</source>
        <translation>&amp;Zuletzt geöffnete Akten</translation>
    </message>
    <message>
        <source>C&amp;ase</source>
        <translation>A&amp;kte</translation>
    </message>
</context>
<context>
    <name>NoteFile</name>
    <message>
        <source>Failed to Load Stream</source>
        <translation>Der Datenstrom konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>Failed to Load Stream from file &quot;%1&quot;</source>
        <translation>Der Datenstrom konnte nicht aus der Datei „%1“ geladen werden</translation>
    </message>
    <message>
        <source>Failed to Save Stream to file &quot;%1&quot;</source>
        <translation>Der Datenstrom konnte nicht in der Datei „%1“ gespeichert werden</translation>
    </message>
</context>
<context>
    <name>OpenCaseDialog</name>
    <message>
        <source>Open Case</source>
        <translation>Akte öffnen</translation>
    </message>
    <message>
        <source>&amp;Folder</source>
        <translation>&amp;Ordner</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Öff&amp;nen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>D&amp;urchsuchen...</translation>
    </message>
    <message>
        <source>Case &amp;folder:</source>
        <translation>Ordner der &amp;Akte:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Rechner:</translation>
    </message>
    <message>
        <source>a name, an address or a socket folder</source>
        <translation>ein Name, eine Adresse oder ein Socket-Ordner</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>&amp;Datenbank:</translation>
    </message>
    <message>
        <source>&amp;Case name:</source>
        <translation>Name der &amp;Akte:</translation>
    </message>
    <message>
        <source>user</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>host</source>
        <translation>Rechner</translation>
    </message>
    <message>
        <source>database</source>
        <translation>Datenbank</translation>
    </message>
    <message>
        <source>case name</source>
        <translation>Name der Akte</translation>
    </message>
    <message>
        <source>The %1 is missing</source>
        <translation>Es fehlt: %1</translation>
    </message>
    <message>
        <source>Choose the case&apos;s folder</source>
        <translation>Wählen Sie den Ordner der Akte</translation>
    </message>
    <message>
        <source>No encryption (disable)</source>
        <translation>Keine Verschlüsselung (disable)</translation>
    </message>
    <message>
        <source>Encryption only when the server asks for it (allow)</source>
        <translation>Verschlüsselung nur, wenn der Server sie verlangt (allow)</translation>
    </message>
    <message>
        <source>Encryption when the server offers it (prefer)</source>
        <translation>Verschlüsselung, wenn der Server sie anbietet (prefer)</translation>
    </message>
    <message>
        <source>Require encryption (require)</source>
        <translation>Verschlüsselung verlangen (require)</translation>
    </message>
    <message>
        <source>Verify the server&apos;s certificate (verify-ca)</source>
        <translation>Das Zertifikat des Servers prüfen (verify-ca)</translation>
    </message>
    <message>
        <source>Verify the certificate and the server&apos;s name (verify-full)</source>
        <translation>Das Zertifikat und den Namen des Servers prüfen (verify-full)</translation>
    </message>
    <message>
        <source>Where the case is kept</source>
        <translation>Wo die Akte liegt</translation>
    </message>
    <message>
        <source>PostgreSQL &amp;server</source>
        <translation>PostgreSQL-&amp;Server</translation>
    </message>
    <message>
        <source>A case kept in a database on a PostgreSQL server, which a team can share.</source>
        <translation>Eine Akte in einer Datenbank auf einem PostgreSQL-Server, die ein Team gemeinsam nutzen kann.</translation>
    </message>
    <message>
        <source>&amp;TLS encryption:</source>
        <translation>&amp;TLS-Verschlüsselung:</translation>
    </message>
    <message>
        <source>The password: PGPASSWORD when it is set, else the matching line of ~/.pgpass (or of the file PGPASSFILE names). When neither has it, it is asked once and kept only while the program runs.</source>
        <translation>Das Passwort: PGPASSWORD, wenn gesetzt, sonst die passende Zeile von ~/.pgpass (oder der Datei, die PGPASSFILE nennt). Steht es in keinem davon, wird es einmal erfragt und nur behalten, solange das Programm läuft.</translation>
    </message>
    <message>
        <source>Encryption when the server offers it (default on this machine: prefer)</source>
        <translation>Verschlüsselung, wenn der Server sie anbietet (Vorgabe auf diesem Rechner: prefer)</translation>
    </message>
    <message>
        <source>Require encryption (default: require)</source>
        <translation>Verschlüsselung verlangen (Vorgabe: require)</translation>
    </message>
    <message>
        <source>Opening the case...</source>
        <translation>Die Akte wird geöffnet...</translation>
    </message>
    <message>
        <source>Connecting to the server...</source>
        <translation>Verbindung zum Server wird aufgebaut...</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Proxy: none, its pages go out directly</source>
        <translation>Proxy: keiner, ihre Seiten gehen direkt hinaus</translation>
    </message>
    <message>
        <source>Proxy: %1 (the case opens in a program of its own)</source>
        <translation>Proxy: %1 (die Akte öffnet sich in einem eigenen Programm)</translation>
    </message>
</context>
<context>
    <name>Proxy</name>
    <message>
        <source>&quot;%1&quot; is no proxy: write socks5://HOST:PORT, http://HOST:PORT or none</source>
        <translation>„%1“ ist kein Proxy: schreiben Sie socks5://RECHNER:PORT, http://RECHNER:PORT oder none</translation>
    </message>
    <message>
        <source>The proxy &quot;%1&quot; is of the kind &quot;%2&quot;: a case goes through socks5:// or http:// proxies</source>
        <translation>Der Proxy „%1“ ist von der Art „%2“: eine Akte geht über socks5://- oder http://-Proxys</translation>
    </message>
    <message>
        <source>The proxy &quot;%1&quot; names the host &quot;%2&quot;, which is neither a host name nor an address</source>
        <translation>Der Proxy „%1“ nennt den Rechner „%2“, der weder ein Rechnername noch eine Adresse ist</translation>
    </message>
    <message>
        <source>The proxy &quot;%1&quot; has the port %2: a port is 1 to 65535</source>
        <translation>Der Proxy „%1“ hat den Port %2: ein Port ist 1 bis 65535</translation>
    </message>
    <message>
        <source>The user agent is %1 characters long; at most %2 are taken</source>
        <translation>Der User-Agent ist %1 Zeichen lang; höchstens %2 werden genommen</translation>
    </message>
    <message>
        <source>The user agent may hold only printable ASCII characters (it goes into every request&apos;s header)</source>
        <translation>Der User-Agent darf nur druckbare ASCII-Zeichen enthalten (er steht im Kopf jeder Anfrage)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Cannot read the search description at %1: %2</source>
        <translation>Die Suchbeschreibung unter %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it is larger than 1 MB</source>
        <translation>sie ist größer als 1 MB</translation>
    </message>
    <message>
        <source>The page %1 offers no search of its own</source>
        <translation>Die Seite %1 bietet keine eigene Suche an</translation>
    </message>
    <message>
        <source>The page&apos;s search description is not a web address: %1</source>
        <translation>Die Suchbeschreibung der Seite ist keine Webadresse: %1</translation>
    </message>
</context>
<context>
    <name>QtPrompts</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
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
        <source>Case Folder</source>
        <translation>Ordner der Akte</translation>
    </message>
</context>
<context>
    <name>RerunChangesModel</name>
    <message>
        <source>no verdict</source>
        <translation>kein Urteil</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message>
        <source>same</source>
        <translation>gleich</translation>
    </message>
    <message>
        <source>Term</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Dienst</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vorher</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nachher</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
</context>
<context>
    <name>Search</name>
    <message>
        <source>

With &quot;%1&quot; Go opens</source>
        <translation>

Mit „%1“ öffnet Los</translation>
    </message>
    <message>
        <source> nothing:
</source>
        <translation> nichts:
</translation>
    </message>
    <message>
        <source>
and sends the form:
</source>
        <translation>
und sendet das Formular:
</translation>
    </message>
    <message>
        <source>The service &quot;%1&quot; has header=%2, which is no header: write header=Name: value</source>
        <translation>Der Dienst „%1“ hat header=%2, was kein Header ist: schreiben Sie header=Name: Wert</translation>
    </message>
    <message>
        <source>The service &quot;%1&quot; sets the header %2, which only the program sets</source>
        <translation>Der Dienst „%1“ setzt den Header %2, den nur das Programm setzt</translation>
    </message>
</context>
<context>
    <name>SearchType</name>
    <message>
        <source>Web Search Engines</source>
        <translation>Websuchmaschinen</translation>
    </message>
    <message>
        <source>News</source>
        <translation>Nachrichten</translation>
    </message>
    <message>
        <source>Word Definition</source>
        <translation>Wortbedeutung</translation>
    </message>
    <message>
        <source>Spell Check</source>
        <translation>Rechtschreibung</translation>
    </message>
    <message>
        <source>Image Searches</source>
        <translation>Bildersuche</translation>
    </message>
    <message>
        <source>Thesaurus</source>
        <translation>Thesaurus</translation>
    </message>
</context>
<context>
    <name>ServiceEdit</name>
    <message>
        <source>A TAB, a line end or another control character cannot stand in a service&apos;s name or address: %1</source>
        <translation>Ein Tabulator, ein Zeilenende oder ein anderes Steuerzeichen kann nicht im Namen oder in der Adresse eines Suchdienstes stehen: %1</translation>
    </message>
    <message>
        <source>The service needs a name</source>
        <translation>Der Suchdienst braucht einen Namen</translation>
    </message>
    <message>
        <source>A &quot;=&quot; cannot stand in a service&apos;s name: the first one ends the name</source>
        <translation>Ein „=“ kann nicht im Namen eines Suchdienstes stehen: Das erste beendet den Namen</translation>
    </message>
    <message>
        <source>The service needs an address</source>
        <translation>Der Suchdienst braucht eine Adresse</translation>
    </message>
    <message>
        <source>A TAB or a line end cannot stand in the form&apos;s body</source>
        <translation>Ein Tabulator oder ein Zeilenende kann nicht im Inhalt des Formulars stehen</translation>
    </message>
</context>
<context>
    <name>ServiceGroups</name>
    <message>
        <source>A group needs a name</source>
        <translation>Eine Gruppe braucht einen Namen</translation>
    </message>
    <message>
        <source>A group&apos;s name cannot hold a comma or a control character: %1</source>
        <translation>Der Name einer Gruppe darf kein Komma und kein Steuerzeichen enthalten: %1</translation>
    </message>
    <message>
        <source>The service &quot;%1&quot; cannot be put in a group: its line holds no &quot;=&quot; or its address holds a TAB</source>
        <translation>Der Suchdienst „%1“ kann in keine Gruppe aufgenommen werden: Seine Zeile enthält kein „=“ oder seine Adresse einen Tabulator</translation>
    </message>
</context>
<context>
    <name>ServiceLine</name>
    <message>
        <source>The service &quot;%1&quot; cannot take a %2 (its line has no name or its address holds a TAB)</source>
        <translation>Der Suchdienst „%1“ kann kein %2 erhalten (seine Zeile hat keinen Namen oder seine Adresse enthält einen Tabulator)</translation>
    </message>
    <message>
        <source>A TAB or a line end cannot stand in a service&apos;s %1</source>
        <translation>Ein Tabulator oder ein Zeilenende kann nicht im %1 eines Suchdienstes stehen</translation>
    </message>
    <message>
        <source>A TAB cannot stand in the address of a service that has attributes</source>
        <translation>Ein Tabulator kann nicht in der Adresse eines Suchdienstes mit Attributen stehen</translation>
    </message>
</context>
<context>
    <name>SessionBus</name>
    <message>
        <source>The running program shows its windows on %1</source>
        <translation>Das laufende Programm zeigt seine Fenster auf %1</translation>
    </message>
    <message>
        <source>Only a start of the program is handed over</source>
        <translation>Nur ein Start des Programms wird übergeben</translation>
    </message>
    <message>
        <source>The running program did not answer within %1 seconds; this start runs on its own</source>
        <translation>Das laufende Programm antwortete nicht innerhalb von %1 Sekunden; dieser Start läuft für sich allein</translation>
    </message>
    <message>
        <source>The running program did not take the command line (%1); this start runs on its own</source>
        <translation>Das laufende Programm nahm die Befehlszeile nicht an (%1); dieser Start läuft für sich allein</translation>
    </message>
</context>
<context>
    <name>StampAuthorityDialog</name>
    <message>
        <source>Stamp Now - %1</source>
        <translation>Zeitstempel jetzt - %1</translation>
    </message>
    <message>
        <source>Only the hash of the case&apos;s last record is sent: to a time-stamp authority, which signs it with the time. Which authority?</source>
        <translation>Nur der Hash des letzten Eintrags der Akte wird gesendet: an einen Zeitstempeldienst, der ihn mit der Zeit unterschreibt. Welcher Dienst?</translation>
    </message>
    <message>
        <source>Time-stamp &amp;authority:</source>
        <translation>&amp;Zeitstempeldienst:</translation>
    </message>
    <message>
        <source>&amp;Keep this address with the case</source>
        <translation>Diese Adresse bei der Akte &amp;behalten</translation>
    </message>
    <message>
        <source>&amp;Stamp</source>
        <translation>&amp;Stempeln</translation>
    </message>
</context>
<context>
    <name>StartRequest</name>
    <message>
        <source>The service list is empty: there is no service to search with</source>
        <translation>Die Dienstliste ist leer: Es gibt keinen Suchdienst, mit dem gesucht werden kann</translation>
    </message>
    <message>
        <source>There is no service list: no Default.gls in &quot;%1&quot; and no --services FILE</source>
        <translation>Es gibt keine Dienstliste: keine Default.gls in „%1“ und kein --services FILE</translation>
    </message>
    <message>
        <source>The service list &quot;%1&quot; is empty</source>
        <translation>Die Dienstliste „%1“ ist leer</translation>
    </message>
</context>
<context>
    <name>SystemTrayIcon</name>
    <message>
        <source>glenLantern - MidClick: QLaunch; DblClick: MScreen; RClick: Menu</source>
        <translation>glenLantern – Mittelklick: Schnellstarter; Doppelklick: Hauptfenster; Rechtsklick: Menü</translation>
    </message>
</context>
<context>
    <name>TfrmCaseLog</name>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>&amp;Run Again</source>
        <translation>&amp;Erneut ausführen</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Columns</source>
        <translation>&amp;Spalten</translation>
    </message>
    <message>
        <source>Filter the searches</source>
        <translation>Suchen filtern</translation>
    </message>
    <message>
        <source>Searches of the case</source>
        <translation>Suchen der Akte</translation>
    </message>
</context>
<context>
    <name>TfrmChanges</name>
    <message>
        <source>Changes - %1</source>
        <translation>Änderungen - %1</translation>
    </message>
    <message>
        <source>Searches whose result changed</source>
        <translation>Suchen mit geändertem Ergebnis</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>The case records no run again yet: Case &gt; Run All Again searches its searches again</source>
        <translation>Die Akte verzeichnet noch keinen erneuten Durchlauf: Akte &gt; Alle erneut ausführen sucht ihre Suchen erneut</translation>
    </message>
    <message>
        <source>The last run the case records, %1: %2 of %3 pairs changed</source>
        <translation>Der letzte Durchlauf, den die Akte verzeichnet, %1: %2 von %3 Paaren geändert</translation>
    </message>
    <message>
        <source>Reading the case...</source>
        <translation>Die Akte wird gelesen...</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 pairs. %3</source>
        <translation>Angehalten nach %1 von %2 Paaren. %3</translation>
    </message>
    <message>
        <source>Done. %1</source>
        <translation>Fertig. %1</translation>
    </message>
    <message>
        <source>Searching again: %1 of %2 pairs, %3 changed</source>
        <translation>Erneute Suche: %1 von %2 Paaren, %3 geändert</translation>
    </message>
</context>
<context>
    <name>TfrmEditGroups</name>
    <message>
        <source>Edit Groups</source>
        <translation>Gruppen bearbeiten</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>&amp;Group:</source>
        <translation>&amp;Gruppe:</translation>
    </message>
    <message>
        <source>Services in the group</source>
        <translation>Suchdienste in der Gruppe</translation>
    </message>
    <message>
        <source>&amp;Services in the group (Space ticks one):</source>
        <translation>&amp;Suchdienste in der Gruppe (die Leertaste hakt einen an):</translation>
    </message>
    <message>
        <source>Group name</source>
        <translation>Name der Gruppe</translation>
    </message>
    <message>
        <source>&amp;Rename Group...</source>
        <translation>Gruppe &amp;umbenennen...</translation>
    </message>
    <message>
        <source>&amp;Delete Group</source>
        <translation>Gruppe &amp;löschen</translation>
    </message>
    <message>
        <source>Type a group&apos;s name or choose one of the list&apos;s: OK then puts the ticked services in it</source>
        <translation>Geben Sie den Namen einer Gruppe ein oder wählen Sie eine der Liste: OK nimmt dann die angehakten Suchdienste in sie auf</translation>
    </message>
</context>
<context>
    <name>TfrmEditService</name>
    <message>
        <source>Edit Service</source>
        <translation>Suchdienst bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>|s| in the address or the form&apos;s body stands for the term.</source>
        <translation>|s| in der Adresse oder im Inhalt des Formulars steht für den Suchbegriff.</translation>
    </message>
    <message>
        <source>&amp;Groups:</source>
        <translation>&amp;Gruppen:</translation>
    </message>
    <message>
        <source>names between commas</source>
        <translation>Namen, durch Kommas getrennt</translation>
    </message>
    <message>
        <source>Form (&amp;POST) body:</source>
        <translation>Formular&amp;inhalt (POST):</translation>
    </message>
    <message>
        <source>Form body</source>
        <translation>Inhalt des Formulars</translation>
    </message>
    <message>
        <source>&amp;Found when:</source>
        <translation>&amp;Vorhanden, wenn:</translation>
    </message>
    <message>
        <source>&amp;Missing when:</source>
        <translation>&amp;Fehlt, wenn:</translation>
    </message>
    <message>
        <source>A rule: status:200, text:words or url:part; &amp; joins what must all hold, | what may, ! turns one round.</source>
        <translation>Eine Regel: status:200, text:Wörter oder url:Teil; &amp; verbindet, was alles gelten muss, | was gelten kann, ! kehrt eine Bedingung um.</translation>
    </message>
    <message>
        <source>Kept as they are:</source>
        <translation>Bleiben, wie sie sind:</translation>
    </message>
    <message>
        <source>The list comes from Windows: the line stays in Windows-1252.</source>
        <translation>Die Liste stammt von Windows: Die Zeile bleibt in Windows-1252.</translation>
    </message>
</context>
<context>
    <name>TfrmExport</name>
    <message>
        <source>Export Services</source>
        <translation>Suchdienste exportieren</translation>
    </message>
    <message>
        <source>&amp;OpenSearch descriptions, for web browsers (.xml)</source>
        <translation>&amp;OpenSearch-Beschreibungen, für Webbrowser (.xml)</translation>
    </message>
    <message>
        <source>&amp;KDE web shortcuts (.desktop)</source>
        <translation>&amp;KDE-Web-Kürzel (.desktop)</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>O&amp;rdner:</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>Export to Folder</source>
        <translation>In Ordner exportieren</translation>
    </message>
    <message>
        <source>Services written to &quot;%1&quot;: %2.</source>
        <translation>In „%1“ geschriebene Suchdienste: %2.</translation>
    </message>
    <message>
        <source>Not exported, as this format cannot hold them:</source>
        <translation>Nicht exportiert, da dieses Format sie nicht fassen kann:</translation>
    </message>
    <message>
        <source>Not written:</source>
        <translation>Nicht geschrieben:</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>TfrmImport</name>
    <message>
        <source>Import Services</source>
        <translation>Suchdienste importieren</translation>
    </message>
    <message>
        <source>Search engines found in your web browsers, KDE&apos;s web shortcuts and search description files. The checked ones are added to the service list.</source>
        <translation>Suchmaschinen aus Ihren Webbrowsern, den Web-Kürzeln von KDE und Suchbeschreibungsdateien. Die angekreuzten werden der Dienstliste hinzugefügt.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Not imported because</source>
        <translation>Nicht importiert, weil</translation>
    </message>
    <message>
        <source>&amp;Read File...</source>
        <translation>Datei &amp;lesen...</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>already in the service list</source>
        <translation>schon in der Dienstliste</translation>
    </message>
    <message>
        <source>Search engines found</source>
        <translation>Gefundene Suchmaschinen</translation>
    </message>
    <message>
        <source>  (sends the form %1)</source>
        <translation>  (sendet das Formular %1)</translation>
    </message>
    <message>
        <source>%1 found: %2 can be imported, %3 not</source>
        <translation>%1 gefunden: %2 können importiert werden, %3 nicht</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Navigating...</source>
        <translation>Navigieren...</translation>
    </message>
    <message>
        <source>Navigation Complete</source>
        <translation>Navigation abgeschlossen</translation>
    </message>
    <message>
        <source>Navigating to requested document...</source>
        <translation>Navigieren zum angeforderten Dokument...</translation>
    </message>
    <message>
        <source>About Glen Lantern</source>
        <translation>Über Glen Lantern</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Glen Lantern %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Web search from saved lists of services and terms.&lt;/p&gt;&lt;p&gt;This program is free software: you can redistribute it and/or modify it under the terms of the GNU General Public License, version 3 or (at your option) any later version. It comes with ABSOLUTELY NO WARRANTY.&lt;/p&gt;&lt;p&gt;Built with Qt %2, running on Qt %3.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Glen Lantern %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Websuche aus gespeicherten Listen von Suchdiensten und Suchbegriffen.&lt;/p&gt;&lt;p&gt;Dieses Programm ist freie Software: Sie können es unter den Bedingungen der GNU General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren Version, weitergeben und/oder verändern. Es wird OHNE JEDE GEWÄHRLEISTUNG bereitgestellt.&lt;/p&gt;&lt;p&gt;Erstellt mit Qt %2, läuft mit Qt %3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Search engines (*.xml *.desktop *.mozlz4 *.sqlite Web*Data)|*.xml;*.desktop;*.mozlz4;*.sqlite;Web*Data</source>
        <translation>Suchmaschinen (*.xml *.desktop *.mozlz4 *.sqlite Web*Data)|*.xml;*.desktop;*.mozlz4;*.sqlite;Web*Data</translation>
    </message>
    <message>
        <source>Read Search Engines</source>
        <translation>Suchmaschinen lesen</translation>
    </message>
    <message>
        <source>This desktop has no notification area, so the main window stays open.</source>
        <translation>Diese Arbeitsumgebung hat keinen Infobereich, daher bleibt das Hauptfenster offen.</translation>
    </message>
    <message>
        <source>Show Main Screen</source>
        <translation>Hauptfenster anzeigen</translation>
    </message>
    <message>
        <source>Send to Tray</source>
        <translation>In den Infobereich minimieren</translation>
    </message>
    <message>
        <source>Private</source>
        <translation>Privat</translation>
    </message>
    <message>
        <source>Private browsing: the pages leave nothing on disk</source>
        <translation>Privates Surfen: Die Seiten hinterlassen nichts auf der Festplatte</translation>
    </message>
    <message>
        <source>Clear the cookies, cache and history of the browser pane? Sites you are logged in to will ask you to log in again.</source>
        <translation>Cookies, Cache und Verlauf des Browserbereichs löschen? Websites, bei denen Sie angemeldet sind, werden Sie erneut zur Anmeldung auffordern.</translation>
    </message>
    <message>
        <source>This opens %1 tabs. Open them all?</source>
        <translation>Dies öffnet %1 Tabs. Alle öffnen?</translation>
    </message>
    <message>
        <source>The browser pane cannot open the address for %1</source>
        <translation>Der Browserbereich kann die Adresse für %1 nicht öffnen</translation>
    </message>
    <message>
        <source>The service list is empty: there is no service to search with</source>
        <translation>Die Dienstliste ist leer: Es gibt keinen Suchdienst, mit dem gesucht werden kann</translation>
    </message>
    <message>
        <source>Search services</source>
        <translation>Suchdienste</translation>
    </message>
    <message>
        <source>Search terms</source>
        <translation>Suchbegriffe</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>The search &quot;%1&quot; cannot be added: %2</source>
        <translation>Die Suche „%1“ kann nicht hinzugefügt werden: %2</translation>
    </message>
    <message>
        <source>The search &quot;%1&quot; is in the service list already.</source>
        <translation>Die Suche „%1“ steht bereits in der Dienstliste.</translation>
    </message>
    <message>
        <source>Add the search &quot;%1&quot; to the service list?

%2</source>
        <translation>Die Suche „%1“ der Dienstliste hinzufügen?

%2</translation>
    </message>
    <message>
        <source>Added the search &quot;%1&quot;</source>
        <translation>Die Suche „%1“ wurde hinzugefügt</translation>
    </message>
    <message>
        <source>Loaded the service list &quot;%1&quot;</source>
        <translation>Die Dienstliste „%1“ wurde geladen</translation>
    </message>
    <message>
        <source>Added 1 service from &quot;%1&quot;</source>
        <translation>1 Suchdienst aus „%1“ hinzugefügt</translation>
    </message>
    <message>
        <source>Added %1 services from &quot;%2&quot;</source>
        <translation>%1 Suchdienste aus „%2“ hinzugefügt</translation>
    </message>
    <message>
        <source>The browser pane shows no page</source>
        <translation>Der Browserbereich zeigt keine Seite</translation>
    </message>
    <message>
        <source>Browsing data is not kept. %1</source>
        <translation>Browserdaten werden nicht aufbewahrt. %1</translation>
    </message>
    <message>
        <source>Every search is recorded in the case &quot;%1&quot;</source>
        <translation>Jede Suche wird in der Akte „%1“ aufgezeichnet</translation>
    </message>
    <message>
        <source>Glen Lantern - case %1</source>
        <translation>Glen Lantern - Akte %1</translation>
    </message>
    <message>
        <source>Recording: %1</source>
        <translation>Aufzeichnung: %1</translation>
    </message>
    <message>
        <source>Case Log - %1</source>
        <translation>Aktenprotokoll - %1</translation>
    </message>
    <message>
        <source>Quick Launcher: %1</source>
        <translation>Schnellstarter: %1</translation>
    </message>
    <message>
        <source>New Case</source>
        <translation>Neue Akte</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; holds no case (no case.sqlite); New Case starts one</source>
        <translation>Der Ordner „%1“ enthält keine Akte (keine case.sqlite); Neue Akte beginnt eine</translation>
    </message>
    <message>
        <source>The case is closed: searches are no longer recorded</source>
        <translation>Die Akte ist geschlossen: Suchen werden nicht mehr aufgezeichnet</translation>
    </message>
    <message>
        <source>No case is open</source>
        <translation>Keine Akte ist geöffnet</translation>
    </message>
    <message>
        <source>Export Case</source>
        <translation>Akte exportieren</translation>
    </message>
    <message>
        <source>The case was written to &quot;%1&quot;.</source>
        <translation>Die Akte wurde nach „%1“ geschrieben.</translation>
    </message>
    <message>
        <source>Left out, as they could not be read:</source>
        <translation>Weggelassen, weil sie nicht gelesen werden konnten:</translation>
    </message>
    <message>
        <source>Group of services on view</source>
        <translation>Angezeigte Gruppe von Suchdiensten</translation>
    </message>
    <message>
        <source>All services</source>
        <translation>Alle Suchdienste</translation>
    </message>
    <message>
        <source>There is no service on view to search with</source>
        <translation>Es wird kein Suchdienst angezeigt, mit dem gesucht werden kann</translation>
    </message>
    <message>
        <source>The term list is empty: there is nothing to search for</source>
        <translation>Die Begriffsliste ist leer: Es gibt nichts zu suchen</translation>
    </message>
    <message>
        <source>The service &quot;%1&quot; is no longer in the service list</source>
        <translation>Der Suchdienst „%1“ ist nicht mehr in der Dienstliste</translation>
    </message>
    <message>
        <source>The term &quot;%1&quot; is no longer in the term list</source>
        <translation>Der Suchbegriff „%1“ ist nicht mehr in der Begriffsliste</translation>
    </message>
    <message>
        <source>Case Server Password</source>
        <translation>Passwort für den Akten-Server</translation>
    </message>
    <message>
        <source>The password of %1 for the database %2 on %3:</source>
        <translation>Das Passwort von %1 für die Datenbank %2 auf %3:</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) wait for the server</source>
        <translation>
            <numerusform>%n Eintrag wartet auf den Server</numerusform>
            <numerusform>%n Einträge warten auf den Server</numerusform>
        </translation>
    </message>
    <message>
        <source>Exporting the case</source>
        <translation>Die Akte wird exportiert</translation>
    </message>
    <message>
        <source>Verifying the case</source>
        <translation>Die Akte wird geprüft</translation>
    </message>
    <message>
        <source>The case cannot be read: %1</source>
        <translation>Die Akte kann nicht gelesen werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) of this computer still wait for the server: they are not in it yet.</source>
        <translation>
            <numerusform>%n Eintrag dieses Rechners wartet noch auf den Server: er ist noch nicht darin.</numerusform>
            <numerusform>%n Einträge dieses Rechners warten noch auf den Server: sie sind noch nicht darin.</numerusform>
        </translation>
    </message>
    <message>
        <source>Copy Case To</source>
        <translation>Akte kopieren nach</translation>
    </message>
    <message>
        <source>Copying the case</source>
        <translation>Die Akte wird kopiert</translation>
    </message>
    <message>
        <source>The case was copied to &quot;%1&quot;.</source>
        <translation>Die Akte wurde nach „%1“ kopiert.</translation>
    </message>
    <message>
        <source>Spreadsheet, CSV (*.csv)|*.csv|JSON Lines (*.jsonl)|*.jsonl|Search report, HTML (*.html)|*.html|Web archive, WARC (*.warc.gz)|*.warc.gz|Web archive for players, WACZ (*.wacz)|*.wacz</source>
        <translation>Tabelle, CSV (*.csv)|*.csv|JSON Lines (*.jsonl)|*.jsonl|Suchbericht, HTML (*.html)|*.html|Webarchiv, WARC (*.warc.gz)|*.warc.gz|Webarchiv für Abspielprogramme, WACZ (*.wacz)|*.wacz</translation>
    </message>
    <message>
        <source>The file name must end in .csv, .jsonl, .html, .warc.gz or .wacz to say what to write</source>
        <translation>Der Dateiname muss auf .csv, .jsonl, .html, .warc.gz oder .wacz enden, damit klar ist, was geschrieben wird</translation>
    </message>
    <message>
        <source>These services were left as they were:</source>
        <translation>Diese Suchdienste blieben, wie sie waren:</translation>
    </message>
    <message>
        <source>Rename Group</source>
        <translation>Gruppe umbenennen</translation>
    </message>
    <message>
        <source>The new name of the group &quot;%1&quot;:</source>
        <translation>Der neue Name der Gruppe „%1“:</translation>
    </message>
    <message>
        <source>The group &quot;%1&quot; is deleted; its services stay in the list</source>
        <translation>Die Gruppe „%1“ ist gelöscht; ihre Suchdienste bleiben in der Liste</translation>
    </message>
    <message>
        <source>Choose the service to edit in the list first</source>
        <translation>Wählen Sie zuerst den zu bearbeitenden Suchdienst in der Liste</translation>
    </message>
    <message>
        <source>The service list changed while the service was edited: nothing was changed, edit it again</source>
        <translation>Die Dienstliste hat sich geändert, während der Suchdienst bearbeitet wurde: Nichts wurde geändert, bearbeiten Sie ihn erneut</translation>
    </message>
    <message>
        <source>The service &quot;%1&quot; is changed; Save Services keeps it</source>
        <translation>Der Suchdienst „%1“ ist geändert; Suchdienste speichern behält die Änderung</translation>
    </message>
    <message>
        <source>Services in the group &quot;%1&quot;: %2</source>
        <translation>Suchdienste in der Gruppe „%1“: %2</translation>
    </message>
    <message>
        <source>The group &quot;%1&quot; is now &quot;%2&quot;; services in it: %3</source>
        <translation>Die Gruppe „%1“ heißt jetzt „%2“; Suchdienste darin: %3</translation>
    </message>
    <message>
        <source>Delete the group &quot;%1&quot;? The services in it (%2) stay in the list; only the group is taken off them.</source>
        <translation>Die Gruppe „%1“ löschen? Die Suchdienste darin (%2) bleiben in der Liste; nur die Gruppe wird von ihnen genommen.</translation>
    </message>
    <message>
        <source>The service list changed while the groups were edited: nothing was changed, edit them again</source>
        <translation>Die Dienstliste hat sich geändert, während die Gruppen bearbeitet wurden: Nichts wurde geändert, bearbeiten Sie sie erneut</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; needs a program of its own, which cannot be started here</source>
        <translation>Die Akte „%1“ braucht ein eigenes Programm, das hier nicht gestartet werden kann</translation>
    </message>
    <message>
        <source>The case&apos;s new proxy is used when the case opens again</source>
        <translation>Der neue Proxy der Akte gilt, wenn die Akte wieder geöffnet wird</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; opens in the program without a proxy</source>
        <translation>Die Akte „%1“ öffnet sich im Programm ohne Proxy</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; opens in a program of its own, through %2</source>
        <translation>Die Akte „%1“ öffnet sich in einem eigenen Programm, über %2</translation>
    </message>
    <message>
        <source>Through %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Every page and search of this program goes through the proxy</source>
        <translation>Jede Seite und jede Suche dieses Programms geht über den Proxy</translation>
    </message>
    <message>
        <source>%1 - through %2</source>
        <translation>%1 - über %2</translation>
    </message>
    <message>
        <source>Remove the cookies, logins, site storage, cache and permissions the pages of the case &quot;%1&quot; have kept? Its open pages close.</source>
        <translation>Die Cookies, Anmeldungen, Website-Speicher, den Cache und die Berechtigungen entfernen, die die Seiten der Akte „%1“ aufbewahrt haben? Ihre offenen Seiten werden geschlossen.</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; is being stamped as it closed; open it again in a moment</source>
        <translation>Die Akte „%1“ wird beim Schließen gestempelt; öffnen Sie sie gleich noch einmal</translation>
    </message>
    <message>
        <source>This program cannot ask a time-stamp authority</source>
        <translation>Dieses Programm kann keinen Zeitstempeldienst fragen</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; is closed. %2</source>
        <translation>Die Akte „%1“ ist geschlossen. %2</translation>
    </message>
    <message>
        <source>Stamps on close/export</source>
        <translation>Stempel bei Schließen/Export</translation>
    </message>
    <message>
        <source>Last stamp %1</source>
        <translation>Letzter Zeitstempel %1</translation>
    </message>
    <message>
        <source>A stamp is under way already: the status line says when it has ended</source>
        <translation>Ein Zeitstempel ist schon unterwegs: die Statuszeile sagt, wenn er fertig ist</translation>
    </message>
    <message>
        <source>Asking %1 for a stamp over the case&apos;s last record</source>
        <translation>Frage %1 nach einem Zeitstempel über den letzten Eintrag der Akte</translation>
    </message>
    <message>
        <source>Asking %1 for a stamp as the case closes</source>
        <translation>Frage %1 beim Schließen der Akte nach einem Zeitstempel</translation>
    </message>
    <message>
        <source>The case &quot;%1&quot; is closed without a stamp: %2</source>
        <translation>Die Akte „%1“ ist ohne Zeitstempel geschlossen: %2</translation>
    </message>
    <message>
        <source>Asking %1 for a stamp before the export</source>
        <translation>Frage %1 vor dem Export nach einem Zeitstempel</translation>
    </message>
    <message>
        <source>No stamp: %1</source>
        <translation>Kein Zeitstempel: %1</translation>
    </message>
    <message>
        <source>The case closed before it was exported</source>
        <translation>Die Akte wurde geschlossen, bevor sie exportiert war</translation>
    </message>
    <message>
        <source>Reading the case&apos;s searches</source>
        <translation>Die Suchen der Akte werden gelesen</translation>
    </message>
    <message>
        <source>The case holds no search made with a service: there is nothing to search again</source>
        <translation>Die Akte enthält keine Suche mit einem Suchdienst: Es gibt nichts erneut zu suchen</translation>
    </message>
    <message>
        <source>Reading the case&apos;s last run</source>
        <translation>Der letzte Durchlauf der Akte wird gelesen</translation>
    </message>
</context>
<context>
    <name>TfrmMatrix</name>
    <message>
        <source>Results: a row a term, a column a service</source>
        <translation>Ergebnisse: eine Zeile je Suchbegriff, eine Spalte je Suchdienst</translation>
    </message>
    <message>
        <source>Done. %1</source>
        <translation>Fertig. %1</translation>
    </message>
    <message>
        <source>CSV files (*.csv)|*.csv</source>
        <translation>CSV-Dateien (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>Export Result Matrix</source>
        <translation>Ergebnismatrix exportieren</translation>
    </message>
    <message>
        <source>Stopped. %1</source>
        <translation>Angehalten. %1</translation>
    </message>
    <message>
        <source>Result Matrix: %1, terms: %2, services: %3</source>
        <translation>Ergebnismatrix: %1, Begriffe: %2, Dienste: %3</translation>
    </message>
    <message>
        <source>all services</source>
        <translation>alle Dienste</translation>
    </message>
    <message>
        <source>group %1</source>
        <translation>Gruppe %1</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Wrote the %1 cells to %2</source>
        <translation>Die %1 Zellen wurden nach %2 geschrieben</translation>
    </message>
</context>
<context>
    <name>TfrmQLaunch</name>
    <message>
        <source>Quick Launch</source>
        <translation>Schnellstart</translation>
    </message>
    <message>
        <source>Enter Your Search Term</source>
        <translation>Suchbegriff eingeben</translation>
    </message>
    <message>
        <source>Search Type</source>
        <translation>Suchart</translation>
    </message>
    <message>
        <source>Go!</source>
        <translation>Los!</translation>
    </message>
    <message>
        <source>The web browser could not be started</source>
        <translation>Der Webbrowser konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>The search text was cut at %1 characters, the most a web browser can be sent</source>
        <translation>Der Suchtext wurde bei %1 Zeichen abgeschnitten, dem Höchstmaß, das einem Webbrowser übergeben werden kann</translation>
    </message>
</context>
<context>
    <name>TfrmText</name>
    <message>
        <source>Main Text Document</source>
        <translation>Haupttextdokument</translation>
    </message>
    <message>
        <source>Terms as text</source>
        <translation>Suchbegriffe als Text</translation>
    </message>
</context>
<context>
    <name>TfrmTextPad</name>
    <message>
        <source>Text Document %1</source>
        <translation>Textdokument %1</translation>
    </message>
    <message>
        <source>Glen Lantern Texts (*.gln)|*.gln</source>
        <translation>Glen-Lantern-Texte (*.gln)|*.gln</translation>
    </message>
    <message>
        <source>Select Text File</source>
        <translation>Textdatei auswählen</translation>
    </message>
    <message>
        <source>Glen Lantern TextPad (*.gln)|*.gln</source>
        <translation>Glen-Lantern-Notizblock (*.gln)|*.gln</translation>
    </message>
    <message>
        <source>Save Text File</source>
        <translation>Textdatei speichern</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>TimestampClient</name>
    <message>
        <source>the authority&apos;s address must be an http or https address</source>
        <translation>die Adresse des Zeitstempeldienstes muss eine http- oder https-Adresse sein</translation>
    </message>
    <message>
        <source>no answer within %1 seconds, or more than an answer&apos;s size</source>
        <translation>keine Antwort innerhalb von %1 Sekunden, oder mehr als eine Antwort groß ist</translation>
    </message>
    <message>
        <source>the authority answered HTTP %1 %2</source>
        <translation>der Zeitstempeldienst antwortete HTTP %1 %2</translation>
    </message>
    <message>
        <source>the authority&apos;s answer is empty or too large</source>
        <translation>die Antwort des Zeitstempeldienstes ist leer oder zu groß</translation>
    </message>
</context>
<context>
    <name>WebCapture</name>
    <message>
        <source>the page was closed before it was captured</source>
        <translation>die Seite wurde geschlossen, bevor sie gesichert wurde</translation>
    </message>
    <message>
        <source>the engine cancelled the save</source>
        <translation>der Web-Browser-Kern hat das Speichern abgebrochen</translation>
    </message>
    <message>
        <source>the page could not be printed</source>
        <translation>die Seite konnte nicht gedruckt werden</translation>
    </message>
    <message>
        <source>the picture could not be written</source>
        <translation>das Bild konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the page was not on view, so no picture of it was taken</source>
        <translation>die Seite wurde nicht angezeigt, daher wurde kein Bild von ihr gemacht</translation>
    </message>
    <message>
        <source>the web engine did not finish writing it in %1 seconds; it was stopped</source>
        <translation>die Web-Engine hat sie nicht in %1 Sekunden fertig geschrieben; sie wurde angehalten</translation>
    </message>
    <message>
        <source>the page was stopped when an earlier file of this capture took too long</source>
        <translation>die Seite wurde angehalten, als eine frühere Datei dieser Aufnahme zu lange dauerte</translation>
    </message>
</context>
<context>
    <name>WebPage</name>
    <message>
        <source>The site %1</source>
        <translation>Die Website %1</translation>
    </message>
    <message>
        <source>The proxy %1</source>
        <translation>Der Proxy %1</translation>
    </message>
    <message>
        <source>show notifications</source>
        <translation>Benachrichtigungen anzeigen</translation>
    </message>
    <message>
        <source>know your location</source>
        <translation>Ihren Standort erfahren</translation>
    </message>
    <message>
        <source>use your microphone</source>
        <translation>Ihr Mikrofon verwenden</translation>
    </message>
    <message>
        <source>use your camera</source>
        <translation>Ihre Kamera verwenden</translation>
    </message>
    <message>
        <source>use your camera and microphone</source>
        <translation>Ihre Kamera und Ihr Mikrofon verwenden</translation>
    </message>
    <message>
        <source>take over your mouse pointer</source>
        <translation>Ihren Mauszeiger übernehmen</translation>
    </message>
    <message>
        <source>see your screen</source>
        <translation>Ihren Bildschirm sehen</translation>
    </message>
    <message>
        <source>see your screen and hear its sound</source>
        <translation>Ihren Bildschirm sehen und seinen Ton hören</translation>
    </message>
    <message>
        <source>The site %1 wants to %2.

Allow it?</source>
        <translation>Die Website %1 möchte %2.

Erlauben?</translation>
    </message>
    <message>
        <source>Permission Request</source>
        <translation>Berechtigungsanfrage</translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid: %2

Someone may be posing as this site to read what you send it. Go on to the site anyway?</source>
        <translation>Das Zertifikat von %1 ist nicht gültig: %2

Jemand könnte sich als diese Website ausgeben, um mitzulesen, was Sie ihr senden. Trotzdem zur Website gehen?</translation>
    </message>
    <message>
        <source>Certificate Not Valid</source>
        <translation>Zertifikat nicht gültig</translation>
    </message>
    <message>
        <source>Go On Anyway</source>
        <translation>Trotzdem fortfahren</translation>
    </message>
    <message>
        <source>%1 asks for a user name and password.</source>
        <translation>%1 fragt nach Benutzername und Passwort.</translation>
    </message>
    <message>
        <source>

It says: %1</source>
        <translation>

Die Nachricht lautet: %1</translation>
    </message>
    <message>
        <source>Log In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Send the Form Again?</source>
        <translation>Formular erneut senden?</translation>
    </message>
    <message>
        <source>This page is the answer to a form sent to %1. Showing it again sends the form again: the site searches again, and whatever else the form does (an order, a payment, a message) may happen twice.

Send the form again?</source>
        <translation>Diese Seite ist die Antwort auf ein Formular, das an %1 gesendet wurde. Sie erneut anzuzeigen sendet das Formular noch einmal: Die Website sucht erneut, und was das Formular sonst bewirkt (eine Bestellung, eine Zahlung, eine Nachricht), kann zweimal geschehen.

Formular erneut senden?</translation>
    </message>
    <message>
        <source>&amp;Send Again</source>
        <translation>Erneut &amp;senden</translation>
    </message>
</context>
<context>
    <name>WebPane</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>Open in &amp;Browser</source>
        <translation>Im &amp;Browser öffnen</translation>
    </message>
    <message>
        <source>Copy &amp;Address</source>
        <translation>&amp;Adresse kopieren</translation>
    </message>
    <message>
        <source>No web browser could be started for %1</source>
        <translation>Für %1 konnte kein Webbrowser gestartet werden</translation>
    </message>
    <message>
        <source>The browser pane shows no page</source>
        <translation>Der Browserbereich zeigt keine Seite</translation>
    </message>
    <message>
        <source>the page is no longer open</source>
        <translation>die Seite ist nicht mehr geöffnet</translation>
    </message>
    <message>
        <source>Nothing went out directly: the proxy cannot be reached (%1)</source>
        <translation>Nichts ging direkt hinaus: der Proxy ist nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>The case&apos;s browsing data was not all removed: %1</source>
        <translation>Die Browserdaten der Akte wurden nicht alle entfernt: %1</translation>
    </message>
    <message>
        <source>Nothing went out directly: the proxy did not reach the site (%1)</source>
        <translation>Nichts ging direkt hinaus: der Proxy hat die Website nicht erreicht (%1)</translation>
    </message>
</context>
<context>
    <name>WebProfiles</name>
    <message>
        <source>the folder &quot;%1&quot; could not be removed</source>
        <translation>der Ordner „%1“ konnte nicht entfernt werden</translation>
    </message>
</context>
<context>
    <name>WebTabWidget</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>New Tab</source>
        <translation>Neuer Tab</translation>
    </message>
    <message>
        <source>Web pages</source>
        <translation>Webseiten</translation>
    </message>
</context>
</TS>
