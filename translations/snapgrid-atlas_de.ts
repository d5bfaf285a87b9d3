<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ArrangeCanvas</name>
    <message>
        <source>Place pictures</source>
        <translation>Bilder platzieren</translation>
    </message>
    <message>
        <source>Move picture</source>
        <translation>Bild verschieben</translation>
    </message>
    <message>
        <source>Resize picture</source>
        <translation>Bildgröße ändern</translation>
    </message>
    <message>
        <source>Move picture in its frame</source>
        <translation>Bild im Rahmen verschieben</translation>
    </message>
    <message>
        <source>Zoom picture in its frame</source>
        <translation>Bild im Rahmen zoomen</translation>
    </message>
    <message>
        <source>Crop: drag to move the picture in its frame, turn the wheel to zoom (%1 %); Esc or a double click ends</source>
        <translation>Zuschneiden: Ziehen verschiebt das Bild im Rahmen, das Mausrad zoomt (%1 %); Esc oder ein Doppelklick beendet</translation>
    </message>
    <message>
        <source>Moving the picture in its frame (%1 %); a double click on the frame starts cropping, where the wheel zooms</source>
        <translation>Bild im Rahmen verschieben (%1 %); ein Doppelklick auf den Rahmen beginnt das Zuschneiden, dabei zoomt das Mausrad</translation>
    </message>
    <message>
        <source>Delete placement</source>
        <translation>Platzierung löschen</translation>
    </message>
</context>
<context>
    <name>ArrangePage</name>
    <message>
        <source>&amp;Add all pictures...</source>
        <translation>Alle Bilder &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>Arrange &amp;automatically...</source>
        <translation>&amp;Automatisch anordnen...</translation>
    </message>
    <message>
        <source>S&amp;heets</source>
        <translation>&amp;Bögen</translation>
    </message>
    <message>
        <source>Print sheets of standard and ID photo sizes, and contact sheets</source>
        <translation>Druckbögen in Standard- und Passbildgrößen sowie Kontaktbögen</translation>
    </message>
    <message>
        <source>Soft &amp;proof: show the pictures as printed</source>
        <translation>Soft&amp;proof: Bilder wie gedruckt zeigen</translation>
    </message>
    <message>
        <source>Shows the pictures as the printer profile prints them (Colour management on the Print tab)</source>
        <translation>Zeigt die Bilder so, wie das Druckerprofil sie druckt (Farbmanagement auf der Registerkarte Drucken)</translation>
    </message>
    <message>
        <source>Arrange photos</source>
        <translation>Fotos anordnen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Font settings</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Picture settings</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Fit in/cut picture</source>
        <translation>Bild einpassen/beschneiden</translation>
    </message>
    <message>
        <source>Rotate to the &amp;left...</source>
        <translation>Nach &amp;links drehen...</translation>
    </message>
    <message>
        <source>Rotate to the &amp;right...</source>
        <translation>Nach &amp;rechts drehen...</translation>
    </message>
    <message>
        <source>Brightness, contrast...</source>
        <translation>Helligkeit, Kontrast...</translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation>&amp;Löschen...</translation>
    </message>
    <message>
        <source>&amp;Show big</source>
        <translation>&amp;Groß anzeigen</translation>
    </message>
    <message>
        <source>&amp;Size and position...</source>
        <translation>Größe und &amp;Position...</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Pages count:</source>
        <translation>Seitenanzahl:</translation>
    </message>
    <message>
        <source>Current page:</source>
        <translation>Aktuelle Seite:</translation>
    </message>
    <message>
        <source>Free text:</source>
        <translation>Freier Text:</translation>
    </message>
    <message>
        <source>Zoom of the page view in percent (%1, %2, fit: %3)</source>
        <translation>Zoom der Seitenansicht in Prozent (%1, %2, einpassen: %3)</translation>
    </message>
    <message>
        <source>Number of pages</source>
        <translation>Anzahl der Seiten</translation>
    </message>
    <message>
        <source>The page shown (%1, %2 in the page view)</source>
        <translation>Die angezeigte Seite (%1, %2 in der Seitenansicht)</translation>
    </message>
    <message>
        <source>Drag pictures here; arrow keys move the selection (Shift: ten steps), %1 removes it, %2 drops the selection. Ctrl+drag moves a picture inside its frame; a double click on the selected frame crops it with the mouse and the wheel</source>
        <translation>Bilder hierher ziehen; die Pfeiltasten verschieben die Auswahl (Umschalt: zehn Schritte), %1 entfernt sie, %2 hebt die Auswahl auf. Strg+Ziehen verschiebt ein Bild in seinem Rahmen; ein Doppelklick auf den ausgewählten Rahmen schneidet es mit Maus und Mausrad zu</translation>
    </message>
    <message>
        <source>Fills the frame with a centred cut of the picture instead of fitting it in</source>
        <translation>Füllt den Rahmen mit einem mittigen Ausschnitt des Bildes, statt es einzupassen</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Bildunterschrift</translation>
    </message>
    <message>
        <source>The soft proof cannot be shown.
%1</source>
        <translation>Der Softproof kann nicht angezeigt werden.
%1</translation>
    </message>
    <message>
        <source>Soft proof</source>
        <translation>Softproof</translation>
    </message>
    <message>
        <source>Delete placement</source>
        <translation>Platzierung löschen</translation>
    </message>
    <message>
        <source>Size and position</source>
        <translation>Größe und Position</translation>
    </message>
    <message>
        <source>Arrange automatically</source>
        <translation>Automatisch anordnen</translation>
    </message>
    <message>
        <source>Add all pictures</source>
        <translation>Alle Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Rotate to the left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Rotate to the right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Brightness, contrast and saturation</source>
        <translation>Helligkeit, Kontrast und Sättigung</translation>
    </message>
    <message>
        <source>Error: Could not create picture! (Low memory?)</source>
        <translation>Fehler: Das Bild konnte nicht erstellt werden! (Zu wenig Speicher?)</translation>
    </message>
    <message>
        <source>The picture file %1 is gone or changed; the screen copy is shown.</source>
        <translation>Die Bilddatei %1 fehlt oder wurde geändert; die Bildschirmkopie wird gezeigt.</translation>
    </message>
    <message>
        <source>Same view in every copy</source>
        <translation>Gleicher Ausschnitt in jeder Kopie</translation>
    </message>
    <message>
        <source>Caption of the selected picture; Ctrl+Enter starts a new line, {date}, {camera}, {exposure} and other tokens show the picture&apos;s data</source>
        <translation>Bildunterschrift des ausgewählten Bildes; Strg+Eingabe beginnt eine neue Zeile, {date}, {camera}, {exposure} und weitere Platzhalter zeigen die Daten des Bildes</translation>
    </message>
    <message>
        <source>Moving or zooming the picture in this frame moves it in every copy of the picture at this size; clear it to crop this copy on its own</source>
        <translation>Verschieben oder Zoomen des Bildes in diesem Rahmen wirkt auf jede Kopie des Bildes in dieser Größe; abwählen, um diese Kopie allein zuzuschneiden</translation>
    </message>
</context>
<context>
    <name>ArrangementDocument</name>
    <message>
        <source>Place picture</source>
        <translation>Bild platzieren</translation>
    </message>
    <message>
        <source>Bring to front</source>
        <translation>In den Vordergrund</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>Calibrate printer</source>
        <translation>Drucker kalibrieren</translation>
    </message>
    <message>
        <source>Many printers print a little off. Print the calibration page, measure it as it says and type what you measured. Every later printout on this printer and paper is corrected; the preview and saved files are not.</source>
        <translation>Viele Drucker drucken etwas versetzt. Drucken Sie die Kalibrierseite, messen Sie sie wie angegeben und tragen Sie die Messwerte ein. Jeder spätere Ausdruck auf diesem Drucker und Papier wird korrigiert; die Vorschau und gespeicherte Dateien nicht.</translation>
    </message>
    <message>
        <source>&amp;Print calibration page</source>
        <translation>Kalibrierseite &amp;drucken</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>How far the printout lies to the right of where it belongs; negative: to the left</source>
        <translation>Wie weit der Ausdruck rechts von seinem Platz liegt; negativ: links davon</translation>
    </message>
    <message>
        <source>How far the printout lies below where it belongs; negative: above</source>
        <translation>Wie weit der Ausdruck unterhalb seines Platzes liegt; negativ: oberhalb</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>The square&apos;s printed width divided by its size, in percent</source>
        <translation>Die gedruckte Breite des Quadrats geteilt durch seine Sollgröße, in Prozent</translation>
    </message>
    <message>
        <source>&amp;No correction</source>
        <translation>&amp;Keine Korrektur</translation>
    </message>
    <message>
        <source>Offset &amp;X:</source>
        <translation>Versatz &amp;X:</translation>
    </message>
    <message>
        <source>Offset &amp;Y:</source>
        <translation>Versatz &amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Maßstab:</translation>
    </message>
</context>
<context>
    <name>CaptionTextsDialog</name>
    <message>
        <source>Captions and page texts</source>
        <translation>Bildunterschriften und Seitentexte</translation>
    </message>
    <message>
        <source>Shown under every picture without a caption of its own</source>
        <translation>Erscheint unter jedem Bild ohne eigene Bildunterschrift</translation>
    </message>
    <message>
        <source>Cut at the frame&apos;s edges</source>
        <translation>An den Rahmenkanten abschneiden</translation>
    </message>
    <message>
        <source>End with an ellipsis</source>
        <translation>Mit Auslassungspunkten enden</translation>
    </message>
    <message>
        <source>Wrap at words</source>
        <translation>An Wortgrenzen umbrechen</translation>
    </message>
    <message>
        <source>Own font for header and footer</source>
        <translation>Eigene Schrift für Kopf- und Fußzeile</translation>
    </message>
    <message>
        <source>Choose font...</source>
        <translation>Schrift wählen...</translation>
    </message>
    <message>
        <source>Tokens: {name} {folder} {date} {time} {camera} {lens} {exposure} {size} {caption} {page} {pages} {file} {printed}. Ctrl+Enter starts a new line.</source>
        <translation>Platzhalter: {name} {folder} {date} {time} {camera} {lens} {exposure} {size} {caption} {page} {pages} {file} {printed}. Strg+Eingabe beginnt eine neue Zeile.</translation>
    </message>
    <message>
        <source>Caption for every picture:</source>
        <translation>Bildunterschrift für jedes Bild:</translation>
    </message>
    <message>
        <source>Long lines:</source>
        <translation>Lange Zeilen:</translation>
    </message>
    <message>
        <source>Page header:</source>
        <translation>Kopfzeile:</translation>
    </message>
    <message>
        <source>Page footer:</source>
        <translation>Fußzeile:</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Centre</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
</context>
<context>
    <name>CollectionPage</name>
    <message>
        <source>File list</source>
        <translation>Dateiliste</translation>
    </message>
    <message>
        <source>Picture browser</source>
        <translation>Bildbrowser</translation>
    </message>
    <message>
        <source>Shows a preview of the loaded picture</source>
        <translation>Zeigt eine Vorschau des geladenen Bildes</translation>
    </message>
    <message>
        <source>&amp;Add file</source>
        <translation>Datei &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>&amp;Show big</source>
        <translation>&amp;Groß anzeigen</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>The pictures of the arrangement</source>
        <translation>Die Bilder des Arrangements</translation>
    </message>
    <message>
        <source>Favorite folders:</source>
        <translation>Lieblingsordner:</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>Vorschau:</translation>
    </message>
    <message>
        <source>Pictures:</source>
        <translation>Bilder:</translation>
    </message>
    <message>
        <source>Add pictures</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Add picture</source>
        <translation>Bild hinzufügen</translation>
    </message>
    <message>
        <source>Delete pictures</source>
        <translation>Bilder löschen</translation>
    </message>
    <message>
        <source>Snapgrid-Edge picture</source>
        <translation>Snapgrid-Edge-Bild</translation>
    </message>
</context>
<context>
    <name>ColourDialog</name>
    <message>
        <source>Colour management</source>
        <translation>Farbmanagement</translation>
    </message>
    <message>
        <source>None: the pictures are printed as sRGB</source>
        <translation>Keins: die Bilder werden als sRGB gedruckt</translation>
    </message>
    <message>
        <source>&amp;Choose...</source>
        <translation>&amp;Auswählen...</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keins</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>Wahrnehmungsorientiert</translation>
    </message>
    <message>
        <source>Relative colorimetric</source>
        <translation>Relativ farbmetrisch</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Absolute colorimetric</source>
        <translation>Absolut farbmetrisch</translation>
    </message>
    <message>
        <source>&amp;Black point compensation</source>
        <translation>&amp;Tiefenkompensierung</translation>
    </message>
    <message>
        <source>The desktop&apos;s monitor profile, else sRGB</source>
        <translation>Das Monitorprofil des Desktops, sonst sRGB</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>A&amp;uswählen...</translation>
    </message>
    <message>
        <source>&amp;Desktop&apos;s</source>
        <translation>Vom &amp;Desktop</translation>
    </message>
    <message>
        <source>Soft proof marks colours the paper cannot hold in ma&amp;genta</source>
        <translation>Softproof markiert Farben, die das Papier nicht wiedergeben kann, in Ma&amp;genta</translation>
    </message>
    <message>
        <source>Printer:</source>
        <translation>Drucker:</translation>
    </message>
    <message>
        <source>%1, paper %2</source>
        <translation>%1, Papier %2</translation>
    </message>
    <message>
        <source>Printer profile:</source>
        <translation>Druckerprofil:</translation>
    </message>
    <message>
        <source>Rendering &amp;intent:</source>
        <translation>Rendering-&amp;Priorität:</translation>
    </message>
    <message>
        <source>Monitor profile:</source>
        <translation>Monitorprofil:</translation>
    </message>
    <message>
        <source>Printer profile</source>
        <translation>Druckerprofil</translation>
    </message>
    <message>
        <source>Monitor profile</source>
        <translation>Monitorprofil</translation>
    </message>
    <message>
        <source>Cannot be used: %1</source>
        <translation>Nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>A usable profile.</source>
        <translation>Ein verwendbares Profil.</translation>
    </message>
    <message>
        <source>Shown on: %1</source>
        <translation>Angezeigt auf: %1</translation>
    </message>
</context>
<context>
    <name>ColourManagementText</name>
    <message>
        <source>It is not a printer or monitor profile (a device link, abstract or input profile).</source>
        <translation>Es ist kein Drucker- oder Monitorprofil (ein Geräteverknüpfungs-, abstraktes oder Eingabeprofil).</translation>
    </message>
    <message>
        <source>It describes a device that is not driven in RGB (for example CMYK); the program hands printers RGB pixels.</source>
        <translation>Es beschreibt ein Gerät, das nicht mit RGB angesteuert wird (zum Beispiel CMYK); das Programm übergibt Druckern RGB-Pixel.</translation>
    </message>
    <message>
        <source>The file is not a readable ICC colour profile (damaged or truncated).</source>
        <translation>Die Datei ist kein lesbares ICC-Farbprofil (beschädigt oder abgeschnitten).</translation>
    </message>
    <message>
        <source>The profile file is empty.</source>
        <translation>Die Profildatei ist leer.</translation>
    </message>
    <message>
        <source>The file is too large to be a colour profile.</source>
        <translation>Die Datei ist zu groß für ein Farbprofil.</translation>
    </message>
    <message>
        <source>The profile file cannot be read.</source>
        <translation>Die Profildatei kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Lays out photographs on printed pages.</source>
        <translation>Ordnet Fotos auf gedruckten Seiten an.</translation>
    </message>
    <message>
        <source>Shows this help and ends.</source>
        <translation>Zeigt diese Hilfe und endet.</translation>
    </message>
    <message>
        <source>Shows the version and ends.</source>
        <translation>Zeigt die Version und endet.</translation>
    </message>
    <message>
        <source>Writes every page to a PDF file as printing would, then ends.</source>
        <translation>Schreibt jede Seite wie beim Drucken in eine PDF-Datei und endet.</translation>
    </message>
    <message>
        <source>Writes every page as a numbered PNG into a folder, then ends.</source>
        <translation>Schreibt jede Seite als nummeriertes PNG in einen Ordner und endet.</translation>
    </message>
    <message>
        <source>Dots per inch of --export-images (default 150).</source>
        <translation>Punkte pro Zoll für --export-images (Vorgabe 150).</translation>
    </message>
    <message>
        <source>An arrangement (.sga) to open and/or pictures to add to the collection.</source>
        <translation>Ein zu öffnendes Arrangement (.sga) und/oder Bilder für die Sammlung.</translation>
    </message>
    <message>
        <source>--dpi takes a number from 10 to 1200: %1</source>
        <translation>--dpi erwartet eine Zahl von 10 bis 1200: %1</translation>
    </message>
    <message>
        <source>Only one arrangement can be opened: %1</source>
        <translation>Es kann nur ein Arrangement geöffnet werden: %1</translation>
    </message>
    <message>
        <source>An export takes one arrangement (.sga) and nothing else.</source>
        <translation>Ein Export braucht genau ein Arrangement (.sga) und sonst nichts.</translation>
    </message>
    <message>
        <source>Prints every page on a print queue, then ends.</source>
        <translation>Druckt jede Seite über eine Druckwarteschlange und endet.</translation>
    </message>
    <message>
        <source>Makes the pages with a paper preset (its name).</source>
        <translation>Erstellt die Seiten mit einer Papiervorgabe (ihr Name).</translation>
    </message>
    <message>
        <source>--print needs the name of a print queue.</source>
        <translation>--print braucht den Namen einer Druckwarteschlange.</translation>
    </message>
    <message>
        <source>Only one of --export-pdf, --export-images and --print can be given.</source>
        <translation>Nur eines von --export-pdf, --export-images und --print ist möglich.</translation>
    </message>
    <message>
        <source>--preset goes with --export-pdf, --export-images or --print.</source>
        <translation>--preset gehört zu --export-pdf, --export-images oder --print.</translation>
    </message>
    <message>
        <source>Packs the prints of an order list (CSV) onto the fewest sheets and writes them instead of an arrangement.</source>
        <translation>Packt die Abzüge einer Bestellliste (CSV) auf möglichst wenige Bögen und schreibt diese statt eines Arrangements.</translation>
    </message>
    <message>
        <source>The paper of --order: a page size (A4, Letter) or W x H mm or in.</source>
        <translation>Das Papier für --order: ein Seitenformat (A4, Letter) oder B x H mm oder in.</translation>
    </message>
    <message>
        <source>--order goes with --export-pdf, --export-images or --print, and no other file.</source>
        <translation>--order gehört zu --export-pdf, --export-images oder --print, ohne weitere Datei.</translation>
    </message>
    <message>
        <source>--paper goes with --order.</source>
        <translation>--paper gehört zu --order.</translation>
    </message>
</context>
<context>
    <name>CommandLineExportText</name>
    <message>
        <source>Cannot open the arrangement %1.</source>
        <translation>Das Arrangement %1 kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Missing picture: %1</source>
        <translation>Fehlendes Bild: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) could not be enlarged to the minimum quality.</source>
        <translation>
            <numerusform>%n Bild konnte nicht auf die Mindestqualität vergrößert werden.</numerusform>
            <numerusform>%n Bilder konnten nicht auf die Mindestqualität vergrößert werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot make the folder %1.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Not enough memory for an image of a page at %1 DPI.</source>
        <translation>Nicht genug Speicher für ein Bild einer Seite mit %1 DPI.</translation>
    </message>
    <message>
        <source>Could not write %1.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Damaged picture: %1</source>
        <translation>Beschädigtes Bild: %1</translation>
    </message>
    <message>
        <source>There is no print queue %1.</source>
        <translation>Es gibt keine Druckwarteschlange %1.</translation>
    </message>
    <message>
        <source>There is no paper preset &quot;%1&quot;.</source>
        <translation>Es gibt keine Papiervorgabe „%1“.</translation>
    </message>
    <message>
        <source>Paper presets: %1</source>
        <translation>Papiervorgaben: %1</translation>
    </message>
    <message>
        <source>Could not print on %1.</source>
        <translation>Drucken auf %1 war nicht möglich.</translation>
    </message>
    <message>
        <source>There is no paper &quot;%1&quot;.</source>
        <translation>Es gibt kein Papier „%1“.</translation>
    </message>
    <message>
        <source>The order list %1 holds no row to print.</source>
        <translation>Die Bestellliste %1 enthält keine Zeile zum Drucken.</translation>
    </message>
    <message>
        <source>Order sheets</source>
        <translation>Bestellbögen</translation>
    </message>
</context>
<context>
    <name>ContactSheetDialog</name>
    <message>
        <source>Contact sheet</source>
        <translation>Kontaktbogen</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>All pictures of the &amp;collection (%1)</source>
        <translation>Alle Bilder der &amp;Sammlung (%1)</translation>
    </message>
    <message>
        <source>The pictures &amp;selected in the collection (%1)</source>
        <translation>Die in der Sammlung &amp;ausgewählten Bilder (%1)</translation>
    </message>
    <message>
        <source>The pictures of a &amp;folder:</source>
        <translation>Die Bilder eines &amp;Ordners:</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Zellen</translation>
    </message>
    <message>
        <source>&amp;Rows and columns</source>
        <translation>&amp;Zeilen und Spalten</translation>
    </message>
    <message>
        <source>Cell si&amp;ze</source>
        <translation>Zellen&amp;größe</translation>
    </message>
    <message>
        <source>Columns:</source>
        <translation>Spalten:</translation>
    </message>
    <message>
        <source>Rows:</source>
        <translation>Zeilen:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Rand:</translation>
    </message>
    <message>
        <source>Gap:</source>
        <translation>Abstand:</translation>
    </message>
    <message>
        <source>Caption lines</source>
        <translation>Beschriftungszeilen</translation>
    </message>
    <message>
        <source>File &amp;name</source>
        <translation>Datei&amp;name</translation>
    </message>
    <message>
        <source>&amp;Date taken</source>
        <translation>Aufnahme&amp;datum</translation>
    </message>
    <message>
        <source>Size in &amp;pixels</source>
        <translation>Größe in &amp;Pixeln</translation>
    </message>
    <message>
        <source>Page header</source>
        <translation>Kopfzeile</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>F&amp;older</source>
        <translation>&amp;Ordner</translation>
    </message>
    <message>
        <source>Date r&amp;ange</source>
        <translation>Datums&amp;bereich</translation>
    </message>
    <message>
        <source>&quot;Page n of N&quot;</source>
        <translation>„Seite n von N“</translation>
    </message>
    <message>
        <source>As in the collection or folder</source>
        <translation>Wie in der Sammlung oder im Ordner</translation>
    </message>
    <message>
        <source>By name</source>
        <translation>Nach Name</translation>
    </message>
    <message>
        <source>By date taken</source>
        <translation>Nach Aufnahmedatum</translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <translation>&amp;Reihenfolge:</translation>
    </message>
    <message>
        <source>&amp;Make contact sheet</source>
        <translation>Kontaktbogen &amp;erstellen</translation>
    </message>
    <message>
        <source>Folder of the contact sheet</source>
        <translation>Ordner des Kontaktbogens</translation>
    </message>
    <message>
        <source>Not one cell fits on the page: make the margin, the gap or the caption smaller.</source>
        <translation>Keine einzige Zelle passt auf die Seite: Verkleinern Sie Rand, Abstand oder Beschriftung.</translation>
    </message>
    <message>
        <source>%1 cells per page; no pictures to show.</source>
        <translation>%1 Zellen pro Seite; keine Bilder anzuzeigen.</translation>
    </message>
    <message numerus="yes">
        <source>%1 x %2 cells of %3 x %4 mm per page: %5 pictures on %n page(s).</source>
        <translation>
            <numerusform>%1 x %2 Zellen zu %3 x %4 mm pro Seite: %5 Bilder auf %n Seite.</numerusform>
            <numerusform>%1 x %2 Zellen zu %3 x %4 mm pro Seite: %5 Bilder auf %n Seiten.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ContactSheetMakerText</name>
    <message>
        <source>Picture %1 of %2</source>
        <translation>Bild %1 von %2</translation>
    </message>
    <message>
        <source>Contact sheet</source>
        <translation>Kontaktbogen</translation>
    </message>
    <message>
        <source>These pictures need more than %1 pages. Nothing was placed.</source>
        <translation>Diese Bilder brauchen mehr als %1 Seiten. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>Contact sheet cancelled; nothing was changed</source>
        <translation>Kontaktbogen abgebrochen; es wurde nichts geändert</translation>
    </message>
    <message>
        <source>%1 pictures placed on pages %2 to %3</source>
        <translation>%1 Bilder auf den Seiten %2 bis %3 platziert</translation>
    </message>
    <message>
        <source>1 picture placed on page %1</source>
        <translation>1 Bild auf Seite %1 platziert</translation>
    </message>
    <message>
        <source>%1 pictures placed on page %2</source>
        <translation>%1 Bilder auf Seite %2 platziert</translation>
    </message>
</context>
<context>
    <name>ContactSheetText</name>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 Pixel</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>several folders</source>
        <translation>mehrere Ordner</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Not one cell fits on the page with these settings. Nothing was placed.</source>
        <translation>Mit diesen Einstellungen passt keine einzige Zelle auf die Seite. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>A cell has no picture. Nothing was placed.</source>
        <translation>Eine Zelle hat kein Bild. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>These cells need more than %1 pages. Nothing was placed.</source>
        <translation>Diese Zellen brauchen mehr als %1 Seiten. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>file dates %1</source>
        <translation>Dateidatum %1</translation>
    </message>
</context>
<context>
    <name>CupsJob</name>
    <message>
        <source>The printing system&apos;s queue command (lp) is not installed.</source>
        <translation>Der Warteschlangenbefehl des Drucksystems (lp) ist nicht installiert.</translation>
    </message>
    <message>
        <source>The printing system did not take the job.</source>
        <translation>Das Drucksystem hat den Auftrag nicht angenommen.</translation>
    </message>
    <message>
        <source>The printing system refused the job: %1</source>
        <translation>Das Drucksystem hat den Auftrag abgelehnt: %1</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Locate...</source>
        <translation>Suchen...</translation>
    </message>
</context>
<context>
    <name>DrawDib</name>
    <message>
        <source>Could not create bitmap.</source>
        <translation>Die Bitmap konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>The device does not support the Funtkion setdibits!</source>
        <translation>Das Gerät unterstützt die Funktion setdibits nicht!</translation>
    </message>
    <message>
        <source>The device does not support the function StretchBlt!</source>
        <translation>Das Gerät unterstützt die Funktion StretchBlt nicht!</translation>
    </message>
</context>
<context>
    <name>Editing</name>
    <message>
        <source>( x: %1inch; y: %2inch ) ( Width: %3inch; Height: %4inch ) </source>
        <translation>( x: %1 Zoll; y: %2 Zoll ) ( Breite: %3 Zoll; Höhe: %4 Zoll ) </translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Snapgrid-Atlas files (*.sga)</source>
        <translation>Snapgrid-Atlas-Dateien (*.sga)</translation>
    </message>
    <message>
        <source>Couldn&apos;t open picture %1 !</source>
        <translation>Das Bild %1 konnte nicht geöffnet werden!</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weiteres.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <source>Looked in: %1</source>
        <translation>Gesucht in: %1</translation>
    </message>
    <message>
        <source>All unsaved data will be lost!</source>
        <translation>Alle nicht gespeicherten Daten gehen verloren!</translation>
    </message>
    <message>
        <source>File/New</source>
        <translation>Datei/Neu</translation>
    </message>
    <message>
        <source>You will lost all not saved information!</source>
        <translation>Alle nicht gespeicherten Informationen gehen verloren!</translation>
    </message>
    <message>
        <source>File/Open</source>
        <translation>Datei/Öffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Save Snapgrid-Edge file: Couldn&apos;t save file %1 !</source>
        <translation>Snapgrid-Edge-Datei speichern: Die Datei %1 konnte nicht gespeichert werden!</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Open Snapgrid-Edge file: Couldn&apos;t open file %1 !</source>
        <translation>Snapgrid-Edge-Datei öffnen: Die Datei %1 konnte nicht geöffnet werden!</translation>
    </message>
    <message>
        <source>This is not a valid Snapgrid-Edge file!</source>
        <translation>Dies ist keine gültige Snapgrid-Edge-Datei!</translation>
    </message>
    <message>
        <source>Open Snapgrid-Edge file: The file %1 is damaged and was not opened !</source>
        <translation>Snapgrid-Edge-Datei öffnen: Die Datei %1 ist beschädigt und wurde nicht geöffnet!</translation>
    </message>
    <message>
        <source>Locate %1</source>
        <translation>%1 suchen</translation>
    </message>
    <message>
        <source>Pictures (*)</source>
        <translation>Bilder (*)</translation>
    </message>
    <message>
        <source>Locate pictures</source>
        <translation>Bilder suchen</translation>
    </message>
    <message>
        <source>Add pictures</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>an arrangement that was never saved</source>
        <translation>ein nie gespeichertes Arrangement</translation>
    </message>
    <message>
        <source>Snapgrid-Atlas did not end normally. A recovery copy of %1 from %2 was kept.
Restore it? No discards the copy; Cancel keeps it for the next start.</source>
        <translation>Snapgrid-Atlas wurde nicht normal beendet. Eine Wiederherstellungskopie von %1 vom %2 wurde aufbewahrt.
Wiederherstellen? Nein verwirft die Kopie; Abbrechen behält sie für den nächsten Start.</translation>
    </message>
    <message>
        <source>Recovery</source>
        <translation>Wiederherstellung</translation>
    </message>
    <message>
        <source>The recovery copy of %1 cannot be read; it was kept as %2.</source>
        <translation>Die Wiederherstellungskopie von %1 kann nicht gelesen werden; sie wurde als %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>Damaged picture files, shown as blank frames:</source>
        <translation>Beschädigte Bilddateien, als leere Rahmen gezeigt:</translation>
    </message>
</context>
<context>
    <name>FolderViews</name>
    <message>
        <source>Here you can select the displayed file types</source>
        <translation>Hier wählen Sie die angezeigten Dateitypen</translation>
    </message>
</context>
<context>
    <name>JobLogDialog</name>
    <message>
        <source>Job log</source>
        <translation>Auftragsprotokoll</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Arrangement</source>
        <translation>Arrangement</translation>
    </message>
    <message>
        <source>Printer or file</source>
        <translation>Drucker oder Datei</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Vorgabe</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Options sent</source>
        <translation>Gesendete Optionen</translation>
    </message>
    <message>
        <source>&amp;Open the log file</source>
        <translation>Protokolldatei ö&amp;ffnen</translation>
    </message>
</context>
<context>
    <name>JobProgress</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
</context>
<context>
    <name>OpenDib</name>
    <message>
        <source>The file could not be opened.</source>
        <translation>Die Datei konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>The file is not a picture in a known format.</source>
        <translation>Die Datei ist kein Bild in einem bekannten Format.</translation>
    </message>
    <message>
        <source>The file is not a picture in the chosen format.</source>
        <translation>Die Datei ist kein Bild im gewählten Format.</translation>
    </message>
    <message>
        <source>The file is damaged or truncated.</source>
        <translation>Die Datei ist beschädigt oder abgeschnitten.</translation>
    </message>
    <message>
        <source>The picture is too large to be loaded.</source>
        <translation>Das Bild ist zu groß zum Laden.</translation>
    </message>
    <message>
        <source>This kind of picture is not supported.</source>
        <translation>Diese Art von Bild wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>There is not enough memory to load the picture.</source>
        <translation>Zum Laden des Bildes reicht der Speicher nicht.</translation>
    </message>
    <message>
        <source>The file has changed since the picture was added.</source>
        <translation>Die Datei wurde geändert, seit das Bild hinzugefügt wurde.</translation>
    </message>
    <message>
        <source>The file is not a picture in the %1 format.</source>
        <translation>Die Datei ist kein Bild im Format %1.</translation>
    </message>
</context>
<context>
    <name>OptionsPanel</name>
    <message>
        <source>Align pics to grid</source>
        <translation>Bilder am Raster ausrichten</translation>
    </message>
    <message>
        <source>Show grid</source>
        <translation>Raster anzeigen</translation>
    </message>
    <message>
        <source>Turn pictures as the camera recorded</source>
        <translation>Bilder drehen, wie die Kamera es vermerkt hat</translation>
    </message>
    <message>
        <source>If there is no text then show file name</source>
        <translation>Ohne Text den Dateinamen zeigen</translation>
    </message>
    <message>
        <source>Transparent font background</source>
        <translation>Transparenter Schrifthintergrund</translation>
    </message>
    <message>
        <source>Choose font</source>
        <translation>Schrift wählen</translation>
    </message>
    <message>
        <source>Maintain aspect ratio</source>
        <translation>Seitenverhältnis beibehalten</translation>
    </message>
    <message>
        <source>Fit in/cut pictures as default</source>
        <translation>Bilder standardmäßig einpassen/beschneiden</translation>
    </message>
    <message>
        <source>Enlarge pictures the reach at least a min. quality</source>
        <translation>Bilder vergrößern, um eine Mindestqualität zu erreichen</translation>
    </message>
    <message>
        <source>In millimetres</source>
        <translation>In Millimetern</translation>
    </message>
    <message>
        <source>In inches</source>
        <translation>In Zoll</translation>
    </message>
    <message>
        <source>Colour behind the captions</source>
        <translation>Farbe hinter den Bildunterschriften</translation>
    </message>
    <message>
        <source>Chooses the font of the captions</source>
        <translation>Wählt die Schrift der Bildunterschriften</translation>
    </message>
    <message>
        <source>Dots per inch a picture needs at least in its frame</source>
        <translation>Punkte pro Zoll, die ein Bild in seinem Rahmen mindestens braucht</translation>
    </message>
    <message>
        <source>mm =</source>
        <translation>mm =</translation>
    </message>
    <message>
        <source>inch</source>
        <translation>Zoll</translation>
    </message>
    <message>
        <source>Options for automatic arrage</source>
        <translation>Optionen für automatisches Anordnen</translation>
    </message>
    <message>
        <source>Page margin:</source>
        <translation>Seitenrand:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Abstand:</translation>
    </message>
    <message>
        <source>Align to grid</source>
        <translation>Am Raster ausrichten</translation>
    </message>
    <message>
        <source>Grid width:</source>
        <translation>Rasterweite:</translation>
    </message>
    <message>
        <source>Default size</source>
        <translation>Standardgröße</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>Memory for full pictures:</source>
        <translation>Speicher für volle Bilder:</translation>
    </message>
    <message>
        <source>Font background:</source>
        <translation>Schrifthintergrund:</translation>
    </message>
    <message>
        <source>Min. quality:</source>
        <translation>Mindestqualität:</translation>
    </message>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>Caption font</source>
        <translation>Schrift der Bildunterschriften</translation>
    </message>
    <message>
        <source>Captions and page texts...</source>
        <translation>Bildunterschriften und Seitentexte...</translation>
    </message>
</context>
<context>
    <name>OrderCsvText</name>
    <message>
        <source>the size must be between 5 and %1 mm on each side</source>
        <translation>die Größe muss auf jeder Seite zwischen 5 und %1 mm liegen</translation>
    </message>
    <message>
        <source>%1 fields instead of 4 (order, picture, size, copies)</source>
        <translation>%1 Felder statt 4 (Bestellung, Bild, Größe, Anzahl)</translation>
    </message>
    <message>
        <source>a field is longer than %1 characters</source>
        <translation>ein Feld ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>no order name</source>
        <translation>kein Bestellname</translation>
    </message>
    <message>
        <source>no picture</source>
        <translation>kein Bild</translation>
    </message>
    <message>
        <source>the copies &quot;%1&quot; are not a whole number</source>
        <translation>die Anzahl „%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>%1 copies: a line takes 1 to %2</source>
        <translation>%1 Abzüge: eine Zeile nimmt 1 bis %2</translation>
    </message>
    <message>
        <source>the picture &quot;%1&quot; is not there</source>
        <translation>das Bild „%1“ ist nicht vorhanden</translation>
    </message>
    <message>
        <source>the line is longer than %1 bytes</source>
        <translation>die Zeile ist länger als %1 Bytes</translation>
    </message>
    <message>
        <source>the line is not UTF-8 text</source>
        <translation>die Zeile ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>more than %1 rows; the rest was not read</source>
        <translation>mehr als %1 Zeilen; der Rest wurde nicht gelesen</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no print size the list knows, nor a size such as 60 x 90 mm</source>
        <translation>„%1“ ist weder eine bekannte Druckgröße noch eine Größe wie 60 x 90 mm</translation>
    </message>
    <message>
        <source>the file holds no header row</source>
        <translation>die Datei hat keine Kopfzeile</translation>
    </message>
    <message>
        <source>the header row must be order,picture,size,copies</source>
        <translation>die Kopfzeile muss order,picture,size,copies lauten</translation>
    </message>
    <message>
        <source>a quote is left open</source>
        <translation>ein Anführungszeichen ist nicht geschlossen</translation>
    </message>
    <message>
        <source>the list would ask for more than %1 frames</source>
        <translation>die Liste verlangte mehr als %1 Rahmen</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is larger than an order list can be (%2 MB)</source>
        <translation>%1 ist größer, als eine Bestellliste sein kann (%2 MB)</translation>
    </message>
</context>
<context>
    <name>OrderPackingText</name>
    <message>
        <source>The print size is empty. Nothing was placed.</source>
        <translation>Die Druckgröße ist leer. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 mm does not fit on the paper: the room inside the margins is %3 x %4 mm. Nothing was placed.</source>
        <translation>Ein Rahmen von %1 x %2 mm passt nicht auf das Papier: innerhalb der Ränder ist %3 x %4 mm Platz. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>The orders ask for more than %1 frames. Nothing was placed.</source>
        <translation>Die Bestellungen verlangen mehr als %1 Rahmen. Es wurde nichts platziert.</translation>
    </message>
</context>
<context>
    <name>OrderSheetDialog</name>
    <message>
        <source>Order sheets</source>
        <translation>Bestellbögen</translation>
    </message>
    <message>
        <source>Name of the order</source>
        <translation>Name der Bestellung</translation>
    </message>
    <message>
        <source>A print size of the list, or one typed such as 60 x 90 mm or 2.5 x 3.5 in</source>
        <translation>Eine Druckgröße der Liste oder eine eingegebene wie 60 x 90 mm oder 2.5 x 3.5 in</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Read &amp;CSV...</source>
        <translation>&amp;CSV lesen...</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Bestellung</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <translation>&amp;Reihenfolge:</translation>
    </message>
    <message>
        <source>&amp;Picture:</source>
        <translation>&amp;Bild:</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>Co&amp;pies:</source>
        <translation>An&amp;zahl:</translation>
    </message>
    <message>
        <source>&amp;Margin:</source>
        <translation>&amp;Rand:</translation>
    </message>
    <message>
        <source>&amp;Gap between frames:</source>
        <translation>&amp;Abstand zwischen Rahmen:</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Platzieren</translation>
    </message>
    <message>
        <source>Read order list</source>
        <translation>Bestellliste lesen</translation>
    </message>
    <message>
        <source>Order lists (*.csv);;All files (*)</source>
        <translation>Bestelllisten (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The order list is empty: add rows or read a CSV file.</source>
        <translation>Die Bestellliste ist leer: Fügen Sie Zeilen hinzu oder lesen Sie eine CSV-Datei.</translation>
    </message>
    <message>
        <source>Give the order a name.</source>
        <translation>Geben Sie der Bestellung einen Namen.</translation>
    </message>
    <message>
        <source>Add pictures to the collection first.</source>
        <translation>Fügen Sie zuerst Bilder zur Sammlung hinzu.</translation>
    </message>
    <message>
        <source>The order list is full.</source>
        <translation>Die Bestellliste ist voll.</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weiteres.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) of %1 were left out:</source>
        <translation>
            <numerusform>%n Zeile von %1 wurde ausgelassen:</numerusform>
            <numerusform>%n Zeilen von %1 wurden ausgelassen:</numerusform>
        </translation>
    </message>
    <message>
        <source>Enter rows or read an order list from a CSV file.</source>
        <translation>Geben Sie Zeilen ein oder lesen Sie eine Bestellliste aus einer CSV-Datei.</translation>
    </message>
    <message numerus="yes">
        <source>%1 orders, %2 prints: at least %n sheet(s).</source>
        <translation>
            <numerusform>%1 Bestellungen, %2 Abzüge: mindestens %n Bogen.</numerusform>
            <numerusform>%1 Bestellungen, %2 Abzüge: mindestens %n Bögen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OrderSheetMakerText</name>
    <message>
        <source>Order sheets</source>
        <translation>Bestellbögen</translation>
    </message>
    <message>
        <source>These pictures could not be read; their rows were left out:</source>
        <translation>Diese Bilder konnten nicht gelesen werden; ihre Zeilen wurden ausgelassen:</translation>
    </message>
    <message>
        <source>%1 prints placed on %2 sheets (pages %3 to %4)</source>
        <translation>%1 Abzüge auf %2 Bögen platziert (Seiten %3 bis %4)</translation>
    </message>
</context>
<context>
    <name>OrderSheetText</name>
    <message>
        <source>%1, sheet %2 of %3</source>
        <translation>%1, Bogen %2 von %3</translation>
    </message>
    <message>
        <source>These orders need more than %1 pages. Nothing was placed.</source>
        <translation>Diese Bestellungen brauchen mehr als %1 Seiten. Es wurde nichts platziert.</translation>
    </message>
</context>
<context>
    <name>PaperPresetDialog</name>
    <message>
        <source>Paper preset</source>
        <translation>Papiervorgabe</translation>
    </message>
    <message>
        <source>for example Studio printer, glossy 10 x 15</source>
        <translation>zum Beispiel Studiodrucker, glänzend 10 x 15</translation>
    </message>
    <message>
        <source>&amp;Landscape</source>
        <translation>&amp;Querformat</translation>
    </message>
    <message>
        <source>&amp;Borderless</source>
        <translation>&amp;Randlos</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>How far frames at the paper&apos;s edge are drawn beyond it, so no white edge is left</source>
        <translation>Wie weit Rahmen am Papierrand darüber hinaus gezeichnet werden, damit kein weißer Rand bleibt</translation>
    </message>
    <message>
        <source>None: the pictures are printed as sRGB</source>
        <translation>Keins: die Bilder werden als sRGB gedruckt</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>Wahrnehmungsorientiert</translation>
    </message>
    <message>
        <source>Relative colorimetric</source>
        <translation>Relativ farbmetrisch</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Absolute colorimetric</source>
        <translation>Absolut farbmetrisch</translation>
    </message>
    <message>
        <source>Black &amp;point compensation</source>
        <translation>&amp;Tiefenkompensierung</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>(choose a step)</source>
        <translation>(Stufe wählen)</translation>
    </message>
    <message>
        <source>Step %1: brightness %2, contrast %3</source>
        <translation>Stufe %1: Helligkeit %2, Kontrast %3</translation>
    </message>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Printer and paper</source>
        <translation>Drucker und Papier</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>P&amp;rinter:</source>
        <translation>&amp;Drucker:</translation>
    </message>
    <message>
        <source>Pap&amp;er:</source>
        <translation>&amp;Papier:</translation>
    </message>
    <message>
        <source>&amp;Tray:</source>
        <translation>&amp;Fach:</translation>
    </message>
    <message>
        <source>&amp;Media type:</source>
        <translation>&amp;Medientyp:</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>Q&amp;ualität:</translation>
    </message>
    <message>
        <source>Colour and calibration</source>
        <translation>Farbe und Kalibrierung</translation>
    </message>
    <message>
        <source>&amp;Choose...</source>
        <translation>&amp;Auswählen...</translation>
    </message>
    <message>
        <source>Printer profile:</source>
        <translation>Druckerprofil:</translation>
    </message>
    <message>
        <source>Rendering &amp;intent:</source>
        <translation>Rendering-&amp;Priorität:</translation>
    </message>
    <message>
        <source>Printer offset (right, down):</source>
        <translation>Druckerversatz (rechts, unten):</translation>
    </message>
    <message>
        <source>Printer scale:</source>
        <translation>Druckermaßstab:</translation>
    </message>
    <message>
        <source>Sharpening and print adjustment</source>
        <translation>Schärfen und Druckanpassung</translation>
    </message>
    <message>
        <source>Radius:</source>
        <translation>Radius:</translation>
    </message>
    <message>
        <source>Matte</source>
        <translation>Matt</translation>
    </message>
    <message>
        <source>Glossy</source>
        <translation>Glänzend</translation>
    </message>
    <message>
        <source>Suggested sharpening for matte paper</source>
        <translation>Empfohlenes Schärfen für mattes Papier</translation>
    </message>
    <message>
        <source>Suggested sharpening for glossy paper</source>
        <translation>Empfohlenes Schärfen für glänzendes Papier</translation>
    </message>
    <message>
        <source>Sharpening:</source>
        <translation>Schärfen:</translation>
    </message>
    <message>
        <source>Brigh&amp;tness:</source>
        <translation>&amp;Helligkeit:</translation>
    </message>
    <message>
        <source>C&amp;ontrast:</source>
        <translation>&amp;Kontrast:</translation>
    </message>
    <message>
        <source>From the test strip:</source>
        <translation>Vom Teststreifen:</translation>
    </message>
    <message>
        <source>Sharpening and adjustment change what is printed only, never the screen.</source>
        <translation>Schärfen und Anpassung ändern nur den Druck, nie die Anzeige.</translation>
    </message>
    <message>
        <source>The preset needs a name.</source>
        <translation>Die Vorgabe braucht einen Namen.</translation>
    </message>
    <message>
        <source>The preset cannot be kept: %1.</source>
        <translation>Die Vorgabe kann nicht gespeichert werden: %1.</translation>
    </message>
    <message>
        <source>Printer profile</source>
        <translation>Druckerprofil</translation>
    </message>
    <message>
        <source>ICC profiles (*.icc *.icm *.ICC *.ICM);;All files (*)</source>
        <translation>ICC-Profile (*.icc *.icm *.ICC *.ICM);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Takes the brightness and contrast (or the rendering intent) of a step of the last test strip</source>
        <translation>Übernimmt Helligkeit und Kontrast (oder die Rendering-Priorität) einer Stufe des letzten Teststreifens</translation>
    </message>
    <message>
        <source>Step %1: %2, brightness %3, contrast %4</source>
        <translation>Stufe %1: %2, Helligkeit %3, Kontrast %4</translation>
    </message>
</context>
<context>
    <name>PaperPresetText</name>
    <message>
        <source>&quot;%1&quot; must be a number from %2 to %3</source>
        <translation>„%1“ muss eine Zahl von %2 bis %3 sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a whole number</source>
        <translation>„%1“ muss eine ganze Zahl sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be true or false</source>
        <translation>„%1“ muss true oder false sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a text of at most %2 characters</source>
        <translation>„%1“ muss ein Text mit höchstens %2 Zeichen sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a printer option value: %2</source>
        <translation>„%1“ ist kein Wert einer Druckeroption: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds control characters</source>
        <translation>„%1“ enthält Steuerzeichen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an object</source>
        <translation>„%1“ ist kein Objekt</translation>
    </message>
    <message>
        <source>&quot;options&quot; holds more than %1 printer options</source>
        <translation>„options“ enthält mehr als %1 Druckeroptionen</translation>
    </message>
    <message>
        <source>&quot;options.%1&quot; is not a printer option</source>
        <translation>„options.%1“ ist keine Druckeroption</translation>
    </message>
    <message>
        <source>the file is larger than a paper preset can be</source>
        <translation>die Datei ist größer, als eine Papiervorgabe sein kann</translation>
    </message>
    <message>
        <source>the file is damaged (not a JSON object)</source>
        <translation>die Datei ist beschädigt (kein JSON-Objekt)</translation>
    </message>
    <message>
        <source>&quot;name&quot; is missing</source>
        <translation>„name“ fehlt</translation>
    </message>
    <message>
        <source>a custom paper needs both &quot;paper.widthMm&quot; and &quot;paper.heightMm&quot;</source>
        <translation>ein eigenes Papier braucht „paper.widthMm“ und „paper.heightMm“</translation>
    </message>
    <message>
        <source>another file has the name &quot;%1&quot;</source>
        <translation>eine andere Datei hat den Namen „%1“</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>%1, %2 landscape</source>
        <translation>%1, %2 quer</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>The printer %1 of the preset &quot;%2&quot; is not there; the pages go to %3.</source>
        <translation>Der Drucker %1 der Vorgabe „%2“ ist nicht da; die Seiten gehen an %3.</translation>
    </message>
    <message>
        <source>The printer %1 does not offer the %2 of the preset &quot;%3&quot;; the printer&apos;s default is used.</source>
        <translation>Der Drucker %1 bietet %2 der Vorgabe „%3“ nicht an; die Vorgabe des Druckers wird verwendet.</translation>
    </message>
</context>
<context>
    <name>PdfJpegCarrier</name>
    <message>
        <source>The file could not be written.</source>
        <translation>Die Datei konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The picture file %1 changed while it was printed.</source>
        <translation>Die Bilddatei %1 hat sich während des Druckens geändert.</translation>
    </message>
    <message>
        <source>The picture file %1 could not be read.</source>
        <translation>Die Bilddatei %1 konnte nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>PictureViewer</name>
    <message>
        <source>View picture...</source>
        <translation>Bild ansehen...</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>Back..</source>
        <translation>Zurück..</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>Quillsheet-Picture</source>
        <translation>Quillsheet-Bild</translation>
    </message>
</context>
<context>
    <name>PrintCalibrationText</name>
    <message>
        <source>%1 x %1 mm</source>
        <translation>%1 x %1 mm</translation>
    </message>
    <message>
        <source>Printed without correction. The rulers count millimetres from the paper&apos;s edges.
1. Lay a ruler on the paper&apos;s left edge and measure to a long line of the top ruler: offset X is what you measure minus the line&apos;s number (more: the printer prints too far right).
2. The same from the top edge to a long line of the left ruler gives offset Y (more: the printer prints too low).
3. Measure the square&apos;s width: the scale is that width divided by %1 mm, in percent.
Type the three values in &quot;Calibrate printer...&quot;.</source>
        <translation>Ohne Korrektur gedruckt. Die Lineale zählen Millimeter ab den Papierkanten.
1. Legen Sie ein Lineal an die linke Papierkante und messen Sie bis zu einem langen Strich des oberen Lineals: Versatz X ist der Messwert minus die Zahl des Strichs (mehr: der Drucker druckt zu weit rechts).
2. Dasselbe von der oberen Kante bis zu einem langen Strich des linken Lineals ergibt Versatz Y (mehr: der Drucker druckt zu tief).
3. Messen Sie die Breite des Quadrats: der Maßstab ist diese Breite geteilt durch %1 mm, in Prozent.
Tragen Sie die drei Werte unter „Drucker kalibrieren...“ ein.</translation>
    </message>
    <message>
        <source>Printer calibration</source>
        <translation>Druckerkalibrierung</translation>
    </message>
</context>
<context>
    <name>PrintColourText</name>
    <message>
        <source>The printer profile %1 cannot be used: %2
The pictures are printed without it.</source>
        <translation>Das Druckerprofil %1 kann nicht verwendet werden: %2
Die Bilder werden ohne es gedruckt.</translation>
    </message>
    <message>
        <source>the desktop&apos;s monitor profile</source>
        <translation>das Monitorprofil des Desktops</translation>
    </message>
    <message>
        <source>No printer profile is chosen for this printer and paper.</source>
        <translation>Für diesen Drucker und dieses Papier ist kein Druckerprofil gewählt.</translation>
    </message>
    <message>
        <source>The soft proof cannot be made.</source>
        <translation>Der Softproof kann nicht erstellt werden.</translation>
    </message>
</context>
<context>
    <name>PrintPage</name>
    <message>
        <source>These picture files changed or are gone since they were added:
%1
They are printed from the copies shown on the screen.</source>
        <translation>Diese Bilddateien wurden geändert oder fehlen, seit sie hinzugefügt wurden:
%1
Sie werden aus den Bildschirmkopien gedruckt.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>1:1 preview of the printout</source>
        <translation>1:1-Vorschau des Ausdrucks</translation>
    </message>
    <message>
        <source>Save as image...</source>
        <translation>Als Bild speichern...</translation>
    </message>
    <message>
        <source>Dots per inch of the saved picture</source>
        <translation>Punkte pro Zoll des gespeicherten Bildes</translation>
    </message>
    <message>
        <source>The page shown and saved as a picture</source>
        <translation>Die angezeigte und als Bild gespeicherte Seite</translation>
    </message>
    <message>
        <source>Cut marks</source>
        <translation>Schnittmarken</translation>
    </message>
    <message>
        <source>Prints and saves thin marks beside the frames&apos; edges, to cut the pictures out</source>
        <translation>Druckt und speichert dünne Marken neben den Rahmenkanten, um die Bilder auszuschneiden</translation>
    </message>
    <message>
        <source>ID photo guides</source>
        <translation>Passbild-Hilfslinien</translation>
    </message>
    <message>
        <source>Colour &amp;management...</source>
        <translation>Farb&amp;management...</translation>
    </message>
    <message>
        <source>Printer profile, rendering intent and monitor profile of this printer and paper</source>
        <translation>Druckerprofil, Rendering-Priorität und Monitorprofil für diesen Drucker und dieses Papier</translation>
    </message>
    <message>
        <source>Soft &amp;proof</source>
        <translation>Soft&amp;proof</translation>
    </message>
    <message>
        <source>Shows the pictures as the printer profile prints them</source>
        <translation>Zeigt die Bilder so, wie das Druckerprofil sie druckt</translation>
    </message>
    <message>
        <source>Shows where head and eyes belong in ID photo frames; never printed</source>
        <translation>Zeigt, wohin Kopf und Augen in Passbildrahmen gehören; wird nie gedruckt</translation>
    </message>
    <message>
        <source>Calibrate printer...</source>
        <translation>Drucker kalibrieren...</translation>
    </message>
    <message>
        <source>Corrects a printer that prints off or slightly too large or small</source>
        <translation>Korrigiert einen Drucker, der versetzt oder etwas zu groß oder zu klein druckt</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Printer setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Current page:</source>
        <translation>Aktuelle Seite:</translation>
    </message>
    <message>
        <source>Bitmap quality</source>
        <translation>Bitmap-Qualität</translation>
    </message>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>Colour management</source>
        <translation>Farbmanagement</translation>
    </message>
    <message>
        <source>%1 (page %2)</source>
        <translation>%1 (Seite %2)</translation>
    </message>
    <message>
        <source>These pictures reach beyond the printable area; what lies outside is not printed:
%1</source>
        <translation>Diese Bilder reichen über den druckbaren Bereich hinaus; was außerhalb liegt, wird nicht gedruckt:
%1</translation>
    </message>
    <message>
        <source>None of the pages chosen is in the arrangement; nothing was printed.</source>
        <translation>Keine der gewählten Seiten ist im Arrangement; es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>Snapgrid-Edge document</source>
        <translation>Snapgrid-Edge-Dokument</translation>
    </message>
    <message>
        <source>Printing...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Printing cancelled; no file was written.</source>
        <translation>Drucken abgebrochen; es wurde keine Datei geschrieben.</translation>
    </message>
    <message>
        <source>Printing cancelled.</source>
        <translation>Drucken abgebrochen.</translation>
    </message>
    <message>
        <source>Could not print to the file %1!</source>
        <translation>In die Datei %1 konnte nicht gedruckt werden!</translation>
    </message>
    <message>
        <source>Could not print! Please check the printer.</source>
        <translation>Drucken nicht möglich! Bitte prüfen Sie den Drucker.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Printed to %1</source>
        <translation>Gedruckt in %1</translation>
    </message>
    <message numerus="yes">
        <source>Printed %n page(s).</source>
        <translation>
            <numerusform>%n Seite gedruckt.</numerusform>
            <numerusform>%n Seiten gedruckt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Printing goes to a PDF file, which is not corrected: it may be printed on any printer. Choose a printer in the printer setup to calibrate it.</source>
        <translation>Der Druck geht in eine PDF-Datei, die nicht korrigiert wird: sie kann auf jedem Drucker gedruckt werden. Wählen Sie in der Druckereinrichtung einen Drucker, um ihn zu kalibrieren.</translation>
    </message>
    <message>
        <source>Calibrate printer</source>
        <translation>Drucker kalibrieren</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Calibration page: %1</source>
        <translation>Kalibrierseite: %1</translation>
    </message>
    <message>
        <source>The calibration page was printed.</source>
        <translation>Die Kalibrierseite wurde gedruckt.</translation>
    </message>
    <message>
        <source>The soft proof cannot be shown.
%1</source>
        <translation>Der Softproof kann nicht angezeigt werden.
%1</translation>
    </message>
    <message>
        <source>Soft proof</source>
        <translation>Softproof</translation>
    </message>
    <message>
        <source>PNG image (*.png);;JPEG image (*.jpg *.jpeg);;TIFF image (*.tif *.tiff);;Windows bitmap (*.bmp);;PDF document, all pages (*.pdf)</source>
        <translation>PNG-Bild (*.png);;JPEG-Bild (*.jpg *.jpeg);;TIFF-Bild (*.tif *.tiff);;Windows-Bitmap (*.bmp);;PDF-Dokument, alle Seiten (*.pdf)</translation>
    </message>
    <message>
        <source>Save all %1 pages? Each page becomes a picture of its own, numbered after the name.
No saves the current page only.</source>
        <translation>Alle %1 Seiten speichern? Jede Seite wird ein eigenes Bild, nach dem Namen nummeriert.
Nein speichert nur die aktuelle Seite.</translation>
    </message>
    <message>
        <source>These files exist already:
%1
Replace them?</source>
        <translation>Diese Dateien gibt es schon:
%1
Ersetzen?</translation>
    </message>
    <message>
        <source>Saving...</source>
        <translation>Speichern...</translation>
    </message>
    <message>
        <source>%1 saved</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) saved</source>
        <translation>
            <numerusform>%n Seite gespeichert</numerusform>
            <numerusform>%n Seiten gespeichert</numerusform>
        </translation>
    </message>
    <message>
        <source>Saving cancelled; no file was written.</source>
        <translation>Speichern abgebrochen; es wurde keine Datei geschrieben.</translation>
    </message>
    <message>
        <source>Saving cancelled.</source>
        <translation>Speichern abgebrochen.</translation>
    </message>
    <message>
        <source>Not enough memory for an image of this page at %1 DPI!</source>
        <translation>Nicht genug Speicher für ein Bild dieser Seite mit %1 DPI!</translation>
    </message>
    <message>
        <source>Could not save %1!</source>
        <translation>%1 konnte nicht gespeichert werden!</translation>
    </message>
    <message>
        <source>Printer, paper, colour and sharpening kept under one name</source>
        <translation>Drucker, Papier, Farbe und Schärfen unter einem Namen</translation>
    </message>
    <message>
        <source>&amp;Edit preset...</source>
        <translation>Vorgabe &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>Edits the chosen paper preset, or makes one from the printer&apos;s paper</source>
        <translation>Bearbeitet die gewählte Papiervorgabe oder erstellt eine aus dem Papier des Druckers</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>&amp;Job log...</source>
        <translation>&amp;Auftragsprotokoll...</translation>
    </message>
    <message>
        <source>The last jobs printed or saved, with the options the printer was given</source>
        <translation>Die letzten gedruckten oder gespeicherten Aufträge mit den Optionen, die der Drucker bekam</translation>
    </message>
    <message>
        <source>Removes the chosen paper preset</source>
        <translation>Entfernt die gewählte Papiervorgabe</translation>
    </message>
    <message>
        <source>Paper preset:</source>
        <translation>Papiervorgabe:</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Could not keep the paper preset: %1</source>
        <translation>Die Papiervorgabe konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Could not keep earlier printer settings as paper presets: %1</source>
        <translation>Frühere Druckereinstellungen konnten nicht als Papiervorgaben übernommen werden: %1</translation>
    </message>
    <message>
        <source>Paper presets left out: %1</source>
        <translation>Ausgelassene Papiervorgaben: %1</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>Paper preset: %1</source>
        <translation>Papiervorgabe: %1</translation>
    </message>
    <message>
        <source>Remove the paper preset &quot;%1&quot;?</source>
        <translation>Die Papiervorgabe „%1“ entfernen?</translation>
    </message>
    <message>
        <source>Paper preset</source>
        <translation>Papiervorgabe</translation>
    </message>
</context>
<context>
    <name>PrintSheetDialog</name>
    <message>
        <source>Print sheets</source>
        <translation>Druckbögen</translation>
    </message>
    <message>
        <source>Name of your size</source>
        <translation>Name Ihrer Größe</translation>
    </message>
    <message>
        <source>Keep as my size</source>
        <translation>Als meine Größe behalten</translation>
    </message>
    <message>
        <source>One picture, filling the sheet</source>
        <translation>Ein Bild, bogenfüllend</translation>
    </message>
    <message>
        <source>Several pictures and sizes on one sheet</source>
        <translation>Mehrere Bilder und Größen auf einem Bogen</translation>
    </message>
    <message>
        <source>As many as fit on the sheet</source>
        <translation>So viele, wie auf den Bogen passen</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Add to the list</source>
        <translation>Zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Distance from the paper&apos;s edge; the printer&apos;s unprintable border is always kept free</source>
        <translation>Abstand vom Papierrand; der nicht bedruckbare Rand des Druckers bleibt immer frei</translation>
    </message>
    <message>
        <source>Room between the frames for cutting</source>
        <translation>Platz zwischen den Rahmen zum Schneiden</translation>
    </message>
    <message>
        <source>Borderless</source>
        <translation>Randlos</translation>
    </message>
    <message>
        <source>Frames may reach the paper&apos;s edge; with a margin of 0 they print to it</source>
        <translation>Rahmen dürfen bis zum Papierrand reichen; mit Rand 0 wird bis dorthin gedruckt</translation>
    </message>
    <message>
        <source>Choose a borderless paper size in the printer setup first</source>
        <translation>Wählen Sie zuerst in der Druckereinrichtung ein randloses Papierformat</translation>
    </message>
    <message>
        <source>How far frames at the paper&apos;s edge are drawn beyond it, so no white edge is left</source>
        <translation>Wie weit Rahmen am Papierrand darüber hinaus gezeichnet werden, damit kein weißer Rand bleibt</translation>
    </message>
    <message>
        <source>%1 (yours)</source>
        <translation>%1 (eigene)</translation>
    </message>
    <message>
        <source>Own size (typed below)</source>
        <translation>Eigene Größe (unten eingeben)</translation>
    </message>
    <message>
        <source>These sizes of yours could not be read and are left out:
%1</source>
        <translation>Diese eigenen Größen konnten nicht gelesen werden und werden ausgelassen:
%1</translation>
    </message>
    <message>
        <source>Print size</source>
        <translation>Druckgröße</translation>
    </message>
    <message>
        <source>Width x height:</source>
        <translation>Breite x Höhe:</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation>Bild:</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Anzahl:</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Rand:</translation>
    </message>
    <message>
        <source>Gap for cutting:</source>
        <translation>Schnittabstand:</translation>
    </message>
    <message>
        <source>Overspill:</source>
        <translation>Überstand:</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Platzieren</translation>
    </message>
    <message>
        <source>Give your size a name first.</source>
        <translation>Geben Sie Ihrer Größe zuerst einen Namen.</translation>
    </message>
    <message>
        <source>Your size could not be kept: %1</source>
        <translation>Ihre Größe konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Add a picture to the list first.</source>
        <translation>Fügen Sie zuerst ein Bild zur Liste hinzu.</translation>
    </message>
    <message>
        <source>The collection has no picture to place.</source>
        <translation>Die Sammlung hat kein Bild zum Platzieren.</translation>
    </message>
    <message>
        <source>%1 frames on %2 pages, %3 on the first.</source>
        <translation>%1 Rahmen auf %2 Seiten, %3 auf der ersten.</translation>
    </message>
    <message>
        <source>%1 frames on one page.</source>
        <translation>%1 Rahmen auf einer Seite.</translation>
    </message>
    <message>
        <source>Shaded frames are turned, so more fit; their pictures are turned with them.</source>
        <translation>Schattierte Rahmen sind gedreht, damit mehr passen; ihre Bilder werden mitgedreht.</translation>
    </message>
    <message>
        <source>1 frame on one page.</source>
        <translation>1 Rahmen auf einer Seite.</translation>
    </message>
</context>
<context>
    <name>PrintSheetMakerText</name>
    <message>
        <source>Add pictures to the collection first.</source>
        <translation>Fügen Sie zuerst Bilder zur Sammlung hinzu.</translation>
    </message>
    <message>
        <source>Print sheets</source>
        <translation>Druckbögen</translation>
    </message>
    <message>
        <source>Print sheet</source>
        <translation>Druckbogen</translation>
    </message>
    <message>
        <source>%1 frames placed on pages %2 to %3</source>
        <translation>%1 Rahmen auf den Seiten %2 bis %3 platziert</translation>
    </message>
    <message>
        <source>%1 frames placed</source>
        <translation>%1 Rahmen platziert</translation>
    </message>
    <message>
        <source>1 frame placed</source>
        <translation>1 Rahmen platziert</translation>
    </message>
</context>
<context>
    <name>PrintSheetText</name>
    <message>
        <source>A frame has no picture. Nothing was placed.</source>
        <translation>Ein Rahmen hat kein Bild. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>These frames need more than %1 pages. Nothing was placed.</source>
        <translation>Diese Rahmen brauchen mehr als %1 Seiten. Es wurde nichts platziert.</translation>
    </message>
</context>
<context>
    <name>PrintSizesText</name>
    <message>
        <source>&quot;%1&quot; is missing or not a number</source>
        <translation>„%1“ fehlt oder ist keine Zahl</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be greater than 0</source>
        <translation>„%1“ muss größer als 0 sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is larger than %2 mm</source>
        <translation>„%1“ ist größer als %2 mm</translation>
    </message>
    <message>
        <source>&quot;id.%1&quot; must be a number of millimetres inside the frame</source>
        <translation>„id.%1“ muss eine Zahl von Millimetern innerhalb des Rahmens sein</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>Wallet</source>
        <translation>Brieftaschenformat</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Quadrat</translation>
    </message>
    <message>
        <source>ID photo</source>
        <translation>Ausweisfoto</translation>
    </message>
    <message>
        <source>Passport / ID</source>
        <translation>Pass / Ausweis</translation>
    </message>
    <message>
        <source>Passport / visa</source>
        <translation>Pass / Visum</translation>
    </message>
    <message>
        <source>the file is larger than a print size can be</source>
        <translation>die Datei ist größer, als eine Druckgröße sein kann</translation>
    </message>
    <message>
        <source>the file is damaged (not a JSON object)</source>
        <translation>die Datei ist beschädigt (kein JSON-Objekt)</translation>
    </message>
    <message>
        <source>&quot;name&quot; is missing</source>
        <translation>„name“ fehlt</translation>
    </message>
    <message>
        <source>unknown unit &quot;%1&quot; (mm, cm or in)</source>
        <translation>unbekannte Einheit „%1“ (mm, cm oder in)</translation>
    </message>
    <message>
        <source>the head or eye range of &quot;id&quot; ends before it starts</source>
        <translation>der Kopf- oder Augenbereich von „id“ endet, bevor er beginnt</translation>
    </message>
    <message>
        <source>&quot;id&quot; is not an object</source>
        <translation>„id“ ist kein Objekt</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>PrinterOptionsText</name>
    <message>
        <source>%1 &quot;%2&quot;</source>
        <translation>%1 „%2“</translation>
    </message>
    <message>
        <source>The printing system does not know the printer %1.</source>
        <translation>Das Drucksystem kennt den Drucker %1 nicht.</translation>
    </message>
    <message>
        <source>The printer %1 does not say what it offers.</source>
        <translation>Der Drucker %1 gibt nicht an, was er anbietet.</translation>
    </message>
    <message>
        <source>This program was built without the printing system&apos;s library.</source>
        <translation>Dieses Programm wurde ohne die Bibliothek des Drucksystems gebaut.</translation>
    </message>
    <message>
        <source>tray</source>
        <translation>das Fach</translation>
    </message>
    <message>
        <source>media type</source>
        <translation>den Medientyp</translation>
    </message>
    <message>
        <source>quality</source>
        <translation>die Qualität</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>(the printer&apos;s default)</source>
        <translation>(Vorgabe des Druckers)</translation>
    </message>
</context>
<context>
    <name>SheetLayoutText</name>
    <message>
        <source>A frame of %1 x %2 mm does not fit on the paper: the room inside the margins is %3 x %4 mm. Nothing was placed.</source>
        <translation>Ein Rahmen von %1 x %2 mm passt nicht auf das Papier: innerhalb der Ränder ist %3 x %4 mm Platz. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>The print size is empty. Nothing was placed.</source>
        <translation>Die Druckgröße ist leer. Es wurde nichts platziert.</translation>
    </message>
    <message>
        <source>%1 frames of %2 x %3 mm fit on the paper, more than the %4 placed at once. Nothing was placed.</source>
        <translation>%1 Rahmen von %2 x %3 mm passen auf das Papier, mehr als die %4, die auf einmal platziert werden. Es wurde nichts platziert.</translation>
    </message>
</context>
<context>
    <name>SheetMakers</name>
    <message>
        <source>&amp;Print sheets...</source>
        <translation>&amp;Druckbögen...</translation>
    </message>
    <message>
        <source>Fills pages with frames of standard print and ID photo sizes, ready to cut</source>
        <translation>Füllt Seiten mit Rahmen in Standard- und Passbildgrößen, fertig zum Schneiden</translation>
    </message>
    <message>
        <source>&amp;Contact sheet...</source>
        <translation>&amp;Kontaktbogen...</translation>
    </message>
    <message>
        <source>Every picture of the collection or of a folder as a small captioned frame, in rows and columns</source>
        <translation>Jedes Bild der Sammlung oder eines Ordners als kleiner beschrifteter Rahmen, in Zeilen und Spalten</translation>
    </message>
    <message>
        <source>&amp;Test strip...</source>
        <translation>&amp;Teststreifen...</translation>
    </message>
    <message>
        <source>One picture in labelled steps of brightness or contrast, to find what prints best</source>
        <translation>Ein Bild in beschrifteten Stufen von Helligkeit oder Kontrast, um den besten Druck zu finden</translation>
    </message>
    <message>
        <source>&amp;Order sheets...</source>
        <translation>&amp;Bestellbögen...</translation>
    </message>
    <message>
        <source>The prints of many orders (a class, a team) from a list or a CSV file, packed on the fewest sheets</source>
        <translation>Die Abzüge vieler Bestellungen (eine Klasse, ein Team) aus einer Liste oder CSV-Datei, auf möglichst wenige Bögen gepackt</translation>
    </message>
</context>
<context>
    <name>SinglePrintDialog</name>
    <message>
        <source>Print picture...</source>
        <translation>Bild drucken...</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>Vorschau:</translation>
    </message>
    <message>
        <source>Setup printer...</source>
        <translation>Drucker einrichten...</translation>
    </message>
    <message>
        <source>Print size</source>
        <translation>Druckgröße</translation>
    </message>
    <message>
        <source>Use page fully</source>
        <translation>Seite voll nutzen</translation>
    </message>
    <message>
        <source>User-defined</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>Width in %:</source>
        <translation>Breite in %:</translation>
    </message>
    <message>
        <source>Height in %:</source>
        <translation>Höhe in %:</translation>
    </message>
    <message>
        <source>Print options</source>
        <translation>Druckoptionen</translation>
    </message>
    <message>
        <source>Maintain aspect ratio</source>
        <translation>Seitenverhältnis beibehalten</translation>
    </message>
    <message>
        <source>Centered output</source>
        <translation>Zentrierte Ausgabe</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Could not print to the file %1!</source>
        <translation>In die Datei %1 konnte nicht gedruckt werden!</translation>
    </message>
    <message>
        <source>Could not print! Please check the printer.</source>
        <translation>Drucken nicht möglich! Bitte prüfen Sie den Drucker.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Printed to %1</source>
        <translation>Gedruckt in %1</translation>
    </message>
</context>
<context>
    <name>SizePositionDialog</name>
    <message>
        <source>Change size and position</source>
        <translation>Größe und Position ändern</translation>
    </message>
    <message>
        <source>Left:</source>
        <translation>Links:</translation>
    </message>
    <message>
        <source>Top:</source>
        <translation>Oben:</translation>
    </message>
    <message>
        <source>Right:</source>
        <translation>Rechts:</translation>
    </message>
    <message>
        <source>Bottom:</source>
        <translation>Unten:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>mm =</source>
        <translation>mm =</translation>
    </message>
    <message>
        <source>inch</source>
        <translation>Zoll</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Enlarges the picture inside its frame; move it with Ctrl+drag in the page view</source>
        <translation>Vergrößert das Bild in seinem Rahmen; verschieben mit Strg+Ziehen in der Seitenansicht</translation>
    </message>
    <message>
        <source>Picture zoom:</source>
        <translation>Bildzoom:</translation>
    </message>
    <message>
        <source>Page:</source>
        <translation>Seite:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>The coordinates are not valid! Left have to be smaller then right and top have to be smaller than bottom!</source>
        <translation>Die Koordinaten sind ungültig! Links muss kleiner als rechts und oben kleiner als unten sein!</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>SortPage</name>
    <message>
        <source>Move upward</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move downward</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Sort by names...</source>
        <translation>Nach Namen sortieren...</translation>
    </message>
    <message>
        <source>The order of the pictures; double click shows one</source>
        <translation>Die Reihenfolge der Bilder; ein Doppelklick zeigt eines</translation>
    </message>
    <message>
        <source>Sort by names</source>
        <translation>Nach Namen sortieren</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&lt;b&gt;Snapgrid-Atlas&lt;/b&gt;&lt;br&gt;Version 4.0&lt;br&gt;Lays out photographs on printed pages.</source>
        <translation>&lt;b&gt;Snapgrid-Atlas&lt;/b&gt;&lt;br&gt;Version 4.0&lt;br&gt;Ordnet Fotos auf gedruckten Seiten an.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Home page</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>User &amp;guide</source>
        <translation>&amp;Handbuch</translation>
    </message>
</context>
<context>
    <name>TColorBox</name>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Lila</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>Türkis</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Starts a new, empty arrangement</source>
        <translation>Beginnt ein neues, leeres Arrangement</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>Opens an arrangement file</source>
        <translation>Öffnet eine Arrangement-Datei</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Saves the arrangement</source>
        <translation>Speichert das Arrangement</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Saves the arrangement under a new name</source>
        <translation>Speichert das Arrangement unter einem neuen Namen</translation>
    </message>
    <message>
        <source>&amp;Add file</source>
        <translation>Datei &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Adds the selected files to the pictures</source>
        <translation>Fügt die ausgewählten Dateien zu den Bildern hinzu</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Removes the selected pictures and their placements (%1)</source>
        <translation>Entfernt die ausgewählten Bilder und ihre Platzierungen (%1)</translation>
    </message>
    <message>
        <source>&amp;Show big</source>
        <translation>&amp;Groß anzeigen</translation>
    </message>
    <message>
        <source>Shows the selected picture in its own window</source>
        <translation>Zeigt das ausgewählte Bild in einem eigenen Fenster</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Prints the selected picture on its own</source>
        <translation>Druckt das ausgewählte Bild allein</translation>
    </message>
    <message>
        <source>Move upward</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Moves the selected picture one place up</source>
        <translation>Schiebt das ausgewählte Bild eine Stelle nach oben</translation>
    </message>
    <message>
        <source>Move downward</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Moves the selected picture one place down</source>
        <translation>Schiebt das ausgewählte Bild eine Stelle nach unten</translation>
    </message>
    <message>
        <source>Sort by names...</source>
        <translation>Nach Namen sortieren...</translation>
    </message>
    <message>
        <source>Sorts the pictures by their file names</source>
        <translation>Sortiert die Bilder nach ihren Dateinamen</translation>
    </message>
    <message>
        <source>&amp;Add all pictures...</source>
        <translation>Alle Bilder &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>Places every picture on the current page</source>
        <translation>Platziert jedes Bild auf der aktuellen Seite</translation>
    </message>
    <message>
        <source>Arrange &amp;automatically...</source>
        <translation>&amp;Automatisch anordnen...</translation>
    </message>
    <message>
        <source>Arranges all pictures on the sheet automatically</source>
        <translation>Ordnet alle Bilder automatisch auf dem Bogen an</translation>
    </message>
    <message>
        <source>Rotate to the &amp;left (90°)...</source>
        <translation>Nach &amp;links drehen (90°)...</translation>
    </message>
    <message>
        <source>Turns the selected picture a quarter to the left</source>
        <translation>Dreht das ausgewählte Bild um eine Vierteldrehung nach links</translation>
    </message>
    <message>
        <source>Rotate to the &amp;right (90°)...</source>
        <translation>Nach &amp;rechts drehen (90°)...</translation>
    </message>
    <message>
        <source>Turns the selected picture a quarter to the right</source>
        <translation>Dreht das ausgewählte Bild um eine Vierteldrehung nach rechts</translation>
    </message>
    <message>
        <source>Brightness, contrast and saturation...</source>
        <translation>Helligkeit, Kontrast und Sättigung...</translation>
    </message>
    <message>
        <source>Changes brightness, contrast and saturation of the selected picture</source>
        <translation>Ändert Helligkeit, Kontrast und Sättigung des ausgewählten Bildes</translation>
    </message>
    <message>
        <source>&amp;Size and position...</source>
        <translation>Größe und &amp;Position...</translation>
    </message>
    <message>
        <source>Types position and size of the selected placement</source>
        <translation>Position und Größe der ausgewählten Platzierung eingeben</translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation>&amp;Löschen...</translation>
    </message>
    <message>
        <source>Removes the selected placement from the page (%1)</source>
        <translation>Entfernt die ausgewählte Platzierung von der Seite (%1)</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom to fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Starting the print process...</source>
        <translation>Druckvorgang wird gestartet...</translation>
    </message>
    <message>
        <source>Printer setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Click here, in order to select another printer or another paper format</source>
        <translation>Hier klicken, um einen anderen Drucker oder ein anderes Papierformat zu wählen</translation>
    </message>
    <message>
        <source>Save as image...</source>
        <translation>Als Bild speichern...</translation>
    </message>
    <message>
        <source>Saves the current page as a picture file</source>
        <translation>Speichert die aktuelle Seite als Bilddatei</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Home page</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>Opens the home page in the web browser</source>
        <translation>Öffnet die Homepage im Webbrowser</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Add picture</source>
        <translation>Bild hinzufügen</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Anordnen</translation>
    </message>
    <message>
        <source>Print/Save as image</source>
        <translation>Drucken/Als Bild speichern</translation>
    </message>
    <message>
        <source>Dropped files wait until loading ends.</source>
        <translation>Abgelegte Dateien warten, bis das Laden endet.</translation>
    </message>
    <message>
        <source>If you quit now all data not saved will be lost!</source>
        <translation>Wenn Sie jetzt beenden, gehen alle nicht gespeicherten Daten verloren!</translation>
    </message>
    <message>
        <source>Quit program</source>
        <translation>Programm beenden</translation>
    </message>
    <message>
        <source>The file %1 no longer exists and was removed from the list.</source>
        <translation>Die Datei %1 existiert nicht mehr und wurde aus der Liste entfernt.</translation>
    </message>
    <message>
        <source>File/Open</source>
        <translation>Datei/Öffnen</translation>
    </message>
    <message>
        <source>All pictures|*.BMP;*.DIB;*.GIF;*.IFF;*.JIF;*.JPG;*.JPEG;*.JPE;*.LBM;*.PCX;*.RLE;*.TGA;*.TIF;*.TIFF;*.PNG;*.WEBP;*.HEIC;*.HEIF;*.EMF|BMP - Windows, OS/2 Bitmap|*.BMP|DIB - Windows, OS/2 DIB|*.DIB|GIF - CompuServe Graphics Interchange|*.GIF|IFF - Amiga|*.IFF|JIF - JPEG - JFIF Compilant|*.JIF|JPG - JPEG - JFIF Compilant|*.JPG;*.JPEG;*.JPE|LBM - Deluxe Paint|*.LBM|PCX - ZSoft Paintbrush|*.PCX|RLE - Windows RLE|*.RLE|TGA - Truevision Targa|*.TGA|TIF - Tagged image file Format|*.TIF;*.TIFF|PNG - Portable Graphics Network|*.PNG|WEBP - WebP picture|*.WEBP|HEIC - High Efficiency Image File|*.HEIC;*.HEIF|EMF - Windows Enhanced Metafile|*.EMF|All files (*.*)|*.*</source>
        <translation>Alle Bilder|*.BMP;*.DIB;*.GIF;*.IFF;*.JIF;*.JPG;*.JPEG;*.JPE;*.LBM;*.PCX;*.RLE;*.TGA;*.TIF;*.TIFF;*.PNG;*.WEBP;*.HEIC;*.HEIF;*.EMF|BMP - Windows, OS/2 Bitmap|*.BMP|DIB - Windows, OS/2 DIB|*.DIB|GIF - CompuServe Graphics Interchange|*.GIF|IFF - Amiga|*.IFF|JIF - JPEG - JFIF Compilant|*.JIF|JPG - JPEG - JFIF Compilant|*.JPG;*.JPEG;*.JPE|LBM - Deluxe Paint|*.LBM|PCX - ZSoft Paintbrush|*.PCX|RLE - Windows RLE|*.RLE|TGA - Truevision Targa|*.TGA|TIF - Tagged image file Format|*.TIF;*.TIFF|PNG - Portable Graphics Network|*.PNG|WEBP - WebP picture|*.WEBP|HEIC - High Efficiency Image File|*.HEIC;*.HEIF|EMF - Windows Enhanced Metafile|*.EMF|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Picture: none</source>
        <translation>Bild: keines</translation>
    </message>
    <message>
        <source>Thumbnail: </source>
        <translation>Miniatur: </translation>
    </message>
    <message>
        <source> of </source>
        <translation> von </translation>
    </message>
    <message>
        <source>Error: The file </source>
        <translation>Fehler: Die Datei </translation>
    </message>
    <message>
        <source> could not be loaded!</source>
        <translation> konnte nicht geladen werden!</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weiteres.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not change the number of colours! (Low memory?!)</source>
        <translation>Die Anzahl der Farben konnte nicht geändert werden! (Zu wenig Speicher?!)</translation>
    </message>
    <message>
        <source>Error while enlarge the picture to min. quality...</source>
        <translation>Fehler beim Vergrößern des Bildes auf Mindestqualität...</translation>
    </message>
</context>
<context>
    <name>TPrinterSetupDialog</name>
    <message>
        <source>Printer setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>PDF file</source>
        <translation>PDF-Datei</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Printer:</source>
        <translation>Drucker:</translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation>Papier:</translation>
    </message>
</context>
<context>
    <name>TestStripDialog</name>
    <message>
        <source>Test strip</source>
        <translation>Teststreifen</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Print the strip with no print adjustment in the paper preset, then enter the values of the step that looks best in the preset.</source>
        <translation>Drucken Sie den Streifen ohne Druckanpassung in der Papiervorgabe und tragen Sie dann die Werte der besten Stufe in die Vorgabe ein.</translation>
    </message>
    <message>
        <source>&amp;Picture:</source>
        <translation>&amp;Bild:</translation>
    </message>
    <message>
        <source>&amp;Steps:</source>
        <translation>&amp;Stufen:</translation>
    </message>
    <message>
        <source>&amp;Varies:</source>
        <translation>&amp;Verändert:</translation>
    </message>
    <message>
        <source>Step si&amp;ze:</source>
        <translation>Stufen&amp;weite:</translation>
    </message>
    <message>
        <source>Middle step&apos;s &amp;brightness:</source>
        <translation>&amp;Helligkeit der mittleren Stufe:</translation>
    </message>
    <message>
        <source>Middle step&apos;s &amp;contrast:</source>
        <translation>&amp;Kontrast der mittleren Stufe:</translation>
    </message>
    <message>
        <source>Rendering intent</source>
        <translation>Rendering-Priorität</translation>
    </message>
</context>
<context>
    <name>TestStripMakerText</name>
    <message>
        <source>Add pictures to the collection first.</source>
        <translation>Fügen Sie zuerst Bilder zur Sammlung hinzu.</translation>
    </message>
    <message>
        <source>Test strip</source>
        <translation>Teststreifen</translation>
    </message>
    <message>
        <source>The paper is too small for a test strip.</source>
        <translation>Das Papier ist zu klein für einen Teststreifen.</translation>
    </message>
    <message>
        <source>The arrangement has no page left for the test strip.</source>
        <translation>Das Arrangement hat keine Seite mehr für den Teststreifen.</translation>
    </message>
    <message>
        <source>Test strip of %1 steps placed on page %2</source>
        <translation>Teststreifen mit %1 Stufen auf Seite %2 platziert</translation>
    </message>
</context>
<context>
    <name>TestStripText</name>
    <message>
        <source>Brightness %1</source>
        <translation>Helligkeit %1</translation>
    </message>
    <message>
        <source>Contrast %1</source>
        <translation>Kontrast %1</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>Wahrnehmungsorientiert</translation>
    </message>
    <message>
        <source>Relative colorimetric</source>
        <translation>Relativ farbmetrisch</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Absolute colorimetric</source>
        <translation>Absolut farbmetrisch</translation>
    </message>
    <message>
        <source>Brightness %1, contrast %2</source>
        <translation>Helligkeit %1, Kontrast %2</translation>
    </message>
</context>
<context>
    <name>ToneDialog</name>
    <message>
        <source>Brightness, contrast and saturation</source>
        <translation>Helligkeit, Kontrast und Sättigung</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Helligkeit:</translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation>Kontrast:</translation>
    </message>
    <message>
        <source>Saturation:</source>
        <translation>Sättigung:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
</TS>
