<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>EscLabels</name>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Tipo HW: desconhecido</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Versão HW: desc.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Versão FW: desconh.</translation>
    </message>
    <message>
        <source>HW type: unknown</source>
        <translation>Tipo HW: desconhecido</translation>
    </message>
    <message>
        <source>HW version: unknown</source>
        <translation>Versão HW: desc.</translation>
    </message>
    <message>
        <source>FW version: unknown</source>
        <translation>Versão FW: desconh.</translation>
    </message>
    <message>
        <source>HW type:unknown</source>
        <translation>Tipo HW: desconhecido</translation>
    </message>
    <message>
        <source>HW version:unknown</source>
        <translation>Versão HW: desc.</translation>
    </message>
    <message>
        <source>FW version:unknown</source>
        <translation>Versão FW: desconh.</translation>
    </message>
    <message>
        <source>HW type:%1</source>
        <translation>Tipo HW: %1</translation>
    </message>
    <message>
        <source>HW version:V%1</source>
        <translation>Versão HW: V%1</translation>
    </message>
    <message>
        <source>FW version:V%1</source>
        <translation>Versão FW: V%1</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>Link trace</source>
        <translation>Registro da conexão</translation>
    </message>
    <message>
        <source>Link trace lines</source>
        <translation>Linhas do registro da conexão</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Salvar...</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>Arquivo de registro (*.log)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>Não é possível gravar em %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SpeedPlotView</name>
    <message>
        <source>Speed plot</source>
        <translation>Gráfico de rotação</translation>
    </message>
    <message>
        <source>The measured speed and the throttle of the last 60 s</source>
        <translation>Rotação medida e acelerador dos últimos 60 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>speed (rpm)</source>
        <translation>rotação (rpm)</translation>
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
        <translation>Gráfico de rotação</translation>
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
        <translation>Arquivo CSV (*.csv)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Imagem PNG (*.png)</translation>
    </message>
    <message>
        <source>the image could not be saved there</source>
        <translation>não foi possível salvar a imagem ali</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>Não é possível gravar em %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ZELT brushless ESC software V1.2 </source>
        <translation>ZELT software para ESC brushless V1.2 </translation>
    </message>
    <message>
        <source>Choose COM</source>
        <translation>Escolher COM</translation>
    </message>
    <message>
        <source>COM Connection</source>
        <translation>Conexão COM</translation>
    </message>
    <message>
        <source>ESC Hardware</source>
        <translation>Hardware do ESC</translation>
    </message>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Tipo HW: desconhecido</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Versão HW: desc.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Versão FW: desconh.</translation>
    </message>
    <message>
        <source>ESC Connection</source>
        <translation>Conexão ESC</translation>
    </message>
    <message>
        <source>Parameter Setup/Display</source>
        <translation>Configurar/exibir parâmetros</translation>
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
        <translation>Tipo de bateria</translation>
    </message>
    <message>
        <source>Cut Off Voltage</source>
        <translation>Tensão de corte</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Baixa</translation>
    </message>
    <message>
        <source>Middle*</source>
        <translation>Média*</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Alta</translation>
    </message>
    <message>
        <source>Start Mode</source>
        <translation>Modo de partida</translation>
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
        <translation>Muito suave</translation>
    </message>
    <message>
        <source>Brake Mode</source>
        <translation>Modo de freio</translation>
    </message>
    <message>
        <source>Brake off*</source>
        <translation>Sem freio*</translation>
    </message>
    <message>
        <source>Low brake</source>
        <translation>Freio baixo</translation>
    </message>
    <message>
        <source>Middle brake</source>
        <translation>Freio médio</translation>
    </message>
    <message>
        <source>High brake</source>
        <translation>Freio alto</translation>
    </message>
    <message>
        <source>Timing option</source>
        <translation>Avanço</translation>
    </message>
    <message>
        <source>Current limited sesitivity</source>
        <translation>Limite de corrente</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Máxima</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Govener mode</source>
        <translation>Modo governor</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>NÃO</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>SIM</translation>
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
        <translation>Operação</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parâm.</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Rotação</translation>
    </message>
    <message>
        <source>Auto find hardware</source>
        <translation>Procurar hardware</translation>
    </message>
    <message>
        <source>Load setup</source>
        <translation>Carregar ajustes</translation>
    </message>
    <message>
        <source>Save setup</source>
        <translation>Salvar ajustes</translation>
    </message>
    <message>
        <source>Update firmware</source>
        <translation>Atualizar firmware</translation>
    </message>
    <message>
        <source>Read ESC parameter</source>
        <translation>Ler parâmetros</translation>
    </message>
    <message>
        <source>Restore default  parameter</source>
        <translation>Valores padrão</translation>
    </message>
    <message>
        <source>Download parameter to ESC</source>
        <translation>Gravar parâmetros</translation>
    </message>
    <message>
        <source>Rotate speed test</source>
        <translation>Teste de rotação</translation>
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
        <translation>Rotação</translation>
    </message>
    <message>
        <source>R/M</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>Current work status</source>
        <translation>Estado atual</translation>
    </message>
    <message>
        <source>Wait user command</source>
        <translation>Aguardando comando</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progresso</translation>
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
        <translation>Arquivo Zelt (*.zelt)</translation>
    </message>
    <message>
        <source>ZELT ESC tool - remove the propeller before a speed test</source>
        <translation>ZELT ferramenta ESC - retire a hélice antes do teste de rotação</translation>
    </message>
    <message>
        <source>Speed plot</source>
        <translation>Gráfico de rotação</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Não é possível gravar em %1</translation>
    </message>
    <message>
        <source>Setting card connected</source>
        <translation>Cartão de ajuste conectado</translation>
    </message>
    <message>
        <source>Setting card not connected</source>
        <translation>Cartão de ajuste não conectado</translation>
    </message>
    <message>
        <source>ESC identified</source>
        <translation>ESC identificado</translation>
    </message>
    <message>
        <source>No ESC identified</source>
        <translation>Nenhum ESC identificado</translation>
    </message>
    <message>
        <source>Parameter mode selected</source>
        <translation>Modo de parâmetros escolhido</translation>
    </message>
    <message>
        <source>Parameter mode not selected</source>
        <translation>Modo de parâmetros não escolhido</translation>
    </message>
    <message>
        <source>Speed test mode not selected</source>
        <translation>Teste de rotação não escolhido</translation>
    </message>
    <message>
        <source>Speed test mode selected</source>
        <translation>Teste de rotação escolhido</translation>
    </message>
    <message>
        <source>%1% done</source>
        <translation>%1% concluído</translation>
    </message>
</context>
<context>
    <name>box_text</name>
    <message>
        <source>Hardware not connect or Comm port select error</source>
        <translation>Hardware não conectado ou porta COM errada</translation>
    </message>
    <message>
        <source>can not find hardware,please confirm:<byte value="xd"/>
  1.Hardware port connect.<byte value="xd"/>
  2.Hardware power.</source>
        <translation>Hardware não encontrado, verifique:<byte value="xd"/>
  1. A conexão da porta.<byte value="xd"/>
  2. A alimentação do hardware.</translation>
    </message>
    <message>
        <source>Receive data error</source>
        <translation>Erro ao receber os dados</translation>
    </message>
    <message>
        <source>Hardware not connect,please connect first</source>
        <translation>Hardware não conectado, conecte primeiro</translation>
    </message>
    <message>
        <source>Send parameter to ESC OK</source>
        <translation>Parâmetros enviados ao ESC</translation>
    </message>
    <message>
        <source>Save file error</source>
        <translation>Erro ao salvar o arquivo</translation>
    </message>
    <message>
        <source>Receive data error,Please update Hardware again</source>
        <translation>Erro ao receber os dados, atualize o hardware novamente</translation>
    </message>
    <message>
        <source>Update hardware failure,Please update Hardware again</source>
        <translation>Falha na atualização, atualize o hardware novamente</translation>
    </message>
    <message>
        <source>sorry! You can not update of the ESC,<byte value="xd"/>
please contact manufacturers.</source>
        <translation>Desculpe, este ESC não pode ser atualizado,<byte value="xd"/>
entre em contato com o fabricante.</translation>
    </message>
    <message>
        <source>find setting card connected with%1<byte value="xd"/>
</source>
        <translation>Cartão de ajuste encontrado em %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>not find ESC</source>
        <translation>nenhum ESC encontrado</translation>
    </message>
    <message>
        <source>and find ESC%1</source>
        <translation>e ESC %1 encontrado</translation>
    </message>
    <message>
        <source>The version you want to upgrade is same with current ESC firmware version,
<byte value="xd"/>Do you want to continue?</source>
        <translation>A versão escolhida é a mesma do firmware atual do ESC,
<byte value="xd"/>deseja continuar?</translation>
    </message>
    <message>
        <source>Are you really update hardware to V%1</source>
        <translation>Atualizar mesmo o hardware para V%1?</translation>
    </message>
    <message>
        <source>Update hardware succeed,Firmware versionV%1.%2</source>
        <translation>Atualização concluída, versão do firmware V%1.%2</translation>
    </message>
    <message>
        <source>Comm port open error！</source>
        <translation>Erro ao abrir a porta！</translation>
    </message>
    <message>
        <source>No value selected for %1. Choose one before downloading.</source>
        <translation>Nenhum valor selecionado para %1. Escolha um antes de enviar.</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Não é possível abrir a imagem de firmware %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Cannot read the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Não é possível ler a imagem de firmware %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The firmware image %1 does not name its version in the first line (V, hex digit, point, hex digit).<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>A imagem de firmware %1 não indica sua versão na primeira linha (V, dígito hex, ponto, dígito hex).<byte value="xd"/>
Nada foi enviado ao ESC.</translation>
    </message>
    <message>
        <source>The firmware image %1 cannot be written: %2.<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>A imagem de firmware %1 não pode ser gravada: %2.<byte value="xd"/>
Nada foi enviado ao ESC.</translation>
    </message>
    <message>
        <source>it holds %1 data lines, a complete image has %2</source>
        <translation>ela tem %1 linhas de dados, uma imagem completa tem %2</translation>
    </message>
    <message>
        <source>line %1 holds fewer than %2 hex digits</source>
        <translation>a linha %1 tem menos de %2 dígitos hex</translation>
    </message>
    <message>
        <source>line %1 holds a character that is not a hex digit</source>
        <translation>a linha %1 tem um caractere que não é dígito hex</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
File not found<byte value="xd"/>
Looked in:</source>
        <translation>Não é possível abrir a imagem de firmware %1:<byte value="xd"/>
Arquivo não encontrado<byte value="xd"/>
Procurado em:</translation>
    </message>
</context>
<context>
    <name>box_title</name>
    <message>
        <source>Comm error</source>
        <translation>Erro de comunicação</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Require</source>
        <translation>Confirmação</translation>
    </message>
    <message>
        <source>not find hardware</source>
        <translation>Hardware não encontrado</translation>
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
        <translation>Aguardando comando</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>Erro de comunicação</translation>
    </message>
    <message>
        <source>Start switch port</source>
        <translation>Trocando de porta</translation>
    </message>
    <message>
        <source>Start perform command--------</source>
        <translation>Executando comando...</translation>
    </message>
    <message>
        <source>auto finding hardware....</source>
        <translation>Procurando hardware...</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Resultado da busca</translation>
    </message>
    <message>
        <source>Reading ESC parameter </source>
        <translation>Lendo parâmetros </translation>
    </message>
    <message>
        <source>Reading ESC parameter OK</source>
        <translation>Parâmetros lidos</translation>
    </message>
    <message>
        <source>Send parameter to ESC</source>
        <translation>Enviando parâmetros</translation>
    </message>
    <message>
        <source>Send parameter done</source>
        <translation>Parâmetros enviados</translation>
    </message>
    <message>
        <source>Start update hardware....</source>
        <translation>Iniciando atualização...</translation>
    </message>
    <message>
        <source>Update process:Writing ROM.......</source>
        <translation>Atualizando: gravando ROM...</translation>
    </message>
    <message>
        <source>Verrify update data...</source>
        <translation>Verificando dados...</translation>
    </message>
    <message>
        <source>Update hardware finished</source>
        <translation>Atualização concluída</translation>
    </message>
    <message>
        <source>Testing rotate speed..</source>
        <translation>Testando rotação...</translation>
    </message>
    <message>
        <source>ESC speed answers stopped</source>
        <translation>O ESC parou de enviar rotação</translation>
    </message>
</context>
</TS>
