<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CompilerDirectories</name>
    <message>
        <location filename="../CompilerDirectories.cpp" line="49"/>
        <source>%1 was found neither beside the wizard nor on PATH.</source>
        <translation>%1 wurde weder neben dem Assistenten noch in PATH gefunden.</translation>
    </message>
    <message>
        <location filename="../CompilerDirectories.cpp" line="64"/>
        <source>A wrapper for the compiler %1, whose path has blanks, could not be written to %2.</source>
        <translation>Für den Compiler %1, dessen Pfad Leerzeichen enthält, konnte kein Aufrufskript nach %2 geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../CompilerDirectories.cpp" line="76"/>
        <source>%1 could not be started: %2</source>
        <translation>%1 konnte nicht gestartet werden: %2</translation>
    </message>
    <message>
        <location filename="../CompilerDirectories.cpp" line="81"/>
        <source>%1 did not answer within %2 seconds and was stopped.</source>
        <translation>%1 hat nicht innerhalb von %2 Sekunden geantwortet und wurde beendet.</translation>
    </message>
    <message>
        <location filename="../CompilerDirectories.cpp" line="87"/>
        <source>%1 failed for %2 (exit status %3). %4</source>
        <translation>%1 ist für %2 gescheitert (Exit-Status %3). %4</translation>
    </message>
    <message>
        <location filename="../CompilerDirectories.cpp" line="95"/>
        <source>%1 named no header directories. It may not be gcc-like, or the command may be wrong; add its directories with Add.</source>
        <translation>%1 hat keine Header-Verzeichnisse genannt. Vielleicht ist er nicht gcc-artig, oder der Befehl stimmt nicht; fügen Sie seine Verzeichnisse mit „Hinzufügen“ an.</translation>
    </message>
</context>
<context>
    <name>EngineOutput</name>
    <message>
        <location filename="../EngineOutput.cpp" line="45"/>
        <source>Note: the value of %1 cannot be printed by a test program. Names that the preprocessor handles itself, such as __has_include, have no such value; this is no error and the run goes on.</source>
        <translation>Hinweis: Den Wert von %1 kann kein Testprogramm ausgeben. Namen, die der Präprozessor selbst behandelt, etwa __has_include, haben keinen solchen Wert; das ist kein Fehler, und der Lauf geht weiter.</translation>
    </message>
    <message>
        <location filename="../EngineOutput.cpp" line="52"/>
        <source>Kestrix did not start: another run is using the working directory %1, most likely from a second wizard window. Wait for that run to end, or stop it there, then press Generate again.</source>
        <translation>Kestrix ist nicht gestartet: Ein anderer Lauf benutzt das Arbeitsverzeichnis %1, wahrscheinlich aus einem zweiten Fenster des Assistenten. Warten Sie, bis dieser Lauf endet, oder halten Sie ihn dort an, und drücken Sie dann erneut Erzeugen.</translation>
    </message>
</context>
<context>
    <name>KestrixWizard</name>
    <message>
        <location filename="../KestrixWizard.cpp" line="28"/>
        <source>Exe Command</source>
        <translation>Compilerbefehl</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="28"/>
        <source>Output Flag</source>
        <translation>Ausgabeschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="29"/>
        <source>&lt;exe file&gt;</source>
        <translation>&lt;Programmdatei&gt;</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="29"/>
        <source>Define Flag</source>
        <translation>Definitionsschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="30"/>
        <source>Object Flag</source>
        <translation>Objektschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="30"/>
        <source>&lt;src file&gt;</source>
        <translation>&lt;Quelldatei&gt;</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="75"/>
        <source>Destination folder for the Personality.</source>
        <translation>Zielordner für die Persönlichkeit.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="76"/>
        <source>Destination folder does not exist please select a different folder.</source>
        <translation>Der Zielordner existiert nicht, bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="77"/>
        <source>Specify the command required to invoke the compiler from the command line.</source>
        <translation>Geben Sie den Befehl an, mit dem der Compiler auf der Kommandozeile aufgerufen wird.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="78"/>
        <source>Command specified is not on the path, please amend the path or fully qualify this command.</source>
        <translation>Der angegebene Befehl ist nicht im Suchpfad; bitte ergänzen Sie PATH oder geben Sie den vollständigen Pfad an.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="79"/>
        <source>Please complete the command as per the &lt;specify&gt; entries.</source>
        <translation>Bitte vervollständigen Sie den Befehl an den mit &lt;specify&gt; markierten Stellen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="80"/>
        <source>The personality name is a file name and cannot contain &quot;/&quot;; choose the folder as the destination.</source>
        <translation>Der Name der Persönlichkeit ist ein Dateiname und darf kein „/“ enthalten; wählen Sie den Ordner als Ziel.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="85"/>
        <source>&amp;Generate</source>
        <translation>&amp;Erzeugen</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="261"/>
        <source>%1 (Alt+%2)</source>
        <translation>%1 (Alt+%2)</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="325"/>
        <source>Close the wizard? The settings entered are kept for the next start.</source>
        <translation>Den Assistenten schließen? Die eingegebenen Einstellungen bleiben für den nächsten Start erhalten.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="406"/>
        <source>Enter the destination folder of the personality to go on.</source>
        <translation>Geben Sie den Zielordner der Persönlichkeit an, um weiterzugehen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="408"/>
        <source>Enter the personality name to go on.</source>
        <translation>Geben Sie den Namen der Persönlichkeit an, um weiterzugehen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="425"/>
        <source>The define flag is empty: every test defines macros with it (for example -D).</source>
        <translation>Der Definitionsschalter ist leer: jeder Test definiert damit Makros (zum Beispiel -D).</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="427"/>
        <source>The object flag is empty: every test compiles to an object file with it (for example -c).</source>
        <translation>Der Objektschalter ist leer: jeder Test übersetzt damit in eine Objektdatei (zum Beispiel -c).</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="657"/>
        <source>%1 does not exist; a run leaves it out.</source>
        <translation>%1 existiert nicht; ein Lauf lässt es aus.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="712"/>
        <source>No header directories come with %1. Remove the directories listed now, which may belong to another compiler?</source>
        <translation>Mit %1 kommen keine Header-Verzeichnisse. Die jetzt aufgeführten Verzeichnisse entfernen, die zu einem anderen Compiler gehören könnten?</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="702"/>
        <location filename="../KestrixWizard.cpp" line="714"/>
        <source>Replace the header directories listed now with those of %1?

%2</source>
        <translation>Die jetzt aufgeführten Header-Verzeichnisse durch die von %1 ersetzen?

%2</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="432"/>
        <source>Enter the compiler command, or choose one with the Catalogue button, to go on.</source>
        <translation>Geben Sie den Compilerbefehl ein oder wählen Sie einen mit der Schaltfläche Katalog, um weiterzugehen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="457"/>
        <source>The compiler page is not complete.</source>
        <translation>Die Compiler-Seite ist nicht vollständig.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="461"/>
        <source>A run is in progress; Generate is available again when it ends.</source>
        <translation>Ein Lauf ist im Gange; Erzeugen ist wieder verfügbar, wenn er endet.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="462"/>
        <source>Runs Kestrix with these settings and writes %1.</source>
        <translation>Startet Kestrix mit diesen Einstellungen und schreibt %1.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="498"/>
        <source>The compiler &quot;%1&quot; was chosen from the catalogue for C++, and Zanth analyses C.</source>
        <translation>Der Compiler „%1“ wurde aus dem Katalog für C++ gewählt, und Zanth analysiert C.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="499"/>
        <source>The compiler &quot;%1&quot; was chosen from the catalogue for C, and Zanth++ analyses C++.</source>
        <translation>Der Compiler „%1“ wurde aus dem Katalog für C gewählt, und Zanth++ analysiert C++.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="502"/>
        <source>Clear everything that came with it (the command, flags, object file extension, switches, defines, header directories and its files), so that another compiler can be chosen with the Catalogue button on the Compiler page?

No keeps the settings as they are.</source>
        <translation>Alles leeren, was mit ihm kam (Befehl, Flags, Objektdatei-Endung, Schalter, Defines, Header-Verzeichnisse und seine Dateien), damit mit der Schaltfläche Katalog auf der Compiler-Seite ein anderer Compiler gewählt werden kann?

Nein lässt die Einstellungen, wie sie sind.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="674"/>
        <location filename="../KestrixWizard.cpp" line="730"/>
        <location filename="../KestrixWizard.cpp" line="739"/>
        <location filename="../KestrixWizard.cpp" line="744"/>
        <source>Search Directories</source>
        <translation>Suchverzeichnisse</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="690"/>
        <source>Every header directory of %1 is listed already, in its order; the list is unchanged. These listed directories are not among the compiler&apos;s and stay:

%2</source>
        <translation>Jedes Header-Verzeichnis von %1 steht bereits in der Liste, in seiner Reihenfolge; die Liste bleibt unverändert. Diese aufgeführten Verzeichnisse gehören nicht zu denen des Compilers und bleiben:

%2</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="697"/>
        <source>%1 searches these header directories:

%2

The list also holds these, which %1 does not name:

%3

Keep them in their places? No removes them.</source>
        <translation>%1 durchsucht diese Header-Verzeichnisse:

%2

Die Liste enthält auch diese, die %1 nicht nennt:

%3

Sollen sie an ihrem Platz bleiben? Nein entfernt sie.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="731"/>
        <source>The compiler command &quot;%1&quot; cannot be run; complete it on the compiler page first.</source>
        <translation>Der Compilerbefehl „%1“ lässt sich nicht ausführen; vervollständigen Sie ihn zuerst auf der Compiler-Seite.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="742"/>
        <location filename="../KestrixWizardCatalogue.cpp" line="142"/>
        <source>the compiler &quot;%1&quot;</source>
        <translation>dem Compiler „%1“</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="745"/>
        <source>The header directories of %1 are those listed, in the same order; the list is unchanged.</source>
        <translation>Die Header-Verzeichnisse von %1 sind die aufgeführten, in derselben Reihenfolge; die Liste bleibt unverändert.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="763"/>
        <source>Object build: %1</source>
        <translation>Objekt: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="766"/>
        <source>Program build: %1</source>
        <translation>Programm: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="324"/>
        <location filename="../KestrixWizard.cpp" line="503"/>
        <location filename="../KestrixWizardCatalogue.cpp" line="78"/>
        <location filename="../KestrixWizardCatalogue.cpp" line="245"/>
        <location filename="../KestrixWizardCatalogue.cpp" line="252"/>
        <location filename="../KestrixWizardRun.cpp" line="214"/>
        <location filename="../KestrixWizardRun.cpp" line="223"/>
        <location filename="../KestrixWizardRun.cpp" line="278"/>
        <location filename="../KestrixWizardRun.cpp" line="354"/>
        <location filename="../KestrixWizardRun.cpp" line="503"/>
        <location filename="../KestrixWizardRun.cpp" line="516"/>
        <location filename="../KestrixWizardRun.cpp" line="541"/>
        <source>Compiler Personality Generator</source>
        <translation>Compiler-Persönlichkeitsgenerator</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="557"/>
        <source>Select the Compiler Personality Destination Directory</source>
        <translation>Zielordner für die Compiler-Persönlichkeit wählen</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="608"/>
        <location filename="../KestrixWizard.cpp" line="620"/>
        <source>Select The Compiler Header File Directory</source>
        <translation>Ordner mit Header-Dateien des Compilers wählen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="79"/>
        <source>The generator will now close and take you to the download site for the latest integration package to be installed.</source>
        <translation>Der Generator wird jetzt geschlossen und öffnet die Download-Seite des neuesten Integrationspakets, das installiert werden muss.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="136"/>
        <source>the catalogue entry &quot;%1&quot;</source>
        <translation>dem Katalogeintrag „%1“</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="197"/>
        <source>Stores the settings of the last run, which wrote %1, in the compiler catalogue.</source>
        <translation>Speichert die Einstellungen des letzten Laufs, der %1 geschrieben hat, im Compilerkatalog.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="199"/>
        <source>The pages no longer hold the settings of the last successful run. Press Generate with these settings before saving them, or put the settings of that run back.</source>
        <translation>Die Seiten enthalten nicht mehr die Einstellungen des letzten erfolgreichen Laufs. Drücken Sie mit diesen Einstellungen Erzeugen, bevor Sie sie speichern, oder stellen Sie die Einstellungen jenes Laufs wieder her.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="201"/>
        <source>Available after a successful run: only settings that have produced a personality are stored.</source>
        <translation>Verfügbar nach einem erfolgreichen Lauf: Gespeichert werden nur Einstellungen, die eine Persönlichkeit erzeugt haben.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="246"/>
        <source>The settings of the last run are saved in the catalogue %1 as the compiler &quot;%2&quot; of the family &quot;%3&quot;.</source>
        <translation>Die Einstellungen des letzten Laufs sind im Katalog %1 als Compiler „%2“ der Familie „%3“ gespeichert.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="253"/>
        <source>The compiler catalogue %1 could not be written: %2

The entry &quot;%3&quot; is kept for this session; press &quot;Save Compiler&quot; again once the file can be written.</source>
        <translation>Der Compilerkatalog %1 konnte nicht geschrieben werden: %2

Der Eintrag „%3“ bleibt für diese Sitzung erhalten; drücken Sie erneut „Compiler speichern“, sobald die Datei geschrieben werden kann.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="229"/>
        <source>Initialising Compiler Personality Generation ...
</source>
        <translation>Die Erzeugung der Compiler-Persönlichkeit wird vorbereitet ...
</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="132"/>
        <source>[stderr] %1</source>
        <translation>[stderr] %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="183"/>
        <source>Running for %1</source>
        <translation>Läuft seit %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="184"/>
        <source>Running for %1: %2</source>
        <translation>Läuft seit %1: %2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="200"/>
        <source>The earlier probe file %1 could not be removed: %2. It is not shown for this run.</source>
        <translation>Die frühere Testdatei %1 konnte nicht entfernt werden: %2. Sie wird für diesen Lauf nicht angezeigt.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="215"/>
        <source>These header directories do not exist and are left out of the run:

%1

Generate the personality without them?</source>
        <translation>Diese Header-Verzeichnisse existieren nicht und werden im Lauf ausgelassen:

%1

Die Persönlichkeit ohne sie erzeugen?</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="224"/>
        <source>The personality %1 exists already. Replace it with the result of this run?

It is replaced only when the run succeeds.</source>
        <translation>Die Persönlichkeit %1 gibt es bereits. Soll sie durch das Ergebnis dieses Laufs ersetzt werden?

Sie wird nur ersetzt, wenn der Lauf gelingt.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="273"/>
        <source>Kestrix could not be started (%1). It is looked for in the folders of PATH (%2). Start the wizard with kestrix-wizard-launch, which puts Kestrix on PATH, or add the folder that holds Kestrix to PATH.</source>
        <translation>Kestrix konnte nicht gestartet werden (%1). Es wird in den Ordnern von PATH (%2) gesucht. Starten Sie den Assistenten mit kestrix-wizard-launch, das Kestrix in PATH aufnimmt, oder fügen Sie den Ordner, der Kestrix enthält, zu PATH hinzu.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="276"/>
        <source>Kestrix could not be started</source>
        <translation>Kestrix konnte nicht gestartet werden</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="304"/>
        <source>Stopping the run ...</source>
        <translation>Der Lauf wird angehalten ...</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="357"/>
        <source>%1 is as it was before the run.</source>
        <translation>%1 ist wie vor dem Lauf.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="358"/>
        <source>There was no personality at %1 before the run, and there is none now.</source>
        <translation>Vor dem Lauf gab es keine Persönlichkeit unter %1, und es gibt auch jetzt keine.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="360"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="364"/>
        <source>Personality Generated Successfully! It was written to %1.</source>
        <translation>Persönlichkeit erfolgreich erzeugt! Sie wurde nach %1 geschrieben.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="365"/>
        <source>&quot;Export for clang, cppcheck&quot; writes its facts beside it for clang-based tools, cppcheck and as a header.</source>
        <translation>„Für clang, cppcheck exportieren“ schreibt ihre Fakten daneben, für clang-basierte Werkzeuge, für cppcheck und als Header.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="366"/>
        <source>Personality written after %1</source>
        <translation>Persönlichkeit nach %1 geschrieben</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="368"/>
        <source>The personality was written to %1, but data that the run needs was missing: some results may be absent. The messages in the log name what was missing.</source>
        <translation>Die Persönlichkeit wurde nach %1 geschrieben, aber Daten, die der Lauf braucht, fehlten: manche Ergebnisse können fehlen. Die Meldungen im Protokoll nennen, was fehlte.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="370"/>
        <source>Warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="371"/>
        <source>Personality written with missing data after %1</source>
        <translation>Persönlichkeit mit fehlenden Daten nach %1 geschrieben</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="375"/>
        <source>The run was stopped after %1. No new personality was written; %2</source>
        <translation>Der Lauf wurde nach %1 angehalten. Es wurde keine neue Persönlichkeit geschrieben; %2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="382"/>
        <source>Kestrix was interrupted (exit status %1); %2</source>
        <translation>Kestrix wurde unterbrochen (Exit-Status %1); %2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="548"/>
        <source>Kestrix run log</source>
        <translation>Protokoll eines Kestrix-Laufs</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="548"/>
        <source>Kestrix version: %1</source>
        <translation>Kestrix-Version: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="549"/>
        <source>Started: %1</source>
        <translation>Gestartet: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="550"/>
        <source>Compiler: %1</source>
        <translation>Compiler: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="551"/>
        <source>Personality: %1</source>
        <translation>Persönlichkeit: %1</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="551"/>
        <source>Settings of the run:</source>
        <translation>Einstellungen des Laufs:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="552"/>
        <source>Log:</source>
        <translation>Protokoll:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="376"/>
        <source>Run stopped after %1</source>
        <translation>Lauf nach %1 angehalten</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="380"/>
        <source>Kestrix was ended by signal %1 (%2).</source>
        <translation>Kestrix wurde durch Signal %1 (%2) beendet.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="384"/>
        <source>Kestrix failed with exit status %1.</source>
        <translation>Kestrix ist mit Exit-Status %1 gescheitert.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="386"/>
        <source>Run failed after %1</source>
        <translation>Lauf nach %1 gescheitert</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="390"/>
        <source>Another run of Kestrix is using the working directory %1, most likely from a second wizard window. Wait for that run to end, or stop it there, then press Generate again.</source>
        <translation>Ein anderer Lauf von Kestrix benutzt das Arbeitsverzeichnis %1, wahrscheinlich aus einem zweiten Fenster des Assistenten. Warten Sie, bis dieser Lauf endet, oder halten Sie ihn dort an, und drücken Sie dann erneut Erzeugen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="401"/>
        <source>Personality Generation Failed!</source>
        <translation>Die Erzeugung der Persönlichkeit ist fehlgeschlagen!</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="403"/>
        <source>Personality Generation Failed!
Please check the details on screen and try again.</source>
        <translation>Die Erzeugung der Persönlichkeit ist fehlgeschlagen!
Bitte prüfen Sie die angezeigten Einzelheiten und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="441"/>
        <source>The object build &quot;%1&quot; did not end within 20 seconds.</source>
        <translation>Die Objekterzeugung „%1“ endete nicht innerhalb von 20 Sekunden.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="455"/>
        <source>The object build &quot;%1&quot; wrote %2, but no file ending in &quot;%3&quot;, the object file extension on the compiler page. Set the extension to &quot;%4&quot; and press Generate again.</source>
        <translation>Die Objekterzeugung „%1“ schrieb %2, aber keine Datei mit der Endung „%3“, der Objektdatei-Endung auf der Compiler-Seite. Setzen Sie die Endung auf „%4“ und drücken Sie erneut Erzeugen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="459"/>
        <source>The object build &quot;%1&quot; wrote no file (exit status %2); check the object flag on the compiler page.%3</source>
        <translation>Die Objekterzeugung „%1“ schrieb keine Datei (Exit-Status %2); prüfen Sie das Objekt-Flag auf der Compiler-Seite.%3</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="474"/>
        <source>The run made no compile before it ended; the messages above give the reason.</source>
        <translation>Der Lauf hat vor seinem Ende nichts übersetzt; die Meldungen oben nennen den Grund.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="477"/>
        <source>

Command Attempted:
</source>
        <translation>

Versuchter Befehl:
</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="477"/>
        <source>
 ---- stdout details ----
</source>
        <translation>
 ---- Standardausgabe ----
</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="478"/>
        <source>
 ---- stderr details ----
</source>
        <translation>
 ---- Standardfehlerausgabe ----
</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="504"/>
        <source>A personality is being generated. Stop the run and close the wizard?

The previous personality is left as it was.</source>
        <translation>Eine Persönlichkeit wird gerade erzeugt. Den Lauf anhalten und den Assistenten schließen?

Die bisherige Persönlichkeit bleibt, wie sie war.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="517"/>
        <source>The settings could not be saved to %1. Close the wizard anyway? What was entered since the last run is then lost.</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden. Den Assistenten trotzdem schließen? Was seit dem letzten Lauf eingegeben wurde, geht dann verloren.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="532"/>
        <source>Save Log File as ..</source>
        <translation>Protokoll speichern unter ..</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="533"/>
        <source>Log Files (*.txt *.log)</source>
        <translation>Protokolldateien (*.txt *.log)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="542"/>
        <source>The log could not be saved to %1: %2</source>
        <translation>Das Protokoll konnte nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="36"/>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="36"/>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="49"/>
        <source>%1 (does not exist; left out of the run)</source>
        <translation>%1 (existiert nicht; im Lauf ausgelassen)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="55"/>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="57"/>
        <source>Product:</source>
        <translation>Produkt:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="58"/>
        <source>Personality Destination Directory:</source>
        <translation>Zielordner der Persönlichkeit:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="59"/>
        <source>Personality Name:</source>
        <translation>Name der Persönlichkeit:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="60"/>
        <source>Personality File:</source>
        <translation>Persönlichkeitsdatei:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="61"/>
        <source>Compiler:</source>
        <translation>Compiler:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="62"/>
        <source>Cross Compiler:</source>
        <translation>Cross-Compiler:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="63"/>
        <source>Compiler Output Flag:</source>
        <translation>Ausgabeschalter des Compilers:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="64"/>
        <source>Compiler Object File Generation Flag:</source>
        <translation>Objektschalter des Compilers:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="65"/>
        <source>Compiler Define Flag:</source>
        <translation>Definitionsschalter des Compilers:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="66"/>
        <source>Object File Extension:</source>
        <translation>Objektdatei-Endung:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="67"/>
        <source>Reduce File Size:</source>
        <translation>Dateigröße verringern:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="68"/>
        <source>Compiler Header Directories:</source>
        <translation>Header-Verzeichnisse des Compilers:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="69"/>
        <source>Compiler Defines:</source>
        <translation>Compiler-Definitionen:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="70"/>
        <source>Compiler Switches:</source>
        <translation>Compilerschalter:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="71"/>
        <source>Template Personality File:</source>
        <translation>Vorlage-Persönlichkeit:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="72"/>
        <source>Force Include File:</source>
        <translation>Zwangsweise eingebundene Datei:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="73"/>
        <source>Substitute Headers:</source>
        <translation>Ersatz-Header:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="95"/>
        <source>Compiler Command Order:</source>
        <translation>Reihenfolge im Übersetzungsbefehl:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="110"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="131"/>
        <source>The settings could not be saved to %1: %2</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="47"/>
        <source>Export for clang, cppcheck</source>
        <translation>Für clang, cppcheck exportieren</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="53"/>
        <source>%1 was found neither beside the wizard nor in the folders of PATH, so %2 cannot be exported.</source>
        <translation>%1 wurde weder neben dem Assistenten noch in den Ordnern von PATH gefunden; %2 kann daher nicht exportiert werden.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="59"/>
        <source>The personality %1 is gone; generate it again before exporting it.</source>
        <translation>Die Persönlichkeit %1 ist nicht mehr da; erzeugen Sie sie erneut, bevor Sie sie exportieren.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="75"/>
        <source>These files exist already and are replaced by the export:

%1

Export anyway?</source>
        <translation>Diese Dateien gibt es bereits, und der Export ersetzt sie:

%1

Trotzdem exportieren?</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="89"/>
        <source>%1 %2 did not finish within a minute, or could not be started: %3</source>
        <translation>%1 %2 wurde nicht innerhalb einer Minute fertig oder konnte nicht gestartet werden: %3</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="94"/>
        <source>%1 could not export %2 for %3 (exit status %4):

%5</source>
        <translation>%1 konnte %2 nicht für %3 exportieren (Exit-Status %4):

%5</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="114"/>
        <source>Exported from %1; every file lists in its comments the facts that its format cannot hold.</source>
        <translation>Exportiert aus %1; jede Datei nennt in ihren Kommentaren die Fakten, die ihr Format nicht fassen kann.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="115"/>
        <source>Files written:</source>
        <translation>Geschriebene Dateien:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="118"/>
        <source>clang-based tools (clang, clang-tidy, clangd):</source>
        <translation>Clang-basierte Werkzeuge (clang, clang-tidy, clangd):</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="121"/>
        <source>clangd and clang-tidy read compile_flags.txt in the folder of the sources or above it; %1 holds the same flags for a .clangd file.</source>
        <translation>clangd und clang-tidy lesen compile_flags.txt im Ordner der Quellen oder darüber; %1 enthält dieselben Flags für eine .clangd-Datei.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="123"/>
        <source>cppcheck:</source>
        <translation>cppcheck:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="127"/>
        <source>Other tools, as a forced include (the option as compilers spell it):</source>
        <translation>Andere Werkzeuge, als zwangsweise eingebundene Datei (die Option, wie Compiler sie schreiben):</translation>
    </message>
    <message>
        <location filename="../KestrixWizardExport.cpp" line="132"/>
        <source>Exported %1 for clang-based tools and cppcheck, and as a header: %2 files beside it, listed with their use on the Exported Files tab.</source>
        <translation>%1 für clang-basierte Werkzeuge und cppcheck sowie als Header exportiert: %2 Dateien daneben, mit ihrer Verwendung aufgeführt auf der Registerkarte Exportierte Dateien.</translation>
    </message>
</context>
<context>
    <name>KestrixWizardBase</name>
    <message>
        <location filename="../KestrixWizardBase.ui" line="14"/>
        <source>Compiler Personality Generator 2.0.2</source>
        <translation>Compiler-Persönlichkeitsgenerator 2.0.2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="23"/>
        <location filename="../KestrixWizardBase.ui" line="372"/>
        <location filename="../KestrixWizardBase.ui" line="869"/>
        <location filename="../KestrixWizardBase.ui" line="1173"/>
        <location filename="../KestrixWizardBase.ui" line="1460"/>
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="26"/>
        <location filename="../KestrixWizardBase.ui" line="375"/>
        <location filename="../KestrixWizardBase.ui" line="872"/>
        <location filename="../KestrixWizardBase.ui" line="1176"/>
        <location filename="../KestrixWizardBase.ui" line="1463"/>
        <source>Product and output: the analyser and where the personality goes</source>
        <translation>Produkt und Ausgabe: der Analysator und wohin die Persönlichkeit geschrieben wird</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="69"/>
        <location filename="../KestrixWizardBase.ui" line="413"/>
        <location filename="../KestrixWizardBase.ui" line="910"/>
        <location filename="../KestrixWizardBase.ui" line="1214"/>
        <location filename="../KestrixWizardBase.ui" line="1501"/>
        <source>Compiler</source>
        <translation>Compiler</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="72"/>
        <location filename="../KestrixWizardBase.ui" line="416"/>
        <location filename="../KestrixWizardBase.ui" line="913"/>
        <location filename="../KestrixWizardBase.ui" line="1217"/>
        <location filename="../KestrixWizardBase.ui" line="1504"/>
        <source>Compiler command: how the compiler is invoked</source>
        <translation>Compilerbefehl: wie der Compiler aufgerufen wird</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="110"/>
        <location filename="../KestrixWizardBase.ui" line="459"/>
        <location filename="../KestrixWizardBase.ui" line="951"/>
        <location filename="../KestrixWizardBase.ui" line="1255"/>
        <location filename="../KestrixWizardBase.ui" line="1542"/>
        <source>Directories</source>
        <translation>Verzeichnisse</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="113"/>
        <location filename="../KestrixWizardBase.ui" line="462"/>
        <location filename="../KestrixWizardBase.ui" line="954"/>
        <location filename="../KestrixWizardBase.ui" line="1258"/>
        <location filename="../KestrixWizardBase.ui" line="1545"/>
        <source>Search directories: where the compiler keeps its headers</source>
        <translation>Suchverzeichnisse: wo der Compiler seine Header-Dateien hat</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="151"/>
        <location filename="../KestrixWizardBase.ui" line="500"/>
        <location filename="../KestrixWizardBase.ui" line="997"/>
        <location filename="../KestrixWizardBase.ui" line="1296"/>
        <location filename="../KestrixWizardBase.ui" line="1583"/>
        <source>Defines</source>
        <translation>Definitionen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="154"/>
        <location filename="../KestrixWizardBase.ui" line="503"/>
        <location filename="../KestrixWizardBase.ui" line="1000"/>
        <location filename="../KestrixWizardBase.ui" line="1299"/>
        <location filename="../KestrixWizardBase.ui" line="1586"/>
        <source>Defines and switches: what the compiler is always given</source>
        <translation>Definitionen und Schalter: was der Compiler immer mitbekommt</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="192"/>
        <location filename="../KestrixWizardBase.ui" line="541"/>
        <location filename="../KestrixWizardBase.ui" line="1038"/>
        <location filename="../KestrixWizardBase.ui" line="1342"/>
        <location filename="../KestrixWizardBase.ui" line="1624"/>
        <source>Review</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="195"/>
        <location filename="../KestrixWizardBase.ui" line="544"/>
        <location filename="../KestrixWizardBase.ui" line="1041"/>
        <location filename="../KestrixWizardBase.ui" line="1345"/>
        <location filename="../KestrixWizardBase.ui" line="1627"/>
        <source>Review the settings and generate the personality</source>
        <translation>Einstellungen prüfen und die Persönlichkeit erzeugen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="239"/>
        <source>This wizard finds out how your compiler behaves by compiling small test programs with it, and writes what it finds into a compiler personality for the analyser. Choose the analyser, say where the personality should go, then describe the compiler on the following pages.</source>
        <translation>Dieser Assistent ermittelt das Verhalten Ihres Compilers, indem er kleine Testprogramme damit übersetzt, und schreibt das Ergebnis in eine Compiler-Persönlichkeit für den Analysator. Wählen Sie den Analysator und den Speicherort der Persönlichkeit, und beschreiben Sie dann auf den folgenden Seiten den Compiler.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="249"/>
        <source>Select Product</source>
        <translation>Produkt wählen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="255"/>
        <source>&amp;Zanth (C)</source>
        <translation>Za&amp;nth (C)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="265"/>
        <source>Zant&amp;h++ (C++)</source>
        <translation>Zant&amp;h++ (C++)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="297"/>
        <source>&amp;Destination Directory:</source>
        <translation>Ziel&amp;ordner:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="310"/>
        <source>B&amp;rowse</source>
        <translation>Durch&amp;suchen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="330"/>
        <source>Personality Na&amp;me:</source>
        <translation>Na&amp;me der Persönlichkeit:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="580"/>
        <source>Compiler Co&amp;mmand:</source>
        <translation>Compiler&amp;befehl:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="593"/>
        <source>&amp;Catalogue</source>
        <translation>&amp;Katalog</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="596"/>
        <source>Choose a known compiler from the catalogue: it fills this page, the search directories and the switches.</source>
        <translation>Einen bekannten Compiler aus dem Katalog wählen: er füllt diese Seite, die Suchverzeichnisse und die Schalter.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="603"/>
        <source>Cross Compi&amp;ler</source>
        <translation>Cross-Compi&amp;ler</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="633"/>
        <source>Out&amp;put Flag
(e.g. -o | -e)</source>
        <translation>A&amp;usgabeschalter
(z. B. -o | -e)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="654"/>
        <source>&amp;Trailing Space</source>
        <translation>Leerzeichen &amp;danach</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="664"/>
        <source>&amp;Define Flag
(e.g. -d)</source>
        <translation>De&amp;finitionsschalter
(z. B. -d)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="685"/>
        <source>Trailing Sp&amp;ace</source>
        <translation>Leerzeichen d&amp;anach</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="695"/>
        <source>Ob&amp;ject Flag
(e.g. -c)</source>
        <translation>Ob&amp;jektschalter
(z. B. -c)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="716"/>
        <source>Object File E&amp;xt
(e.g. .obj)</source>
        <translation>Objektdatei-&amp;Endung
(z. B. .obj)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="737"/>
        <source>&amp;Reduce file size</source>
        <translation>Dateigröße &amp;verringern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="766"/>
        <source>Compile Command &amp;Order</source>
        <translation>&amp;Reihenfolge im Übersetzungsbefehl</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="784"/>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="791"/>
        <source>Do&amp;wn</source>
        <translation>Nach u&amp;nten</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1075"/>
        <source>List the directories in which the compiler keeps its own header files. Each one is searched for headers and offered to the compiler when its include order is found. Find Directories asks a gcc-like compiler for its own list; directories shown in red do not exist.</source>
        <translation>Geben Sie die Verzeichnisse an, in denen der Compiler seine eigenen Header-Dateien hat. Jedes wird nach Headern durchsucht und dem Compiler angeboten, wenn seine Include-Reihenfolge ermittelt wird. „Verzeichnisse finden“ fragt einen gcc-artigen Compiler nach seiner eigenen Liste; rot gezeigte Verzeichnisse existieren nicht.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1085"/>
        <source>Search Di&amp;rectories</source>
        <translation>S&amp;uchverzeichnisse</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1096"/>
        <source>&amp;Find Directories</source>
        <translation>&amp;Verzeichnisse finden</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1099"/>
        <source>Ask the compiler for its own header directories, in its search order (gcc-like compilers list them).</source>
        <translation>Den Compiler nach seinen eigenen Header-Verzeichnissen fragen, in seiner Suchreihenfolge (gcc-artige Compiler nennen sie).</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1106"/>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1113"/>
        <source>&amp;Edit</source>
        <translation>Ä&amp;ndern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1120"/>
        <source>&amp;Delete</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1393"/>
        <source>External Compiler &amp;Switches</source>
        <translation>Externe Compiler&amp;schalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1414"/>
        <source>Implicit Compiler De&amp;fines</source>
        <translation>Implizite Compiler-&amp;Definitionen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1666"/>
        <source>Check the settings below. Generate starts a run: Kestrix compiles many small tests with the compiler and writes the personality. The run log shows its progress; Stop ends the run and keeps the wizard open.</source>
        <translation>Prüfen Sie die Einstellungen unten. „Erzeugen“ startet einen Lauf: Kestrix übersetzt viele kleine Tests mit dem Compiler und schreibt die Persönlichkeit. Das Protokoll zeigt den Fortschritt; „Anhalten“ beendet den Lauf, der Assistent bleibt offen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1677"/>
        <source>Su&amp;mmary</source>
        <translation>Zusammen&amp;fassung</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1694"/>
        <source>&amp;Run Log</source>
        <translation>&amp;Protokoll des Laufs</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1711"/>
        <source>E&amp;xported Files</source>
        <translation>Exportierte Da&amp;teien</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1749"/>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1752"/>
        <source>End the running generation; the previous personality is left as it was.</source>
        <translation>Die laufende Erzeugung beenden; die bisherige Persönlichkeit bleibt, wie sie war.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1762"/>
        <source>Save L&amp;og</source>
        <translation>Protokoll &amp;speichern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1772"/>
        <source>&amp;Export for clang, cppcheck</source>
        <translation>Für clang, cppcheck e&amp;xportieren</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1782"/>
        <source>Save &amp;Compiler</source>
        <translation>&amp;Compiler speichern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="291"/>
        <source>Personality Output</source>
        <translation>Ausgabe der Persönlichkeit</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="229"/>
        <source>Welcome to the Kestrix Compiler Personality Generator</source>
        <translation>Willkommen beim Kestrix-Compiler-Persönlichkeitsgenerator</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="340"/>
        <source>File name of the personality; &quot;.p_c&quot; is added when missing.</source>
        <translation>Dateiname der Persönlichkeit; „.p_c“ wird ergänzt, wenn es fehlt.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="627"/>
        <source>Compiler Flags</source>
        <translation>Compilerschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="657"/>
        <location filename="../KestrixWizardBase.ui" line="688"/>
        <source>Put a blank between the flag and its value.</source>
        <translation>Ein Leerzeichen zwischen Schalter und Wert setzen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="740"/>
        <source>Put fewer names into each test source (for compilers with small limits).</source>
        <translation>Weniger Namen in jede Testquelle schreiben (für Compiler mit kleinen Grenzen).</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="821"/>
        <source>Compile command preview:</source>
        <translation>Vorschau des Übersetzungsbefehls:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1379"/>
        <source>Switches and defines the compiler is always given in your builds, one per line. They are added to every test compilation.</source>
        <translation>Schalter und Definitionen, die der Compiler in Ihren Builds immer bekommt, eine pro Zeile. Sie werden jeder Testübersetzung hinzugefügt.</translation>
    </message>
</context>
<context>
    <name>SaveCompilerDetails</name>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="21"/>
        <location filename="../SaveCompilerDetails.cpp" line="22"/>
        <source>Select or Enter New ...</source>
        <translation>Wählen oder neu eingeben ...</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="177"/>
        <source>Save Compiler Details</source>
        <translation>Compilerdaten speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="183"/>
        <source>Choose the family and the name of the compiler to overwrite.</source>
        <translation>Wählen Sie Familie und Namen des Compilers, der überschrieben werden soll.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="189"/>
        <source>Overwrite the compiler &quot;%1&quot; of the family &quot;%2&quot; with the current settings? This cannot be undone.</source>
        <translation>Den Compiler „%1“ der Familie „%2“ mit den aktuellen Einstellungen überschreiben? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="201"/>
        <source>Compiler Family and Compiler Name cannot be empty.</source>
        <translation>Compilerfamilie und Compilername dürfen nicht beide leer sein.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="233"/>
        <source>Compiler Name provided does not match the language selected,
or describes a specific language when &apos;Both&apos; is selected.

It is advisable to ensure that the compiler name reflects the language. Are you sure you wish to continue with this name?</source>
        <translation>Der Compilername passt nicht zur gewählten Sprache
oder nennt eine bestimmte Sprache, obwohl „Beide“ gewählt ist.

Der Compilername sollte die Sprache widerspiegeln. Wollen Sie diesen Namen trotzdem verwenden?</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="178"/>
        <source>Compiler Family and Compiler Name match an existing compiler, do you want to overwrite this?</source>
        <translation>Compilerfamilie und Compilername gehören zu einem vorhandenen Compiler. Wollen Sie ihn überschreiben?</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="206"/>
        <source>Compiler Family cannot be empty: the catalogue shows compilers by family.</source>
        <translation>Die Compiler-Familie darf nicht leer sein: der Katalog zeigt Compiler nach Familien.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="219"/>
        <source>Compiler Name cannot be empty if language: Both is selected.</source>
        <translation>Der Compilername darf nicht leer sein, wenn als Sprache „Beide“ gewählt ist.</translation>
    </message>
</context>
<context>
    <name>SaveCompilerDetailsBase</name>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="14"/>
        <source>Save Compiler Details</source>
        <translation>Compilerdaten speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="23"/>
        <source>Save the current compiler options, defines and switches into the compiler catalogue.

Save Under Existing overwrites an existing entry with the current settings. Save As New creates a new entry under the family and name you choose or type. A blank name under Save As New becomes &quot;C&quot; or &quot;C++&quot; according to the language; with Both the name cannot be blank.

Changes to an existing entry cannot be undone.</source>
        <translation>Speichert die aktuellen Compilerschalter, Definitionen und Schalter im Compilerkatalog.

„Unter vorhandenem Eintrag speichern“ überschreibt einen vorhandenen Eintrag mit den aktuellen Einstellungen. „Als neuen Eintrag speichern“ legt einen neuen Eintrag unter der gewählten oder eingegebenen Familie und dem Namen an. Ein leerer Name wird je nach Sprache zu „C“ oder „C++“; bei „Beide“ darf der Name nicht leer sein.

Änderungen an einem vorhandenen Eintrag lassen sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="39"/>
        <source>Save &amp;Under Existing</source>
        <translation>&amp;Unter vorhandenem Eintrag speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="49"/>
        <source>&amp;Family:</source>
        <translation>&amp;Familie:</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="69"/>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="82"/>
        <source>Save As Ne&amp;w</source>
        <translation>Als neuen &amp;Eintrag speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="92"/>
        <source>Fa&amp;mily:</source>
        <translation>Fam&amp;ilie:</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="109"/>
        <source>Nam&amp;e:</source>
        <translation>Na&amp;me:</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="126"/>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="132"/>
        <source> C </source>
        <translation> C </translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="139"/>
        <source> C++ </source>
        <translation> C++ </translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="146"/>
        <source> Both </source>
        <translation> Beide </translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="211"/>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="221"/>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
</TS>
