<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>KestrixWizard</name>
    <message>
        <location filename="../KestrixWizard.cpp" line="18"/>
        <source>Exe Command</source>
        <translation>Compilerbefehl</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="18"/>
        <source>Output Flag</source>
        <translation>Ausgabeschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="19"/>
        <source>&lt;exe file&gt;</source>
        <translation>&lt;Programmdatei&gt;</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="19"/>
        <source>Define Flag</source>
        <translation>Definitionsschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="20"/>
        <source>Object Flag</source>
        <translation>Objektschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="20"/>
        <source>&lt;src file&gt;</source>
        <translation>&lt;Quelldatei&gt;</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="52"/>
        <source>Destination folder for the Personality.</source>
        <translation>Zielordner für die Persönlichkeit.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="53"/>
        <source>Destination folder does not exist please select a different folder.</source>
        <translation>Der Zielordner existiert nicht, bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="54"/>
        <source>Specify the command required to invoke the compiler from the command line.</source>
        <translation>Geben Sie den Befehl an, mit dem der Compiler auf der Kommandozeile aufgerufen wird.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="55"/>
        <source>Command specified is not on the path, please amend the path or fully qualify this command.</source>
        <translation>Der angegebene Befehl ist nicht im Suchpfad; bitte ergänzen Sie PATH oder geben Sie den vollständigen Pfad an.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="56"/>
        <source>Please complete the command as per the &lt;specify&gt; entries.</source>
        <translation>Bitte vervollständigen Sie den Befehl an den mit &lt;specify&gt; markierten Stellen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="294"/>
        <source>You have selected Zanth for a currently selected C++ execution command.
Please reselect the Exe Command below.</source>
        <translation>Sie haben Zanth gewählt, der gewählte Compilerbefehl ist aber für C++.
Bitte wählen Sie den Compilerbefehl unten neu.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="296"/>
        <source>You have selected Zanth++ for a currently selected C execution command.
Please reselect the Exe Command below.</source>
        <translation>Sie haben Zanth++ gewählt, der gewählte Compilerbefehl ist aber für C.
Bitte wählen Sie den Compilerbefehl unten neu.</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="299"/>
        <location filename="../KestrixWizardCatalogue.cpp" line="74"/>
        <location filename="../KestrixWizardCatalogue.cpp" line="186"/>
        <location filename="../KestrixWizardRun.cpp" line="141"/>
        <location filename="../KestrixWizardRun.cpp" line="185"/>
        <source>Compiler Personality Generator</source>
        <translation>Compiler-Persönlichkeitsgenerator</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="336"/>
        <source>Select the Compiler Personality Destination Directory</source>
        <translation>Zielordner für die Compiler-Persönlichkeit wählen</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="387"/>
        <location filename="../KestrixWizard.cpp" line="398"/>
        <source>Select The Compiler Header File Directory</source>
        <translation>Ordner mit Header-Dateien des Compilers wählen</translation>
    </message>
    <message>
        <location filename="../KestrixWizard.cpp" line="427"/>
        <location filename="../KestrixWizard.cpp" line="428"/>
        <source>Compile Command - </source>
        <translation>Übersetzungsbefehl - </translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="75"/>
        <source>The generator will now close and take you to the download site for the latest integration package to be installed.</source>
        <translation>Der Generator wird jetzt geschlossen und öffnet die Download-Seite des neuesten Integrationspakets, das installiert werden muss.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardCatalogue.cpp" line="187"/>
        <source>The compiler catalogue %1 could not be written: %2

The entry &quot;%3&quot; is kept for this session; press &quot;Save Compiler&quot; again once the file can be written.</source>
        <translation>Der Compilerkatalog %1 konnte nicht geschrieben werden: %2

Der Eintrag „%3“ bleibt für diese Sitzung erhalten; drücken Sie erneut „Compiler speichern“, sobald die Datei geschrieben werden kann.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="100"/>
        <source>Initialising Compiler Personality Generation ...
</source>
        <translation>Die Erzeugung der Compiler-Persönlichkeit wird vorbereitet ...
</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="118"/>
        <source>Compiler Personality Generation could not be executed: Please ensure Kestrix is set on the path.
</source>
        <translation>Die Erzeugung der Compiler-Persönlichkeit konnte nicht gestartet werden: Bitte stellen Sie sicher, dass Kestrix im Suchpfad liegt.
</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="136"/>
        <source>Personality Generated Successfully!</source>
        <translation>Persönlichkeit erfolgreich erzeugt!</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="137"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="142"/>
        <source>Personality Generation Failed!
Please check the details on screen and try again.</source>
        <translation>Die Erzeugung der Persönlichkeit ist fehlgeschlagen!
Bitte prüfen Sie die angezeigten Einzelheiten und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="179"/>
        <source>Save Log File as ..</source>
        <translation>Protokoll speichern unter ..</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="180"/>
        <source>Log Files (*.txt *.log)</source>
        <translation>Protokolldateien (*.txt *.log)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardRun.cpp" line="186"/>
        <source>The log could not be saved to %1: %2</source>
        <translation>Das Protokoll konnte nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="74"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardSettings.cpp" line="91"/>
        <source>The settings could not be saved to %1: %2</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden: %2</translation>
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
        <location filename="../KestrixWizardBase.ui" line="859"/>
        <location filename="../KestrixWizardBase.ui" line="1153"/>
        <location filename="../KestrixWizardBase.ui" line="1440"/>
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="26"/>
        <location filename="../KestrixWizardBase.ui" line="375"/>
        <location filename="../KestrixWizardBase.ui" line="862"/>
        <location filename="../KestrixWizardBase.ui" line="1156"/>
        <location filename="../KestrixWizardBase.ui" line="1443"/>
        <source>Product and output: the analyser and where the personality goes</source>
        <translation>Produkt und Ausgabe: der Analysator und wohin die Persönlichkeit geschrieben wird</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="69"/>
        <location filename="../KestrixWizardBase.ui" line="413"/>
        <location filename="../KestrixWizardBase.ui" line="900"/>
        <location filename="../KestrixWizardBase.ui" line="1194"/>
        <location filename="../KestrixWizardBase.ui" line="1481"/>
        <source>Compiler</source>
        <translation>Compiler</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="72"/>
        <location filename="../KestrixWizardBase.ui" line="416"/>
        <location filename="../KestrixWizardBase.ui" line="903"/>
        <location filename="../KestrixWizardBase.ui" line="1197"/>
        <location filename="../KestrixWizardBase.ui" line="1484"/>
        <source>Compiler command: how the compiler is invoked</source>
        <translation>Compilerbefehl: wie der Compiler aufgerufen wird</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="110"/>
        <location filename="../KestrixWizardBase.ui" line="459"/>
        <location filename="../KestrixWizardBase.ui" line="941"/>
        <location filename="../KestrixWizardBase.ui" line="1235"/>
        <location filename="../KestrixWizardBase.ui" line="1522"/>
        <source>Directories</source>
        <translation>Verzeichnisse</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="113"/>
        <location filename="../KestrixWizardBase.ui" line="462"/>
        <location filename="../KestrixWizardBase.ui" line="944"/>
        <location filename="../KestrixWizardBase.ui" line="1238"/>
        <location filename="../KestrixWizardBase.ui" line="1525"/>
        <source>Search directories: where the compiler keeps its headers</source>
        <translation>Suchverzeichnisse: wo der Compiler seine Header-Dateien hat</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="151"/>
        <location filename="../KestrixWizardBase.ui" line="500"/>
        <location filename="../KestrixWizardBase.ui" line="987"/>
        <location filename="../KestrixWizardBase.ui" line="1276"/>
        <location filename="../KestrixWizardBase.ui" line="1563"/>
        <source>Defines</source>
        <translation>Definitionen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="154"/>
        <location filename="../KestrixWizardBase.ui" line="503"/>
        <location filename="../KestrixWizardBase.ui" line="990"/>
        <location filename="../KestrixWizardBase.ui" line="1279"/>
        <location filename="../KestrixWizardBase.ui" line="1566"/>
        <source>Defines and switches: what the compiler is always given</source>
        <translation>Definitionen und Schalter: was der Compiler immer mitbekommt</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="192"/>
        <location filename="../KestrixWizardBase.ui" line="541"/>
        <location filename="../KestrixWizardBase.ui" line="1028"/>
        <location filename="../KestrixWizardBase.ui" line="1322"/>
        <location filename="../KestrixWizardBase.ui" line="1604"/>
        <source>Review</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="195"/>
        <location filename="../KestrixWizardBase.ui" line="544"/>
        <location filename="../KestrixWizardBase.ui" line="1031"/>
        <location filename="../KestrixWizardBase.ui" line="1325"/>
        <location filename="../KestrixWizardBase.ui" line="1607"/>
        <source>Review the settings and generate the personality</source>
        <translation>Einstellungen prüfen und die Persönlichkeit erzeugen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="229"/>
        <source>Welcome to the VLMT :: Compiler Personality Generator</source>
        <translation>Willkommen beim VLMT :: Compiler-Persönlichkeitsgenerator</translation>
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
        <source>Zanth (C)</source>
        <translation>Zanth (C)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="265"/>
        <source>Zanth++ (C++)</source>
        <translation>Zanth++ (C++)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="291"/>
        <source>Personality Output</source>
        <translation>Ausgabe der Persönlichkeit</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="297"/>
        <source>Destination Directory:</source>
        <translation>Zielordner:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="310"/>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="330"/>
        <source>Personality Name:</source>
        <translation>Name der Persönlichkeit:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="340"/>
        <source>File name of the personality; &quot;.p_c&quot; is added when missing.</source>
        <translation>Dateiname der Persönlichkeit; „.p_c“ wird ergänzt, wenn es fehlt.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="580"/>
        <source>Exe Command</source>
        <translation>Compilerbefehl</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="583"/>
        <source>Choose a known compiler from the catalogue.</source>
        <translation>Einen bekannten Compiler aus dem Katalog wählen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="593"/>
        <source>Cross Compiler</source>
        <translation>Cross-Compiler</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="617"/>
        <source>Compiler Flags</source>
        <translation>Compilerschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="623"/>
        <source>Output Flag
(e.g. -o | -e)</source>
        <translation>Ausgabeschalter
(z. B. -o | -e)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="644"/>
        <location filename="../KestrixWizardBase.ui" line="675"/>
        <source>Trailing Space</source>
        <translation>Leerzeichen danach</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="647"/>
        <location filename="../KestrixWizardBase.ui" line="678"/>
        <source>Put a blank between the flag and its value.</source>
        <translation>Ein Leerzeichen zwischen Schalter und Wert setzen.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="654"/>
        <source>Define Flag
(e.g. -d)</source>
        <translation>Definitionsschalter
(z. B. -d)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="685"/>
        <source>Object Flag
(e.g. -c)</source>
        <translation>Objektschalter
(z. B. -c)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="706"/>
        <source>Object File Ext
(e.g. .obj)</source>
        <translation>Objektdatei-Endung
(z. B. .obj)</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="727"/>
        <source>Reduce file size</source>
        <translation>Dateigröße verringern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="730"/>
        <source>Put fewer names into each test source (for compilers with small limits).</source>
        <translation>Weniger Namen in jede Testquelle schreiben (für Compiler mit kleinen Grenzen).</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="756"/>
        <source>Compile Command Order</source>
        <translation>Reihenfolge im Übersetzungsbefehl</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="774"/>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="781"/>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="811"/>
        <source>Compile command preview:</source>
        <translation>Vorschau des Übersetzungsbefehls:</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1065"/>
        <source>List the directories in which the compiler keeps its own header files. Each one is searched for headers and offered to the compiler when its include order is found.</source>
        <translation>Geben Sie die Verzeichnisse an, in denen der Compiler seine eigenen Header-Dateien hat. Jedes wird nach Headern durchsucht und dem Compiler angeboten, wenn seine Include-Reihenfolge ermittelt wird.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1075"/>
        <source>Search Directories</source>
        <translation>Suchverzeichnisse</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1086"/>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1093"/>
        <source>Edit</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1100"/>
        <source>Delete</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1359"/>
        <source>Switches and defines the compiler is always given in your builds, one per line. They are added to every test compilation.</source>
        <translation>Schalter und Definitionen, die der Compiler in Ihren Builds immer bekommt, eine pro Zeile. Sie werden jeder Testübersetzung hinzugefügt.</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1373"/>
        <source>External Compiler Switches</source>
        <translation>Externe Compilerschalter</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1394"/>
        <source>Implicit Compiler Defines</source>
        <translation>Implizite Compiler-Definitionen</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1674"/>
        <source>Save Log</source>
        <translation>Protokoll speichern</translation>
    </message>
    <message>
        <location filename="../KestrixWizardBase.ui" line="1684"/>
        <source>Save Compiler</source>
        <translation>Compiler speichern</translation>
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
        <location filename="../SaveCompilerDetails.cpp" line="168"/>
        <source>Save Compiler Details</source>
        <translation>Compilerdaten speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="179"/>
        <source>Compiler Family and Compiler Name cannot be empty.</source>
        <translation>Compilerfamilie und Compilername dürfen nicht beide leer sein.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="188"/>
        <source>Compiler Family and Compiler Name match an existing compiler, do you want to overwrite this?</source>
        <translation>Compilerfamilie und Compilername gehören zu einem vorhandenen Compiler. Wollen Sie ihn überschreiben?</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="191"/>
        <source>Compiler Name cannot be empty if language: Both is selected.</source>
        <translation>Der Compilername darf nicht leer sein, wenn als Sprache „Beide“ gewählt ist.</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetails.cpp" line="205"/>
        <source>Compiler Name provided does not match the language selected,
or describes a specific language when &apos;Both&apos; is selected.

It is advisabe to ensure that the compiler name reflects the language. Are you sure you wish to continue with this name?</source>
        <translation>Der Compilername passt nicht zur gewählten Sprache
oder nennt eine bestimmte Sprache, obwohl „Beide“ gewählt ist.

Der Compilername sollte die Sprache widerspiegeln. Wollen Sie diesen Namen trotzdem verwenden?</translation>
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
        <source>Save Under Existing</source>
        <translation>Unter vorhandenem Eintrag speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="49"/>
        <location filename="../SaveCompilerDetailsBase.ui" line="92"/>
        <source>Family:</source>
        <translation>Familie:</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="69"/>
        <location filename="../SaveCompilerDetailsBase.ui" line="109"/>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="82"/>
        <source>Save As New</source>
        <translation>Als neuen Eintrag speichern</translation>
    </message>
    <message>
        <location filename="../SaveCompilerDetailsBase.ui" line="126"/>
        <source>Language</source>
        <translation>Sprache</translation>
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
