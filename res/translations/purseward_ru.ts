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
        <translation>Вы отметили отбор по LR-счёту, но не ввели его</translation>
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
        <translation>Вы отметили отбор по PM-счёту, но не ввели его</translation>
    </message>
    <message>
        <source>Make Payment</source>
        <translation>Отправить платёж</translation>
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
</context>
</TS>
