<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>EscLabels</name>
    <message>
        <source>HW Type: Unknown</source>
        <translation>HW-Typ: unbekannt</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>HW-Version: unbek.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>FW-Version: unbekannt</translation>
    </message>
    <message>
        <source>HW type: unknown</source>
        <translation>HW-Typ: unbekannt</translation>
    </message>
    <message>
        <source>HW version: unknown</source>
        <translation>HW-Version: unbek.</translation>
    </message>
    <message>
        <source>FW version: unknown</source>
        <translation>FW-Version: unbekannt</translation>
    </message>
    <message>
        <source>HW type:unknown</source>
        <translation>HW-Typ: unbekannt</translation>
    </message>
    <message>
        <source>HW version:unknown</source>
        <translation>HW-Version: unbek.</translation>
    </message>
    <message>
        <source>FW version:unknown</source>
        <translation>FW-Version: unbekannt</translation>
    </message>
    <message>
        <source>HW type:%1</source>
        <translation>HW-Typ: %1</translation>
    </message>
    <message>
        <source>HW version:V%1</source>
        <translation>HW-Version: V%1</translation>
    </message>
    <message>
        <source>FW version:V%1</source>
        <translation>FW-Version: V%1</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>Link trace</source>
        <translation>Verbindungsprotokoll</translation>
    </message>
    <message>
        <source>Link trace lines</source>
        <translation>Zeilen des Verbindungsprotokolls</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Speichern...</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>Protokolldatei (*.log)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>%1 kann nicht geschrieben werden<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SpeedPlotView</name>
    <message>
        <source>Speed plot</source>
        <translation>Drehzahlkurve</translation>
    </message>
    <message>
        <source>The measured speed and the throttle of the last 60 s</source>
        <translation>Gemessene Drehzahl und Gas der letzten 60 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>speed (rpm)</source>
        <translation>Drehzahl (U/min)</translation>
    </message>
    <message>
        <source>throttle (us)</source>
        <translation>Gas (us)</translation>
    </message>
</context>
<context>
    <name>SpeedPlotWindow</name>
    <message>
        <source>Speed plot</source>
        <translation>Drehzahlkurve</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>PNG exportieren...</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV-Datei (*.csv)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>the image could not be saved there</source>
        <translation>das Bild konnte dort nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>%1 kann nicht geschrieben werden<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ZELT brushless ESC software V1.2 </source>
        <translation>ZELT Software für bürstenlose Regler V1.2 </translation>
    </message>
    <message>
        <source>Choose COM</source>
        <translation>COM wählen</translation>
    </message>
    <message>
        <source>COM Connection</source>
        <translation>COM-Verbindung</translation>
    </message>
    <message>
        <source>ESC Hardware</source>
        <translation>Regler-Hardware</translation>
    </message>
    <message>
        <source>HW Type: Unknown</source>
        <translation>HW-Typ: unbekannt</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>HW-Version: unbek.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>FW-Version: unbekannt</translation>
    </message>
    <message>
        <source>ESC Connection</source>
        <translation>Regler-Verbindung</translation>
    </message>
    <message>
        <source>Parameter Setup/Display</source>
        <translation>Parameter einstellen/anzeigen</translation>
    </message>
    <message>
        <source>Cut Off Type</source>
        <translation>Abschaltart</translation>
    </message>
    <message>
        <source>Soft cut*</source>
        <translation>Sanft*</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Abschalten</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Akkutyp</translation>
    </message>
    <message>
        <source>Cut Off Voltage</source>
        <translation>Abschaltspannung</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Middle*</source>
        <translation>Mittel*</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Start Mode</source>
        <translation>Startart</translation>
    </message>
    <message>
        <source>Normal start*</source>
        <translation>Normal*</translation>
    </message>
    <message>
        <source>Soft start</source>
        <translation>Sanft</translation>
    </message>
    <message>
        <source>Very soft start</source>
        <translation>Sehr sanft</translation>
    </message>
    <message>
        <source>Brake Mode</source>
        <translation>Bremse</translation>
    </message>
    <message>
        <source>Brake off*</source>
        <translation>Aus*</translation>
    </message>
    <message>
        <source>Low brake</source>
        <translation>Schwach</translation>
    </message>
    <message>
        <source>Middle brake</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High brake</source>
        <translation>Stark</translation>
    </message>
    <message>
        <source>Timing option</source>
        <translation>Timing</translation>
    </message>
    <message>
        <source>Current limited sesitivity</source>
        <translation>Strombegrenzung</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Höchste</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Govener mode</source>
        <translation>Governor-Modus</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>EIN</translation>
    </message>
    <message>
        <source>Li-xx*</source>
        <translation>Li-xx*</translation>
    </message>
    <message>
        <source>Ni-xx</source>
        <translation>Ni-xx</translation>
    </message>
    <message>
        <source>Opration select</source>
        <translation>Betriebsart</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Drehzahl</translation>
    </message>
    <message>
        <source>Auto find hardware</source>
        <translation>Hardware suchen</translation>
    </message>
    <message>
        <source>Load setup</source>
        <translation>Einstellung laden</translation>
    </message>
    <message>
        <source>Save setup</source>
        <translation>Einstellung speichern</translation>
    </message>
    <message>
        <source>Update firmware</source>
        <translation>Firmware aktualisieren</translation>
    </message>
    <message>
        <source>Read ESC parameter</source>
        <translation>Parameter lesen</translation>
    </message>
    <message>
        <source>Restore default  parameter</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Download parameter to ESC</source>
        <translation>Parameter schreiben</translation>
    </message>
    <message>
        <source>Rotate speed test</source>
        <translation>Drehzahltest</translation>
    </message>
    <message>
        <source>Throttle signal</source>
        <translation>Gassignal</translation>
    </message>
    <message>
        <source>Polarity number</source>
        <translation>Polzahl</translation>
    </message>
    <message>
        <source>Rotate speed</source>
        <translation>Drehzahl</translation>
    </message>
    <message>
        <source>R/M</source>
        <translation>U/min</translation>
    </message>
    <message>
        <source>Current work status</source>
        <translation>Aktueller Zustand</translation>
    </message>
    <message>
        <source>Wait user command</source>
        <translation>Warte auf Befehl</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Zelt File (*.zelt)</source>
        <translation>Zelt-Datei (*.zelt)</translation>
    </message>
    <message>
        <source>ZELT ESC tool - remove the propeller before a speed test</source>
        <translation>ZELT Reglerwerkzeug - vor dem Drehzahltest den Propeller abnehmen</translation>
    </message>
    <message>
        <source>Speed plot</source>
        <translation>Drehzahlkurve</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Setting card connected</source>
        <translation>Einstellkarte verbunden</translation>
    </message>
    <message>
        <source>Setting card not connected</source>
        <translation>Einstellkarte nicht verbunden</translation>
    </message>
    <message>
        <source>ESC identified</source>
        <translation>Regler erkannt</translation>
    </message>
    <message>
        <source>No ESC identified</source>
        <translation>Kein Regler erkannt</translation>
    </message>
    <message>
        <source>Parameter mode selected</source>
        <translation>Parametermodus gewählt</translation>
    </message>
    <message>
        <source>Parameter mode not selected</source>
        <translation>Parametermodus nicht gewählt</translation>
    </message>
    <message>
        <source>Speed test mode not selected</source>
        <translation>Drehzahltest nicht gewählt</translation>
    </message>
    <message>
        <source>Speed test mode selected</source>
        <translation>Drehzahltest gewählt</translation>
    </message>
    <message>
        <source>%1% done</source>
        <translation>%1 % erledigt</translation>
    </message>
</context>
<context>
    <name>box_text</name>
    <message>
        <source>Hardware not connect or Comm port select error</source>
        <translation>Hardware nicht verbunden oder falscher COM-Anschluss gewählt</translation>
    </message>
    <message>
        <source>can not find hardware,please confirm:<byte value="xd"/>
  1.Hardware port connect.<byte value="xd"/>
  2.Hardware power.</source>
        <translation>Keine Hardware gefunden, bitte prüfen:<byte value="xd"/>
  1. Ist der Anschluss verbunden?<byte value="xd"/>
  2. Ist die Hardware eingeschaltet?</translation>
    </message>
    <message>
        <source>Receive data error</source>
        <translation>Fehler beim Empfang der Daten</translation>
    </message>
    <message>
        <source>Hardware not connect,please connect first</source>
        <translation>Hardware nicht verbunden, bitte zuerst verbinden</translation>
    </message>
    <message>
        <source>Send parameter to ESC OK</source>
        <translation>Parameter an den Regler gesendet</translation>
    </message>
    <message>
        <source>Save file error</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>Receive data error,Please update Hardware again</source>
        <translation>Fehler beim Empfang der Daten, bitte die Hardware erneut aktualisieren</translation>
    </message>
    <message>
        <source>Update hardware failure,Please update Hardware again</source>
        <translation>Aktualisierung fehlgeschlagen, bitte die Hardware erneut aktualisieren</translation>
    </message>
    <message>
        <source>sorry! You can not update of the ESC,<byte value="xd"/>
please contact manufacturers.</source>
        <translation>Dieser Regler kann leider nicht aktualisiert werden,<byte value="xd"/>
bitte wenden Sie sich an den Hersteller.</translation>
    </message>
    <message>
        <source>find setting card connected with%1<byte value="xd"/>
</source>
        <translation>Einstellkarte gefunden an %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>not find ESC</source>
        <translation>kein Regler gefunden</translation>
    </message>
    <message>
        <source>and find ESC%1</source>
        <translation>und Regler %1 gefunden</translation>
    </message>
    <message>
        <source>The version you want to upgrade is same with current ESC firmware version,
<byte value="xd"/>Do you want to continue?</source>
        <translation>Die gewählte Version ist dieselbe wie die Firmware des Reglers,
<byte value="xd"/>trotzdem fortfahren?</translation>
    </message>
    <message>
        <source>Are you really update hardware to V%1</source>
        <translation>Hardware wirklich auf V%1 aktualisieren?</translation>
    </message>
    <message>
        <source>Update hardware succeed,Firmware versionV%1.%2</source>
        <translation>Aktualisierung erfolgreich, Firmware-Version V%1.%2</translation>
    </message>
    <message>
        <source>Comm port open error！</source>
        <translation>Fehler beim Öffnen des Ports！</translation>
    </message>
    <message>
        <source>No value selected for %1. Choose one before downloading.</source>
        <translation>Kein Wert für %1 gewählt. Bitte vor dem Übertragen einen wählen.</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Die Firmware-Datei %1 lässt sich nicht öffnen:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Cannot read the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Die Firmware-Datei %1 lässt sich nicht lesen:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The firmware image %1 does not name its version in the first line (V, hex digit, point, hex digit).<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>Die Firmware-Datei %1 nennt in der ersten Zeile keine Version (V, Hex-Ziffer, Punkt, Hex-Ziffer).<byte value="xd"/>
An den Regler wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The firmware image %1 cannot be written: %2.<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>Die Firmware-Datei %1 kann nicht geschrieben werden: %2.<byte value="xd"/>
An den Regler wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>it holds %1 data lines, a complete image has %2</source>
        <translation>sie enthält %1 Datenzeilen, ein vollständiges Abbild hat %2</translation>
    </message>
    <message>
        <source>line %1 holds fewer than %2 hex digits</source>
        <translation>Zeile %1 enthält weniger als %2 Hex-Ziffern</translation>
    </message>
    <message>
        <source>line %1 holds a character that is not a hex digit</source>
        <translation>Zeile %1 enthält ein Zeichen, das keine Hex-Ziffer ist</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
File not found<byte value="xd"/>
Looked in:</source>
        <translation>Die Firmware-Datei %1 lässt sich nicht öffnen:<byte value="xd"/>
Datei nicht gefunden<byte value="xd"/>
Gesucht in:</translation>
    </message>
</context>
<context>
    <name>box_title</name>
    <message>
        <source>Comm error</source>
        <translation>Verbindungsfehler</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Require</source>
        <translation>Rückfrage</translation>
    </message>
    <message>
        <source>not find hardware</source>
        <translation>Keine Hardware gefunden</translation>
    </message>
    <message>
        <source>Find hardware</source>
        <translation>Hardware gefunden</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>Wait user command</source>
        <translation>Warte auf Befehl</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>Verbindungsfehler</translation>
    </message>
    <message>
        <source>Start switch port</source>
        <translation>Anschluss wird gewechselt</translation>
    </message>
    <message>
        <source>Start perform command--------</source>
        <translation>Befehl wird ausgeführt...</translation>
    </message>
    <message>
        <source>auto finding hardware....</source>
        <translation>Hardware wird gesucht...</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Suchergebnis</translation>
    </message>
    <message>
        <source>Reading ESC parameter </source>
        <translation>Parameter werden gelesen </translation>
    </message>
    <message>
        <source>Reading ESC parameter OK</source>
        <translation>Parameter gelesen</translation>
    </message>
    <message>
        <source>Send parameter to ESC</source>
        <translation>Parameter werden gesendet</translation>
    </message>
    <message>
        <source>Send parameter done</source>
        <translation>Parameter gesendet</translation>
    </message>
    <message>
        <source>Start update hardware....</source>
        <translation>Aktualisierung beginnt...</translation>
    </message>
    <message>
        <source>Update process:Writing ROM.......</source>
        <translation>Aktualisierung: ROM schreiben...</translation>
    </message>
    <message>
        <source>Verrify update data...</source>
        <translation>Daten werden geprüft...</translation>
    </message>
    <message>
        <source>Update hardware finished</source>
        <translation>Aktualisierung beendet</translation>
    </message>
    <message>
        <source>Testing rotate speed..</source>
        <translation>Drehzahltest läuft...</translation>
    </message>
    <message>
        <source>ESC speed answers stopped</source>
        <translation>Regler meldet keine Drehzahl</translation>
    </message>
</context>
</TS>
