<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA" sourcelanguage="ru">
<context>
    <name>ArchiveWindow</name>
    <message>
        <source>Неверный тип документа</source>
        <translation>Неправильний тип документа</translation>
    </message>
    <message>
        <source>Неверный начальный номер</source>
        <translation>Неправильний початковий номер</translation>
    </message>
    <message>
        <source>Неверный конечный номер</source>
        <translation>Неправильний кінцевий номер</translation>
    </message>
    <message>
        <source>Конечный номер должен быть не меньше начального!</source>
        <translation>Кінцевий номер має бути не меншим за початковий!</translation>
    </message>
    <message>
        <source>Неверная начальная дата</source>
        <translation>Неправильна початкова дата</translation>
    </message>
    <message>
        <source>Неверная конечная дата</source>
        <translation>Неправильна кінцева дата</translation>
    </message>
    <message>
        <source>Неверное время</source>
        <translation>Неправильний час</translation>
    </message>
    <message>
        <source>Конечная дата должна быть не меньше начальной!</source>
        <translation>Кінцева дата має бути не меншою за початкову!</translation>
    </message>
    <message>
        <source>Документов: %1</source>
        <translation>Документів: %1</translation>
    </message>
    <message>
        <source>; номера %1</source>
        <translation>; номери %1</translation>
    </message>
    <message>
        <source>; пополнен %1 UTC</source>
        <translation>; поповнено %1 UTC</translation>
    </message>
    <message>
        <source>Невозможно записать файл</source>
        <translation>Неможливо записати файл</translation>
    </message>
    <message>
        <source>Документ %1 не читается: %2</source>
        <translation>Документ %1 не читається: %2</translation>
    </message>
    <message>
        <source>Остановлено</source>
        <translation>Зупинено</translation>
    </message>
    <message>
        <source>В архиве нет документов этой выборки</source>
        <translation>В архіві немає документів цієї вибірки</translation>
    </message>
    <message>
        <source>Среди документов выборки нет документов этого типа</source>
        <translation>Серед документів вибірки немає документів цього типу</translation>
    </message>
</context>
<context>
    <name>Configuration</name>
    <message>
        <source>Файл fpinit.ini отсутствует и не может быть создан: %1</source>
        <translation>Файл fpinit.ini відсутній і не може бути створений: %1</translation>
    </message>
    <message>
        <source>Файл fpinit.ini отсутствует.
 Создание файла!</source>
        <translation>Файл fpinit.ini відсутній.
 Створення файлу!</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>Подключения нет. Возможно использование не того протокола обмена данными</source>
        <translation>Підключення немає. Можливо, використано не той протокол обміну даними</translation>
    </message>
    <message>
        <source>Отключить</source>
        <translation>Відключити</translation>
    </message>
    <message>
        <source>Подключить</source>
        <translation>Підключити</translation>
    </message>
    <message>
        <source>Невозможно подключить порт</source>
        <translation>Неможливо підключити порт</translation>
    </message>
    <message>
        <source>Файл fpinit.ini не читается: порт и скорость не сохранены</source>
        <translation>Файл fpinit.ini не читається: порт і швидкість не збережено</translation>
    </message>
    <message>
        <source>   Модель:%1,    Версия:%2,     %3.</source>
        <translation>   Модель:%1,    Версія:%2,     %3.</translation>
    </message>
    <message>
        <source> Сервис.реж.</source>
        <translation> Сервіс.реж.</translation>
    </message>
    <message>
        <source>Проверка состояния регистратора:
  %1</source>
        <translation>Перевірка стану реєстратора:
  %1</translation>
    </message>
</context>
<context>
    <name>Filling</name>
    <message>
        <source>Получено документов: %1</source>
        <translation>Отримано документів: %1</translation>
    </message>
    <message>
        <source>Новых документов нет</source>
        <translation>Нових документів немає</translation>
    </message>
    <message>
        <source>в архиве уже были: %1</source>
        <translation>в архіві вже були: %1</translation>
    </message>
    <message>
        <source>нет в РРО: %1</source>
        <translation>немає в РРО: %1</translation>
    </message>
    <message>
        <source>получены не полностью (их запросит следующее пополнение): %1</source>
        <translation>отримано не повністю (їх запитає наступне поповнення): %1</translation>
    </message>
    <message>
        <source>не запрошены: %1</source>
        <translation>не запитано: %1</translation>
    </message>
    <message>
        <source>РРО не сообщил номер первого документа ленты: запрос с номера 1</source>
        <translation>РРО не повідомив номер першого документа стрічки: запит з номера 1</translation>
    </message>
</context>
<context>
    <name>JournalWindow</name>
    <message>
        <source>Связь с портом потеряна</source>
        <translation>Зв&apos;язок з портом втрачено</translation>
    </message>
    <message>
        <source>Документ %1 получен не полностью</source>
        <translation>Документ %1 отримано не повністю</translation>
    </message>
    <message>
        <source>РРО вернул ошибку:  %1 !</source>
        <translation>РРО повернув помилку:  %1 !</translation>
    </message>
    <message>
        <source>Конечная дата должна быть не меньше начальной!</source>
        <translation>Кінцева дата має бути не меншою за початкову!</translation>
    </message>
    <message>
        <source>РРО вернул ошибку:%1</source>
        <translation>РРО повернув помилку:%1</translation>
    </message>
    <message>
        <source>Непредвиденный сбой в структуре получаемой информации!</source>
        <translation>Непередбачений збій у структурі отримуваної інформації!</translation>
    </message>
    <message>
        <source>Попробуйте выбрать другой диапазон номеров или дат!</source>
        <translation>Спробуйте вибрати інший діапазон номерів або дат!</translation>
    </message>
    <message>
        <source>РРО вернул ошибку: %1</source>
        <translation>РРО повернув помилку: %1</translation>
    </message>
    <message>
        <source>Невозможно записать файл %1</source>
        <translation>Неможливо записати файл %1</translation>
    </message>
    <message>
        <source>Запрашиваемые данные отсутствуют!</source>
        <translation>Запитувані дані відсутні!</translation>
    </message>
    <message>
        <source>ВНИМАНИЕ!!!!</source>
        <translation>УВАГА!!!!</translation>
    </message>
    <message>
        <source>ИДЁТ ЗАГРУЗКА ДАННЫХ....</source>
        <translation>ТРИВАЄ ЗАВАНТАЖЕННЯ ДАНИХ....</translation>
    </message>
    <message>
        <source>Началный номер должен быть &gt;0!</source>
        <translation>Початковий номер має бути &gt;0!</translation>
    </message>
    <message>
        <source>Конечный номер должен быть не меньше начального!</source>
        <translation>Кінцевий номер має бути не меншим за початковий!</translation>
    </message>
    <message>
        <source>Продолжить?</source>
        <translation>Продовжити?</translation>
    </message>
    <message>
        <source>Печать требует затрат бумажной ленты</source>
        <translation>Друк потребує витрат паперової стрічки</translation>
    </message>
</context>
<context>
    <name>RegisterError</name>
    <message>
        <source>Ошибка оборудования!
 </source>
        <translation>Помилка обладнання!
 </translation>
    </message>
    <message>
        <source>Неопределенная ошибка оборудования!</source>
        <translation>Невизначена помилка обладнання!</translation>
    </message>
    <message>
        <source>Ошибка принтера!</source>
        <translation>Помилка принтера!</translation>
    </message>
    <message>
        <source>Ошибка RAM!</source>
        <translation>Помилка RAM!</translation>
    </message>
    <message>
        <source>Ошибка контрольной суммы памяти программы!</source>
        <translation>Помилка контрольної суми пам&apos;яті програми!</translation>
    </message>
    <message>
        <source>Ошибка Flash памяти!</source>
        <translation>Помилка Flash-пам&apos;яті!</translation>
    </message>
    <message>
        <source>Ошибка дисплея!</source>
        <translation>Помилка дисплея!</translation>
    </message>
    <message>
        <source>Ошибка часов, необходимо скорректировать время!</source>
        <translation>Помилка годинника, необхідно скоригувати час!</translation>
    </message>
    <message>
        <source>Ошибка, возникшая в связи с понижением напряжения питания!</source>
        <translation>Помилка через зниження напруги живлення!</translation>
    </message>
    <message>
        <source>SIM: отказ оборудования!</source>
        <translation>SIM: відмова обладнання!</translation>
    </message>
    <message>
        <source>MMC: отказ оборудования!</source>
        <translation>MMC: відмова обладнання!</translation>
    </message>
    <message>
        <source>Нет команды с таким кодом!</source>
        <translation>Немає команди з таким кодом!</translation>
    </message>
    <message>
        <source>Данная функция не поддерживается!</source>
        <translation>Ця функція не підтримується!</translation>
    </message>
    <message>
        <source>В сообщении нет данных</source>
        <translation>У повідомленні немає даних</translation>
    </message>
    <message>
        <source>Переполнение буфера приемника/передатчика!</source>
        <translation>Переповнення буфера приймача/передавача!</translation>
    </message>
    <message>
        <source>Ошибка фискальной памяти!
 </source>
        <translation>Помилка фіскальної пам&apos;яті!
 </translation>
    </message>
    <message>
        <source>Нет свободного места для записи в ФП!</source>
        <translation>Немає вільного місця для запису у ФП!</translation>
    </message>
    <message>
        <source>Ошибка записи в фискальную память!</source>
        <translation>Помилка запису у фіскальну пам&apos;ять!</translation>
    </message>
    <message>
        <source>Заводской номер не установлен!</source>
        <translation>Заводський номер не встановлено!</translation>
    </message>
    <message>
        <source>Дата текущей записи более ранняя 
   чем дата предыдущей записи!</source>
        <translation>Дата поточного запису раніша 
   за дату попереднього запису!</translation>
    </message>
    <message>
        <source>Запрещен выход за пределы суток!</source>
        <translation>Вихід за межі доби заборонено!</translation>
    </message>
    <message>
        <source>Данные в фискальной памяти неверны!</source>
        <translation>Дані у фіскальній пам&apos;яті неправильні!</translation>
    </message>
    <message>
        <source>Фискальная память исчерпана!</source>
        <translation>Фіскальну пам&apos;ять вичерпано!</translation>
    </message>
    <message>
        <source>Данная команда выполняется только в фискальном режиме!</source>
        <translation>Ця команда виконується лише у фіскальному режимі!</translation>
    </message>
    <message>
        <source>Дата и время не были установлены 
с момента последнего аварийного обнуления ОЗУ!</source>
        <translation>Дату й час не встановлено 
від часу останнього аварійного обнулення ОЗП!</translation>
    </message>
    <message>
        <source>С начала смены прошло более 24х часов!</source>
        <translation>Від початку зміни минуло понад 24 години!</translation>
    </message>
    <message>
        <source>Необходимо скорректировать время!</source>
        <translation>Необхідно скоригувати час!</translation>
    </message>
    <message>
        <source>Ошибка в формате таблицы!</source>
        <translation>Помилка у форматі таблиці!</translation>
    </message>
    <message>
        <source>ДОшибка в формате даты!</source>
        <translation>Помилка у форматі дати!</translation>
    </message>
    <message>
        <source>Ошибка в формате времени!</source>
        <translation>Помилка у форматі часу!</translation>
    </message>
    <message>
        <source>Устанавливаемое время меньше текущего!</source>
        <translation>Встановлюваний час менший за поточний!</translation>
    </message>
    <message>
        <source>Неверный пароль доступа!</source>
        <translation>Неправильний пароль доступу!</translation>
    </message>
    <message>
        <source>Команда не может быть выполнена в данном состоянии регистратора!
</source>
        <translation>Команду не можна виконати в поточному стані реєстратора!
</translation>
    </message>
    <message>
        <source>Неверный режим регистратора (перемычка)!</source>
        <translation>Неправильний режим реєстратора (перемичка)!</translation>
    </message>
    <message>
        <source>Команда невыполнима в данном состоянии смены!</source>
        <translation>Команду не можна виконати в поточному стані зміни!</translation>
    </message>
    <message>
        <source>Необходимо выгрузить контрольную ленту (бумажную/подписанную)!</source>
        <translation>Необхідно вивантажити контрольну стрічку (паперову/підписану)!</translation>
    </message>
    <message>
        <source>Регистратор находится в автономном режиме!</source>
        <translation>Реєстратор перебуває в автономному режимі!</translation>
    </message>
    <message>
        <source>При выполнении операции 
  обнаружено арифметическое переполнение!</source>
        <translation>Під час виконання операції 
  виявлено арифметичне переповнення!</translation>
    </message>
    <message>
        <source>Не обнулено!</source>
        <translation>Не обнулено!</translation>
    </message>
    <message>
        <source>Не очищено!</source>
        <translation>Не очищено!</translation>
    </message>
    <message>
        <source>Чтение-запись по неинициализированному указателю!</source>
        <translation>Читання-запис за неініціалізованим вказівником!</translation>
    </message>
    <message>
        <source>Адрес-параметр за пределами зоны!</source>
        <translation>Адреса-параметр за межами зони!</translation>
    </message>
    <message>
        <source>Выделен недостаточный буфер!</source>
        <translation>Виділено недостатній буфер!</translation>
    </message>
    <message>
        <source>Ошибка данных</source>
        <translation>Помилка даних</translation>
    </message>
    <message>
        <source>Ошибка работы с базой товаров!
 </source>
        <translation>Помилка роботи з базою товарів!
 </translation>
    </message>
    <message>
        <source>Нет свободного места для выполнения команды!</source>
        <translation>Немає вільного місця для виконання команди!</translation>
    </message>
    <message>
        <source>Длинна записи больше максимума (&gt;255)!</source>
        <translation>Довжина запису більша за максимум (&gt;255)!</translation>
    </message>
    <message>
        <source>Артикул с данным кодом не найден!</source>
        <translation>Артикул із цим кодом не знайдено!</translation>
    </message>
    <message>
        <source>Индекс за пределами базы!</source>
        <translation>Індекс за межами бази!</translation>
    </message>
    <message>
        <source>Артикул с данным кодом существует!</source>
        <translation>Артикул із цим кодом уже існує!</translation>
    </message>
    <message>
        <source>Налог запрещен!</source>
        <translation>Податок заборонено!</translation>
    </message>
    <message>
        <source>Ошибка работы с продажами!
 </source>
        <translation>Помилка роботи з продажами!
 </translation>
    </message>
    <message>
        <source>Неверное состояние документа!</source>
        <translation>Неправильний стан документа!</translation>
    </message>
    <message>
        <source>Недостаточно свободного места для выполнения команды!</source>
        <translation>Недостатньо вільного місця для виконання команди!</translation>
    </message>
    <message>
        <source>Неизвестный тип продажи!</source>
        <translation>Невідомий тип продажу!</translation>
    </message>
    <message>
        <source>Аннуляция: не может начинаться с данной операции!</source>
        <translation>Анулювання: не може починатися з цієї операції!</translation>
    </message>
    <message>
        <source>Аннуляция: данная операция в чеке не найдена!</source>
        <translation>Анулювання: цю операцію в чеку не знайдено!</translation>
    </message>
    <message>
        <source>Аннуляция: последовательность неполная!</source>
        <translation>Анулювання: послідовність неповна!</translation>
    </message>
    <message>
        <source>Аннулировать нечего!</source>
        <translation>Анулювати нічого!</translation>
    </message>
    <message>
        <source>Копия чека недоступна!</source>
        <translation>Копія чека недоступна!</translation>
    </message>
    <message>
        <source>В кассе недостаточно наличных денег для выполнения операции!</source>
        <translation>У касі недостатньо готівки для виконання операції!</translation>
    </message>
    <message>
        <source>Указанный тип оплаты запрещен для данного чека!</source>
        <translation>Зазначений тип оплати заборонено для цього чека!</translation>
    </message>
    <message>
        <source>Сдача запрещена с данного типа оплаты!</source>
        <translation>Решту з цього типу оплати видавати заборонено!</translation>
    </message>
    <message>
        <source>Значение скидки вышло за допустимый диапазон!</source>
        <translation>Значення знижки вийшло за допустимий діапазон!</translation>
    </message>
    <message>
        <source>Переполнение итога по чеку!</source>
        <translation>Переповнення підсумку за чеком!</translation>
    </message>
    <message>
        <source>Переполнение по оплатам в чеке!</source>
        <translation>Переповнення за оплатами в чеку!</translation>
    </message>
    <message>
        <source>Переполнение буфера!</source>
        <translation>Переповнення буфера!</translation>
    </message>
    <message>
        <source>Продажа: ошибка в количестве!</source>
        <translation>Продаж: помилка в кількості!</translation>
    </message>
    <message>
        <source>Продажа: ошибка в цене!</source>
        <translation>Продаж: помилка в ціні!</translation>
    </message>
    <message>
        <source>Аннуляция: удаляемая последовательность заблокирована!</source>
        <translation>Анулювання: послідовність, що видаляється, заблоковано!</translation>
    </message>
    <message>
        <source>Ошибка форматированной строки!
 </source>
        <translation>Помилка форматованого рядка!
 </translation>
    </message>
    <message>
        <source>Форматированная строка: параметры!</source>
        <translation>Форматований рядок: параметри!</translation>
    </message>
    <message>
        <source>Форматированная строка: тип данных!</source>
        <translation>Форматований рядок: тип даних!</translation>
    </message>
    <message>
        <source>Форматированная строка: выбор шрифта!</source>
        <translation>Форматований рядок: вибір шрифту!</translation>
    </message>
    <message>
        <source>Форматированная строка: выравнивание!</source>
        <translation>Форматований рядок: вирівнювання!</translation>
    </message>
    <message>
        <source>Форматированная строка: позиции в строке!</source>
        <translation>Форматований рядок: позиції в рядку!</translation>
    </message>
    <message>
        <source>Таймаут устройства! Ошибка!</source>
        <translation>Тайм-аут пристрою! Помилка!</translation>
    </message>
    <message>
        <source>Неправильный формат поля номер %1!</source>
        <translation>Неправильний формат поля номер %1!</translation>
    </message>
    <message>
        <source>Значение поля номер %1 выходит за допустимый диапазон!</source>
        <translation>Значення поля номер %1 виходить за допустимий діапазон!</translation>
    </message>
    <message>
        <source>Неизвестная ошибка!</source>
        <translation>Невідома помилка!</translation>
    </message>
</context>
<context>
    <name>SerialPort</name>
    <message>
        <source>%1: занят другой программой</source>
        <translation>%1: зайнятий іншою програмою</translation>
    </message>
    <message>
        <source>%1: скорость %2 не поддерживается</source>
        <translation>%1: швидкість %2 не підтримується</translation>
    </message>
</context>
<context>
    <name>StatusWord</name>
    <message>
        <source>Таймаут</source>
        <translation>Тайм-аут</translation>
    </message>
    <message>
        <source>Для продолжения нажмите </source>
        <translation>Щоб продовжити, натисніть </translation>
    </message>
    <message>
        <source>Синтаксическая ошибка</source>
        <translation>Синтаксична помилка</translation>
    </message>
    <message>
        <source>Неверная команда</source>
        <translation>Неправильна команда</translation>
    </message>
    <message>
        <source>Дата и время неверны</source>
        <translation>Дата й час неправильні</translation>
    </message>
    <message>
        <source>Ошибка печати</source>
        <translation>Помилка друку</translation>
    </message>
    <message>
        <source>Арифметическое переполнение</source>
        <translation>Арифметичне переповнення</translation>
    </message>
    <message>
        <source>Команда не разрешена</source>
        <translation>Команду не дозволено</translation>
    </message>
    <message>
        <source>Обнуление ОЗУ</source>
        <translation>Обнулення ОЗП</translation>
    </message>
    <message>
        <source>Нет бумаги</source>
        <translation>Немає паперу</translation>
    </message>
    <message>
        <source>Не модуля фиск. памяти</source>
        <translation>Немає модуля фіск. пам&apos;яті</translation>
    </message>
    <message>
        <source>Ошибка записи в фиск. память</source>
        <translation>Помилка запису у фіск. пам&apos;ять</translation>
    </message>
    <message>
        <source>Фиск. память переполнена</source>
        <translation>Фіск. пам&apos;ять переповнена</translation>
    </message>
    <message>
        <source>Запись в фиск. память запрещена</source>
        <translation>Запис у фіск. пам&apos;ять заборонено</translation>
    </message>
    <message>
        <source>Ошибка последнего Z-отчета</source>
        <translation>Помилка останнього Z-звіту</translation>
    </message>
    <message>
        <source>В фиск. памяти мало места</source>
        <translation>У фіск. пам&apos;яті мало місця</translation>
    </message>
    <message>
        <source>Ошибка протокола</source>
        <translation>Помилка протоколу</translation>
    </message>
    <message>
        <source>Ошибка приема команды</source>
        <translation>Помилка приймання команди</translation>
    </message>
    <message>
        <source>Общая ошибка</source>
        <translation>Загальна помилка</translation>
    </message>
    <message>
        <source>Общая ошибка фиск. памяти</source>
        <translation>Загальна помилка фіск. пам&apos;яті</translation>
    </message>
</context>
<context>
    <name>Verification</name>
    <message>
        <source>Число чеков</source>
        <translation>Кількість чеків</translation>
    </message>
    <message>
        <source>Продажи по форме оплаты «%1»</source>
        <translation>Продажі за формою оплати «%1»</translation>
    </message>
    <message>
        <source>Возвраты по форме оплаты «%1»</source>
        <translation>Повернення за формою оплати «%1»</translation>
    </message>
    <message>
        <source>Оборот продаж по налоговой группе %1</source>
        <translation>Обіг продажів за податковою групою %1</translation>
    </message>
    <message>
        <source>Оборот возвратов по налоговой группе %1</source>
        <translation>Обіг повернень за податковою групою %1</translation>
    </message>
    <message>
        <source>Налог с продаж по налоговой группе %1</source>
        <translation>Податок із продажів за податковою групою %1</translation>
    </message>
    <message>
        <source>Налог с возвратов по налоговой группе %1</source>
        <translation>Податок із повернень за податковою групою %1</translation>
    </message>
    <message>
        <source>Акциз с продаж по налоговой группе %1</source>
        <translation>Акциз із продажів за податковою групою %1</translation>
    </message>
    <message>
        <source>Акциз с возвратов по налоговой группе %1</source>
        <translation>Акциз із повернень за податковою групою %1</translation>
    </message>
    <message>
        <source>Число чеков продажи</source>
        <translation>Кількість чеків продажу</translation>
    </message>
    <message>
        <source>Число чеков возврата</source>
        <translation>Кількість чеків повернення</translation>
    </message>
    <message>
        <source>Служебное внесение «%1»</source>
        <translation>Службове внесення «%1»</translation>
    </message>
    <message>
        <source>Служебная выдача «%1»</source>
        <translation>Службова видача «%1»</translation>
    </message>
    <message>
        <source>Этих документов нет в архиве: их получит «Пополнить архив»</source>
        <translation>Цих документів немає в архіві: їх отримає «Поповнити архів»</translation>
    </message>
    <message>
        <source>Этого документа нет в архиве: его получит «Пополнить архив»</source>
        <translation>Цього документа немає в архіві: його отримає «Поповнити архів»</translation>
    </message>
    <message>
        <source>Этих документов нет в РРО, хотя в нем есть более поздние</source>
        <translation>Цих документів немає в РРО, хоча в ньому є пізніші</translation>
    </message>
    <message>
        <source>Этого документа нет в РРО, хотя в нем есть более поздние</source>
        <translation>Цього документа немає в РРО, хоча в ньому є пізніші</translation>
    </message>
    <message>
        <source>Дата и время документа раньше, чем у предыдущего</source>
        <translation>Дата й час документа раніші, ніж у попереднього</translation>
    </message>
    <message>
        <source>Документ не читается: %1</source>
        <translation>Документ не читається: %1</translation>
    </message>
    <message>
        <source>Документ не читается: в нем нет целого документа (DAT и MAC)</source>
        <translation>Документ не читається: у ньому немає цілого документа (DAT і MAC)</translation>
    </message>
    <message>
        <source>Номер чека не следует за номером предыдущего</source>
        <translation>Номер чека не йде за номером попереднього</translation>
    </message>
    <message>
        <source>Номер Z-отчета не следует за номером предыдущего</source>
        <translation>Номер Z-звіту не йде за номером попереднього</translation>
    </message>
    <message>
        <source>Z-отчет не проверить: в архиве нет Z-отчета перед ним</source>
        <translation>Z-звіт не перевірити: в архіві немає Z-звіту перед ним</translation>
    </message>
    <message>
        <source>%1 после последнего Z-отчета, смена не закрыта</source>
        <translation>%1 після останнього Z-звіту, зміну не закрито</translation>
    </message>
    <message>
        <source>%1: Z-отчет не сходится с чеками смены</source>
        <translation>%1: Z-звіт не збігається з чеками зміни</translation>
    </message>
    <message>
        <source>в архиве</source>
        <translation>в архіві</translation>
    </message>
    <message>
        <source>не получен</source>
        <translation>не отримано</translation>
    </message>
    <message>
        <source>нет в РРО</source>
        <translation>немає в РРО</translation>
    </message>
    <message>
        <source>не раньше %1</source>
        <translation>не раніше %1</translation>
    </message>
    <message>
        <source>Документы</source>
        <translation>Документи</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation>Z-звіт</translation>
    </message>
    <message>
        <source>Что не так</source>
        <translation>Що не так</translation>
    </message>
    <message>
        <source>Ожидалось</source>
        <translation>Очікувалося</translation>
    </message>
    <message>
        <source>Найдено</source>
        <translation>Знайдено</translation>
    </message>
    <message>
        <source>Разница</source>
        <translation>Різниця</translation>
    </message>
    <message>
        <source>Документов %1, Z-отчетов %2, проверено %3</source>
        <translation>Документів %1, Z-звітів %2, перевірено %3</translation>
    </message>
    <message>
        <source>расхождений нет</source>
        <translation>розбіжностей немає</translation>
    </message>
    <message>
        <source>расхождений %1</source>
        <translation>розбіжностей %1</translation>
    </message>
    <message>
        <source>Файл архива поврежден: %1</source>
        <translation>Файл архіву пошкоджено: %1</translation>
    </message>
    <message>
        <source>Этих документов нет на ленте РРО: она начинается с документа %1</source>
        <translation>Цих документів немає на стрічці РРО: вона починається з документа %1</translation>
    </message>
    <message>
        <source>Этого документа нет на ленте РРО: она начинается с документа %1</source>
        <translation>Цього документа немає на стрічці РРО: вона починається з документа %1</translation>
    </message>
</context>
<context>
    <name>ui::AboutBox</name>
    <message>
        <source>О программе</source>
        <translation>Про програму</translation>
    </message>
    <message>
        <source>Talqen %1 — электронная контрольная лента РРО</source>
        <translation>Talqen %1 — електронна контрольна стрічка РРО</translation>
    </message>
    <message>
        <source>Разработчики Talqen</source>
        <translation>Розробники Talqen</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Закрити</translation>
    </message>
    <message>
        <source>Свободная программа: GNU General Public License, версия 3 или (по вашему выбору) более поздняя (%1)</source>
        <translation>Вільна програма: GNU General Public License, версія 3 або (на ваш вибір) будь-яка пізніша (%1)</translation>
    </message>
    <message>
        <source>Библиотеки: %1</source>
        <translation>Бібліотеки: %1</translation>
    </message>
</context>
<context>
    <name>ui::ArchiveWindow</name>
    <message>
        <source>Текст (*.txt)</source>
        <translation>Текст (*.txt)</translation>
    </message>
    <message>
        <source>Текст журнала (*.xml)</source>
        <translation>Текст журналу (*.xml)</translation>
    </message>
    <message>
        <source>Документы</source>
        <translation>Документи</translation>
    </message>
    <message>
        <source>Тип документа</source>
        <translation>Тип документа</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation>Z-звіт</translation>
    </message>
    <message>
        <source>Чек</source>
        <translation>Чек</translation>
    </message>
    <message>
        <source>Чек+Z-отчет</source>
        <translation>Чек+Z-звіт</translation>
    </message>
    <message>
        <source>по &amp;номерам</source>
        <translation>за &amp;номерами</translation>
    </message>
    <message>
        <source>Начальный номер</source>
        <translation>Початковий номер</translation>
    </message>
    <message>
        <source>Конечный номер</source>
        <translation>Кінцевий номер</translation>
    </message>
    <message>
        <source>по &amp;датам</source>
        <translation>за &amp;датами</translation>
    </message>
    <message>
        <source>Начальная дата</source>
        <translation>Початкова дата</translation>
    </message>
    <message>
        <source>Начальное время</source>
        <translation>Початковий час</translation>
    </message>
    <message>
        <source>Конечная дата</source>
        <translation>Кінцева дата</translation>
    </message>
    <message>
        <source>Конечное время</source>
        <translation>Кінцевий час</translation>
    </message>
    <message>
        <source>дд.мм.гг</source>
        <translation>дд.мм.рр</translation>
    </message>
    <message>
        <source>чч:мм</source>
        <translation>гг:хх</translation>
    </message>
    <message>
        <source>Показать</source>
        <translation>Показати</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Знайти</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation>Далі</translation>
    </message>
    <message>
        <source>Назад</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Экспорт…</source>
        <translation>Експорт…</translation>
    </message>
    <message>
        <source>Проверить</source>
        <translation>Перевірити</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Закрити</translation>
    </message>
    <message>
        <source>&amp;Тип документа</source>
        <translation>&amp;Тип документа</translation>
    </message>
    <message>
        <source>Н&amp;ачальный номер</source>
        <translation>По&amp;чатковий номер</translation>
    </message>
    <message>
        <source>&amp;Конечный номер</source>
        <translation>&amp;Кінцевий номер</translation>
    </message>
    <message>
        <source>&amp;С</source>
        <translation>&amp;З</translation>
    </message>
    <message>
        <source>&amp;По</source>
        <translation>Д&amp;о</translation>
    </message>
    <message>
        <source>На&amp;йти</source>
        <translation>Зна&amp;йти</translation>
    </message>
    <message>
        <source>Выборка</source>
        <translation>Вибірка</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Пошук</translation>
    </message>
    <message>
        <source>Чтение архива</source>
        <translation>Читання архіву</translation>
    </message>
    <message>
        <source>Архив РРО</source>
        <translation>Архів РРО</translation>
    </message>
    <message>
        <source>Архив РРО  ЗН %1  ФН %2</source>
        <translation>Архів РРО  ЗН %1  ФН %2</translation>
    </message>
    <message>
        <source>Документов: %1</source>
        <translation>Документів: %1</translation>
    </message>
    <message>
        <source>Показано документов: %1</source>
        <translation>Показано документів: %1</translation>
    </message>
    <message>
        <source>Не найдено</source>
        <translation>Не знайдено</translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation>Експорт</translation>
    </message>
    <message>
        <source>Записано документов: %1</source>
        <translation>Записано документів: %1</translation>
    </message>
    <message>
        <source>Проверка архива</source>
        <translation>Перевірка архіву</translation>
    </message>
</context>
<context>
    <name>ui::AttentionDialog</name>
    <message>
        <source>Отмена</source>
        <translation>Скасувати</translation>
    </message>
</context>
<context>
    <name>ui::JournalWindow</name>
    <message>
        <source>Форма запроса и отображения данных</source>
        <translation>Форма запиту та відображення даних</translation>
    </message>
    <message>
        <source>Документы</source>
        <translation>Документи</translation>
    </message>
    <message>
        <source>по номерам</source>
        <translation>за номерами</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation>Z-звіт</translation>
    </message>
    <message>
        <source>Чек</source>
        <translation>Чек</translation>
    </message>
    <message>
        <source>Чек+Z-отчет</source>
        <translation>Чек+Z-звіт</translation>
    </message>
    <message>
        <source>&amp;Тип документа</source>
        <translation>&amp;Тип документа</translation>
    </message>
    <message>
        <source>П&amp;ароль</source>
        <translation>П&amp;ароль</translation>
    </message>
    <message>
        <source>&amp;Начальный номер</source>
        <translation>&amp;Початковий номер</translation>
    </message>
    <message>
        <source>&amp;Конечный номер</source>
        <translation>&amp;Кінцевий номер</translation>
    </message>
    <message>
        <source>Получить</source>
        <translation>Отримати</translation>
    </message>
    <message>
        <source>Печать на РРО</source>
        <translation>Друк на РРО</translation>
    </message>
    <message>
        <source>по датам</source>
        <translation>за датами</translation>
    </message>
    <message>
        <source>Вернуть номера</source>
        <translation>Повернути номери</translation>
    </message>
    <message>
        <source>Н&amp;ачальная дата</source>
        <translation>Початкова &amp;дата</translation>
    </message>
    <message>
        <source>Ко&amp;нечная дата</source>
        <translation>Кінц&amp;ева дата</translation>
    </message>
    <message>
        <source>&amp;Время</source>
        <translation>&amp;Час</translation>
    </message>
    <message>
        <source>дд.мм.гг</source>
        <translation>дд.мм.рр</translation>
    </message>
    <message>
        <source>чч:мм</source>
        <translation>гг:хх</translation>
    </message>
    <message>
        <source>Конечное время</source>
        <translation>Кінцевий час</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Закрити</translation>
    </message>
</context>
<context>
    <name>ui::MainWindow</name>
    <message>
        <source>%1, %2 бод, %3</source>
        <translation>%1, %2 бод, %3</translation>
    </message>
    <message>
        <source>Соединение с РРО</source>
        <translation>З&apos;єднання з РРО</translation>
    </message>
    <message>
        <source>Подключение к последовательному порту</source>
        <translation>Підключення до послідовного порту</translation>
    </message>
    <message>
        <source>&amp;Последовательный порт:</source>
        <translation>&amp;Послідовний порт:</translation>
    </message>
    <message>
        <source>&amp;Скорость порта (бод):</source>
        <translation>&amp;Швидкість порту (бод):</translation>
    </message>
    <message>
        <source>Индикатор подключения</source>
        <translation>Індикатор підключення</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Знайти</translation>
    </message>
    <message>
        <source>Найти порт, скорость и протокол регистратора</source>
        <translation>Знайти порт, швидкість і протокол реєстратора</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Закрити</translation>
    </message>
    <message>
        <source>КЛЭФ</source>
        <translation>КЛЕФ</translation>
    </message>
    <message>
        <source>Вывод документов в электронном виде</source>
        <translation>Виведення документів в електронному вигляді</translation>
    </message>
    <message>
        <source>Архив</source>
        <translation>Архів</translation>
    </message>
    <message>
        <source>Пополнить архив</source>
        <translation>Поповнити архів</translation>
    </message>
    <message>
        <source>Открыть архив…</source>
        <translation>Відкрити архів…</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Мова</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>Про програму...</translation>
    </message>
    <message>
        <source>Файл fpinit.ini не записывается: язык не сохранен</source>
        <translation>Файл fpinit.ini не записується: мову не збережено</translation>
    </message>
    <message>
        <source>Тестирование USB устройств: Шаг %1</source>
        <translation>Тестування USB-пристроїв: крок %1</translation>
    </message>
    <message>
        <source>Поиск: %1</source>
        <translation>Пошук: %1</translation>
    </message>
    <message>
        <source>Регистратор не найден</source>
        <translation>Реєстратор не знайдено</translation>
    </message>
    <message>
        <source>Найден: %1. %2</source>
        <translation>Знайдено: %1. %2</translation>
    </message>
    <message>
        <source>Открыть архив</source>
        <translation>Відкрити архів</translation>
    </message>
    <message>
        <source>Архив РРО (*.talqen.db)</source>
        <translation>Архів РРО (*.talqen.db)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>Усі файли (*)</translation>
    </message>
    <message>
        <source>Ответ РРО на проверку связи не называет заводской номер</source>
        <translation>Відповідь РРО на перевірку зв&apos;язку не називає заводський номер</translation>
    </message>
    <message>
        <source>Пополнение архива</source>
        <translation>Поповнення архіву</translation>
    </message>
    <message>
        <source>Запрос номера последнего документа</source>
        <translation>Запит номера останнього документа</translation>
    </message>
    <message>
        <source>Запрошено %1 из %2, получено %3, в архиве %4</source>
        <translation>Запитано %1 з %2, отримано %3, в архіві %4</translation>
    </message>
    <message>
        <source>РРО не сообщил номер последнего документа</source>
        <translation>РРО не повідомив номер останнього документа</translation>
    </message>
</context>
<context>
    <name>ui::TalqenApplication</name>
    <message>
        <source>Непредвиденная ошибка</source>
        <translation>Непередбачена помилка</translation>
    </message>
</context>
<context>
    <name>ui::VerificationWindow</name>
    <message>
        <source>Проверка архива</source>
        <translation>Перевірка архіву</translation>
    </message>
    <message>
        <source>Находки</source>
        <translation>Знахідки</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Закрити</translation>
    </message>
    <message>
        <source>Текст (*.txt)</source>
        <translation>Текст (*.txt)</translation>
    </message>
</context>
</TS>
