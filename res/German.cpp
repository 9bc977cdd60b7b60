// The German resources, as a resource script writes them under LANGUAGE LANG_GERMAN. What is
// missing here is taken from the English ones.
#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

#include <iterator>

namespace {

constexpr LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT);

// In ascending order of identifier.
constexpr AFX_STRING_ENTRY kStrings[] = {
    {IDS_EDIT, u"Bearbeiten"},
    {IDS_TOOLS, u"Extras"},
    // With the file dialog's filter and extension, for a framework whose file dialogs take them.
    {IDR_MAINFRAME, u"VestoryList\n\nVestoryList\nVestoryList-Dateien (*.vsl)\n.vsl\n"
                    u"VestoryList.Document\nVestoryList-Dokument"},
    {IDS_CHECKBOXES, u"In der Reinigung"},
    {IDS_COLUMN_AC, u"R"},
    {IDS_COLUMN_ITEM_NAME, u"Bezeichnung"},
    {IDS_COLUMN_QTY, u"Anz."},
    {IDS_COLUMN_DATE, u"Datum"},
    {IDP_SAVE_FAILED, u"Die Listendatei konnte nicht gespeichert werden!"},
    {IDP_DELETE_RECORD, u"Möchten Sie diesen Eintrag wirklich löschen?"},
    {IDP_NOTHING_PASTED, u"Es wurde nichts eingefügt: %s."},
    {IDP_NOT_A_LIST_FILE,
     u"%s ist keine vollständige Listendatei. Die Liste wurde nicht geändert."},
    {IDP_LIST_UNREADABLE,
     u"Die Listendatei %s kann nicht gelesen werden: %s. Es wurde nichts geändert."},
    {IDP_LIST_TOO_LARGE, u"Die Listendatei %s ist zu groß zum Lesen. Es wurde nichts geändert."},
    {IDP_DAMAGED_NOT_KEPT, u"Die Listendatei ist beschädigt. Gelesene Einträge: %d. Die "
                           u"beschädigte Datei konnte nicht aufbewahrt werden."},
    {IDP_DAMAGED_KEPT, u"Die Listendatei ist beschädigt. Gelesene Einträge: %d. Die beschädigte "
                       u"Datei wurde als %s aufbewahrt."},
    {IDP_QUIT_UNSAVED, u"Die Liste konnte nicht gespeichert werden: %s. Trotzdem beenden und die "
                       u"nicht gespeicherten Änderungen verwerfen?"},
    {IDS_NO_MEMORY, u"nicht genügend Arbeitsspeicher"},
    {IDS_PASTE_TOO_LARGE,
     u"die Liste würde größer, als das Programm beim nächsten Start lesen kann"},
    {IDS_PASTE_NO_MEMORY, u"dafür ist nicht genügend Arbeitsspeicher vorhanden"},
    {IDP_COPY_NOT_WHOLE, u"%s lässt sich nicht als ganze Liste lesen und wurde daher nicht "
                         u"zusammengeführt. Die Datei bleibt, wo sie ist."},
    {IDP_NOTHING_COPIED, u"Es wurde nichts kopiert: %s."},
    {IDS_HELP_FIRST, u"Mit VestoryList behalten Sie im Blick, welche Kleidungsstücke "},
    {IDS_HELP_FIRST + 1, u"gerade in der Reinigung sind.\r\n\r\n"},
    {IDS_HELP_FIRST + 2, u"Spalten:\r\n"},
    {IDS_HELP_FIRST + 3, u"[R] = In der Reinigung; Haken für ja, leer für nein.\r\n"},
    {IDS_HELP_FIRST + 4, u"[Bezeichnung] = Bezeichnung des Kleidungsstücks.\r\n"},
    {IDS_HELP_FIRST + 5, u"[Anz.] = Anzahl.\r\n"},
    {IDS_HELP_FIRST + 6, u"[Datum] = Abgabedatum; es wird eingetragen oder gelöscht, wenn Sie den "
                         u"Haken bei [In der Reinigung] setzen oder entfernen.\r\n\r\n"},
    {IDS_HELP_FIRST + 7,
     u"Neue Kleidungsstücke fügen Sie über das Menü [Liste->Neues Kleidungsstück] hinzu.\r\n\r\n"},
    {IDS_HELP_FIRST + 8, u"Zum Bearbeiten tippen Sie auf den Namen eines Kleidungsstücks und "
                         u"wählen im aufklappenden Menü [Bearbeiten].\r\n\r\n"},
    {IDS_HELP_FIRST + 9, u"Sortieren Sie die Liste, indem Sie auf einen der Spaltenköpfe [R], "
                         u"[Bezeichnung] oder [Anz.] tippen.\r\n\r\n"},
    {IDS_HELP_FIRST + 10, u"Die Breite der Spalten ändern Sie, indem Sie die Trennlinien zwischen "
                          u"den Spaltenköpfen ziehen.\r\n\r\n"},
    {IDS_HELP_FIRST + 11, u"Mehr über dieses und andere Programme für Handhelds "},
    {IDS_HELP_FIRST + 12, u"steht in der README-Datei in " VESTORYLIST_DOCDIR ".\r\n\r\n"},
    {IDS_HELP_LAST, u"Für diese Software wird keinerlei Gewährleistung übernommen, weder "
                    u"ausdrücklich noch stillschweigend. Die Nutzung erfolgt auf eigene Gefahr."},
    {IDS_LIST, u"Liste"},
    {IDS_POPUP_MENU, u"POPUP_MENU"},
    {AFX_IDS_IDLEMESSAGE, u"Bereit"},
    {ID_FILE_SAVE_AS, u"Die Liste unter einem neuen Namen speichern\nSpeichern unter"},
    {ID_EDIT_CLEAR, u"Die Auswahl löschen\nLöschen"},
    {ID_EDIT_CLEAR_ALL, u"Alles löschen\nAlles löschen"},
    {ID_EDIT_COPY, u"Die Auswahl kopieren und in die Zwischenablage legen\nKopieren"},
    {ID_EDIT_CUT, u"Die Auswahl ausschneiden und in die Zwischenablage legen\nAusschneiden"},
    {ID_EDIT_FIND, u"Den angegebenen Text suchen\nSuchen"},
    {ID_EDIT_PASTE, u"Den Inhalt der Zwischenablage einfügen\nEinfügen"},
    {ID_EDIT_REPEAT, u"Die letzte Aktion wiederholen\nWiederholen"},
    {ID_EDIT_REPLACE, u"Den angegebenen Text durch einen anderen ersetzen\nErsetzen"},
    {ID_EDIT_SELECT_ALL, u"Alles auswählen\nAlles auswählen"},
    {ID_EDIT_UNDO, u"Die letzte Aktion rückgängig machen\nRückgängig"},
    {ID_EDIT_REDO, u"Die zuletzt rückgängig gemachte Aktion wiederholen\nWiederherstellen"},
    {ID_WINDOW_SPLIT, u"Das Fenster in Bereiche teilen\nTeilen"},
    {ID_APP_ABOUT, u"Name, Version und Hilfe des Programms anzeigen\nInfo"},
    {ID_APP_EXIT, u"Das Programm beenden\nBeenden"},
    {ID_NEXT_PANE, u"Zum nächsten Bereich wechseln\nNächster Bereich"},
    {ID_PREV_PANE, u"Zum vorherigen Bereich zurückwechseln\nVorheriger Bereich"},
    {ID_INDICATOR_CAPS, u"UF"},
    {AFX_IDS_SCCLOSE, u"Das Fenster schließen"},
    {AFX_IDS_SCTASKLIST, u"Zur Taskliste wechseln"},
    {AFX_IDS_OPENFILE, u"Öffnen"},
    {AFX_IDS_SAVEFILE, u"Speichern unter"},
    {AFX_IDS_ALLFILTER, u"Alle Dateien (*)"},
    {AFX_IDS_BACKUPFILTER, u"Sicherungen (*%s.bak)"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, u"%s kann nicht geöffnet werden."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, u"%s kann nicht gespeichert werden."},
    {AFX_IDP_FAILED_INVALID_FORMAT, u"Unerwartetes Dateiformat."},
    {AFX_IDP_FILE_HELD_BY,
     u"%s läuft bereits mit dieser Liste (Prozess %d), antwortet aber nicht."},
    {AFX_IDP_FILE_HELD, u"%s läuft bereits mit dieser Liste, antwortet aber nicht."},
    {IDS_TIP_NEW, u"Neu"},
    {IDS_TIP_FILE, u"Datei"},
    {IDS_TIP_HELP, u"Hilfe"},
    {IDS_TIP_SAVE, u"Speichern"},
    {IDS_TIP_CUT, u"Ausschneiden"},
    {IDS_TIP_COPY, u"Kopieren"},
    {IDS_TIP_PASTE, u"Einfügen"},
    {IDS_TIP_ABOUT, u"Info"},
};

} // namespace

std::vector<AFX_RESOURCE> GermanResources() {
    // Made on first use, as the English ones are, so that they are there even during start-up.
    static const AFX_MENU_ITEM kMainMenu{
        MF_STRING,
        0,
        nullptr,
        {
            Popup(u"&Liste", {Item(ID_LIST_NEW_ITEM, u"&Neues Kleidungsstück\tEinfg"), Separator(),
                              Item(ID_LIST_EXIT, u"&Beenden\tStrg+Q")}),
            Popup(u"&Extras", {Item(ID_APP_ABOUT, u"&Über VestoryList...")}),
        }};

    static const AFX_MENU_ITEM kPopupMenu{
        MF_STRING,
        0,
        nullptr,
        {
            Popup(u"POPUP_MENU",
                  {Item(ID_POPUP_NEW, u"&Neu\tEinfg"), Item(ID_POPUP_EDIT, u"&Bearbeiten\tEingabe"),
                   Separator(), Item(ID_POPUP_DELETE, u"&Löschen\tEntf")}),
        }};

    // The maker's line takes the full width, as in English.
    static const AFX_DLGTEMPLATE kAboutDialog{
        0x80C00040, // WS_POPUP | WS_CAPTION | DS_SETFONT
        0x80000000, // WS_EX_CAPTIONOKBTN
        0,
        0,
        140,
        143,
        u"Über VestoryList",
        8,
        u"System",
        {
            {IDC_HELP_TEXT, u"edit", u"", 0x50A10804, 7, 45, 126, 91, 0},
            {IDC_STATIC, u"static", nullptr, 0x50000003, 11, 17, 21, 20, IDR_MAINFRAME},
            {IDC_STATIC, u"static", u"Vestory List v1.0", 0x50020080, 40, 12, 93, 8, 0},
            {IDC_STATIC, u"static", u"Copyright (C) 2026", 0x50020000, 40, 21, 93, 8, 0},
            {IDC_STATIC, u"static", u"Die VestoryList-Autoren", 0x50020000, 40, 30, 93, 8, 0},
        }};

    // "Bezeichnung:" needs a wider label: the name field starts further right, and the rows below
    // follow it. "Abbrechen" needs a wider button.
    static const AFX_DLGTEMPLATE kItemDialog{
        0x80C800C0, // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
        0,
        0,
        0,
        137,
        153,
        u"Dialog",
        8,
        u"System",
        {
            {IDC_STATIC, u"static", u"Bezeichnung:", 0x50020002, 4, 8, 50, 10, 0},
            {IDC_ITEM_NAME, u"edit", u"", 0x50810080, 56, 7, 74, 12, 0},
            {IDC_STATIC, u"static", u"Anzahl:", 0x50020002, 4, 26, 50, 10, 0},
            {IDC_QTY, u"combobox", u"", 0x50210002, 56, 24, 25, 77, 0},
            {IDC_STATIC, u"static", u"Größe:", 0x50020002, 82, 26, 24, 10, 0},
            {IDC_SIZE, u"edit", u"", 0x50810080, 108, 24, 22, 12, 0},
            {IDC_NOTE, u"edit", u"", 0x50A11004, 13, 51, 112, 38, 0},
            {IDC_STATIC, u"button", u"Notiz", 0x50000007, 7, 42, 123, 52, 0},
            {IDCANCEL, u"button", u"Abbrechen", 0x50010000, 7, 137, 50, 9, 0},
        }};

    return {
        {RT_STRING, 0, kStrings, std::size(kStrings), kGerman},
        {RT_MENU, IDR_MAINFRAME, &kMainMenu, 0, kGerman},
        {RT_MENU, IDR_POPUP_MENU, &kPopupMenu, 0, kGerman},
        {RT_DIALOG, IDD_ABOUTBOX, &kAboutDialog, 0, kGerman},
        {RT_DIALOG, IDD_ITEM_DIALOG, &kItemDialog, 0, kGerman},
    };
}
