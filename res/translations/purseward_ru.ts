<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en_US">
<context>
    <name>Purseward</name>
    <message>
        <source>&amp;About Purseward...</source>
        <translation>&amp;О программе Purseward...</translation>
    </message>
    <message>
        <source>Enter minutes in interval from 1 to 1000</source>
        <translation>Введите число минут от 1 до 1000</translation>
    </message>
    <message>
        <source>New version is available ...</source>
        <translation>Доступна новая версия ...</translation>
    </message>
    <message>
        <source>Your version :</source>
        <translation>Ваша версия :</translation>
    </message>
    <message>
        <source>Version on site :</source>
        <translation>Версия на сайте :</translation>
    </message>
    <message>
        <source>Current IP :</source>
        <translation>Текущий IP :</translation>
    </message>
    <message>
        <source>Send/Received (KB) :</source>
        <translation>Отправлено/Получено (КБ) :</translation>
    </message>
    <message>
        <source>Close Program ?</source>
        <translation>Закрыть программу ?</translation>
    </message>
    <message>
        <source>You are don&apos;t entered Liberty Reserve number</source>
        <translation>Вы не ввели номер счёта Liberty Reserve</translation>
    </message>
    <message>
        <source>You are don&apos;t entered API-Name</source>
        <translation>Вы не ввели имя API</translation>
    </message>
    <message>
        <source>You are don&apos;t entered password for API</source>
        <translation>Вы не ввели пароль API</translation>
    </message>
    <message>
        <source>Balance is changed</source>
        <translation>Баланс изменился</translation>
    </message>
    <message>
        <source>You are don&apos;t checked any option for filter</source>
        <translation>Вы не отметили ни одного условия отбора</translation>
    </message>
    <message>
        <source>Count of operation for select must be less than 50</source>
        <translation>Число выбираемых операций должно быть меньше 50</translation>
    </message>
    <message>
        <source>You are checked option for select on LR-number, but don&apos;t entered it</source>
        <translation>Вы отметили отбор по счёту LR, но не ввели его</translation>
    </message>
    <message>
        <source>You are checked option for select on Batch, but don&apos;t entered it</source>
        <translation>Вы отметили отбор по номеру операции, но не ввели его</translation>
    </message>
    <message>
        <source>AutoRefresh every</source>
        <translation>Автообновление каждые</translation>
    </message>
    <message>
        <source>min</source>
        <translation>мин</translation>
    </message>
    <message>
        <source>Export complete</source>
        <translation>Экспорт завершён</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>created</source>
        <translation>создан</translation>
    </message>
    <message>
        <source>Add Record</source>
        <translation>Добавить запись</translation>
    </message>
    <message>
        <source>Edit Record</source>
        <translation>Изменить запись</translation>
    </message>
    <message>
        <source>You are don&apos;t have enough money for make this payment</source>
        <translation>У вас недостаточно средств для этого платежа</translation>
    </message>
    <message>
        <source>Summ of payment can&apos;t be negative</source>
        <translation>Сумма платежа не может быть отрицательной</translation>
    </message>
    <message>
        <source>You are don&apos;t entered correspond account</source>
        <translation>Вы не ввели счёт получателя</translation>
    </message>
    <message>
        <source>You are don&apos;t entered payment summ</source>
        <translation>Вы не ввели сумму платежа</translation>
    </message>
    <message>
        <source>You are entered wrong summ</source>
        <translation>Вы ввели неверную сумму</translation>
    </message>
    <message>
        <source>Reference: Correspond Account LR</source>
        <translation>Справочник: счета получателей LR</translation>
    </message>
    <message>
        <source>Reference: Memo for LR-payments</source>
        <translation>Справочник: примечания к платежам LR</translation>
    </message>
    <message>
        <source>You are don&apos;t entered AccountID</source>
        <translation>Вы не ввели ID счёта</translation>
    </message>
    <message>
        <source>You are checked option for select on PM-number, but don&apos;t entered it</source>
        <translation>Вы отметили отбор по счёту PM, но не ввели его</translation>
    </message>
    <message>
        <source>Make Payment</source>
        <translation>Платёж</translation>
    </message>
    <message>
        <source>Reference: Correspond Account PM</source>
        <translation>Справочник: счета получателей PM</translation>
    </message>
    <message>
        <source>Reference: Memo for PM-payments</source>
        <translation>Справочник: примечания к платежам PM</translation>
    </message>
    <message>
        <source>You are don&apos;t entered account number</source>
        <translation>Вы не ввели номер счёта</translation>
    </message>
    <message>
        <source>Reference: Correspond Account VM</source>
        <translation>Справочник: счета получателей VM</translation>
    </message>
    <message>
        <source>Reference: Memo for VM-payments</source>
        <translation>Справочник: примечания к платежам VM</translation>
    </message>
    <message>
        <source>You are don&apos;t entered PIN-number</source>
        <translation>Вы не ввели PIN-код</translation>
    </message>
    <message>
        <source>Date-Time GMT</source>
        <translation>Дата-время GMT</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>You need restart program for changes take effect</source>
        <translation>Чтобы изменения вступили в силу, перезапустите программу</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Приход</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Расход</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Разница</translation>
    </message>
    <message>
        <source>Get history for account</source>
        <translation>Получить историю по счёту</translation>
    </message>
    <message>
        <source>Reference: Correspond Account EG</source>
        <translation>Справочник: счета получателей EG</translation>
    </message>
    <message>
        <source>Reference: Memo for EG-payments</source>
        <translation>Справочник: примечания к платежам EG</translation>
    </message>
    <message>
        <source>New Master-Key was created and saved to </source>
        <translation>Новый мастер-ключ создан и сохранён в </translation>
    </message>
    <message>
        <source>Wrong Password or Setting&apos;s file is corrupted.</source>
        <translation>Неверный пароль или файл настроек повреждён.</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Валюта</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Сумма</translation>
    </message>
    <message>
        <source>UpdateDate</source>
        <translation>Обновлено</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>From/To</source>
        <translation>От/Кому</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Сумма</translation>
    </message>
    <message>
        <source>Fee</source>
        <translation>Комиссия</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>Остаток</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>№ операции</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Примечание</translation>
    </message>
    <message>
        <source>Anonymous</source>
        <translation>Анонимно</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Источник</translation>
    </message>
    <message>
        <source>ECU-Account</source>
        <translation>Счёт ECU</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>ECU-Batch #</source>
        <translation>№ операции ECU</translation>
    </message>
    <message>
        <source>Metal</source>
        <translation>Металл</translation>
    </message>
    <message>
        <source>Ounces</source>
        <translation>Унции</translation>
    </message>
    <message>
        <source>Grams</source>
        <translation>Граммы</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Курс</translation>
    </message>
    <message>
        <source>USD</source>
        <translation>USD</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Тип</translation>
    </message>
    <message>
        <source>E-Metal</source>
        <translation>E-металл</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>Вес</translation>
    </message>
    <message>
        <source>AccountID</source>
        <translation>ID счёта</translation>
    </message>
    <message>
        <source>PassPhrase</source>
        <translation>Кодовая фраза</translation>
    </message>
    <message>
        <source>EG-Account</source>
        <translation>Счёт EG</translation>
    </message>
    <message>
        <source>EG-Batch #</source>
        <translation>№ операции EG</translation>
    </message>
    <message>
        <source>You are checked option for select on EG-number, but don&apos;t entered it</source>
        <translation>Вы отметили отбор по счёту EG, но не ввели его</translation>
    </message>
    <message>
        <source>GDP-Account</source>
        <translation>Счёт GDP</translation>
    </message>
    <message>
        <source>Store ID</source>
        <translation>ID магазина</translation>
    </message>
    <message>
        <source>GDP-Key</source>
        <translation>Ключ GDP</translation>
    </message>
    <message>
        <source>GDP-Batch #</source>
        <translation>№ операции GDP</translation>
    </message>
    <message>
        <source>AutoRefresh balance</source>
        <translation>Автообновление баланса</translation>
    </message>
    <message>
        <source>AutoRefresh balance every</source>
        <translation>Обновлять баланс каждые</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>минут</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Refresh	F5</source>
        <translation>Обновить	F5</translation>
    </message>
    <message>
        <source>Make Payment ...</source>
        <translation>Отправить платёж ...</translation>
    </message>
    <message>
        <source>Make MassPayment ...</source>
        <translation>Массовый платёж ...</translation>
    </message>
    <message>
        <source>Copy Account Number</source>
        <translation>Копировать номер счёта</translation>
    </message>
    <message>
        <source>Change Account</source>
        <translation>Сменить счёт</translation>
    </message>
    <message>
        <source>Copy current record</source>
        <translation>Копировать текущую запись</translation>
    </message>
    <message>
        <source>Export to *.CSV ...</source>
        <translation>Экспорт в *.CSV ...</translation>
    </message>
    <message>
        <source>LR-Account</source>
        <translation>Счёт LR</translation>
    </message>
    <message>
        <source>API Name</source>
        <translation>Имя API</translation>
    </message>
    <message>
        <source>SecretWord</source>
        <translation>Секретное слово</translation>
    </message>
    <message>
        <source>LR-Batch #</source>
        <translation>№ операции LR</translation>
    </message>
    <message>
        <source>Account No</source>
        <translation>№ счёта</translation>
    </message>
    <message>
        <source>PaymentID</source>
        <translation>ID платежа</translation>
    </message>
    <message>
        <source>PM-Account</source>
        <translation>Счёт PM</translation>
    </message>
    <message>
        <source>PM-Batch #</source>
        <translation>№ операции PM</translation>
    </message>
    <message>
        <source>TransType</source>
        <translation>Тип операции</translation>
    </message>
    <message>
        <source>Account ID</source>
        <translation>ID счёта</translation>
    </message>
    <message>
        <source>Pin number</source>
        <translation>PIN-код</translation>
    </message>
    <message>
        <source>VM-Batch #</source>
        <translation>№ операции VM</translation>
    </message>
    <message>
        <source>About Purseward</source>
        <translation>О программе Purseward</translation>
    </message>
    <message>
        <source>Purseward icon</source>
        <translation>Значок Purseward</translation>
    </message>
    <message>
        <source>Purseward Version %1</source>
        <translation>Purseward, версия %1</translation>
    </message>
    <message>
        <source>&amp;Visit a program site</source>
        <translation>&amp;Перейти на сайт программы</translation>
    </message>
    <message>
        <source>Visit a program site</source>
        <translation>Перейти на сайт программы</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Баннер</translation>
    </message>
    <message>
        <source>List menu</source>
        <translation>Меню списка</translation>
    </message>
    <message>
        <source>Get Name</source>
        <translation>Узнать имя</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Add	Ins</source>
        <translation>Добавить	Ins</translation>
    </message>
    <message>
        <source>Edit	F4</source>
        <translation>Изменить	F4</translation>
    </message>
    <message>
        <source>Delete	Del</source>
        <translation>Удалить	Del</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Счёт</translation>
    </message>
    <message>
        <source>Account-Name</source>
        <translation>Имя счёта</translation>
    </message>
    <message>
        <source>Account-Comment</source>
        <translation>Комментарий</translation>
    </message>
    <message>
        <source>LR-Account :</source>
        <translation>Счёт LR :</translation>
    </message>
    <message>
        <source>LR-Account Name :</source>
        <translation>Имя счёта LR :</translation>
    </message>
    <message>
        <source>LR-Account Comment :</source>
        <translation>Комментарий к счёту LR :</translation>
    </message>
    <message>
        <source>Memo for payment :</source>
        <translation>Примечание к платежу :</translation>
    </message>
    <message>
        <source>Account :</source>
        <translation>Счёт :</translation>
    </message>
    <message>
        <source>Account Comment :</source>
        <translation>Комментарий к счёту :</translation>
    </message>
    <message>
        <source>VM-Account :</source>
        <translation>Счёт VM :</translation>
    </message>
    <message>
        <source>VM-Account Name :</source>
        <translation>Имя счёта VM :</translation>
    </message>
    <message>
        <source>VM-Account Comment :</source>
        <translation>Комментарий к счёту VM :</translation>
    </message>
    <message>
        <source>The list is full: this account does not fit into the stored list. Delete an account you no longer need and try again.</source>
        <translation>Список заполнен: этот счёт не помещается в сохранённый список. Удалите ненужный счёт и повторите попытку.</translation>
    </message>
    <message>
        <source>The saved accounts could not be written to the settings file.</source>
        <translation>Не удалось записать сохранённые счета в файл настроек.</translation>
    </message>
    <message>
        <source>The answer of the %1 server could not be read; nothing was changed.</source>
        <translation>Ответ сервера %1 не удалось прочитать; ничего не изменено.</translation>
    </message>
    <message>
        <source>LR Accounts</source>
        <translation>Счета LR</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохр.</translation>
    </message>
    <message>
        <source>API Name :</source>
        <translation>Имя API :</translation>
    </message>
    <message>
        <source>Save SecretWord</source>
        <translation>Сохранить секретное слово</translation>
    </message>
    <message>
        <source>PM Accounts</source>
        <translation>Счета PM</translation>
    </message>
    <message>
        <source>AccountID :</source>
        <translation>ID счёта :</translation>
    </message>
    <message>
        <source>PassPhrase :</source>
        <translation>Кодовая фраза :</translation>
    </message>
    <message>
        <source>Save PassPhrase</source>
        <translation>Сохранить кодовую фразу</translation>
    </message>
    <message>
        <source>VM Accounts</source>
        <translation>Счета VM</translation>
    </message>
    <message>
        <source>PinNumber</source>
        <translation>PIN-код</translation>
    </message>
    <message>
        <source>PinNumber :</source>
        <translation>PIN-код :</translation>
    </message>
    <message>
        <source>Password :</source>
        <translation>Пароль :</translation>
    </message>
    <message>
        <source>Save Pin and Password</source>
        <translation>Сохранить PIN-код и пароль</translation>
    </message>
    <message>
        <source>EG Accounts</source>
        <translation>Счета EG</translation>
    </message>
    <message>
        <source>Master-key</source>
        <translation>Мастер-ключ</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Select Language :</source>
        <translation>Выберите язык :</translation>
    </message>
    <message>
        <source>Select Payment Processor</source>
        <translation>Выберите платёжные системы</translation>
    </message>
    <message>
        <source>Security Settings</source>
        <translation>Настройки безопасности</translation>
    </message>
    <message>
        <source>Password for Run</source>
        <translation>Пароль для запуска</translation>
    </message>
    <message>
        <source>Password for Payment</source>
        <translation>Пароль для платежей</translation>
    </message>
    <message>
        <source>Proxy Settings</source>
        <translation>Настройки прокси-сервера</translation>
    </message>
    <message>
        <source>Proxy port</source>
        <translation>Порт прокси</translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation>Прокси</translation>
    </message>
    <message>
        <source>UserName</source>
        <translation>Имя пользователя</translation>
    </message>
    <message>
        <source>Check new version at startup</source>
        <translation>Проверять новую версию при запуске</translation>
    </message>
    <message>
        <source>Set &quot;Date From&quot; on date your last visit</source>
        <translation>Устанавливать «Дата с» на дату последнего посещения</translation>
    </message>
    <message>
        <source>Hide in &quot;From/To Account&quot; of history record, last digits :</source>
        <translation>Скрывать последние цифры в «От/Кому» записи истории, количество :</translation>
    </message>
    <message>
        <source>Hidden last digits</source>
        <translation>Скрываемые последние цифры</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Пароль:</translation>
    </message>
    <message>
        <source>&amp;Master-key:</source>
        <translation>&amp;Мастер-ключ:</translation>
    </message>
    <message>
        <source>Enter an integer.</source>
        <translation>Введите целое число.</translation>
    </message>
    <message>
        <source>The list file %1 cannot be read whole; it is shown empty and left as it is.</source>
        <translation>Файл списка %1 не удаётся прочитать целиком; список показан пустым, файл оставлен как есть.</translation>
    </message>
    <message>
        <source>The list file %1 could not be written; it keeps its earlier rows.</source>
        <translation>Не удалось записать файл списка %1; в нём остались прежние строки.</translation>
    </message>
    <message>
        <source>Request under way</source>
        <translation>Выполняется запрос</translation>
    </message>
    <message>
        <source>Request progress</source>
        <translation>Ход запроса</translation>
    </message>
    <message>
        <source>Cancel the request</source>
        <translation>Отменить запрос</translation>
    </message>
    <message>
        <source>Cancel the request (Esc)</source>
        <translation>Отменить запрос (Esc)</translation>
    </message>
    <message>
        <source>the server</source>
        <translation>сервера</translation>
    </message>
    <message>
        <source>Waiting for %1: %2 bytes received</source>
        <translation>Ожидание ответа от %1: получено байт: %2</translation>
    </message>
    <message>
        <source>The history could not be exported.</source>
        <translation>Историю не удалось экспортировать.</translation>
    </message>
    <message>
        <source>could not be written.</source>
        <translation>не удалось записать.</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Сохранить как</translation>
    </message>
    <message>
        <source>The network library cannot be started.</source>
        <translation>Не удаётся запустить сетевую библиотеку.</translation>
    </message>
    <message>
        <source>Failed to set proxy user name.</source>
        <translation>Не удалось задать имя пользователя прокси.</translation>
    </message>
    <message>
        <source>Failed to set proxy user password.</source>
        <translation>Не удалось задать пароль пользователя прокси.</translation>
    </message>
    <message>
        <source>The network library rejected the request options.</source>
        <translation>Сетевая библиотека отклонила параметры запроса.</translation>
    </message>
    <message>
        <source>No data received for %1 seconds.</source>
        <translation>Нет данных в течение %1 с.</translation>
    </message>
    <message>
        <source>The answer is larger than %1 bytes.</source>
        <translation>Размер ответа превышает предел (байт: %1).</translation>
    </message>
    <message>
        <source>The schedule file %1 could not be read whole; it is not saved over, so nothing it holds is lost.</source>
        <translation>Файл расписания %1 не удаётся прочитать целиком; он не перезаписывается, поэтому ничего из него не теряется.</translation>
    </message>
    <message>
        <source>The schedule file %1 could not be written.</source>
        <translation>Не удалось записать файл расписания %1.</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Войти</translation>
    </message>
    <message>
        <source>Choose saved account</source>
        <translation>Выбрать сохранённый счёт</translation>
    </message>
    <message>
        <source>Account Balance</source>
        <translation>Баланс счёта</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Get last</source>
        <translation>Последние</translation>
    </message>
    <message>
        <source>operations</source>
        <translation>операций</translation>
    </message>
    <message>
        <source>From/To Date</source>
        <translation>Дата с/по</translation>
    </message>
    <message>
        <source>From Date</source>
        <translation>Дата с</translation>
    </message>
    <message>
        <source>To Date</source>
        <translation>Дата по</translation>
    </message>
    <message>
        <source>%1 filter</source>
        <translation>Отбор: %1</translation>
    </message>
    <message>
        <source>Get History</source>
        <translation>Получить историю</translation>
    </message>
    <message>
        <source>Totals</source>
        <translation>Итоги</translation>
    </message>
    <message>
        <source>Filter of Operation</source>
        <translation>Отбор операций</translation>
    </message>
    <message>
        <source>%1 is too long to be stored enciphered.</source>
        <translation>%1 слишком длинное, чтобы храниться в зашифрованном виде.</translation>
    </message>
    <message>
        <source>%1 could not be enciphered.</source>
        <translation>%1 не удалось зашифровать.</translation>
    </message>
    <message>
        <source>the settings file could not be written.</source>
        <translation>не удалось записать файл настроек.</translation>
    </message>
    <message>
        <source>the settings file %1 is %2 bytes long, more than the %3 bytes it can read. The file was not changed.</source>
        <translation>файл настроек %1 занимает %2 байт, больше %3 байт, которые можно прочитать. Файл не изменён.</translation>
    </message>
    <message>
        <source>The settings of [%1] were not saved, the old ones still hold: %2</source>
        <translation>Настройки [%1] не сохранены, действуют прежние: %2</translation>
    </message>
    <message>
        <source>History Record - Purseward</source>
        <translation>Запись истории - Purseward</translation>
    </message>
    <message>
        <source>History Record</source>
        <translation>Запись истории</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Запись</translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation>Копировать в буфер обмена</translation>
    </message>
    <message>
        <source>Save Screenshot</source>
        <translation>Сохранить снимок</translation>
    </message>
    <message>
        <source>Not available in this version.</source>
        <translation>Недоступно в этой версии.</translation>
    </message>
    <message>
        <source>Not logged in: log in to this account first.</source>
        <translation>Вход не выполнен: сначала войдите в этот счёт.</translation>
    </message>
    <message>
        <source>No balance row selected: right-click the balance of the currency to pay from.</source>
        <translation>Не выбрана строка баланса: щёлкните правой кнопкой по балансу валюты, с которой платите.</translation>
    </message>
    <message>
        <source>No history row selected.</source>
        <translation>Не выбрана строка истории.</translation>
    </message>
    <message>
        <source>Logged in: choose &quot;Change Account&quot; in the balance table&apos;s menu to use another account.</source>
        <translation>Вход выполнен: чтобы работать с другим счётом, выберите «Сменить счёт» в меню таблицы баланса.</translation>
    </message>
    <message>
        <source>Current IP</source>
        <translation>Текущий IP</translation>
    </message>
    <message>
        <source>Send/Received (KB)</source>
        <translation>Отправлено/Получено (КБ)</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Счета</translation>
    </message>
    <message>
        <source>Payment systems</source>
        <translation>Платёжные системы</translation>
    </message>
    <message>
        <source>Background requests</source>
        <translation>Фоновые запросы</translation>
    </message>
    <message>
        <source>Main menu</source>
        <translation>Главное меню</translation>
    </message>
    <message>
        <source>&amp;Show Shedule Payment</source>
        <translation>&amp;Платежи по расписанию</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;О программе...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>&amp;Program</source>
        <translation>&amp;Программа</translation>
    </message>
    <message>
        <source>&amp;Hide Program</source>
        <translation>&amp;Скрыть программу</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Настройки</translation>
    </message>
    <message>
        <source>&amp;Reference Books</source>
        <translation>&amp;Справочники</translation>
    </message>
    <message>
        <source>&amp;Correspondent RefBook</source>
        <translation>Справочник &amp;получателей</translation>
    </message>
    <message>
        <source>&amp;Memo RefBook</source>
        <translation>Справочник &amp;примечаний</translation>
    </message>
    <message>
        <source>Open new &amp;Tab</source>
        <translation>Открыть новую &amp;вкладку</translation>
    </message>
    <message>
        <source>&amp;Close current Tab</source>
        <translation>&amp;Закрыть текущую вкладку</translation>
    </message>
    <message>
        <source>Show/&amp;Hide Program</source>
        <translation>Показать/&amp;скрыть программу</translation>
    </message>
    <message>
        <source>This desktop has no notification area (tray): a hidden window could not be shown again.</source>
        <translation>На этом рабочем столе нет области уведомлений (трея): скрытое окно нельзя было бы показать снова.</translation>
    </message>
    <message>
        <source>Only tabs opened with &quot;Open new Tab&quot; can be closed.</source>
        <translation>Закрыть можно только вкладки, открытые командой «Открыть новую вкладку».</translation>
    </message>
    <message>
        <source> is switched off in Settings.</source>
        <translation> — отключена в настройках.</translation>
    </message>
    <message>
        <source>— offline</source>
        <translation>— нет связи</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Could not connect to %1.</source>
        <translation>Не удалось подключиться к %1.</translation>
    </message>
    <message>
        <source>%1 did not answer in time.</source>
        <translation>%1 не ответил вовремя.</translation>
    </message>
    <message>
        <source>Could not set up a secure connection to %1.</source>
        <translation>Не удалось установить защищённое соединение с %1.</translation>
    </message>
    <message>
        <source>The answer of %1 broke off before it was complete.</source>
        <translation>Ответ %1 оборвался, не дойдя до конца.</translation>
    </message>
    <message>
        <source>%1 answered with status %2.</source>
        <translation>%1 ответил с кодом состояния %2.</translation>
    </message>
    <message>
        <source>The request to %1 failed.</source>
        <translation>Запрос к %1 не выполнен.</translation>
    </message>
    <message>
        <source>could not connect to %1</source>
        <translation>не удалось подключиться к %1</translation>
    </message>
    <message>
        <source>no answer in time from %1</source>
        <translation>нет своевременного ответа от %1</translation>
    </message>
    <message>
        <source>no secure connection to %1</source>
        <translation>нет защищённого соединения с %1</translation>
    </message>
    <message>
        <source>the answer from %1 broke off</source>
        <translation>ответ от %1 оборвался</translation>
    </message>
    <message>
        <source>%1 answered with status %2</source>
        <translation>%1 ответил с кодом состояния %2</translation>
    </message>
    <message>
        <source>request to %1 cancelled</source>
        <translation>запрос к %1 отменён</translation>
    </message>
    <message>
        <source>the request to %1 failed</source>
        <translation>запрос к %1 не выполнен</translation>
    </message>
    <message>
        <source>The file %1 cannot be read. Nothing was imported.</source>
        <translation>Файл %1 не удаётся прочитать. Ничего не импортировано.</translation>
    </message>
    <message>
        <source>The file %1 is larger than 4 MB, too large for a payment list. Nothing was imported.</source>
        <translation>Файл %1 больше 4 МБ — слишком велик для списка платежей. Ничего не импортировано.</translation>
    </message>
    <message>
        <source>%1 payment imported</source>
        <translation>Импортировано платежей: %1</translation>
    </message>
    <message>
        <source>%1 payments imported</source>
        <translation>Импортировано платежей: %1</translation>
    </message>
    <message>
        <source>%1 line skipped</source>
        <translation>пропущено строк: %1</translation>
    </message>
    <message>
        <source>%1 lines skipped</source>
        <translation>пропущено строк: %1</translation>
    </message>
    <message>
        <source> (line </source>
        <translation> (строка </translation>
    </message>
    <message>
        <source> (lines </source>
        <translation> (строки </translation>
    </message>
    <message>
        <source>To Account</source>
        <translation>Счёт получателя</translation>
    </message>
    <message>
        <source>Shedule</source>
        <translation>По расписанию</translation>
    </message>
    <message>
        <source>Date-Time</source>
        <translation>Дата-время</translation>
    </message>
    <message>
        <source>Send if failed</source>
        <translation>Повтор при сбое</translation>
    </message>
    <message>
        <source>Make Mass Payment</source>
        <translation>Массовый платёж</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Откуда</translation>
    </message>
    <message>
        <source>Result Amount</source>
        <translation>Итоговая сумма</translation>
    </message>
    <message>
        <source>Payments</source>
        <translation>Платежи</translation>
    </message>
    <message>
        <source>Import from *.CSV</source>
        <translation>Импорт из *.CSV</translation>
    </message>
    <message>
        <source>From : </source>
        <translation>Откуда : </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Log in first: scheduled payments are kept in the schedule file of the logged-in account.</source>
        <translation>Сначала войдите: платежи по расписанию хранятся в файле расписания счёта, в который выполнен вход.</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>Платёж</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Кому</translation>
    </message>
    <message>
        <source>Choose payee</source>
        <translation>Выбрать получателя</translation>
    </message>
    <message>
        <source>To :</source>
        <translation>Кому :</translation>
    </message>
    <message>
        <source>Amount : </source>
        <translation>Сумма : </translation>
    </message>
    <message>
        <source>Choose memo</source>
        <translation>Выбрать примечание</translation>
    </message>
    <message>
        <source>Memo : </source>
        <translation>Примечание : </translation>
    </message>
    <message>
        <source>Payment ID</source>
        <translation>ID платежа</translation>
    </message>
    <message>
        <source>Payment ID :</source>
        <translation>ID платежа :</translation>
    </message>
    <message>
        <source>Payee name</source>
        <translation>Имя получателя</translation>
    </message>
    <message>
        <source>Overall Amount</source>
        <translation>Общая сумма</translation>
    </message>
    <message>
        <source>Fee :</source>
        <translation>Комиссия :</translation>
    </message>
    <message>
        <source>Overall Amount :</source>
        <translation>Общая сумма :</translation>
    </message>
    <message>
        <source>Shedule this payment</source>
        <translation>Выполнить платёж по расписанию</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>Дата/время</translation>
    </message>
    <message>
        <source>Try send again if failed</source>
        <translation>Повторить отправку при сбое</translation>
    </message>
    <message>
        <source>The schedule could not be saved, so no payment was sent.</source>
        <translation>Не удалось сохранить расписание, поэтому ни один платёж не отправлен.</translation>
    </message>
    <message>
        <source>Payment Processor</source>
        <translation>Платёжная система</translation>
    </message>
    <message>
        <source>Shedule Payments</source>
        <translation>Платежи по расписанию</translation>
    </message>
    <message>
        <source>Scheduled payments</source>
        <translation>Платежи по расписанию</translation>
    </message>
    <message>
        <source>Refused by the payment system:</source>
        <translation>Отклонено платёжной системой:</translation>
    </message>
    <message>
        <source>Outcome unknown: look at the history before sending these again:</source>
        <translation>Результат неизвестен: прежде чем отправлять их снова, посмотрите историю:</translation>
    </message>
    <message>
        <source>Not sent, because an earlier payment to the same payee has an unknown outcome:</source>
        <translation>Не отправлено: результат более раннего платежа тому же получателю неизвестен:</translation>
    </message>
    <message>
        <source>Not sent, the connection failed:</source>
        <translation>Не отправлено, сбой соединения:</translation>
    </message>
    <message>
        <source>Not sent, the amount is not a plain number with at most two decimals:</source>
        <translation>Не отправлено, сумма — не простое число с не более чем двумя знаками после запятой:</translation>
    </message>
    <message>
        <source>Not sent, the payment password was not given:</source>
        <translation>Не отправлено, пароль для платежей не введён:</translation>
    </message>
    <message>
        <source>%1 of %2 payment sent.</source>
        <translation>Отправлено платежей: %1 из %2.</translation>
    </message>
    <message>
        <source>%1 of %2 payments sent.</source>
        <translation>Отправлено платежей: %1 из %2.</translation>
    </message>
    <message>
        <source>This payment is too long to be kept in the schedule file. Shorten the memo or the other fields.</source>
        <translation>Этот платёж слишком длинный для файла расписания. Сократите примечание или другие поля.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; must not hold &quot;~&quot; or a line break: the payment record could not keep it.</source>
        <translation>Поле «%1» не должно содержать «~» или перевод строки: запись платежа не сможет их сохранить.</translation>
    </message>
    <message>
        <source>the answer carried no confirmation</source>
        <translation>ответ не содержал подтверждения</translation>
    </message>
    <message>
        <source>The payment of %1 to %2 may have been made: no answer said whether it was (%3).</source>
        <translation>Платёж %1 на счёт %2 мог быть выполнен: ни один ответ не сообщил, выполнен ли он (%3).</translation>
    </message>
    <message>
        <source> It is marked as failed and will not be sent again by itself.</source>
        <translation> Он помечен как неудавшийся и не будет отправлен повторно сам по себе.</translation>
    </message>
    <message>
        <source> Look at the history before you send it again.</source>
        <translation> Прежде чем отправлять его снова, посмотрите историю.</translation>
    </message>
    <message>
        <source>The payment of %1 to %2 was not sent: %3</source>
        <translation>Платёж %1 на счёт %2 не отправлен: %3</translation>
    </message>
    <message>
        <source>The payment was not sent.</source>
        <translation>Платёж не отправлен.</translation>
    </message>
    <message>
        <source> The receipt image was not saved.</source>
        <translation> Снимок квитанции не сохранён.</translation>
    </message>
    <message>
        <source> File %1 : %2.</source>
        <translation> Файл %1 : %2.</translation>
    </message>
    <message>
        <source>&amp;Import from *.CSV</source>
        <translation>&amp;Импорт из *.CSV</translation>
    </message>
</context>
</TS>
