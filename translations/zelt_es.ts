<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>EscLabels</name>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Tipo HW: desconocido</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Versión HW: desc.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Versión FW: desconoc.</translation>
    </message>
    <message>
        <source>HW type: unknown</source>
        <translation>Tipo HW: desconocido</translation>
    </message>
    <message>
        <source>HW version: unknown</source>
        <translation>Versión HW: desc.</translation>
    </message>
    <message>
        <source>FW version: unknown</source>
        <translation>Versión FW: desconoc.</translation>
    </message>
    <message>
        <source>HW type:unknown</source>
        <translation>Tipo HW: desconocido</translation>
    </message>
    <message>
        <source>HW version:unknown</source>
        <translation>Versión HW: desc.</translation>
    </message>
    <message>
        <source>FW version:unknown</source>
        <translation>Versión FW: desconoc.</translation>
    </message>
    <message>
        <source>HW type:%1</source>
        <translation>Tipo HW: %1</translation>
    </message>
    <message>
        <source>HW version:V%1</source>
        <translation>Versión HW: V%1</translation>
    </message>
    <message>
        <source>FW version:V%1</source>
        <translation>Versión FW: V%1</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>Link trace</source>
        <translation>Traza del enlace</translation>
    </message>
    <message>
        <source>Link trace lines</source>
        <translation>Líneas de la traza del enlace</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Guardar...</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>Archivo de registro (*.log)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>No se puede escribir en %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SpeedPlotView</name>
    <message>
        <source>Speed plot</source>
        <translation>Gráfica de velocidad</translation>
    </message>
    <message>
        <source>The measured speed and the throttle of the last 60 s</source>
        <translation>Velocidad medida y acelerador de los últimos 60 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>speed (rpm)</source>
        <translation>velocidad (rpm)</translation>
    </message>
    <message>
        <source>throttle (us)</source>
        <translation>acelerador (us)</translation>
    </message>
</context>
<context>
    <name>SpeedPlotWindow</name>
    <message>
        <source>Speed plot</source>
        <translation>Gráfica de velocidad</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Exportar CSV...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>Exportar PNG...</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>Archivo CSV (*.csv)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Imagen PNG (*.png)</translation>
    </message>
    <message>
        <source>the image could not be saved there</source>
        <translation>la imagen no se pudo guardar allí</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>No se puede escribir en %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ZELT brushless ESC software V1.2 </source>
        <translation>ZELT software para ESC sin escobillas V1.2 </translation>
    </message>
    <message>
        <source>Choose COM</source>
        <translation>Elegir COM</translation>
    </message>
    <message>
        <source>COM Connection</source>
        <translation>Conexión COM</translation>
    </message>
    <message>
        <source>ESC Hardware</source>
        <translation>Hardware del ESC</translation>
    </message>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Tipo HW: desconocido</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Versión HW: desc.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Versión FW: desconoc.</translation>
    </message>
    <message>
        <source>ESC Connection</source>
        <translation>Conexión ESC</translation>
    </message>
    <message>
        <source>Parameter Setup/Display</source>
        <translation>Configurar/mostrar parámetros</translation>
    </message>
    <message>
        <source>Cut Off Type</source>
        <translation>Tipo de corte</translation>
    </message>
    <message>
        <source>Soft cut*</source>
        <translation>Corte suave*</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Corte</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Tipo de batería</translation>
    </message>
    <message>
        <source>Cut Off Voltage</source>
        <translation>Tensión de corte</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Baja</translation>
    </message>
    <message>
        <source>Middle*</source>
        <translation>Media*</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Alta</translation>
    </message>
    <message>
        <source>Start Mode</source>
        <translation>Modo de arranque</translation>
    </message>
    <message>
        <source>Normal start*</source>
        <translation>Normal*</translation>
    </message>
    <message>
        <source>Soft start</source>
        <translation>Suave</translation>
    </message>
    <message>
        <source>Very soft start</source>
        <translation>Muy suave</translation>
    </message>
    <message>
        <source>Brake Mode</source>
        <translation>Modo de freno</translation>
    </message>
    <message>
        <source>Brake off*</source>
        <translation>Sin freno*</translation>
    </message>
    <message>
        <source>Low brake</source>
        <translation>Freno bajo</translation>
    </message>
    <message>
        <source>Middle brake</source>
        <translation>Freno medio</translation>
    </message>
    <message>
        <source>High brake</source>
        <translation>Freno alto</translation>
    </message>
    <message>
        <source>Timing option</source>
        <translation>Avance</translation>
    </message>
    <message>
        <source>Current limited sesitivity</source>
        <translation>Límite de corriente</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Máxima</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Govener mode</source>
        <translation>Modo governor</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>NO</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>SÍ</translation>
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
        <translation>Operación</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parám.</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Veloc.</translation>
    </message>
    <message>
        <source>Auto find hardware</source>
        <translation>Buscar hardware</translation>
    </message>
    <message>
        <source>Load setup</source>
        <translation>Cargar ajustes</translation>
    </message>
    <message>
        <source>Save setup</source>
        <translation>Guardar ajustes</translation>
    </message>
    <message>
        <source>Update firmware</source>
        <translation>Actualizar firmware</translation>
    </message>
    <message>
        <source>Read ESC parameter</source>
        <translation>Leer parámetros</translation>
    </message>
    <message>
        <source>Restore default  parameter</source>
        <translation>Valores de fábrica</translation>
    </message>
    <message>
        <source>Download parameter to ESC</source>
        <translation>Escribir parámetros</translation>
    </message>
    <message>
        <source>Rotate speed test</source>
        <translation>Prueba de velocidad</translation>
    </message>
    <message>
        <source>Throttle signal</source>
        <translation>Acelerador</translation>
    </message>
    <message>
        <source>Polarity number</source>
        <translation>Número de polos</translation>
    </message>
    <message>
        <source>Rotate speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>R/M</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>Current work status</source>
        <translation>Estado actual</translation>
    </message>
    <message>
        <source>Wait user command</source>
        <translation>Esperando orden</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logotipo</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Zelt File (*.zelt)</source>
        <translation>Archivo Zelt (*.zelt)</translation>
    </message>
    <message>
        <source>ZELT ESC tool - remove the propeller before a speed test</source>
        <translation>ZELT herramienta ESC - quite la hélice antes de probar la velocidad</translation>
    </message>
    <message>
        <source>Speed plot</source>
        <translation>Gráfica de velocidad</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
    <message>
        <source>Setting card connected</source>
        <translation>Tarjeta de ajuste conectada</translation>
    </message>
    <message>
        <source>Setting card not connected</source>
        <translation>Tarjeta de ajuste no conectada</translation>
    </message>
    <message>
        <source>ESC identified</source>
        <translation>ESC identificado</translation>
    </message>
    <message>
        <source>No ESC identified</source>
        <translation>Ningún ESC identificado</translation>
    </message>
    <message>
        <source>Parameter mode selected</source>
        <translation>Modo de parámetros elegido</translation>
    </message>
    <message>
        <source>Parameter mode not selected</source>
        <translation>Modo de parámetros no elegido</translation>
    </message>
    <message>
        <source>Speed test mode not selected</source>
        <translation>Prueba de velocidad no elegida</translation>
    </message>
    <message>
        <source>Speed test mode selected</source>
        <translation>Prueba de velocidad elegida</translation>
    </message>
    <message>
        <source>%1% done</source>
        <translation>%1 % hecho</translation>
    </message>
</context>
<context>
    <name>box_text</name>
    <message>
        <source>Hardware not connect or Comm port select error</source>
        <translation>Hardware no conectado o puerto COM mal elegido</translation>
    </message>
    <message>
        <source>can not find hardware,please confirm:<byte value="xd"/>
  1.Hardware port connect.<byte value="xd"/>
  2.Hardware power.</source>
        <translation>No se encuentra el hardware, compruebe:<byte value="xd"/>
  1. La conexión del puerto.<byte value="xd"/>
  2. La alimentación del hardware.</translation>
    </message>
    <message>
        <source>Receive data error</source>
        <translation>Error al recibir los datos</translation>
    </message>
    <message>
        <source>Hardware not connect,please connect first</source>
        <translation>Hardware no conectado, conéctelo primero</translation>
    </message>
    <message>
        <source>Send parameter to ESC OK</source>
        <translation>Parámetros enviados al ESC</translation>
    </message>
    <message>
        <source>Save file error</source>
        <translation>Error al guardar el archivo</translation>
    </message>
    <message>
        <source>Receive data error,Please update Hardware again</source>
        <translation>Error al recibir los datos, actualice el hardware de nuevo</translation>
    </message>
    <message>
        <source>Update hardware failure,Please update Hardware again</source>
        <translation>La actualización falló, actualice el hardware de nuevo</translation>
    </message>
    <message>
        <source>sorry! You can not update of the ESC,<byte value="xd"/>
please contact manufacturers.</source>
        <translation>Lo sentimos, este ESC no se puede actualizar,<byte value="xd"/>
contacte con el fabricante.</translation>
    </message>
    <message>
        <source>find setting card connected with%1<byte value="xd"/>
</source>
        <translation>Tarjeta de ajuste encontrada en %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>not find ESC</source>
        <translation>ningún ESC encontrado</translation>
    </message>
    <message>
        <source>and find ESC%1</source>
        <translation>y ESC %1 encontrado</translation>
    </message>
    <message>
        <source>The version you want to upgrade is same with current ESC firmware version,
<byte value="xd"/>Do you want to continue?</source>
        <translation>La versión elegida es la misma que el firmware actual del ESC,
<byte value="xd"/>¿desea continuar?</translation>
    </message>
    <message>
        <source>Are you really update hardware to V%1</source>
        <translation>¿Actualizar de verdad el hardware a V%1?</translation>
    </message>
    <message>
        <source>Update hardware succeed,Firmware versionV%1.%2</source>
        <translation>Actualización correcta, versión de firmware V%1.%2</translation>
    </message>
    <message>
        <source>Comm port open error！</source>
        <translation>Error al abrir el puerto！</translation>
    </message>
    <message>
        <source>No value selected for %1. Choose one before downloading.</source>
        <translation>No hay valor seleccionado para %1. Elija uno antes de descargar.</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>No se puede abrir la imagen de firmware %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Cannot read the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>No se puede leer la imagen de firmware %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The firmware image %1 does not name its version in the first line (V, hex digit, point, hex digit).<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>La imagen de firmware %1 no indica su versión en la primera línea (V, dígito hex, punto, dígito hex).<byte value="xd"/>
No se envió nada al ESC.</translation>
    </message>
    <message>
        <source>The firmware image %1 cannot be written: %2.<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>La imagen de firmware %1 no se puede escribir: %2.<byte value="xd"/>
No se envió nada al ESC.</translation>
    </message>
    <message>
        <source>it holds %1 data lines, a complete image has %2</source>
        <translation>tiene %1 líneas de datos, una imagen completa tiene %2</translation>
    </message>
    <message>
        <source>line %1 holds fewer than %2 hex digits</source>
        <translation>la línea %1 tiene menos de %2 dígitos hex</translation>
    </message>
    <message>
        <source>line %1 holds a character that is not a hex digit</source>
        <translation>la línea %1 tiene un carácter que no es un dígito hex</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
File not found<byte value="xd"/>
Looked in:</source>
        <translation>No se puede abrir la imagen de firmware %1:<byte value="xd"/>
Archivo no encontrado<byte value="xd"/>
Se buscó en:</translation>
    </message>
</context>
<context>
    <name>box_title</name>
    <message>
        <source>Comm error</source>
        <translation>Error de comunicación</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Require</source>
        <translation>Confirmación</translation>
    </message>
    <message>
        <source>not find hardware</source>
        <translation>Hardware no encontrado</translation>
    </message>
    <message>
        <source>Find hardware</source>
        <translation>Hardware encontrado</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>Wait user command</source>
        <translation>Esperando orden</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>Error de comunicación</translation>
    </message>
    <message>
        <source>Start switch port</source>
        <translation>Cambiando de puerto</translation>
    </message>
    <message>
        <source>Start perform command--------</source>
        <translation>Ejecutando orden...</translation>
    </message>
    <message>
        <source>auto finding hardware....</source>
        <translation>Buscando hardware...</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Resultado de búsqueda</translation>
    </message>
    <message>
        <source>Reading ESC parameter </source>
        <translation>Leyendo parámetros </translation>
    </message>
    <message>
        <source>Reading ESC parameter OK</source>
        <translation>Parámetros leídos</translation>
    </message>
    <message>
        <source>Send parameter to ESC</source>
        <translation>Enviando parámetros</translation>
    </message>
    <message>
        <source>Send parameter done</source>
        <translation>Parámetros enviados</translation>
    </message>
    <message>
        <source>Start update hardware....</source>
        <translation>Iniciando actualización...</translation>
    </message>
    <message>
        <source>Update process:Writing ROM.......</source>
        <translation>Actualizando: escribiendo ROM...</translation>
    </message>
    <message>
        <source>Verrify update data...</source>
        <translation>Verificando datos...</translation>
    </message>
    <message>
        <source>Update hardware finished</source>
        <translation>Actualización terminada</translation>
    </message>
    <message>
        <source>Testing rotate speed..</source>
        <translation>Probando velocidad...</translation>
    </message>
    <message>
        <source>ESC speed answers stopped</source>
        <translation>El ESC no envía velocidad</translation>
    </message>
</context>
</TS>
