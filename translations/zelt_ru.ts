<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>EscLabels</name>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Тип: неизвестен</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Версия HW: неизв.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Версия FW: неизв.</translation>
    </message>
    <message>
        <source>HW type: unknown</source>
        <translation>Тип: неизвестен</translation>
    </message>
    <message>
        <source>HW version: unknown</source>
        <translation>Версия HW: неизв.</translation>
    </message>
    <message>
        <source>FW version: unknown</source>
        <translation>Версия FW: неизв.</translation>
    </message>
    <message>
        <source>HW type:unknown</source>
        <translation>Тип: неизвестен</translation>
    </message>
    <message>
        <source>HW version:unknown</source>
        <translation>Версия HW: неизв.</translation>
    </message>
    <message>
        <source>FW version:unknown</source>
        <translation>Версия FW: неизв.</translation>
    </message>
    <message>
        <source>HW type:%1</source>
        <translation>Тип: %1</translation>
    </message>
    <message>
        <source>HW version:V%1</source>
        <translation>Версия HW: V%1</translation>
    </message>
    <message>
        <source>FW version:V%1</source>
        <translation>Версия FW: V%1</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>Link trace</source>
        <translation>Журнал связи</translation>
    </message>
    <message>
        <source>Link trace lines</source>
        <translation>Строки журнала связи</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Сохранить...</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>Файл журнала (*.log)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>Не удаётся записать в %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SpeedPlotView</name>
    <message>
        <source>Speed plot</source>
        <translation>График оборотов</translation>
    </message>
    <message>
        <source>The measured speed and the throttle of the last 60 s</source>
        <translation>Измеренные обороты и газ за последние 60 с</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>speed (rpm)</source>
        <translation>обороты (об/мин)</translation>
    </message>
    <message>
        <source>throttle (us)</source>
        <translation>газ (мкс)</translation>
    </message>
</context>
<context>
    <name>SpeedPlotWindow</name>
    <message>
        <source>Speed plot</source>
        <translation>График оборотов</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Экспорт CSV...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>Экспорт PNG...</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>Файл CSV (*.csv)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Изображение PNG (*.png)</translation>
    </message>
    <message>
        <source>the image could not be saved there</source>
        <translation>изображение не удалось сохранить туда</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>Не удаётся записать в %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ZELT brushless ESC software V1.2 </source>
        <translation>ZELT программа для бесколлекторных регуляторов V1.2 </translation>
    </message>
    <message>
        <source>Choose COM</source>
        <translation>Выбор COM</translation>
    </message>
    <message>
        <source>COM Connection</source>
        <translation>Связь COM</translation>
    </message>
    <message>
        <source>ESC Hardware</source>
        <translation>Аппаратура ESC</translation>
    </message>
    <message>
        <source>HW Type: Unknown</source>
        <translation>Тип: неизвестен</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>Версия HW: неизв.</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>Версия FW: неизв.</translation>
    </message>
    <message>
        <source>ESC Connection</source>
        <translation>Связь с ESC</translation>
    </message>
    <message>
        <source>Parameter Setup/Display</source>
        <translation>Настройка/показ параметров</translation>
    </message>
    <message>
        <source>Cut Off Type</source>
        <translation>Тип отсечки</translation>
    </message>
    <message>
        <source>Soft cut*</source>
        <translation>Мягкая*</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Отсечка</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Тип батареи</translation>
    </message>
    <message>
        <source>Cut Off Voltage</source>
        <translation>Напряжение отсечки</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Низкое</translation>
    </message>
    <message>
        <source>Middle*</source>
        <translation>Среднее*</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Высокое</translation>
    </message>
    <message>
        <source>Start Mode</source>
        <translation>Режим старта</translation>
    </message>
    <message>
        <source>Normal start*</source>
        <translation>Обычный*</translation>
    </message>
    <message>
        <source>Soft start</source>
        <translation>Мягкий</translation>
    </message>
    <message>
        <source>Very soft start</source>
        <translation>Оч. мягкий</translation>
    </message>
    <message>
        <source>Brake Mode</source>
        <translation>Режим тормоза</translation>
    </message>
    <message>
        <source>Brake off*</source>
        <translation>Выключен*</translation>
    </message>
    <message>
        <source>Low brake</source>
        <translation>Слабый</translation>
    </message>
    <message>
        <source>Middle brake</source>
        <translation>Средний</translation>
    </message>
    <message>
        <source>High brake</source>
        <translation>Сильный</translation>
    </message>
    <message>
        <source>Timing option</source>
        <translation>Тайминг</translation>
    </message>
    <message>
        <source>Current limited sesitivity</source>
        <translation>Ограничение тока</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Макс.</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл.</translation>
    </message>
    <message>
        <source>Govener mode</source>
        <translation>Режим говернора</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>ВЫКЛ</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ВКЛ</translation>
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
        <translation>Режим работы</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Парам.</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Обор.</translation>
    </message>
    <message>
        <source>Auto find hardware</source>
        <translation>Найти устройство</translation>
    </message>
    <message>
        <source>Load setup</source>
        <translation>Загрузить настройки</translation>
    </message>
    <message>
        <source>Save setup</source>
        <translation>Сохранить настройки</translation>
    </message>
    <message>
        <source>Update firmware</source>
        <translation>Обновить прошивку</translation>
    </message>
    <message>
        <source>Read ESC parameter</source>
        <translation>Прочитать параметры</translation>
    </message>
    <message>
        <source>Restore default  parameter</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Download parameter to ESC</source>
        <translation>Записать параметры</translation>
    </message>
    <message>
        <source>Rotate speed test</source>
        <translation>Тест оборотов</translation>
    </message>
    <message>
        <source>Throttle signal</source>
        <translation>Сигнал газа</translation>
    </message>
    <message>
        <source>Polarity number</source>
        <translation>Число полюсов</translation>
    </message>
    <message>
        <source>Rotate speed</source>
        <translation>Обороты</translation>
    </message>
    <message>
        <source>R/M</source>
        <translation>об/мин</translation>
    </message>
    <message>
        <source>Current work status</source>
        <translation>Текущее состояние</translation>
    </message>
    <message>
        <source>Wait user command</source>
        <translation>Ожидание команды</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Ход выполнения</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Логотип</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Примечание</translation>
    </message>
    <message>
        <source>Zelt File (*.zelt)</source>
        <translation>Файл Zelt (*.zelt)</translation>
    </message>
    <message>
        <source>ZELT ESC tool - remove the propeller before a speed test</source>
        <translation>ZELT — снимите пропеллер перед тестом оборотов</translation>
    </message>
    <message>
        <source>Speed plot</source>
        <translation>График оборотов</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Не удаётся записать в %1</translation>
    </message>
    <message>
        <source>Setting card connected</source>
        <translation>Карта настройки подключена</translation>
    </message>
    <message>
        <source>Setting card not connected</source>
        <translation>Карта настройки не подключена</translation>
    </message>
    <message>
        <source>ESC identified</source>
        <translation>ESC опознан</translation>
    </message>
    <message>
        <source>No ESC identified</source>
        <translation>ESC не опознан</translation>
    </message>
    <message>
        <source>Parameter mode selected</source>
        <translation>Выбран режим параметров</translation>
    </message>
    <message>
        <source>Parameter mode not selected</source>
        <translation>Режим параметров не выбран</translation>
    </message>
    <message>
        <source>Speed test mode not selected</source>
        <translation>Тест оборотов не выбран</translation>
    </message>
    <message>
        <source>Speed test mode selected</source>
        <translation>Выбран тест оборотов</translation>
    </message>
    <message>
        <source>%1% done</source>
        <translation>Выполнено %1 %</translation>
    </message>
</context>
<context>
    <name>box_text</name>
    <message>
        <source>Hardware not connect or Comm port select error</source>
        <translation>Устройство не подключено или выбран не тот порт COM</translation>
    </message>
    <message>
        <source>can not find hardware,please confirm:<byte value="xd"/>
  1.Hardware port connect.<byte value="xd"/>
  2.Hardware power.</source>
        <translation>Устройство не найдено, проверьте:<byte value="xd"/>
  1. Подключение порта.<byte value="xd"/>
  2. Питание устройства.</translation>
    </message>
    <message>
        <source>Receive data error</source>
        <translation>Ошибка приёма данных</translation>
    </message>
    <message>
        <source>Hardware not connect,please connect first</source>
        <translation>Устройство не подключено, сначала подключите его</translation>
    </message>
    <message>
        <source>Send parameter to ESC OK</source>
        <translation>Параметры отправлены в ESC</translation>
    </message>
    <message>
        <source>Save file error</source>
        <translation>Ошибка сохранения файла</translation>
    </message>
    <message>
        <source>Receive data error,Please update Hardware again</source>
        <translation>Ошибка приёма данных, обновите устройство ещё раз</translation>
    </message>
    <message>
        <source>Update hardware failure,Please update Hardware again</source>
        <translation>Обновление не удалось, обновите устройство ещё раз</translation>
    </message>
    <message>
        <source>sorry! You can not update of the ESC,<byte value="xd"/>
please contact manufacturers.</source>
        <translation>К сожалению, этот ESC нельзя обновить,<byte value="xd"/>
обратитесь к производителю.</translation>
    </message>
    <message>
        <source>find setting card connected with%1<byte value="xd"/>
</source>
        <translation>Карта настройки найдена на %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>not find ESC</source>
        <translation>ESC не найден</translation>
    </message>
    <message>
        <source>and find ESC%1</source>
        <translation>и найден ESC %1</translation>
    </message>
    <message>
        <source>The version you want to upgrade is same with current ESC firmware version,
<byte value="xd"/>Do you want to continue?</source>
        <translation>Выбранная версия совпадает с прошивкой ESC,
<byte value="xd"/>продолжить?</translation>
    </message>
    <message>
        <source>Are you really update hardware to V%1</source>
        <translation>Действительно обновить устройство до V%1?</translation>
    </message>
    <message>
        <source>Update hardware succeed,Firmware versionV%1.%2</source>
        <translation>Обновление выполнено, версия прошивки V%1.%2</translation>
    </message>
    <message>
        <source>Comm port open error！</source>
        <translation>Ошибка открытия порта！</translation>
    </message>
    <message>
        <source>No value selected for %1. Choose one before downloading.</source>
        <translation>Для «%1» не выбрано значение. Выберите его перед загрузкой.</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Не удаётся открыть образ прошивки %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Cannot read the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>Не удаётся прочитать образ прошивки %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The firmware image %1 does not name its version in the first line (V, hex digit, point, hex digit).<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>В первой строке образа прошивки %1 нет версии (V, шестн. цифра, точка, шестн. цифра).<byte value="xd"/>
На ESC ничего не отправлено.</translation>
    </message>
    <message>
        <source>The firmware image %1 cannot be written: %2.<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>Образ прошивки %1 нельзя записать: %2.<byte value="xd"/>
На ESC ничего не отправлено.</translation>
    </message>
    <message>
        <source>it holds %1 data lines, a complete image has %2</source>
        <translation>в нём %1 строк данных, в полном образе их %2</translation>
    </message>
    <message>
        <source>line %1 holds fewer than %2 hex digits</source>
        <translation>в строке %1 меньше %2 шестнадцатеричных цифр</translation>
    </message>
    <message>
        <source>line %1 holds a character that is not a hex digit</source>
        <translation>в строке %1 есть символ, не являющийся шестнадцатеричной цифрой</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
File not found<byte value="xd"/>
Looked in:</source>
        <translation>Не удаётся открыть образ прошивки %1:<byte value="xd"/>
Файл не найден<byte value="xd"/>
Искали в:</translation>
    </message>
</context>
<context>
    <name>box_title</name>
    <message>
        <source>Comm error</source>
        <translation>Ошибка связи</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Require</source>
        <translation>Подтверждение</translation>
    </message>
    <message>
        <source>not find hardware</source>
        <translation>Устройство не найдено</translation>
    </message>
    <message>
        <source>Find hardware</source>
        <translation>Устройство найдено</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>Wait user command</source>
        <translation>Ожидание команды</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>Ошибка связи</translation>
    </message>
    <message>
        <source>Start switch port</source>
        <translation>Смена порта</translation>
    </message>
    <message>
        <source>Start perform command--------</source>
        <translation>Выполнение команды...</translation>
    </message>
    <message>
        <source>auto finding hardware....</source>
        <translation>Поиск устройства...</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Результат поиска</translation>
    </message>
    <message>
        <source>Reading ESC parameter </source>
        <translation>Чтение параметров </translation>
    </message>
    <message>
        <source>Reading ESC parameter OK</source>
        <translation>Параметры прочитаны</translation>
    </message>
    <message>
        <source>Send parameter to ESC</source>
        <translation>Отправка параметров</translation>
    </message>
    <message>
        <source>Send parameter done</source>
        <translation>Параметры отправлены</translation>
    </message>
    <message>
        <source>Start update hardware....</source>
        <translation>Начало обновления...</translation>
    </message>
    <message>
        <source>Update process:Writing ROM.......</source>
        <translation>Обновление: запись ПЗУ...</translation>
    </message>
    <message>
        <source>Verrify update data...</source>
        <translation>Проверка данных...</translation>
    </message>
    <message>
        <source>Update hardware finished</source>
        <translation>Обновление завершено</translation>
    </message>
    <message>
        <source>Testing rotate speed..</source>
        <translation>Тест оборотов...</translation>
    </message>
    <message>
        <source>ESC speed answers stopped</source>
        <translation>ESC не сообщает обороты</translation>
    </message>
</context>
</TS>
