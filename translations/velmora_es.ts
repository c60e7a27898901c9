<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>Download</name>
    <message>
        <source>The download of %1 failed: %2.</source>
        <translation>La descarga de %1 ha fallado: %2.</translation>
    </message>
    <message>
        <source>The download of %1 failed: there is not enough free space on the disk.</source>
        <translation>La descarga de %1 ha fallado: no hay suficiente espacio libre en el disco.</translation>
    </message>
    <message>
        <source>The download of %1 was ended.</source>
        <translation>La descarga de %1 se ha interrumpido.</translation>
    </message>
    <message>
        <source>The download of %1 was cancelled.</source>
        <translation>La descarga de %1 se ha cancelado.</translation>
    </message>
    <message>
        <source>Saved: %1.</source>
        <translation>Guardado: %1.</translation>
    </message>
    <message>
        <source>The download of %1 failed: it could not be saved under that name (%2).</source>
        <translation>La descarga de %1 ha fallado: no se ha podido guardar con ese nombre (%2).</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
</context>
<context>
    <name>DownloadList</name>
    <message>
        <source>1 download is still running</source>
        <translation>1 descarga sigue en curso</translation>
    </message>
    <message numerus="yes">
        <source>%n downloads are still running</source>
        <translation>
            <numerusform>%n descarga sigue en curso</numerusform>
            <numerusform>%n descargas siguen en curso</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Keep downloading</source>
        <translation>&amp;Seguir descargando</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
</context>
<context>
    <name>DownloadsWindow</name>
    <message>
        <source>Downloads</source>
        <translation>Descargas</translation>
    </message>
    <message>
        <source>Cancel the download of %1</source>
        <translation>Cancelar la descarga de %1</translation>
    </message>
    <message>
        <source>Download of %1</source>
        <translation>Descarga de %1</translation>
    </message>
    <message>
        <source>Open Fol&amp;der</source>
        <translation>Abrir &amp;carpeta</translation>
    </message>
    <message>
        <source>Clear Fi&amp;nished</source>
        <translation>&amp;Quitar terminadas</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>C&amp;errar</translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation>Cance&amp;lar</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Abrir %1</translation>
    </message>
    <message>
        <source>Show in &amp;Folder</source>
        <translation>Mostrar en la ca&amp;rpeta</translation>
    </message>
    <message>
        <source>Show %1 in its folder</source>
        <translation>Mostrar %1 en su carpeta</translation>
    </message>
</context>
<context>
    <name>EngineNotice</name>
    <message>
        <source>Notice</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Close notice</source>
        <translation>Cerrar aviso</translation>
    </message>
</context>
<context>
    <name>EnginePrinting</name>
    <message>
        <source>The page&apos;s renderer ended while printing; nothing was printed.</source>
        <translation>El renderizador de la página terminó durante la impresión; no se ha impreso nada.</translation>
    </message>
    <message>
        <source>The page was not ready for printing within %1 seconds; nothing was printed.</source>
        <translation>La página no estuvo lista para imprimir en %1 segundos; no se ha impreso nada.</translation>
    </message>
    <message>
        <source>The page could not be printed to %1.</source>
        <translation>No se ha podido imprimir la página en %1.</translation>
    </message>
    <message>
        <source>The page was closed before it was printed.</source>
        <translation>La página se cerró antes de imprimirse.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer has ended: Refresh brings the page back to print it; nothing was printed.</source>
        <translation>El renderizador de la página ha terminado: Actualizar trae la página de vuelta para imprimirla; no se imprimió nada.</translation>
    </message>
    <message>
        <source>The page could not be prepared for printing; nothing was printed.</source>
        <translation>No se pudo preparar la página para imprimirla; no se imprimió nada.</translation>
    </message>
    <message>
        <source>The document has none of the pages asked for; nothing was printed.</source>
        <translation>El documento no tiene ninguna de las páginas pedidas; no se imprimió nada.</translation>
    </message>
    <message>
        <source>%1 Nothing was printed.</source>
        <translation>%1 No se imprimió nada.</translation>
    </message>
    <message>
        <source>The PDF file has not arrived yet.</source>
        <translation>El archivo PDF aún no ha llegado.</translation>
    </message>
    <message>
        <source>The page has a question open; answer it first.</source>
        <translation>La página tiene una pregunta abierta; respóndala primero.</translation>
    </message>
</context>
<context>
    <name>EngineView</name>
    <message>
        <source>%1 is full screen. Press Esc to leave full screen.</source>
        <translation>%1 está en pantalla completa. Pulse Esc para salir de la pantalla completa.</translation>
    </message>
    <message>
        <source>A window that %1 tried to open was blocked: windows open only when you click.</source>
        <translation>Se ha bloqueado una ventana que %1 intentó abrir: las ventanas solo se abren cuando usted hace clic.</translation>
    </message>
    <message>
        <source>Only web pages and files can be opened, not &quot;%1&quot;.</source>
        <translation>Solo se pueden abrir páginas web y archivos, no «%1».</translation>
    </message>
    <message>
        <source>There is no earlier page in the history.</source>
        <translation>No hay ninguna página anterior en el historial.</translation>
    </message>
    <message>
        <source>There is no later page in the history.</source>
        <translation>No hay ninguna página siguiente en el historial.</translation>
    </message>
    <message>
        <source>The page is being printed and cannot be stopped now.</source>
        <translation>La página se está imprimiendo y no se puede detener ahora.</translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation>No hay ninguna página que guardar.</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>Im&amp;primir...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Guardar...</translation>
    </message>
    <message>
        <source>There is no PDF file to save: %1</source>
        <translation>No hay ningún archivo PDF que guardar: %1</translation>
    </message>
    <message>
        <source>it has not arrived yet.</source>
        <translation>aún no ha llegado.</translation>
    </message>
    <message>
        <source>Text cannot be found in this PDF file.</source>
        <translation>No se puede buscar texto en este archivo PDF.</translation>
    </message>
    <message>
        <source>&amp;Open It</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>Velmora no longer asks you about %1 from %2: it refuses them.</source>
        <translation>Velmora ya no le pregunta por %1 de %2: rechaza esas solicitudes.</translation>
    </message>
    <message>
        <source>&amp;Ask Again</source>
        <translation>&amp;Volver a preguntar</translation>
    </message>
    <message>
        <source>This command is not one of the page&apos;s.</source>
        <translation>Este comando no es de la página.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find in page</source>
        <translation>Buscar en la página</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>&amp;Buscar:</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>No encontrado</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>P&amp;revious</source>
        <translation>&amp;Anterior</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Siguiente</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Buscar siguiente</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Buscar anterior</translation>
    </message>
</context>
<context>
    <name>KeysWindow</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Comando</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Teclas</translation>
    </message>
</context>
<context>
    <name>NoteBar</name>
    <message>
        <source>Close this note</source>
        <translation>Cerrar esta nota</translation>
    </message>
</context>
<context>
    <name>NotificationPopup</name>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Close notification</source>
        <translation>Cerrar la notificación</translation>
    </message>
</context>
<context>
    <name>Notifications</name>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
</context>
<context>
    <name>OneProgram</name>
    <message>
        <source>There is no runtime folder for Velmora&apos;s socket: later starts will not hand over to this one.</source>
        <translation>No hay carpeta de ejecución para el socket de Velmora: los inicios posteriores no pasarán el relevo a este.</translation>
    </message>
    <message>
        <source>%1 belongs to another user: Velmora does not hand over to it and runs on its own.</source>
        <translation>%1 pertenece a otro usuario: Velmora no le pasa el relevo y funciona por su cuenta.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be taken: later starts will not hand over to this one.</source>
        <translation>No se pudo tomar el archivo de bloqueo %1: los inicios posteriores no pasarán el relevo a este.</translation>
    </message>
    <message>
        <source>%1 is in the way and could not be removed: later starts will not hand over to this one.</source>
        <translation>%1 estorba y no se pudo quitar: los inicios posteriores no pasarán el relevo a este.</translation>
    </message>
    <message>
        <source>Velmora could not listen at %1 (%2): later starts will not hand over to this one.</source>
        <translation>Velmora no pudo escuchar en %1 (%2): los inicios posteriores no pasarán el relevo a este.</translation>
    </message>
</context>
<context>
    <name>PageActions</name>
    <message>
        <source>&amp;Back</source>
        <translation>A&amp;trás</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>Ade&amp;lante</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Actualizar</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Inicio</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>&amp;Configurar página...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>&amp;Vista previa de impresión</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>Im&amp;primir...</translation>
    </message>
    <message>
        <source>&amp;Save Page...</source>
        <translation>&amp;Guardar página...</translation>
    </message>
    <message>
        <source>&amp;Find in Page...</source>
        <translation>&amp;Buscar en la página...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>A&amp;mpliar</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Reducir</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>Tamañ&amp;o real</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>C&amp;errar</translation>
    </message>
    <message>
        <source>%1 could not be done.</source>
        <translation>No se ha podido realizar «%1».</translation>
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
        <translation>Código fuente de %1</translation>
    </message>
</context>
<context>
    <name>PdfPageView</name>
    <message>
        <source>Pages</source>
        <translation>Páginas</translation>
    </message>
</context>
<context>
    <name>PdfPages</name>
    <message>
        <source>The PDF file is empty.</source>
        <translation>El archivo PDF está vacío.</translation>
    </message>
    <message>
        <source>The PDF file is locked with a password.</source>
        <translation>El archivo PDF está protegido con una contraseña.</translation>
    </message>
    <message>
        <source>The PDF file has no pages.</source>
        <translation>El archivo PDF no tiene páginas.</translation>
    </message>
    <message>
        <source>The PDF file is damaged.</source>
        <translation>El archivo PDF está dañado.</translation>
    </message>
</context>
<context>
    <name>PdfPane</name>
    <message>
        <source>Previous Page</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Página</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Página siguiente</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Whole Page</source>
        <translation>Página entera</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>de %1</translation>
    </message>
    <message>
        <source>Pages %1 to %2 are not shown: at most %3 pages are shown here.</source>
        <translation>Las páginas %1 a %2 no se muestran: aquí se muestran como máximo %3 páginas.</translation>
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
        <translation>El archivo PDF supera %1; no se muestra.</translation>
    </message>
    <message>
        <source>Loading %1: %2</source>
        <translation>Cargando %1: %2</translation>
    </message>
    <message>
        <source>Loading %1...</source>
        <translation>Cargando %1...</translation>
    </message>
    <message>
        <source>The PDF file did not arrive whole (%1); it is not shown.</source>
        <translation>El archivo PDF no llegó entero (%1); no se muestra.</translation>
    </message>
</context>
<context>
    <name>PrintPreview</name>
    <message>
        <source>Print Preview</source>
        <translation>Vista previa de impresión</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>Page &amp;Setup...</source>
        <translation>Configurar &amp;página...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>%1 Cookies and site data are kept only until Velmora ends.</source>
        <translation>%1 Las cookies y los datos de los sitios solo se conservan hasta que se cierra Velmora.</translation>
    </message>
    <message>
        <source>Another copy of Velmora is using the site data in %1.</source>
        <translation>Otra copia de Velmora está usando los datos de sitios en %1.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be made.</source>
        <translation>No se pudo crear el archivo de bloqueo %1.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be written.</source>
        <translation>No se ha podido escribir el archivo de configuración %1.</translation>
    </message>
    <message>
        <source>%1 Settings are kept only until Velmora ends.</source>
        <translation>%1 La configuración solo se conserva hasta que se cierra Velmora.</translation>
    </message>
</context>
<context>
    <name>SiteStrip</name>
    <message>
        <source>Site</source>
        <translation>Sitio</translation>
    </message>
    <message>
        <source>Show the whole address and the connection</source>
        <translation>Mostrar la dirección completa y la conexión</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Página de inicio</translation>
    </message>
    <message>
        <source>Go back to the home page</source>
        <translation>Volver a la página de inicio</translation>
    </message>
    <message>
        <source>Certificate not trusted</source>
        <translation>Certificado no fiable</translation>
    </message>
    <message>
        <source>Not secure</source>
        <translation>No seguro</translation>
    </message>
    <message>
        <source>Secure connection</source>
        <translation>Conexión segura</translation>
    </message>
    <message>
        <source>The web engine did not trust this site&apos;s certificate, so the page was not opened. Someone may be pretending to be this site.</source>
        <translation>El motor web no ha confiado en el certificado de este sitio, así que no se ha abierto la página. Puede que alguien se haga pasar por este sitio.</translation>
    </message>
    <message>
        <source>The connection to this site is encrypted, and the web engine trusts its certificate.</source>
        <translation>La conexión con este sitio está cifrada y el motor web confía en su certificado.</translation>
    </message>
    <message>
        <source>The connection to this site is not secure: others on the network can read and change what you see and send. Do not enter passwords or card numbers here.</source>
        <translation>La conexión con este sitio no es segura: otros en la red pueden leer y cambiar lo que ve y envía. No introduzca aquí contraseñas ni números de tarjeta.</translation>
    </message>
    <message>
        <source>This page is a file on this computer.</source>
        <translation>Esta página es un archivo de este equipo.</translation>
    </message>
    <message>
        <source>This page is not from a web site.</source>
        <translation>Esta página no procede de un sitio web.</translation>
    </message>
    <message>
        <source>Site details</source>
        <translation>Detalles del sitio</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Dirección</translation>
    </message>
    <message>
        <source>Issued to: %1
Issued by: %2
Valid from %3 to %4</source>
        <translation>Emitido para: %1
Emitido por: %2
Válido del %3 al %4</translation>
    </message>
</context>
<context>
    <name>WebView</name>
    <message>
        <source>Command %1 with option %2 is not supported.</source>
        <translation>No se admite el comando %1 con la opción %2.</translation>
    </message>
</context>
<context>
    <name>bookmarkfile::safefile</name>
    <message>
        <source>The bookmark file cannot be locked: %1 cannot be written.</source>
        <translation>No se puede bloquear el archivo de marcadores: no se puede escribir en %1.</translation>
    </message>
    <message>
        <source>The bookmarks cannot be read: %1 is a link, a pipe, a device or a folder, not an ordinary file. Remove it and try again.</source>
        <translation>No se pueden leer los marcadores: %1 es un enlace, una tubería, un dispositivo o una carpeta, no un archivo normal. Elimínelo y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be changed: %1 is a link, a pipe, a device or a folder, not an ordinary file. Nothing was changed; remove it and try again.</source>
        <translation>No se puede cambiar el archivo de marcadores: %1 es un enlace, una tubería, un dispositivo o una carpeta, no un archivo normal. No se ha cambiado nada; elimínelo y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be locked: %1 is a link, a pipe or a device, not an ordinary file. Nothing was changed; remove it and try again.</source>
        <translation>No se puede bloquear el archivo de marcadores: %1 es un enlace, una tubería o un dispositivo, no un archivo normal. No se ha cambiado nada; elimínelo y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The bookmarks cannot be read: %1 belongs to another user (%2). Nothing was read from it; have it removed and try again.</source>
        <translation>No se pueden leer los marcadores: %1 pertenece a otro usuario (%2). No se ha leído nada de él; haga que lo eliminen y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be changed: %1 belongs to another user (%2). Nothing was changed; have it removed and try again.</source>
        <translation>No se puede cambiar el archivo de marcadores: %1 pertenece a otro usuario (%2). No se ha cambiado nada; haga que lo eliminen y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The bookmark file cannot be locked: %1 belongs to another user (%2). Nothing was changed; have it removed and try again.</source>
        <translation>No se puede bloquear el archivo de marcadores: %1 pertenece a otro usuario (%2). No se ha cambiado nada; haga que lo eliminen y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>%1
Part of the bookmark is left at the end of the file: %2</source>
        <translation>%1
Ha quedado parte del marcador al final del archivo: %2</translation>
    </message>
    <message>
        <source>The bookmark file is busy: another program is changing it. Nothing was changed; try again in a moment.</source>
        <translation>El archivo de marcadores está ocupado: otro programa lo está modificando. No se ha cambiado nada; vuelva a intentarlo dentro de un momento.</translation>
    </message>
</context>
<context>
    <name>engineage</name>
    <message>
        <source>en</source>
        <comment>the language of the month&apos;s name, as a code</comment>
        <translation>es</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2). Out of date: no security fixes since %3 (up to Chromium %4).</source>
        <translation>Motor web: Qt WebEngine %1 (Chromium %2). Desactualizado: sin correcciones de seguridad desde %3 (hasta Chromium %4).</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2).</source>
        <translation>Motor web: Qt WebEngine %1 (Chromium %2).</translation>
    </message>
    <message>
        <source>Web engine: Qt WebEngine %1 (Chromium %2), security fixes up to %3 (Chromium %4).</source>
        <translation>Motor web: Qt WebEngine %1 (Chromium %2), correcciones de seguridad hasta %3 (Chromium %4).</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Email :</source>
        <translation>Correo:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>Info. &amp;sistema...</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Acerca de %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
    <message>
        <source>%1 icon</source>
        <translation>Icono de %1</translation>
    </message>
    <message>
        <source>%1 logo</source>
        <translation>Logotipo de %1</translation>
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
        <translation>Velmora es una herramienta gratuita única que busca a la vez en <byte value="xd"/>
varios sitios web de reservas de hoteles para que encuentre al <byte value="xd"/>
instante la tarifa más baja.<byte value="xd"/>
<byte value="xd"/>
Ya no hace falta buscar en los grandes sitios uno a uno para <byte value="xd"/>
comparar precios y disponibilidad. ¡Nuestro servicio gratuito le <byte value="xd"/>
ahorra mucho tiempo y dinero! Úselo y distribúyalo libremente.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>frmBookmark</name>
    <message>
        <source> Bookmark</source>
        <translation> Marcadores</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Borrar</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Todos</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Ninguno</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Ir</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Bookmark</source>
        <translation>Marcador</translation>
    </message>
    <message>
        <source>Connecting to server</source>
        <translation>Conectando con el servidor</translation>
    </message>
    <message>
        <source>Zoom of this site; click for 100%</source>
        <translation>Zoom de este sitio; haga clic para 100 %</translation>
    </message>
    <message>
        <source>&amp;Page</source>
        <translation>&amp;Página</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Bookmark</source>
        <translation>&amp;Marcadores</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Acerca de</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Do you wish to bookmark %1?</source>
        <translation>¿Desea añadir %1 a los marcadores?</translation>
    </message>
    <message>
        <source>Page loading</source>
        <translation>Cargando la página</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>This web engine (Chromium %1) has no security fixes since %2: some sites may not work, and flaws found since then are not fixed. Velmora built on a current Qt has a current engine: the package for Debian 13 or later, or its Flatpak.</source>
        <translation>Este motor web (Chromium %1) no tiene correcciones de seguridad desde %2: algunos sitios pueden no funcionar y los fallos encontrados desde entonces no están corregidos. Velmora compilado con un Qt actual tiene un motor actual: el paquete para Debian 13 o posterior, o su Flatpak.</translation>
    </message>
    <message>
        <source>&amp;Add Bookmark</source>
        <translation>&amp;Añadir marcador</translation>
    </message>
    <message>
        <source>&amp;Delete Bookmark</source>
        <translation>&amp;Eliminar marcadores</translation>
    </message>
    <message>
        <source>&amp;View Bookmark</source>
        <translation>&amp;Ver marcadores</translation>
    </message>
    <message>
        <source>&amp;Downloads...</source>
        <translation>De&amp;scargas...</translation>
    </message>
    <message>
        <source>hotel prices compared</source>
        <comment>the words on the logo, beside its name</comment>
        <translation>precios de hoteles comparados</translation>
    </message>
    <message>
        <source>Set as &amp;Home Page...</source>
        <translation>Establecer como página de &amp;inicio...</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>Atajos de &amp;teclado</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Only a web page (http or https) can be the home page, not &quot;%1&quot;.</source>
        <translation>Solo una página web (http o https) puede ser la página de inicio, no «%1».</translation>
    </message>
    <message>
        <source>Open %1 at start-up and with Home from now on?</source>
        <translation>¿Abrir %1 a partir de ahora al iniciar y con Inicio?</translation>
    </message>
</context>
<context>
    <name>pagedialogs</name>
    <message>
        <source>Don&apos;t let this page show more dialogs</source>
        <translation>No permitir que esta página muestre más diálogos</translation>
    </message>
    <message>
        <source>a file on this computer</source>
        <translation>un archivo de este equipo</translation>
    </message>
    <message>
        <source>The site %1 wants to know your location. Allow it?</source>
        <translation>El sitio %1 quiere conocer su ubicación. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to show notifications. Allow it?</source>
        <translation>El sitio %1 quiere mostrar notificaciones. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your microphone. Allow it?</source>
        <translation>El sitio %1 quiere usar su micrófono. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your camera. Allow it?</source>
        <translation>El sitio %1 quiere usar su cámara. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to use your camera and microphone. Allow it?</source>
        <translation>El sitio %1 quiere usar su cámara y su micrófono. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to see your screen. Allow it?</source>
        <translation>El sitio %1 quiere ver su pantalla. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to see your screen and hear its sound. Allow it?</source>
        <translation>El sitio %1 quiere ver su pantalla y oír su sonido. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to hide and take over your mouse pointer. Allow it?</source>
        <translation>El sitio %1 quiere ocultar y controlar el puntero del ratón. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>This link is to be opened by another program on your computer (a &quot;%1:&quot; link):

%2

Open it with that program?</source>
        <translation>Este enlace debe abrirlo otro programa de su equipo (un enlace «%1:»):

%2

¿Abrirlo con ese programa?</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted, so the page was not opened.

Someone may be pretending to be that site.</source>
        <translation>El certificado de %1 no es de confianza, así que no se ha abierto la página.

Es posible que alguien se esté haciendo pasar por ese sitio.</translation>
    </message>
    <message>
        <source>This page stopped working.

Press Refresh to load it again.</source>
        <translation>Esta página ha dejado de funcionar.

Pulse Actualizar para volver a cargarla.</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Iniciar sesión</translation>
    </message>
    <message>
        <source>The site %1 asks you to sign in.</source>
        <translation>El sitio %1 le pide que inicie sesión.</translation>
    </message>
    <message>
        <source>The site %1 asks you to sign in to &quot;%2&quot;.</source>
        <translation>El sitio %1 le pide que inicie sesión en «%2».</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>No se ha aceptado el nombre de usuario o la contraseña. Vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Usuario:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Contraseña:</translation>
    </message>
    <message>
        <source>The site %1 wants to read and change what you copied. Allow it?</source>
        <translation>El sitio %1 quiere leer y cambiar lo que ha copiado. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 wants to see the fonts on this computer. Allow it?</source>
        <translation>El sitio %1 quiere ver las fuentes de este equipo. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>The site %1 asked for a passkey or a security key. Velmora cannot use them yet, so the request was cancelled.</source>
        <translation>El sitio %1 ha pedido una llave de acceso o una llave de seguridad. Velmora aún no puede usarlas, así que se ha cancelado la solicitud.</translation>
    </message>
    <message>
        <source>windows</source>
        <translation>ventanas</translation>
    </message>
    <message>
        <source>downloads</source>
        <translation>descargas</translation>
    </message>
    <message>
        <source>signing in</source>
        <translation>inicios de sesión</translation>
    </message>
    <message>
        <source>your location</source>
        <translation>su ubicación</translation>
    </message>
    <message>
        <source>notifications</source>
        <translation>notificaciones</translation>
    </message>
    <message>
        <source>your camera</source>
        <translation>su cámara</translation>
    </message>
    <message>
        <source>your microphone</source>
        <translation>su micrófono</translation>
    </message>
    <message>
        <source>your camera and microphone</source>
        <translation>su cámara y su micrófono</translation>
    </message>
    <message>
        <source>your screen</source>
        <translation>su pantalla</translation>
    </message>
    <message>
        <source>your screen and its sound</source>
        <translation>su pantalla y su sonido</translation>
    </message>
    <message>
        <source>your mouse pointer</source>
        <translation>su puntero del ratón</translation>
    </message>
    <message>
        <source>what you copied</source>
        <translation>lo que ha copiado</translation>
    </message>
    <message>
        <source>your fonts</source>
        <translation>sus fuentes</translation>
    </message>
    <message>
        <source>links to other programs</source>
        <translation>enlaces a otros programas</translation>
    </message>
    <message>
        <source>printing</source>
        <translation>la impresión</translation>
    </message>
    <message>
        <source>passkeys</source>
        <translation>llaves de acceso</translation>
    </message>
    <message>
        <source>%1 (a frame on %2)</source>
        <translation>%1 (un marco en %2)</translation>
    </message>
    <message>
        <source>This page says</source>
        <translation>Esta página dice</translation>
    </message>
    <message>
        <source>%1 says</source>
        <translation>%1 dice</translation>
    </message>
</context>
<context>
    <name>privatefolder</name>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>No se ha podido crear la carpeta %1.</translation>
    </message>
    <message>
        <source>The folder %1 is missing.</source>
        <translation>Falta la carpeta %1.</translation>
    </message>
    <message>
        <source>The folder %1 is a link to another place.</source>
        <translation>La carpeta %1 es un enlace a otro lugar.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 no es una carpeta.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user.</source>
        <translation>La carpeta %1 pertenece a otro usuario.</translation>
    </message>
    <message>
        <source>The folder %1 is open to other users and could not be closed to them.</source>
        <translation>La carpeta %1 está abierta a otros usuarios y no se ha podido cerrar para ellos.</translation>
    </message>
</context>
<context>
    <name>progress</name>
    <message>
        <source>Please wait, connecting to server [%1 %]</source>
        <translation>Espere, conectando con el servidor [%1 %]</translation>
    </message>
</context>
<context>
    <name>schemes</name>
    <message>
        <source>only web pages (http or https) can be opened, not &quot;%1&quot;</source>
        <translation>solo se pueden abrir páginas web (http o https), no &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the address is longer than %1 characters</source>
        <translation>la dirección tiene más de %1 caracteres</translation>
    </message>
</context>
<context>
    <name>startpage</name>
    <message>
        <source>en</source>
        <comment>the language of this page, as a language code</comment>
        <translation>es</translation>
    </message>
    <message>
        <source>No site is set for Velmora yet. Type the address of the site it is to open, such as %1, and choose “Use this site”.</source>
        <translation>Velmora aún no tiene ningún sitio. Escriba la dirección del sitio que debe abrir, por ejemplo %1, y elija «Usar este sitio».</translation>
    </message>
    <message>
        <source>Velmora opens %1 at start-up and with Home. To open another site instead, type its address and choose “Use this site”.</source>
        <translation>Velmora abre %1 al iniciar y con Inicio. Para abrir otro sitio en su lugar, escriba su dirección y elija «Usar este sitio».</translation>
    </message>
    <message>
        <source>The site was not set: %1.</source>
        <translation>No se ha establecido el sitio: %1.</translation>
    </message>
    <message>
        <source>Velmora keeps it as the line %1 under %2 in your settings, %3. A line in %4 sets it for every user who has none of their own.</source>
        <translation>Velmora la guarda como la línea %1 bajo %2 en su configuración, %3. Una línea en %4 la establece para todos los usuarios que no tengan la suya.</translation>
    </message>
    <message>
        <source>Address of the site:</source>
        <translation>Dirección del sitio:</translation>
    </message>
    <message>
        <source>Use this site</source>
        <translation>Usar este sitio</translation>
    </message>
</context>
<context>
    <name>startup</name>
    <message>
        <source>velmora: refusing to run as root: the web engine&apos;s sandbox, which shuts web pages off from the system, cannot run as root; run Velmora as an ordinary user, or start it with --no-sandbox to run it without the sandbox
</source>
        <translation>velmora: se rechaza ejecutar como root: el entorno aislado del motor web, que separa las páginas web del sistema, no puede ejecutarse como root; ejecute Velmora como usuario normal, o inícielo con --no-sandbox para ejecutarlo sin el entorno aislado
</translation>
    </message>
    <message>
        <source>A small desktop browser shell.</source>
        <translation>Un pequeño navegador de escritorio.</translation>
    </message>
    <message>
        <source>Run the web engine without its sandbox, as it must run as root. Web pages then run with the program&apos;s rights.</source>
        <translation>Ejecutar el motor web sin su entorno aislado, como es necesario como root. Las páginas web se ejecutan entonces con los permisos del programa.</translation>
    </message>
    <message>
        <source>Write the web engine&apos;s start-up report and the pages&apos; console messages to standard error.</source>
        <translation>Escribir el informe de inicio del motor web y los mensajes de consola de las páginas en la salida de error estándar.</translation>
    </message>
    <message>
        <source>The window system to use: xcb, wayland, offscreen...</source>
        <translation>El sistema de ventanas que se usará: xcb, wayland, offscreen...</translation>
    </message>
    <message>
        <source>Where to look for window system plugins.</source>
        <translation>Dónde buscar los complementos del sistema de ventanas.</translation>
    </message>
    <message>
        <source>The platform theme.</source>
        <translation>El tema de la plataforma.</translation>
    </message>
    <message>
        <source>An input plugin to load as well.</source>
        <translation>Un complemento de entrada que se cargará además.</translation>
    </message>
    <message>
        <source>The main window&apos;s geometry, as WxH+X+Y.</source>
        <translation>La geometría de la ventana principal, como AnxAl+X+Y.</translation>
    </message>
    <message>
        <source>The windows&apos; icon.</source>
        <translation>El icono de las ventanas.</translation>
    </message>
    <message>
        <source>The main window&apos;s title.</source>
        <translation>El título de la ventana principal.</translation>
    </message>
    <message>
        <source>Lay the windows out from right to left.</source>
        <translation>Disponer las ventanas de derecha a izquierda.</translation>
    </message>
    <message>
        <source>The session to restore.</source>
        <translation>La sesión que se restaurará.</translation>
    </message>
    <message>
        <source>The widget style.</source>
        <translation>El estilo de los controles.</translation>
    </message>
    <message>
        <source>A style sheet for the windows.</source>
        <translation>Una hoja de estilo para las ventanas.</translation>
    </message>
    <message>
        <source>Print how many widgets were left at the end.</source>
        <translation>Mostrar al final cuántos controles quedaban.</translation>
    </message>
    <message>
        <source>Start the QML debugger with these options.</source>
        <translation>Iniciar el depurador de QML con estas opciones.</translation>
    </message>
    <message>
        <source>Load the testability plugin.</source>
        <translation>Cargar el complemento de pruebas.</translation>
    </message>
    <message>
        <source>X11: the X display.</source>
        <translation>X11: la pantalla X.</translation>
    </message>
    <message>
        <source>X11: as -qwindowgeometry.</source>
        <translation>X11: como -qwindowgeometry.</translation>
    </message>
    <message>
        <source>X11: as -qwindowtitle.</source>
        <translation>X11: como -qwindowtitle.</translation>
    </message>
    <message>
        <source>X11: the program&apos;s resource name.</source>
        <translation>X11: el nombre de recurso del programa.</translation>
    </message>
    <message>
        <source>X11: the visual to use.</source>
        <translation>X11: el visual que se usará.</translation>
    </message>
    <message>
        <source>X11: talk to the X server synchronously.</source>
        <translation>X11: comunicarse de forma síncrona con el servidor X.</translation>
    </message>
    <message>
        <source>X11: never grab the mouse or the keyboard.</source>
        <translation>X11: no capturar nunca el ratón ni el teclado.</translation>
    </message>
    <message>
        <source>X11: grab them even under a debugger.</source>
        <translation>X11: capturarlos incluso bajo un depurador.</translation>
    </message>
    <message>
        <source>%1 %2
Qt WebEngine %3
Chromium %4, with security patches up to %5
</source>
        <translation>%1 %2
Qt WebEngine %3
Chromium %4, con parches de seguridad hasta el %5
</translation>
    </message>
    <message>
        <source>velmora: the web engine&apos;s sandbox is off (%1 has %2)
</source>
        <translation>velmora: el entorno aislado del motor web está desactivado (%1 contiene %2)
</translation>
    </message>
    <message>
        <source>velmora: part of the web engine&apos;s sandbox is off (%1 has %2)
</source>
        <translation>velmora: parte del entorno aislado del motor web está desactivada (%1 contiene %2)
</translation>
    </message>
    <message>
        <source>velmora: the web engine&apos;s sandbox is off (%1 is set)
</source>
        <translation>velmora: el entorno aislado del motor web está desactivado (%1 está definida)
</translation>
    </message>
    <message>
        <source>address</source>
        <translation>dirección</translation>
    </message>
    <message>
        <source>The web page to open instead of the home page (http or https); a running Velmora opens it in its window.</source>
        <translation>La página web que se abre en lugar de la página de inicio (http o https); un Velmora en marcha la abre en su ventana.</translation>
    </message>
    <message>
        <source>[address]</source>
        <translation>[dirección]</translation>
    </message>
    <message>
        <source>only web pages (http or https) can be opened, not &quot;%1&quot;</source>
        <translation>solo se pueden abrir páginas web (http o https), no &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the address is longer than %1 characters</source>
        <translation>la dirección tiene más de %1 caracteres</translation>
    </message>
    <message>
        <source>velmora: the home page &quot;%1&quot; in %2 is not a web page (http or https); it is not used
</source>
        <translation>velmora: la página de inicio &quot;%1&quot; en %2 no es una página web (http o https); no se usa
</translation>
    </message>
    <message>
        <source>Velmora opens one address at a time, not %1</source>
        <translation>Velmora abre una dirección a la vez, no %1</translation>
    </message>
    <message>
        <source>velmora: web pages run outside the web engine&apos;s sandbox (%1 has %2)
</source>
        <translation>velmora: las páginas web se ejecutan fuera del entorno aislado del motor web (%1 contiene %2)
</translation>
    </message>
    <message>
        <source>Nothing was opened: %1.</source>
        <translation>No se abrió nada: %1.</translation>
    </message>
    <message>
        <source>the command line</source>
        <translation>la línea de comandos</translation>
    </message>
</context>
<context>
    <name>sysinfo</name>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>La información del sistema no está disponible en este momento</translation>
    </message>
</context>
</TS>
