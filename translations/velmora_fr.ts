<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Download</name>
    <message>
        <source>The download of %1 failed: %2.</source>
        <translation>Le téléchargement de %1 a échoué : %2.</translation>
    </message>
    <message>
        <source>The download of %1 failed: there is not enough free space on the disk.</source>
        <translation>Le téléchargement de %1 a échoué : il n’y a pas assez d’espace libre sur le disque.</translation>
    </message>
    <message>
        <source>The download of %1 was ended.</source>
        <translation>Le téléchargement de %1 a été interrompu.</translation>
    </message>
    <message>
        <source>The download of %1 was cancelled.</source>
        <translation>Le téléchargement de %1 a été annulé.</translation>
    </message>
    <message>
        <source>Saved: %1.</source>
        <translation>Enregistré : %1.</translation>
    </message>
    <message>
        <source>The download of %1 failed: it could not be saved under that name (%2).</source>
        <translation>Le téléchargement de %1 a échoué : il n’a pas pu être enregistré sous ce nom (%2).</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
</context>
<context>
    <name>DownloadList</name>
    <message>
        <source>1 download is still running</source>
        <translation>1 téléchargement est encore en cours</translation>
    </message>
    <message numerus="yes">
        <source>%n downloads are still running</source>
        <translation>
            <numerusform>%n téléchargement est encore en cours</numerusform>
            <numerusform>%n téléchargements sont encore en cours</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Keep downloading</source>
        <translation>&amp;Continuer le téléchargement</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
</context>
<context>
    <name>DownloadsWindow</name>
    <message>
        <source>Downloads</source>
        <translation>Téléchargements</translation>
    </message>
    <message>
        <source>Cancel the download of %1</source>
        <translation>Annuler le téléchargement de %1</translation>
    </message>
    <message>
        <source>Download of %1</source>
        <translation>Téléchargement de %1</translation>
    </message>
    <message>
        <source>Open Fol&amp;der</source>
        <translation>Ouvrir le &amp;dossier</translation>
    </message>
    <message>
        <source>Clear Fi&amp;nished</source>
        <translation>Effacer les &amp;terminés</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Ouvrir %1</translation>
    </message>
    <message>
        <source>Show in &amp;Folder</source>
        <translation>Afficher dans le do&amp;ssier</translation>
    </message>
    <message>
        <source>Show %1 in its folder</source>
        <translation>Afficher %1 dans son dossier</translation>
    </message>
</context>
<context>
    <name>EngineNotice</name>
    <message>
        <source>Notice</source>
        <translation>Avis</translation>
    </message>
    <message>
        <source>Close notice</source>
        <translation>Fermer l’avis</translation>
    </message>
</context>
<context>
    <name>EnginePrinting</name>
    <message>
        <source>The page&apos;s renderer ended while printing; nothing was printed.</source>
        <translation>Le moteur de rendu de la page s’est arrêté pendant l’impression ; rien n’a été imprimé.</translation>
    </message>
    <message>
        <source>The page was not ready for printing within %1 seconds; nothing was printed.</source>
        <translation>La page n’était pas prête pour l’impression au bout de %1 secondes ; rien n’a été imprimé.</translation>
    </message>
    <message>
        <source>The page could not be printed to %1.</source>
        <translation>La page n’a pas pu être imprimée dans %1.</translation>
    </message>
    <message>
        <source>The page was closed before it was printed.</source>
        <translation>La page a été fermée avant d’être imprimée.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer has ended: Refresh brings the page back to print it; nothing was printed.</source>
        <translation>Le moteur de rendu de la page s&apos;est arrêté : Actualiser ramène la page pour l&apos;imprimer ; rien n&apos;a été imprimé.</translation>
    </message>
    <message>
        <source>The page could not be prepared for printing; nothing was printed.</source>
        <translation>La page n&apos;a pas pu être préparée pour l&apos;impression ; rien n&apos;a été imprimé.</translation>
    </message>
    <message>
        <source>The document has none of the pages asked for; nothing was printed.</source>
        <translation>Le document n&apos;a aucune des pages demandées ; rien n&apos;a été imprimé.</translation>
    </message>
    <message>
        <source>%1 Nothing was printed.</source>
        <translation>%1 Rien n&apos;a été imprimé.</translation>
    </message>
    <message>
        <source>The PDF file has not arrived yet.</source>
        <translation>Le fichier PDF n&apos;est pas encore arrivé.</translation>
    </message>
    <message>
        <source>The page has a question open; answer it first.</source>
        <translation>La page a une question en attente ; répondez-y d’abord.</translation>
    </message>
</context>
<context>
    <name>EngineView</name>
    <message>
        <source>%1 is full screen. Press Esc to leave full screen.</source>
        <translation>%1 est en plein écran. Appuyez sur Échap pour quitter le plein écran.</translation>
    </message>
    <message>
        <source>A window that %1 tried to open was blocked: windows open only when you click.</source>
        <translation>Une fenêtre que %1 a tenté d’ouvrir a été bloquée : les fenêtres ne s’ouvrent que lorsque vous cliquez.</translation>
    </message>
    <message>
        <source>Only web pages and files can be opened, not &quot;%1&quot;.</source>
        <translation>Seuls les pages web et les fichiers peuvent être ouverts, pas « %1 ».</translation>
    </message>
    <message>
        <source>There is no earlier page in the history.</source>
        <translation>L’historique ne contient pas de page précédente.</translation>
    </message>
    <message>
        <source>There is no later page in the history.</source>
        <translation>L’historique ne contient pas de page suivante.</translation>
    </message>
    <message>
        <source>The page is being printed and cannot be stopped now.</source>
        <translation>La page est en cours d’impression et ne peut pas être arrêtée maintenant.</translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation>Il n’y a aucune page à enregistrer.</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Enregistrer...</translation>
    </message>
    <message>
        <source>There is no PDF file to save: %1</source>
        <translation>Il n&apos;y a aucun fichier PDF à enregistrer : %1</translation>
    </message>
    <message>
        <source>it has not arrived yet.</source>
        <translation>il n&apos;est pas encore arrivé.</translation>
    </message>
    <message>
        <source>Text cannot be found in this PDF file.</source>
        <translation>Impossible de rechercher du texte dans ce fichier PDF.</translation>
    </message>
    <message>
        <source>&amp;Open It</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Velmora no longer asks you about %1 from %2: it refuses them.</source>
        <translation>Velmora ne vous demande plus rien pour %1 de %2 : il refuse ces demandes.</translation>
    </message>
    <message>
        <source>&amp;Ask Again</source>
        <translation>&amp;Redemander</translation>
    </message>
    <message>
        <source>This command is not one of the page&apos;s.</source>
        <translation>Cette commande n’est pas une commande de la page.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find in page</source>
        <translation>Rechercher dans la page</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>&amp;Rechercher :</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>P&amp;revious</source>
        <translation>Pré&amp;cédent</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>S&amp;uivant</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Rechercher le suivant</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Rechercher le précédent</translation>
    </message>
</context>
<context>
    <name>KeysWindow</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Raccourcis clavier</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Raccourcis clavier</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Commande</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Touches</translation>
    </message>
</context>
<context>
    <name>NoteBar</name>
    <message>
        <source>Close this note</source>
        <translation>Fermer cette note</translation>
    </message>
</context>
<context>
    <name>NotificationPopup</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Close notification</source>
        <translation>Fermer la notification</translation>
    </message>
</context>
<context>
    <name>Notifications</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>OneProgram</name>
    <message>
        <source>There is no runtime folder for Velmora&apos;s socket: later starts will not hand over to this one.</source>
        <translation>Il n’y a pas de dossier d’exécution pour le socket de Velmora : les démarrages suivants ne passeront pas la main à celui-ci.</translation>
    </message>
    <message>
        <source>%1 belongs to another user: Velmora does not hand over to it and runs on its own.</source>
        <translation>%1 appartient à un autre utilisateur : Velmora ne lui passe pas la main et fonctionne seul.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be taken: later starts will not hand over to this one.</source>
        <translation>Le fichier de verrou %1 n’a pas pu être pris : les démarrages suivants ne passeront pas la main à celui-ci.</translation>
    </message>
    <message>
        <source>%1 is in the way and could not be removed: later starts will not hand over to this one.</source>
        <translation>%1 gêne et n’a pas pu être supprimé : les démarrages suivants ne passeront pas la main à celui-ci.</translation>
    </message>
    <message>
        <source>Velmora could not listen at %1 (%2): later starts will not hand over to this one.</source>
        <translation>Velmora n’a pas pu écouter sur %1 (%2) : les démarrages suivants ne passeront pas la main à celui-ci.</translation>
    </message>
</context>
<context>
    <name>PageActions</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Précédente</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Suivante</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Arrê&amp;ter</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>A&amp;ctualiser</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Accueil</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>&amp;Mise en page...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Aperçu a&amp;vant impression</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>&amp;Save Page...</source>
        <translation>&amp;Enregistrer la page...</translation>
    </message>
    <message>
        <source>&amp;Find in Page...</source>
        <translation>&amp;Rechercher dans la page...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Zoom avant</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Z&amp;oom arrière</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>Tai&amp;lle réelle</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>%1 could not be done.</source>
        <translation>L’action « %1 » n’a pas pu être effectuée.</translation>
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
        <translation>Source de %1</translation>
    </message>
</context>
<context>
    <name>PdfPageView</name>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
</context>
<context>
    <name>PdfPages</name>
    <message>
        <source>The PDF file is empty.</source>
        <translation>Le fichier PDF est vide.</translation>
    </message>
    <message>
        <source>The PDF file is locked with a password.</source>
        <translation>Le fichier PDF est protégé par un mot de passe.</translation>
    </message>
    <message>
        <source>The PDF file has no pages.</source>
        <translation>Le fichier PDF n&apos;a aucune page.</translation>
    </message>
    <message>
        <source>The PDF file is damaged.</source>
        <translation>Le fichier PDF est endommagé.</translation>
    </message>
</context>
<context>
    <name>PdfPane</name>
    <message>
        <source>Previous Page</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Whole Page</source>
        <translation>Page entière</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>sur %1</translation>
    </message>
    <message>
        <source>Pages %1 to %2 are not shown: at most %3 pages are shown here.</source>
        <translation>Les pages %1 à %2 ne sont pas affichées : au plus %3 pages sont affichées ici.</translation>
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
        <translation>Le fichier PDF dépasse %1 ; il n&apos;est pas affiché.</translation>
    </message>
    <message>
        <source>Loading %1: %2</source>
        <translation>Chargement de %1 : %2</translation>
    </message>
    <message>
        <source>Loading %1...</source>
        <translation>Chargement de %1...</translation>
    </message>
    <message>
        <source>The PDF file did not arrive whole (%1); it is not shown.</source>
        <translation>Le fichier PDF n&apos;est pas arrivé en entier (%1) ; il n&apos;est pas affiché.</translation>
    </message>
</context>
<context>
    <name>PrintPreview</name>
    <message>
        <source>Print Preview</source>
        <translation>Aperçu avant impression</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>Page &amp;Setup...</source>
        <translation>&amp;Mise en page...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>%1 Cookies and site data are kept only until Velmora ends.</source>
        <translation>%1 Les cookies et les données des sites ne sont conservés que jusqu’à la fermeture de Velmora.</translation>
    </message>
    <message>
        <source>Another copy of Velmora is using the site data in %1.</source>
        <translation>Une autre copie de Velmora utilise les données de sites dans %1.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be made.</source>
        <translation>Le fichier de verrou %1 n’a pas pu être créé.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be written.</source>
        <translation>Le fichier de paramètres %1 n’a pas pu être écrit.</translation>
    </message>
    <message>
        <source>%1 Settings are kept only until Velmora ends.</source>
        <translation>%1 Les paramètres ne sont conservés que jusqu’à la fermeture de Velmora.</translation>
    </message>
</context>
<context>
    <name>SiteStrip</name>
    <message>
        <source>Site</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Show the whole address and the connection</source>
        <translation>Afficher l’adresse complète et la connexion</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Page d’accueil</translation>
    </message>
    <message>
        <source>Go back to the home page</source>
        <translation>Revenir à la page d’accueil</translation>
    </message>
    <message>
        <source>Certificate not trusted</source>
        <translation>Certificat non fiable</translation>
    </message>
    <message>
        <source>Not secure</source>
        <translation>Non sécurisé</translation>
    </message>
    <message>
        <source>Secure connection</source>
        <translation>Connexion sécurisée</translation>
    </message>
    <message>
        <source>The web engine did not trust this site&apos;s certificate, so the page was not opened. Someone may be pretending to be this site.</source>
        <translation>Le moteur web n’a pas fait confiance au certificat de ce site : la page n’a donc pas été ouverte. Quelqu’un se fait peut-être passer pour ce site.</translation>
    </message>
    <message>
        <source>The connection to this site is encrypted, and the web engine trusts its certificate.</source>
        <translation>La connexion à ce site est chiffrée, et le moteur web fait confiance à son certificat.</translation>
    </message>
    <message>
        <source>The connection to this site is not secure: others on the network can read and change what you see and send. Do not enter passwords or card numbers here.</source>
        <translation>La connexion à ce site n’est pas sécurisée : d’autres personnes sur le réseau peuvent lire et modifier ce que vous voyez et envoyez. N’entrez ici ni mot de passe ni numéro de carte.</translation>
    </message>
    <message>
        <source>This page is a file on this computer.</source>
        <translation>Cette page est un fichier de cet ordinateur.</translation>
    </message>
    <message>
        <source>This page is not from a web site.</source>
        <translation>Cette page ne vient pas d’un site web.</translation>
    </message>
    <message>
        <source>Site details</source>
        <translation>Détails du site</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Issued to: %1
Issued by: %2
Valid from %3 to %4</source>
        <translation>Délivré à : %1
Délivré par : %2
Valide du %3 au %4</translation>
    </message>
</context>
<context>
    <name>WebView</name>
    <message>
        <source>Command %1 with option %2 is not supported.</source>
        <translation>La commande %1 avec l’option %2 n’est pas prise en charge.</translation>
    </message>
</context>
<context>
    <name>bookmarkfile::safefile</name>
    <message>
        <source>The bookmark file cannot be locked: %1 cannot be written.</source>
        <translation>Le fichier des signets ne peut pas être verrouillé : impossible d’écrire dans %1.</translation>
    </message>
    <message>
        <source>The bookmarks cannot be read: %1 is a link, a pipe, a device or a folder, not an ordinary file. Remove it and try again.</source>
        <translation>Les signets ne peuvent pas être lus : %1 est un lien, un tube, un périphérique ou un dossier, pas un fichier ordinaire. Supprimez-le et réessayez.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be changed: %1 is a link, a pipe, a device or a folder, not an ordinary file. Nothing was changed; remove it and try again.</source>
        <translation>Le fichier des signets ne peut pas être modifié : %1 est un lien, un tube, un périphérique ou un dossier, pas un fichier ordinaire. Rien n’a été modifié ; supprimez-le et réessayez.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be locked: %1 is a link, a pipe or a device, not an ordinary file. Nothing was changed; remove it and try again.</source>
        <translation>Le fichier des signets ne peut pas être verrouillé : %1 est un lien, un tube ou un périphérique, pas un fichier ordinaire. Rien n’a été modifié ; supprimez-le et réessayez.</translation>
    </message>
    <message>
        <source>The bookmarks cannot be read: %1 belongs to another user (%2). Nothing was read from it; have it removed and try again.</source>
        <translation>Les signets ne peuvent pas être lus : %1 appartient à un autre utilisateur (%2). Rien n’y a été lu ; faites-le supprimer et réessayez.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be changed: %1 belongs to another user (%2). Nothing was changed; have it removed and try again.</source>
        <translation>Le fichier des signets ne peut pas être modifié : %1 appartient à un autre utilisateur (%2). Rien n’a été modifié ; faites-le supprimer et réessayez.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be locked: %1 belongs to another user (%2). Nothing was changed; have it removed and try again.</source>
        <translation>Le fichier des signets ne peut pas être verrouillé : %1 appartient à un autre utilisateur (%2). Rien n’a été modifié ; faites-le supprimer et réessayez.</translation>
    </message>
    <message>
        <source>%1
Part of the bookmark is left at the end of the file: %2</source>
        <translation>%1
Une partie du signet est restée à la fin du fichier : %2</translation>
    </message>
    <message>
        <source>The bookmark file is busy: another program is changing it. Nothing was changed; try again in a moment.</source>
        <translation>Le fichier des signets est occupé : un autre programme est en train de le modifier. Rien n’a été modifié ; réessayez dans un instant.</translation>
    </message>
</context>
<context>
    <name>engineage</name>
    <message>
        <source>en</source>
        <comment>the language of the month&apos;s name, as a code</comment>
        <translation>fr</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2). Out of date: no security fixes since %3 (up to Chromium %4).</source>
        <translation>Moteur web : Qt WebEngine %1 (Chromium %2). Obsolète : aucun correctif de sécurité depuis %3 (jusqu’à Chromium %4).</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2).</source>
        <translation>Moteur web : Qt WebEngine %1 (Chromium %2).</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2), security fixes up to %3 (Chromium %4).</source>
        <translation>Moteur web : Qt WebEngine %1 (Chromium %2), correctifs de sécurité jusqu’à %3 (Chromium %4).</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Email :</source>
        <translation>E-mail :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>Infos &amp;système...</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>À propos de %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>%1 icon</source>
        <translation>Icône de %1</translation>
    </message>
    <message>
        <source>%1 logo</source>
        <translation>Logo de %1</translation>
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
        <translation>Velmora est un outil gratuit unique qui interroge en même temps <byte value="xd"/>
plusieurs sites de réservation d’hôtels pour vous trouver aussitôt <byte value="xd"/>
le meilleur prix.<byte value="xd"/>
<byte value="xd"/>
Plus besoin de parcourir les grands sites un par un pour comparer <byte value="xd"/>
les prix et les disponibilités. Notre service gratuit vous fait <byte value="xd"/>
gagner un temps et un argent précieux ! Utilisez-le et diffusez-le <byte value="xd"/>
librement.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>frmBookmark</name>
    <message>
        <source> Bookmark</source>
        <translation> Signets</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Effacer</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Tout</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Aucun</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Favoris</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Bookmark</source>
        <translation>Signet</translation>
    </message>
    <message>
        <source>Connecting to server</source>
        <translation>Connexion au serveur</translation>
    </message>
    <message>
        <source>Zoom of this site; click for 100%</source>
        <translation>Zoom de ce site ; cliquez pour 100 %</translation>
    </message>
    <message>
        <source>&amp;Page</source>
        <translation>&amp;Page</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Bookmark</source>
        <translation>&amp;Signets</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Do you wish to bookmark %1?</source>
        <translation>Voulez-vous ajouter %1 aux signets ?</translation>
    </message>
    <message>
        <source>Page loading</source>
        <translation>Chargement de la page</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Accueil</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>This web engine (Chromium %1) has no security fixes since %2: some sites may not work, and flaws found since then are not fixed. Velmora built on a current Qt has a current engine: the package for Debian 13 or later, or its Flatpak.</source>
        <translation>Ce moteur web (Chromium %1) n’a plus de correctifs de sécurité depuis %2 : certains sites peuvent ne pas fonctionner, et les failles trouvées depuis ne sont pas corrigées. Velmora compilé avec un Qt récent a un moteur à jour : le paquet pour Debian 13 ou ultérieur, ou son Flatpak.</translation>
    </message>
    <message>
        <source>&amp;Add Bookmark</source>
        <translation>&amp;Ajouter un signet</translation>
    </message>
    <message>
        <source>&amp;Delete Bookmark</source>
        <translation>&amp;Supprimer des signets</translation>
    </message>
    <message>
        <source>&amp;View Bookmark</source>
        <translation>A&amp;fficher les signets</translation>
    </message>
    <message>
        <source>&amp;Downloads...</source>
        <translation>Téléc&amp;hargements...</translation>
    </message>
    <message>
        <source>hotel prices compared</source>
        <comment>the words on the logo, beside its name</comment>
        <translation>prix d’hôtels comparés</translation>
    </message>
    <message>
        <source>Set as &amp;Home Page...</source>
        <translation>Définir comme page d’&amp;accueil...</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Raccourcis clavier</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>A&amp;ffichage</translation>
    </message>
    <message>
        <source>Only a web page (http or https) can be the home page, not &quot;%1&quot;.</source>
        <translation>Seule une page web (http ou https) peut être la page d’accueil, pas « %1 ».</translation>
    </message>
    <message>
        <source>Open %1 at start-up and with Home from now on?</source>
        <translation>Ouvrir désormais %1 au démarrage et avec Accueil ?</translation>
    </message>
</context>
<context>
    <name>pagedialogs</name>
    <message>
        <source>Don&apos;t let this page show more dialogs</source>
        <translation>Empêcher cette page d’afficher d’autres boîtes de dialogue</translation>
    </message>
    <message>
        <source>a file on this computer</source>
        <translation>un fichier de cet ordinateur</translation>
    </message>
    <message>
        <source>The site %1 wants to know your location. Allow it?</source>
        <translation>Le site %1 veut connaître votre position. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to show notifications. Allow it?</source>
        <translation>Le site %1 veut afficher des notifications. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your microphone. Allow it?</source>
        <translation>Le site %1 veut utiliser votre micro. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your camera. Allow it?</source>
        <translation>Le site %1 veut utiliser votre caméra. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your camera and microphone. Allow it?</source>
        <translation>Le site %1 veut utiliser votre caméra et votre micro. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to see your screen. Allow it?</source>
        <translation>Le site %1 veut voir votre écran. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to see your screen and hear its sound. Allow it?</source>
        <translation>Le site %1 veut voir votre écran et entendre son son. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to hide and take over your mouse pointer. Allow it?</source>
        <translation>Le site %1 veut masquer et prendre le contrôle de votre pointeur. L’autoriser ?</translation>
    </message>
    <message>
        <source>This link is to be opened by another program on your computer (a &quot;%1:&quot; link):

%2

Open it with that program?</source>
        <translation>Ce lien doit être ouvert par un autre programme de votre ordinateur (un lien « %1: ») :

%2

L’ouvrir avec ce programme ?</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted, so the page was not opened.

Someone may be pretending to be that site.</source>
        <translation>Le certificat de %1 n’est pas reconnu comme fiable : la page n’a donc pas été ouverte.

Quelqu’un se fait peut-être passer pour ce site.</translation>
    </message>
    <message>
        <source>This page stopped working.

Press Refresh to load it again.</source>
        <translation>Cette page ne fonctionne plus.

Cliquez sur Actualiser pour la recharger.</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>The site %1 asks you to sign in.</source>
        <translation>Le site %1 vous demande de vous identifier.</translation>
    </message>
    <message>
        <source>The site %1 asks you to sign in to &quot;%2&quot;.</source>
        <translation>Le site %1 vous demande de vous identifier pour « %2 ».</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>Le nom d’utilisateur ou le mot de passe a été refusé. Réessayez.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Nom d’utilisateur :</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>Mot de &amp;passe :</translation>
    </message>
    <message>
        <source>The site %1 wants to read and change what you copied. Allow it?</source>
        <translation>Le site %1 veut lire et modifier ce que vous avez copié. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 wants to see the fonts on this computer. Allow it?</source>
        <translation>Le site %1 veut voir les polices de cet ordinateur. L’autoriser ?</translation>
    </message>
    <message>
        <source>The site %1 asked for a passkey or a security key. Velmora cannot use them yet, so the request was cancelled.</source>
        <translation>Le site %1 a demandé une clé d’accès ou une clé de sécurité. Velmora ne peut pas encore les utiliser : la demande a donc été annulée.</translation>
    </message>
    <message>
        <source>windows</source>
        <translation>les fenêtres</translation>
    </message>
    <message>
        <source>downloads</source>
        <translation>les téléchargements</translation>
    </message>
    <message>
        <source>signing in</source>
        <translation>la connexion</translation>
    </message>
    <message>
        <source>your location</source>
        <translation>votre position</translation>
    </message>
    <message>
        <source>notifications</source>
        <translation>les notifications</translation>
    </message>
    <message>
        <source>your camera</source>
        <translation>votre caméra</translation>
    </message>
    <message>
        <source>your microphone</source>
        <translation>votre micro</translation>
    </message>
    <message>
        <source>your camera and microphone</source>
        <translation>votre caméra et votre micro</translation>
    </message>
    <message>
        <source>your screen</source>
        <translation>votre écran</translation>
    </message>
    <message>
        <source>your screen and its sound</source>
        <translation>votre écran et son audio</translation>
    </message>
    <message>
        <source>your mouse pointer</source>
        <translation>votre pointeur de souris</translation>
    </message>
    <message>
        <source>what you copied</source>
        <translation>ce que vous avez copié</translation>
    </message>
    <message>
        <source>your fonts</source>
        <translation>vos polices</translation>
    </message>
    <message>
        <source>links to other programs</source>
        <translation>les liens vers d’autres programmes</translation>
    </message>
    <message>
        <source>printing</source>
        <translation>l’impression</translation>
    </message>
    <message>
        <source>passkeys</source>
        <translation>les clés d’accès</translation>
    </message>
    <message>
        <source>%1 (a frame on %2)</source>
        <translation>%1 (un cadre sur %2)</translation>
    </message>
    <message>
        <source>This page says</source>
        <translation>Cette page indique</translation>
    </message>
    <message>
        <source>%1 says</source>
        <translation>%1 indique</translation>
    </message>
</context>
<context>
    <name>privatefolder</name>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Le dossier %1 n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>The folder %1 is missing.</source>
        <translation>Le dossier %1 est introuvable.</translation>
    </message>
    <message>
        <source>The folder %1 is a link to another place.</source>
        <translation>Le dossier %1 est un lien vers un autre emplacement.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 n’est pas un dossier.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user.</source>
        <translation>Le dossier %1 appartient à un autre utilisateur.</translation>
    </message>
    <message>
        <source>The folder %1 is open to other users and could not be closed to them.</source>
        <translation>Le dossier %1 est accessible à d’autres utilisateurs et n’a pas pu leur être fermé.</translation>
    </message>
</context>
<context>
    <name>progress</name>
    <message>
        <source>Please wait, connecting to server [%1 %]</source>
        <translation>Veuillez patienter, connexion au serveur [%1 %]</translation>
    </message>
</context>
<context>
    <name>schemes</name>
    <message>
        <source>only web pages (http or https) can be opened, not &quot;%1&quot;</source>
        <translation>seules les pages web (http ou https) peuvent être ouvertes, pas &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the address is longer than %1 characters</source>
        <translation>l’adresse dépasse %1 caractères</translation>
    </message>
</context>
<context>
    <name>startpage</name>
    <message>
        <source>en</source>
        <comment>the language of this page, as a language code</comment>
        <translation>fr</translation>
    </message>
    <message>
        <source>No site is set for Velmora yet. Type the address of the site it is to open, such as %1, and choose “Use this site”.</source>
        <translation>Aucun site n’est encore défini pour Velmora. Saisissez l’adresse du site qu’il doit ouvrir, par exemple %1, puis choisissez « Utiliser ce site ».</translation>
    </message>
    <message>
        <source>Velmora opens %1 at start-up and with Home. To open another site instead, type its address and choose “Use this site”.</source>
        <translation>Velmora ouvre %1 au démarrage et avec Accueil. Pour ouvrir un autre site à la place, saisissez son adresse et choisissez « Utiliser ce site ».</translation>
    </message>
    <message>
        <source>The site was not set: %1.</source>
        <translation>Le site n’a pas été défini : %1.</translation>
    </message>
    <message>
        <source>Velmora keeps it as the line %1 under %2 in your settings, %3. A line in %4 sets it for every user who has none of their own.</source>
        <translation>Velmora l’enregistre comme ligne %1 sous %2 dans vos réglages, %3. Une ligne dans %4 le définit pour tous les utilisateurs qui n’en ont pas.</translation>
    </message>
    <message>
        <source>Address of the site:</source>
        <translation>Adresse du site :</translation>
    </message>
    <message>
        <source>Use this site</source>
        <translation>Utiliser ce site</translation>
    </message>
</context>
<context>
    <name>startup</name>
    <message>
        <source>velmora: refusing to run as root: the web engine&apos;s sandbox, which shuts web pages off from the system, cannot run as root; run Velmora as an ordinary user, or start it with --no-sandbox to run it without the sandbox
</source>
        <translation>velmora : refus de s’exécuter en tant que root : le bac à sable du moteur web, qui isole les pages web du système, ne peut pas fonctionner en tant que root ; lancez Velmora en tant qu’utilisateur ordinaire, ou avec --no-sandbox pour l’exécuter sans bac à sable
</translation>
    </message>
    <message>
        <source>A small desktop browser shell.</source>
        <translation>Un petit navigateur de bureau.</translation>
    </message>
    <message>
        <source>Run the web engine without its sandbox, as it must run as root. Web pages then run with the program&apos;s rights.</source>
        <translation>Exécuter le moteur web sans son bac à sable, comme il le faut en tant que root. Les pages web s’exécutent alors avec les droits du programme.</translation>
    </message>
    <message>
        <source>Write the web engine&apos;s start-up report and the pages&apos; console messages to standard error.</source>
        <translation>Écrire le rapport de démarrage du moteur web et les messages de console des pages sur la sortie d’erreur standard.</translation>
    </message>
    <message>
        <source>The window system to use: xcb, wayland, offscreen...</source>
        <translation>Le système de fenêtrage à utiliser : xcb, wayland, offscreen...</translation>
    </message>
    <message>
        <source>Where to look for window system plugins.</source>
        <translation>Où chercher les greffons du système de fenêtrage.</translation>
    </message>
    <message>
        <source>The platform theme.</source>
        <translation>Le thème de la plateforme.</translation>
    </message>
    <message>
        <source>An input plugin to load as well.</source>
        <translation>Un greffon de saisie à charger en plus.</translation>
    </message>
    <message>
        <source>The main window&apos;s geometry, as WxH+X+Y.</source>
        <translation>La géométrie de la fenêtre principale, sous la forme LxH+X+Y.</translation>
    </message>
    <message>
        <source>The windows&apos; icon.</source>
        <translation>L’icône des fenêtres.</translation>
    </message>
    <message>
        <source>The main window&apos;s title.</source>
        <translation>Le titre de la fenêtre principale.</translation>
    </message>
    <message>
        <source>Lay the windows out from right to left.</source>
        <translation>Disposer les fenêtres de droite à gauche.</translation>
    </message>
    <message>
        <source>The session to restore.</source>
        <translation>La session à restaurer.</translation>
    </message>
    <message>
        <source>The widget style.</source>
        <translation>Le style des widgets.</translation>
    </message>
    <message>
        <source>A style sheet for the windows.</source>
        <translation>Une feuille de style pour les fenêtres.</translation>
    </message>
    <message>
        <source>Print how many widgets were left at the end.</source>
        <translation>Afficher à la fin combien de widgets restaient.</translation>
    </message>
    <message>
        <source>Start the QML debugger with these options.</source>
        <translation>Démarrer le débogueur QML avec ces options.</translation>
    </message>
    <message>
        <source>Load the testability plugin.</source>
        <translation>Charger le greffon de testabilité.</translation>
    </message>
    <message>
        <source>X11: the X display.</source>
        <translation>X11 : l’affichage X.</translation>
    </message>
    <message>
        <source>X11: as -qwindowgeometry.</source>
        <translation>X11 : comme -qwindowgeometry.</translation>
    </message>
    <message>
        <source>X11: as -qwindowtitle.</source>
        <translation>X11 : comme -qwindowtitle.</translation>
    </message>
    <message>
        <source>X11: the program&apos;s resource name.</source>
        <translation>X11 : le nom de ressource du programme.</translation>
    </message>
    <message>
        <source>X11: the visual to use.</source>
        <translation>X11 : le visuel à utiliser.</translation>
    </message>
    <message>
        <source>X11: talk to the X server synchronously.</source>
        <translation>X11 : communiquer de façon synchrone avec le serveur X.</translation>
    </message>
    <message>
        <source>X11: never grab the mouse or the keyboard.</source>
        <translation>X11 : ne jamais capturer la souris ni le clavier.</translation>
    </message>
    <message>
        <source>X11: grab them even under a debugger.</source>
        <translation>X11 : les capturer même sous un débogueur.</translation>
    </message>
    <message>
        <source>%1 %2
Qt WebEngine %3
Chromium %4, with security patches up to %5
</source>
        <translation>%1 %2
Qt WebEngine %3
Chromium %4, avec les correctifs de sécurité jusqu’au %5
</translation>
    </message>
    <message>
        <source>velmora: the web engine&apos;s sandbox is off (%1 has %2)
</source>
        <translation>velmora : le bac à sable du moteur web est désactivé (%1 contient %2)
</translation>
    </message>
    <message>
        <source>velmora: part of the web engine&apos;s sandbox is off (%1 has %2)
</source>
        <translation>velmora : une partie du bac à sable du moteur web est désactivée (%1 contient %2)
</translation>
    </message>
    <message>
        <source>velmora: the web engine&apos;s sandbox is off (%1 is set)
</source>
        <translation>velmora : le bac à sable du moteur web est désactivé (%1 est définie)
</translation>
    </message>
    <message>
        <source>address</source>
        <translation>adresse</translation>
    </message>
    <message>
        <source>The web page to open instead of the home page (http or https); a running Velmora opens it in its window.</source>
        <translation>La page web à ouvrir à la place de la page d’accueil (http ou https) ; un Velmora déjà lancé l’ouvre dans sa fenêtre.</translation>
    </message>
    <message>
        <source>[address]</source>
        <translation>[adresse]</translation>
    </message>
    <message>
        <source>only web pages (http or https) can be opened, not &quot;%1&quot;</source>
        <translation>seules les pages web (http ou https) peuvent être ouvertes, pas &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the address is longer than %1 characters</source>
        <translation>l’adresse dépasse %1 caractères</translation>
    </message>
    <message>
        <source>velmora: the home page &quot;%1&quot; in %2 is not a web page (http or https); it is not used
</source>
        <translation>velmora : la page d’accueil &quot;%1&quot; dans %2 n’est pas une page web (http ou https) ; elle n’est pas utilisée
</translation>
    </message>
    <message>
        <source>Velmora opens one address at a time, not %1</source>
        <translation>Velmora ouvre une adresse à la fois, pas %1</translation>
    </message>
    <message>
        <source>velmora: web pages run outside the web engine&apos;s sandbox (%1 has %2)
</source>
        <translation>velmora : les pages web s’exécutent hors du bac à sable du moteur web (%1 contient %2)
</translation>
    </message>
    <message>
        <source>Nothing was opened: %1.</source>
        <translation>Rien n’a été ouvert : %1.</translation>
    </message>
    <message>
        <source>the command line</source>
        <translation>la ligne de commande</translation>
    </message>
</context>
<context>
    <name>sysinfo</name>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Les informations système ne sont pas disponibles pour le moment</translation>
    </message>
</context>
</TS>
