<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>EscLabels</name>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Type HW : inconnu</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Version HW : inconnue</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Version FW : inconnue</translation>
    </message>
    <message>
        <source>HW type: unknown</source>
        <translation>Type HW : inconnu</translation>
    </message>
    <message>
        <source>HW version: unknown</source>
        <translation>Version HW : inconnue</translation>
    </message>
    <message>
        <source>FW version: unknown</source>
        <translation>Version FW : inconnue</translation>
    </message>
    <message>
        <source>HW type:unknown</source>
        <translation>Type HW : inconnu</translation>
    </message>
    <message>
        <source>HW version:unknown</source>
        <translation>Version HW : inconnue</translation>
    </message>
    <message>
        <source>FW version:unknown</source>
        <translation>Version FW : inconnue</translation>
    </message>
    <message>
        <source>HW type:%1</source>
        <translation>Type HW : %1</translation>
    </message>
    <message>
        <source>HW version:V%1</source>
        <translation>Version HW : V%1</translation>
    </message>
    <message>
        <source>FW version:V%1</source>
        <translation>Version FW : V%1</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>Link trace</source>
        <translation>Trace de la liaison</translation>
    </message>
    <message>
        <source>Link trace lines</source>
        <translation>Lignes de la trace de la liaison</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>Fichier journal (*.log)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>Impossible d&apos;écrire dans %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SpeedPlotView</name>
    <message>
        <source>Speed plot</source>
        <translation>Courbe de vitesse</translation>
    </message>
    <message>
        <source>The measured speed and the throttle of the last 60 s</source>
        <translation>Vitesse mesurée et gaz des 60 dernières s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>speed (rpm)</source>
        <translation>vitesse (tr/min)</translation>
    </message>
    <message>
        <source>throttle (us)</source>
        <translation>gaz (us)</translation>
    </message>
</context>
<context>
    <name>SpeedPlotWindow</name>
    <message>
        <source>Speed plot</source>
        <translation>Courbe de vitesse</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>Exporter en PNG...</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>Fichier CSV (*.csv)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Image PNG (*.png)</translation>
    </message>
    <message>
        <source>the image could not be saved there</source>
        <translation>l&apos;image n&apos;a pas pu y être enregistrée</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>Impossible d&apos;écrire dans %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ZELT brushless ESC software V1.2 </source>
        <translation>ZELT logiciel pour ESC sans balais V1.2 </translation>
    </message>
    <message>
        <source>Choose COM</source>
        <translation>Choisir COM</translation>
    </message>
    <message>
        <source>COM Connection</source>
        <translation>Connexion COM</translation>
    </message>
    <message>
        <source>ESC Hardware</source>
        <translation>Matériel ESC</translation>
    </message>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Type HW : inconnu</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Version HW : inconnue</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Version FW : inconnue</translation>
    </message>
    <message>
        <source>ESC Connection</source>
        <translation>Connexion ESC</translation>
    </message>
    <message>
        <source>Parameter Setup/Display</source>
        <translation>Réglage/affichage des paramètres</translation>
    </message>
    <message>
        <source>Cut Off Type</source>
        <translation>Type de coupure</translation>
    </message>
    <message>
        <source>Soft cut*</source>
        <translation>Douce*</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Coupure</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Type de batterie</translation>
    </message>
    <message>
        <source>Cut Off Voltage</source>
        <translation>Tension de coupure</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Basse</translation>
    </message>
    <message>
        <source>Middle*</source>
        <translation>Moyenne*</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Haute</translation>
    </message>
    <message>
        <source>Start Mode</source>
        <translation>Mode de démarrage</translation>
    </message>
    <message>
        <source>Normal start*</source>
        <translation>Normal*</translation>
    </message>
    <message>
        <source>Soft start</source>
        <translation>Doux</translation>
    </message>
    <message>
        <source>Very soft start</source>
        <translation>Très doux</translation>
    </message>
    <message>
        <source>Brake Mode</source>
        <translation>Mode de frein</translation>
    </message>
    <message>
        <source>Brake off*</source>
        <translation>Sans frein*</translation>
    </message>
    <message>
        <source>Low brake</source>
        <translation>Frein faible</translation>
    </message>
    <message>
        <source>Middle brake</source>
        <translation>Frein moyen</translation>
    </message>
    <message>
        <source>High brake</source>
        <translation>Frein fort</translation>
    </message>
    <message>
        <source>Timing option</source>
        <translation>Avance</translation>
    </message>
    <message>
        <source>Current limited sesitivity</source>
        <translation>Limite de courant</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Maximale</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Govener mode</source>
        <translation>Mode governor</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>NON</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>OUI</translation>
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
        <translation>Opération</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Param.</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Auto find hardware</source>
        <translation>Chercher le matériel</translation>
    </message>
    <message>
        <source>Load setup</source>
        <translation>Charger réglages</translation>
    </message>
    <message>
        <source>Save setup</source>
        <translation>Enregistrer réglages</translation>
    </message>
    <message>
        <source>Update firmware</source>
        <translation>Mettre à jour firmware</translation>
    </message>
    <message>
        <source>Read ESC parameter</source>
        <translation>Lire les paramètres</translation>
    </message>
    <message>
        <source>Restore default  parameter</source>
        <translation>Valeurs par défaut</translation>
    </message>
    <message>
        <source>Download parameter to ESC</source>
        <translation>Écrire les paramètres</translation>
    </message>
    <message>
        <source>Rotate speed test</source>
        <translation>Test de vitesse</translation>
    </message>
    <message>
        <source>Throttle signal</source>
        <translation>Signal gaz</translation>
    </message>
    <message>
        <source>Polarity number</source>
        <translation>Nombre de pôles</translation>
    </message>
    <message>
        <source>Rotate speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>R/M</source>
        <translation>tr/min</translation>
    </message>
    <message>
        <source>Current work status</source>
        <translation>État actuel</translation>
    </message>
    <message>
        <source>Wait user command</source>
        <translation>Attente d&apos;une commande</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Avis</translation>
    </message>
    <message>
        <source>Zelt File (*.zelt)</source>
        <translation>Fichier Zelt (*.zelt)</translation>
    </message>
    <message>
        <source>ZELT ESC tool - remove the propeller before a speed test</source>
        <translation>ZELT outil ESC - retirez l&apos;hélice avant un test de vitesse</translation>
    </message>
    <message>
        <source>Speed plot</source>
        <translation>Courbe de vitesse</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
    <message>
        <source>Setting card connected</source>
        <translation>Carte de réglage connectée</translation>
    </message>
    <message>
        <source>Setting card not connected</source>
        <translation>Carte de réglage non connectée</translation>
    </message>
    <message>
        <source>ESC identified</source>
        <translation>ESC identifié</translation>
    </message>
    <message>
        <source>No ESC identified</source>
        <translation>Aucun ESC identifié</translation>
    </message>
    <message>
        <source>Parameter mode selected</source>
        <translation>Mode paramètres choisi</translation>
    </message>
    <message>
        <source>Parameter mode not selected</source>
        <translation>Mode paramètres non choisi</translation>
    </message>
    <message>
        <source>Speed test mode not selected</source>
        <translation>Test de vitesse non choisi</translation>
    </message>
    <message>
        <source>Speed test mode selected</source>
        <translation>Test de vitesse choisi</translation>
    </message>
    <message>
        <source>%1% done</source>
        <translation>%1 % fait</translation>
    </message>
</context>
<context>
    <name>box_text</name>
    <message>
        <source>Hardware not connect or Comm port select error</source>
        <translation>Matériel non connecté ou mauvais port COM choisi</translation>
    </message>
    <message>
        <source>can not find hardware,please confirm:<byte value="xd"/>
  1.Hardware port connect.<byte value="xd"/>
  2.Hardware power.</source>
        <translation>Matériel introuvable, vérifiez :<byte value="xd"/>
  1. La connexion du port.<byte value="xd"/>
  2. L&apos;alimentation du matériel.</translation>
    </message>
    <message>
        <source>Receive data error</source>
        <translation>Erreur de réception des données</translation>
    </message>
    <message>
        <source>Hardware not connect,please connect first</source>
        <translation>Matériel non connecté, connectez-le d&apos;abord</translation>
    </message>
    <message>
        <source>Send parameter to ESC OK</source>
        <translation>Paramètres envoyés à l&apos;ESC</translation>
    </message>
    <message>
        <source>Save file error</source>
        <translation>Erreur d&apos;enregistrement du fichier</translation>
    </message>
    <message>
        <source>Receive data error,Please update Hardware again</source>
        <translation>Erreur de réception des données, mettez à jour le matériel à nouveau</translation>
    </message>
    <message>
        <source>Update hardware failure,Please update Hardware again</source>
        <translation>Échec de la mise à jour, mettez à jour le matériel à nouveau</translation>
    </message>
    <message>
        <source>sorry! You can not update of the ESC,<byte value="xd"/>
please contact manufacturers.</source>
        <translation>Désolé, cet ESC ne peut pas être mis à jour,<byte value="xd"/>
contactez le fabricant.</translation>
    </message>
    <message>
        <source>find setting card connected with%1<byte value="xd"/>
</source>
        <translation>Carte de réglage trouvée sur %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>not find ESC</source>
        <translation>aucun ESC trouvé</translation>
    </message>
    <message>
        <source>and find ESC%1</source>
        <translation>et ESC %1 trouvé</translation>
    </message>
    <message>
        <source>The version you want to upgrade is same with current ESC firmware version,
<byte value="xd"/>Do you want to continue?</source>
        <translation>La version choisie est la même que le firmware actuel de l&apos;ESC,
<byte value="xd"/>voulez-vous continuer ?</translation>
    </message>
    <message>
        <source>Are you really update hardware to V%1</source>
        <translation>Vraiment mettre à jour le matériel en V%1 ?</translation>
    </message>
    <message>
        <source>Update hardware succeed,Firmware versionV%1.%2</source>
        <translation>Mise à jour réussie, version du firmware V%1.%2</translation>
    </message>
    <message>
        <source>Comm port open error！</source>
        <translation>Erreur d&apos;ouverture du port！</translation>
    </message>
    <message>
        <source>No value selected for %1. Choose one before downloading.</source>
        <translation>Aucune valeur choisie pour %1. Choisissez-en une avant l&apos;envoi.</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Impossible d&apos;ouvrir l&apos;image du firmware %1 :<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Cannot read the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Impossible de lire l&apos;image du firmware %1 :<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The firmware image %1 does not name its version in the first line (V, hex digit, point, hex digit).<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>L&apos;image du firmware %1 n&apos;indique pas sa version sur la première ligne (V, chiffre hexa, point, chiffre hexa).<byte value="xd"/>
Rien n&apos;a été envoyé à l&apos;ESC.</translation>
    </message>
    <message>
        <source>The firmware image %1 cannot be written: %2.<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>L&apos;image du firmware %1 ne peut pas être écrite : %2.<byte value="xd"/>
Rien n&apos;a été envoyé à l&apos;ESC.</translation>
    </message>
    <message>
        <source>it holds %1 data lines, a complete image has %2</source>
        <translation>elle contient %1 lignes de données, une image complète en a %2</translation>
    </message>
    <message>
        <source>line %1 holds fewer than %2 hex digits</source>
        <translation>la ligne %1 contient moins de %2 chiffres hexa</translation>
    </message>
    <message>
        <source>line %1 holds a character that is not a hex digit</source>
        <translation>la ligne %1 contient un caractère qui n&apos;est pas un chiffre hexa</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
File not found<byte value="xd"/>
Looked in:</source>
        <translation>Impossible d&apos;ouvrir l&apos;image du firmware %1 :<byte value="xd"/>
Fichier introuvable<byte value="xd"/>
Recherché dans :</translation>
    </message>
</context>
<context>
    <name>box_title</name>
    <message>
        <source>Comm error</source>
        <translation>Erreur de liaison</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Require</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>not find hardware</source>
        <translation>Matériel introuvable</translation>
    </message>
    <message>
        <source>Find hardware</source>
        <translation>Matériel trouvé</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>Wait user command</source>
        <translation>Attente d&apos;une commande</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>Erreur de liaison</translation>
    </message>
    <message>
        <source>Start switch port</source>
        <translation>Changement de port</translation>
    </message>
    <message>
        <source>Start perform command--------</source>
        <translation>Exécution de la commande...</translation>
    </message>
    <message>
        <source>auto finding hardware....</source>
        <translation>Recherche du matériel...</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Résultat de la recherche</translation>
    </message>
    <message>
        <source>Reading ESC parameter </source>
        <translation>Lecture des paramètres </translation>
    </message>
    <message>
        <source>Reading ESC parameter OK</source>
        <translation>Paramètres lus</translation>
    </message>
    <message>
        <source>Send parameter to ESC</source>
        <translation>Envoi des paramètres</translation>
    </message>
    <message>
        <source>Send parameter done</source>
        <translation>Paramètres envoyés</translation>
    </message>
    <message>
        <source>Start update hardware....</source>
        <translation>Début de la mise à jour...</translation>
    </message>
    <message>
        <source>Update process:Writing ROM.......</source>
        <translation>Mise à jour : écriture ROM...</translation>
    </message>
    <message>
        <source>Verrify update data...</source>
        <translation>Vérification des données...</translation>
    </message>
    <message>
        <source>Update hardware finished</source>
        <translation>Mise à jour terminée</translation>
    </message>
    <message>
        <source>Testing rotate speed..</source>
        <translation>Test de vitesse...</translation>
    </message>
    <message>
        <source>ESC speed answers stopped</source>
        <translation>L&apos;ESC n&apos;envoie plus la vitesse</translation>
    </message>
</context>
</TS>
