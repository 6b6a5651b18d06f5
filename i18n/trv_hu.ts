<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu_HU">
<context>
    <name>ProgramFileMessages</name>
    <message>
        <source>%1 can&apos;t be read: %2.</source>
        <translation>%1 nem olvasható: %2.</translation>
    </message>
    <message>
        <source>%1 is not a control program file: it is %2 bytes long.</source>
        <translation>%1 nem vezérlőprogram-fájl: %2 bájt hosszú.</translation>
    </message>
    <message>
        <source>%1 is not a control program file: %2.</source>
        <translation>%1 nem vezérlőprogram-fájl: %2.</translation>
    </message>
    <message>
        <source>%1 is not a control program file: its &quot;%2&quot; is missing or wrong.</source>
        <translation>%1 nem vezérlőprogram-fájl: a &quot;%2&quot; hiányzik vagy hibás.</translation>
    </message>
    <message>
        <source>%1 was saved by a newer version of the application (file version %2); this version reads version %3.</source>
        <translation>%1 a program újabb verziójával készült (fájlverzió: %2); ez a verzió a(z) %3. verziót olvassa.</translation>
    </message>
    <message>
        <source>%1: item %2 has a missing or wrong &quot;%3&quot;.</source>
        <translation>%1: a(z) %2. tételből hiányzik a &quot;%3&quot;, vagy hibás.</translation>
    </message>
    <message>
        <source>%1 holds %2 items; a control program takes at most %3.</source>
        <translation>%1 %2 tételt tartalmaz; egy vezérlőprogram legfeljebb %3 tételből állhat.</translation>
    </message>
    <message>
        <source>%1: item %2 is program %3, which the catalogue doesn&apos;t have.</source>
        <translation>%1: a(z) %2. tétel a(z) %3. program, amely nincs a katalógusban.</translation>
    </message>
    <message>
        <source>%1: item %2 is a pause of %3 minutes and %4 seconds; a pause takes 0 to 99 minutes and 0 to 59 seconds, at least one second in all.</source>
        <translation>%1: a(z) %2. tétel %3 perc %4 másodperc szünet; a szünet 0–99 perc és 0–59 másodperc lehet, összesen legalább egy másodperc.</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2. A file already there is unchanged.</source>
        <translation>%1 nem menthető: %2. A már meglévő fájl nem változott.</translation>
    </message>
    <message>
        <source>%1: item %2, program %3, was saved as &quot;%4&quot;; the catalogue calls it &quot;%5&quot;. The program was taken by its number.</source>
        <translation>%1: a(z) %2. tétel, a(z) %3. program &quot;%4&quot; néven lett mentve; a katalógusban &quot;%5&quot;. A program a száma alapján került be.</translation>
    </message>
</context>
<context>
    <name>RecentPrograms</name>
    <message>
        <source>(none)</source>
        <translation>(nincs)</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Lista törlése</translation>
    </message>
</context>
<context>
    <name>trv::DesktopNotifier</name>
    <message>
        <source>The device is waiting</source>
        <translation>A készülék várakozik</translation>
    </message>
    <message>
        <source>It reached the wait at item %1 and holds the program until you continue.</source>
        <translation>Elérte a(z) %1. tétel várakozását, és a folytatásig megállítja a programot.</translation>
    </message>
    <message>
        <source>It reached a wait item and holds the program until you continue.</source>
        <translation>Várakozási tételhez ért, és a folytatásig megállítja a programot.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Folytatás</translation>
    </message>
    <message>
        <source>The device has finished</source>
        <translation>A készülék befejezte</translation>
    </message>
    <message>
        <source>The control program has ended.</source>
        <translation>A vezérlőprogram véget ért.</translation>
    </message>
    <message>
        <source>The device&apos;s power is low</source>
        <translation>A készülék töltöttsége alacsony</translation>
    </message>
    <message>
        <source>Charge the device&apos;s battery soon.</source>
        <translation>Hamarosan töltse fel a készülék akkumulátorát.</translation>
    </message>
    <message>
        <source>The device is not connected</source>
        <translation>A készülék nincs csatlakoztatva</translation>
    </message>
    <message>
        <source>The device can&apos;t be reached. Check the cable.</source>
        <translation>A készülék nem érhető el. Ellenőrizze a kábelt.</translation>
    </message>
</context>
<context>
    <name>trv::MainFrame</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fájl</translation>
    </message>
    <message>
        <source>&amp;Open Program...</source>
        <translation>Program &amp;megnyitása...</translation>
    </message>
    <message>
        <source>Save Program &amp;As...</source>
        <translation>Program mentése &amp;másként...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Legutóbbiak</translation>
    </message>
    <message>
        <source>&amp;Find Program...</source>
        <translation>Program &amp;keresése...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Kilépés</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Napló</translation>
    </message>
    <message>
        <source>&amp;Treatment Record...</source>
        <translation>&amp;Kezelési napló...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Súgó</translation>
    </message>
    <message>
        <source>Record Device &amp;Traffic</source>
        <translation>Készülékforgalom &amp;rögzítése</translation>
    </message>
    <message>
        <source>Desktop &amp;Notifications</source>
        <translation>Asztali é&amp;rtesítések</translation>
    </message>
    <message>
        <source>Show &amp;Log Folder</source>
        <translation>&amp;Naplómappa megnyitása</translation>
    </message>
    <message>
        <source>&amp;Copy Diagnostic Report</source>
        <translation>&amp;Diagnosztikai jelentés másolása</translation>
    </message>
    <message>
        <source>&amp;About trv</source>
        <translation>A trv &amp;névjegye</translation>
    </message>
    <message>
        <source>&lt;h3&gt;trv %1&lt;/h3&gt;&lt;p&gt;Composes control programs for the TRV device, downloads them and follows the device&apos;s status.&lt;/p&gt;&lt;p&gt;Copyright the trv developers. All rights reserved.&lt;/p&gt;&lt;p&gt;Data folder: %2&lt;br&gt;Treatment record: %3&lt;br&gt;Log: %4&lt;/p&gt;</source>
        <translation>&lt;h3&gt;trv %1&lt;/h3&gt;&lt;p&gt;Vezérlőprogramokat állít össze a TRV készülékhez, letölti őket és követi a készülék állapotát.&lt;/p&gt;&lt;p&gt;Szerzői jog: a trv fejlesztői. Minden jog fenntartva.&lt;/p&gt;&lt;p&gt;Adatmappa: %2&lt;br&gt;Kezelési napló: %3&lt;br&gt;Napló: %4&lt;/p&gt;</translation>
    </message>
    <message>
        <source>none</source>
        <translation>nincs</translation>
    </message>
    <message>
        <source>About trv</source>
        <translation>A trv névjegye</translation>
    </message>
</context>
<context>
    <name>trv::ProgramFileCommands</name>
    <message>
        <source>Control programs (*%1)</source>
        <translation>Vezérlőprogramok (*%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Minden fájl (*)</translation>
    </message>
    <message>
        <source>Open Program</source>
        <translation>Program megnyitása</translation>
    </message>
    <message>
        <source>Save Program As</source>
        <translation>Program mentése másként</translation>
    </message>
</context>
<context>
    <name>trv::ProgramFinderDialog</name>
    <message>
        <source>Find Program</source>
        <translation>Program keresése</translation>
    </message>
    <message>
        <source>Program number or name:</source>
        <translation>Program száma vagy neve:</translation>
    </message>
    <message>
        <source>Enter shows the program in the list, Enter again adds it to the control program.</source>
        <translation>Enter: a program megjelenik a listában; még egy Enter: bekerül a vezérlőprogramba.</translation>
    </message>
</context>
<context>
    <name>trv::RecordDocument</name>
    <message>
        <source>%1 to %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>from %1</source>
        <translation>%1 után</translation>
    </message>
    <message>
        <source>up to %1</source>
        <translation>%1 előtt</translation>
    </message>
    <message>
        <source>all entries</source>
        <translation>minden bejegyzés</translation>
    </message>
    <message>
        <source>Treatment record, %1</source>
        <translation>Kezelési napló, %1</translation>
    </message>
    <message>
        <source>, client filter &quot;%1&quot;</source>
        <translation>, kliensszűrő: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Made on %1</source>
        <translation>Készült: %1</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Dátum és idő</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Kliens</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programok</translation>
    </message>
    <message>
        <source>Total time</source>
        <translation>Teljes idő</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Eredmény</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Megjegyzés</translation>
    </message>
    <message>
        <source>Entries: %1</source>
        <translation>Bejegyzések: %1</translation>
    </message>
</context>
<context>
    <name>trv::RecordStore</name>
    <message>
        <source>The schema version can&apos;t be read</source>
        <translation>A séma verziója nem olvasható</translation>
    </message>
    <message>
        <source>The record was written by a newer version of trv (schema %1)</source>
        <translation>A naplót a trv egy újabb verziója írta (%1. séma)</translation>
    </message>
    <message>
        <source>The file is not a database</source>
        <translation>A fájl nem adatbázis</translation>
    </message>
    <message>
        <source>The file holds tables of something else</source>
        <translation>A fájl más célú táblákat tartalmaz</translation>
    </message>
    <message>
        <source>The tables can&apos;t be made</source>
        <translation>A táblák nem hozhatók létre</translation>
    </message>
    <message>
        <source>The record can&apos;t be updated</source>
        <translation>A napló nem frissíthető</translation>
    </message>
    <message>
        <source>The record can&apos;t be updated to schema %1</source>
        <translation>A napló nem frissíthető a(z) %1. sémára</translation>
    </message>
    <message>
        <source>The file can&apos;t be read</source>
        <translation>A fájl nem olvasható</translation>
    </message>
    <message>
        <source>The file is damaged</source>
        <translation>A fájl sérült</translation>
    </message>
    <message>
        <source>The file is no treatment record of this version</source>
        <translation>A fájl nem ennek a verziónak a kezelési naplója</translation>
    </message>
    <message>
        <source>The record has an older schema: start trv once to update it</source>
        <translation>A napló régebbi sémájú: a frissítéshez indítsa el egyszer a trv-t</translation>
    </message>
    <message>
        <source>There is no treatment record at %1.</source>
        <translation>Nincs kezelési napló itt: %1.</translation>
    </message>
    <message>
        <source>The folder %1 of the treatment record can&apos;t be made.</source>
        <translation>A kezelési napló mappája (%1) nem hozható létre.</translation>
    </message>
    <message>
        <source>The treatment record %1 can&apos;t be made: %2</source>
        <translation>A kezelési napló (%1) nem hozható létre: %2</translation>
    </message>
    <message>
        <source>The file can&apos;t be opened</source>
        <translation>A fájl nem nyitható meg</translation>
    </message>
    <message>
        <source>The treatment record %1 can&apos;t be used: %2</source>
        <translation>A kezelési napló (%1) nem használható: %2</translation>
    </message>
    <message>
        <source>The treatment record %1 can&apos;t be used (%2), and it can&apos;t be moved aside.</source>
        <translation>A kezelési napló (%1) nem használható (%2), és félre sem tehető.</translation>
    </message>
    <message>
        <source>The treatment record %1 can&apos;t be used (%2). It was moved to %3, but a new one can&apos;t be started: %4</source>
        <translation>A kezelési napló (%1) nem használható (%2). Áthelyeztük ide: %3, de új napló nem kezdhető: %4</translation>
    </message>
    <message>
        <source>The treatment record %1 could not be read (%2). It was moved to %3 and a new record was started.</source>
        <translation>A kezelési napló (%1) nem olvasható (%2). Áthelyeztük ide: %3, és új napló indult.</translation>
    </message>
    <message>
        <source>Can&apos;t begin an entry</source>
        <translation>A bejegyzés nem kezdhető el</translation>
    </message>
    <message>
        <source>Can&apos;t write the items</source>
        <translation>A tételek nem írhatók</translation>
    </message>
    <message>
        <source>Can&apos;t write the device</source>
        <translation>A készülék adatai nem írhatók</translation>
    </message>
    <message>
        <source>Can&apos;t end the entry</source>
        <translation>A bejegyzés nem zárható le</translation>
    </message>
    <message>
        <source>Can&apos;t add the event</source>
        <translation>Az esemény nem vehető fel</translation>
    </message>
    <message>
        <source>Can&apos;t write the client</source>
        <translation>A kliens nem írható</translation>
    </message>
    <message>
        <source>Can&apos;t write the note</source>
        <translation>A megjegyzés nem írható</translation>
    </message>
    <message>
        <source>Can&apos;t erase the entries</source>
        <translation>A bejegyzések nem törölhetők</translation>
    </message>
    <message>
        <source>Can&apos;t read the entries</source>
        <translation>A bejegyzések nem olvashatók</translation>
    </message>
</context>
<context>
    <name>trv::RecordTableModel</name>
    <message>
        <source>Unfinished</source>
        <translation>Befejezetlen</translation>
    </message>
    <message>
        <source>Verified and started</source>
        <translation>Ellenőrizve és elindítva</translation>
    </message>
    <message>
        <source>Verified, not started</source>
        <translation>Ellenőrizve, nem indult el</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Sikertelen</translation>
    </message>
    <message>
        <source>Closed by the user</source>
        <translation>A felhasználó bezárta</translation>
    </message>
    <message>
        <source>Device kept its program</source>
        <translation>A készülék megtartotta a programját</translation>
    </message>
    <message>
        <source>Self-test: %1</source>
        <translation>Önteszt: %1</translation>
    </message>
    <message>
        <source>Resume: %1</source>
        <translation>Folytatás: %1</translation>
    </message>
    <message>
        <source> (message %1)</source>
        <translation> (%1. üzenet)</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Dátum és idő</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Kliens</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programok</translation>
    </message>
    <message>
        <source>Total time</source>
        <translation>Teljes idő</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Eredmény</translation>
    </message>
</context>
<context>
    <name>trv::RecordWriter</name>
    <message>
        <source>The treatment record %1 can&apos;t be written.</source>
        <translation>A kezelési napló (%1) nem írható.</translation>
    </message>
</context>
<context>
    <name>trv::TreatmentRecord</name>
    <message>
        <source>The treatment record can&apos;t be kept: %1</source>
        <translation>A kezelési napló nem vezethető: %1</translation>
    </message>
</context>
<context>
    <name>trv::TreatmentRecordWindow</name>
    <message>
        <source>Treatment Record</source>
        <translation>Kezelési napló</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Ettől</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Eddig</translation>
    </message>
    <message>
        <source>Client, note or program name</source>
        <translation>Kliens, megjegyzés vagy programnév</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Keresés:</translation>
    </message>
    <message>
        <source>Client:</source>
        <translation>Kliens:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Megjegyzés:</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV-exportálás...</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>PDF-exportálás...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Nyomtatás...</translation>
    </message>
    <message>
        <source>Delete Entries...</source>
        <translation>Bejegyzések törlése...</translation>
    </message>
    <message>
        <source>Erases the entries the period and the search take, after a question</source>
        <translation>Megerősítés után törli az időszak és a keresés szerinti bejegyzéseket</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Bezárás</translation>
    </message>
    <message>
        <source>Began %1</source>
        <translation>Kezdete: %1</translation>
    </message>
    <message>
        <source>Ended %1</source>
        <translation>Vége: %1</translation>
    </message>
    <message>
        <source>Message %1: %2</source>
        <translation>%1. üzenet: %2</translation>
    </message>
    <message>
        <source>Device version %1, correction %2 %</source>
        <translation>Készülékverzió: %1, korrekció: %2 %</translation>
    </message>
    <message>
        <source>Verifications: %1</source>
        <translation>Ellenőrzések: %1</translation>
    </message>
    <message>
        <source>Started from item %1</source>
        <translation>Indítás a(z) %1. tételtől</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>%1. program</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Szünet</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Várakozás</translation>
    </message>
    <message>
        <source>Total time</source>
        <translation>Teljes idő</translation>
    </message>
    <message>
        <source>Device status</source>
        <translation>Készülékállapot</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV-exportálás</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-fájlok (*.csv)</translation>
    </message>
    <message>
        <source>%1 can&apos;t be written: %2</source>
        <translation>%1 nem írható: %2</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>Exportálva ide: %1</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF-exportálás</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-fájlok (*.pdf)</translation>
    </message>
    <message>
        <source>No entries to delete</source>
        <translation>Nincs törölhető bejegyzés</translation>
    </message>
    <message>
        <source>Held by the user</source>
        <translation>A felhasználó megállította</translation>
    </message>
    <message>
        <source>Continued by the user</source>
        <translation>A felhasználó folytatta</translation>
    </message>
    <message>
        <source>Resume asked for</source>
        <translation>Folytatás kérve</translation>
    </message>
    <message>
        <source>Device stopped at a wait</source>
        <translation>A készülék várakozásnál megállt</translation>
    </message>
    <message>
        <source>Device found idle: the program ended</source>
        <translation>A készülék tétlen: a program véget ért</translation>
    </message>
    <message>
        <source>Power low (level %1)</source>
        <translation>Alacsony töltöttség (%1. szint)</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation>A kapcsolat megszakadt</translation>
    </message>
    <message>
        <source>, item %1</source>
        <translation>, %1. tétel</translation>
    </message>
    <message>
        <source>Entries: %1 and more</source>
        <translation>Bejegyzések: %1 és még több</translation>
    </message>
    <message>
        <source>Entries: %1</source>
        <translation>Bejegyzések: %1</translation>
    </message>
    <message>
        <source>Delete for good the %1 entries of %2? This can&apos;t be undone.</source>
        <translation>Véglegesen törli a(z) %1 bejegyzést (%2)? Ez nem vonható vissza.</translation>
    </message>
    <message>
        <source>Entries deleted: %1</source>
        <translation>Törölt bejegyzések: %1</translation>
    </message>
    <message>
        <source>Printing isn&apos;t available: %1</source>
        <translation>A nyomtatás nem érhető el: %1</translation>
    </message>
</context>
</TS>
