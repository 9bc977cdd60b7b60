// The French resources, as a resource script writes them under LANGUAGE LANG_FRENCH. What is
// missing here is taken from the English ones. A no-break space goes before : ; ? and !, as
// French sets them.
#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

#include <iterator>

namespace {

constexpr LANGID kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_DEFAULT);

// In ascending order of identifier.
constexpr AFX_STRING_ENTRY kStrings[] = {
    {IDS_EDIT, u"Modifier"},
    {IDS_TOOLS, u"Outils"},
    // With the file dialog's filter and extension, for a framework whose file dialogs take them.
    {IDR_MAINFRAME, u"VestoryList\n\nVestoryList\nFichiers VestoryList (*.vsl)\n.vsl\n"
                    u"VestoryList.Document\nDocument VestoryList"},
    {IDS_CHECKBOXES, u"Au pressing"},
    {IDS_COLUMN_AC, u"P"},
    {IDS_COLUMN_ITEM_NAME, u"Article"},
    {IDS_COLUMN_QTY, u"Qté"},
    {IDS_COLUMN_DATE, u"Date"},
    {IDP_SAVE_FAILED, u"Impossible d’enregistrer le fichier de la liste\u00A0!"},
    {IDP_DELETE_RECORD, u"Voulez-vous vraiment supprimer cet article\u00A0?"},
    {IDP_NOTHING_PASTED, u"Rien n’a été collé\u00A0: %s."},
    {IDP_NOT_A_LIST_FILE,
     u"%s n’est pas un fichier de liste complet. La liste n’a pas été modifiée."},
    {IDP_LIST_UNREADABLE,
     u"Le fichier de la liste %s ne peut pas être lu\u00A0: %s. Rien n’a été modifié."},
    {IDP_LIST_TOO_LARGE,
     u"Le fichier de la liste %s est trop volumineux pour être lu. Rien n’a été modifié."},
    {IDP_DAMAGED_NOT_KEPT, u"Le fichier de la liste est endommagé. Articles lus\u00A0: %d. Le "
                           u"fichier endommagé n’a pas pu être conservé."},
    {IDP_DAMAGED_KEPT, u"Le fichier de la liste est endommagé. Articles lus\u00A0: %d. Le fichier "
                       u"endommagé a été conservé sous le nom %s."},
    {IDP_QUIT_UNSAVED, u"La liste n’a pas pu être enregistrée\u00A0: %s. Quitter quand même et "
                       u"perdre les modifications non enregistrées\u00A0?"},
    {IDS_NO_MEMORY, u"mémoire insuffisante"},
    {IDS_PASTE_TOO_LARGE, u"la liste deviendrait plus grande que ce que le programme peut lire à "
                          u"son prochain démarrage"},
    {IDS_PASTE_NO_MEMORY, u"la mémoire est insuffisante"},
    {IDP_COPY_NOT_WHOLE, u"%s ne se lit pas comme une liste entière\u00A0; elle n’a donc pas été "
                         u"fusionnée et reste à sa place."},
    {IDP_NOTHING_COPIED, u"Rien n’a été copié\u00A0: %s."},
    {IDS_HELP_FIRST, u"VestoryList vous permet de savoir quels vêtements "},
    {IDS_HELP_FIRST + 1, u"se trouvent au pressing.\r\n\r\n"},
    {IDS_HELP_FIRST + 2, u"Colonnes\u00A0:\r\n"},
    {IDS_HELP_FIRST + 3, u"[P] = Au pressing\u00A0; cochée pour oui, vide pour non.\r\n"},
    {IDS_HELP_FIRST + 4, u"[Article] = Nom de l’article.\r\n"},
    {IDS_HELP_FIRST + 5, u"[Qté] = Quantité.\r\n"},
    {IDS_HELP_FIRST + 6, u"[Date] = Date de dépôt\u00A0; elle s’inscrit ou s’efface quand vous "
                         u"cochez ou décochez la case [Au pressing].\r\n\r\n"},
    {IDS_HELP_FIRST + 7,
     u"Ajoutez des articles à la liste avec le menu [Liste->Nouvel article].\r\n\r\n"},
    {IDS_HELP_FIRST + 8, u"Pour modifier un article, touchez son nom puis choisissez [Modifier] "
                         u"dans le menu qui s’ouvre.\r\n\r\n"},
    {IDS_HELP_FIRST + 9,
     u"Triez les articles en touchant l’en-tête de colonne [P], [Article] ou [Qté].\r\n\r\n"},
    {IDS_HELP_FIRST + 10, u"Pour ajuster la largeur des colonnes, faites glisser les séparateurs "
                          u"entre les en-têtes.\r\n\r\n"},
    {IDS_HELP_FIRST + 11,
     u"Pour en savoir plus sur ce programme et d’autres programmes pour appareils de poche, "},
    {IDS_HELP_FIRST + 12, u"consultez le fichier README dans " VESTORYLIST_DOCDIR ".\r\n\r\n"},
    {IDS_HELP_LAST, u"Ce logiciel est fourni sans aucune garantie, expresse ou implicite. Vous "
                    u"l’utilisez à vos propres risques."},
    {IDS_LIST, u"Liste"},
    {IDS_POPUP_MENU, u"POPUP_MENU"},
    {AFX_IDS_IDLEMESSAGE, u"Prêt"},
    {ID_FILE_SAVE_AS, u"Enregistrer la liste sous un nouveau nom\nEnregistrer sous"},
    {ID_EDIT_CLEAR, u"Effacer la sélection\nEffacer"},
    {ID_EDIT_CLEAR_ALL, u"Tout effacer\nTout effacer"},
    {ID_EDIT_COPY, u"Copier la sélection dans le presse-papiers\nCopier"},
    {ID_EDIT_CUT, u"Couper la sélection et la placer dans le presse-papiers\nCouper"},
    {ID_EDIT_FIND, u"Rechercher le texte indiqué\nRechercher"},
    {ID_EDIT_PASTE, u"Insérer le contenu du presse-papiers\nColler"},
    {ID_EDIT_REPEAT, u"Répéter la dernière action\nRépéter"},
    {ID_EDIT_REPLACE, u"Remplacer le texte indiqué par un autre\nRemplacer"},
    {ID_EDIT_SELECT_ALL, u"Tout sélectionner\nTout sélectionner"},
    {ID_EDIT_UNDO, u"Annuler la dernière action\nAnnuler"},
    {ID_EDIT_REDO, u"Rétablir la dernière action annulée\nRétablir"},
    {ID_WINDOW_SPLIT, u"Diviser la fenêtre en volets\nFractionner"},
    {ID_APP_ABOUT, u"Afficher le nom, la version et l’aide du programme\nÀ propos"},
    {ID_APP_EXIT, u"Quitter le programme\nQuitter"},
    {ID_NEXT_PANE, u"Passer au volet suivant\nVolet suivant"},
    {ID_PREV_PANE, u"Revenir au volet précédent\nVolet précédent"},
    {ID_INDICATOR_CAPS, u"MAJ"},
    {AFX_IDS_SCCLOSE, u"Fermer la fenêtre"},
    {AFX_IDS_SCTASKLIST, u"Activer la liste des tâches"},
    {AFX_IDS_OPENFILE, u"Ouvrir"},
    {AFX_IDS_SAVEFILE, u"Enregistrer sous"},
    {AFX_IDS_ALLFILTER, u"Tous les fichiers (*)"},
    {AFX_IDS_BACKUPFILTER, u"Sauvegardes (*%s.bak)"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, u"Impossible d’ouvrir %s."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, u"Impossible d’enregistrer %s."},
    {AFX_IDP_FAILED_INVALID_FORMAT, u"Format de fichier inattendu."},
    {AFX_IDP_FILE_HELD_BY,
     u"%s est déjà ouvert sur cette liste (processus %d) mais ne répond pas."},
    {AFX_IDP_FILE_HELD, u"%s est déjà ouvert sur cette liste mais ne répond pas."},
    {IDS_TIP_NEW, u"Nouveau"},
    {IDS_TIP_FILE, u"Fichier"},
    {IDS_TIP_HELP, u"Aide"},
    {IDS_TIP_SAVE, u"Enregistrer"},
    {IDS_TIP_CUT, u"Couper"},
    {IDS_TIP_COPY, u"Copier"},
    {IDS_TIP_PASTE, u"Coller"},
    {IDS_TIP_ABOUT, u"À propos"},
};

} // namespace

std::vector<AFX_RESOURCE> FrenchResources() {
    // Made on first use, as the English ones are, so that they are there even during start-up.
    static const AFX_MENU_ITEM kMainMenu{
        MF_STRING,
        0,
        nullptr,
        {
            Popup(u"&Liste", {Item(ID_LIST_NEW_ITEM, u"&Nouvel article\tInser"), Separator(),
                              Item(ID_LIST_EXIT, u"&Quitter\tCtrl+Q")}),
            Popup(u"&Outils", {Item(ID_APP_ABOUT, u"À &propos de VestoryList...")}),
        }};

    static const AFX_MENU_ITEM kPopupMenu{
        MF_STRING,
        0,
        nullptr,
        {
            Popup(u"POPUP_MENU", {Item(ID_POPUP_NEW, u"&Nouveau\tInser"),
                                  Item(ID_POPUP_EDIT, u"&Modifier\tEntrée"), Separator(),
                                  Item(ID_POPUP_DELETE, u"&Supprimer\tSuppr")}),
        }};

    static const AFX_DLGTEMPLATE kAboutDialog{
        0x80C00040, // WS_POPUP | WS_CAPTION | DS_SETFONT
        0x80000000, // WS_EX_CAPTIONOKBTN
        0,
        0,
        140,
        143,
        u"À propos de VestoryList",
        8,
        u"System",
        {
            {IDC_HELP_TEXT, u"edit", u"", 0x50A10804, 7, 45, 126, 91, 0},
            {IDC_STATIC, u"static", nullptr, 0x50000003, 11, 17, 21, 20, IDR_MAINFRAME},
            {IDC_STATIC, u"static", u"Vestory List v1.0", 0x50020080, 40, 12, 93, 8, 0},
            {IDC_STATIC, u"static", u"Copyright (C) 2026", 0x50020000, 40, 21, 93, 8, 0},
            {IDC_STATIC, u"static", u"Les auteurs de VestoryList", 0x50020000, 40, 30, 93, 8, 0},
        }};

    // "Taille\u00A0:" needs a wider label: the size field is narrower.
    static const AFX_DLGTEMPLATE kItemDialog{
        0x80C800C0, // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
        0,
        0,
        0,
        137,
        153,
        u"Dialogue",
        8,
        u"System",
        {
            {IDC_STATIC, u"static", u"Article\u00A0:", 0x50020002, 10, 8, 41, 10, 0},
            {IDC_ITEM_NAME, u"edit", u"", 0x50810080, 51, 7, 79, 12, 0},
            {IDC_STATIC, u"static", u"Qté\u00A0:", 0x50020002, 15, 26, 34, 10, 0},
            {IDC_QTY, u"combobox", u"", 0x50210002, 51, 24, 25, 77, 0},
            {IDC_STATIC, u"static", u"Taille\u00A0:", 0x50020002, 77, 26, 29, 10, 0},
            {IDC_SIZE, u"edit", u"", 0x50810080, 108, 24, 22, 12, 0},
            {IDC_NOTE, u"edit", u"", 0x50A11004, 13, 51, 112, 38, 0},
            {IDC_STATIC, u"button", u"Note", 0x50000007, 7, 42, 123, 52, 0},
            {IDCANCEL, u"button", u"Annuler", 0x50010000, 7, 137, 40, 9, 0},
        }};

    return {
        {RT_STRING, 0, kStrings, std::size(kStrings), kFrench},
        {RT_MENU, IDR_MAINFRAME, &kMainMenu, 0, kFrench},
        {RT_MENU, IDR_POPUP_MENU, &kPopupMenu, 0, kFrench},
        {RT_DIALOG, IDD_ABOUTBOX, &kAboutDialog, 0, kFrench},
        {RT_DIALOG, IDD_ITEM_DIALOG, &kItemDialog, 0, kFrench},
    };
}
