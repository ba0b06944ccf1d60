<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA" sourcelanguage="ru">
<context>
    <name>ArchiveWindow</name>
    <message>
        <source>Неверный тип документа</source>
        <translation type="vanished">Неправильний тип документа</translation>
    </message>
    <message>
        <source>Неверный начальный номер</source>
        <translation type="vanished">Неправильний початковий номер</translation>
    </message>
    <message>
        <source>Неверный конечный номер</source>
        <translation type="vanished">Неправильний кінцевий номер</translation>
    </message>
    <message>
        <source>Конечный номер должен быть не меньше начального!</source>
        <translation type="vanished">Кінцевий номер має бути не меншим за початковий!</translation>
    </message>
    <message>
        <source>Неверная начальная дата</source>
        <translation type="vanished">Неправильна початкова дата</translation>
    </message>
    <message>
        <source>Неверная конечная дата</source>
        <translation type="vanished">Неправильна кінцева дата</translation>
    </message>
    <message>
        <source>Неверное время</source>
        <translation type="vanished">Неправильний час</translation>
    </message>
    <message>
        <source>Конечная дата должна быть не меньше начальной!</source>
        <translation type="vanished">Кінцева дата має бути не меншою за початкову!</translation>
    </message>
    <message>
        <source>Документов: %1</source>
        <translation type="vanished">Документів: %1</translation>
    </message>
    <message>
        <source>; номера %1</source>
        <translation type="vanished">; номери %1</translation>
    </message>
    <message>
        <source>; пополнен %1 UTC</source>
        <translation type="vanished">; поповнено %1 UTC</translation>
    </message>
    <message>
        <source>Невозможно записать файл</source>
        <translation type="vanished">Неможливо записати файл</translation>
    </message>
    <message>
        <source>Документ %1 не читается: %2</source>
        <translation type="vanished">Документ %1 не читається: %2</translation>
    </message>
    <message>
        <source>Остановлено</source>
        <translation type="vanished">Зупинено</translation>
    </message>
    <message>
        <source>В архиве нет документов этой выборки</source>
        <translation type="vanished">В архіві немає документів цієї вибірки</translation>
    </message>
    <message>
        <source>Среди документов выборки нет документов этого типа</source>
        <translation type="vanished">Серед документів вибірки немає документів цього типу</translation>
    </message>
</context>
<context>
    <name>Configuration</name>
    <message>
        <source>Файл fpinit.ini отсутствует и не может быть создан: %1</source>
        <translation type="vanished">Файл fpinit.ini відсутній і не може бути створений: %1</translation>
    </message>
    <message>
        <source>Файл fpinit.ini отсутствует.
 Создание файла!</source>
        <translation type="vanished">Файл fpinit.ini відсутній.
 Створення файлу!</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>Подключения нет. Возможно использование не того протокола обмена данными</source>
        <translation type="vanished">Підключення немає. Можливо, використано не той протокол обміну даними</translation>
    </message>
    <message>
        <source>Отключить</source>
        <translation type="vanished">Відключити</translation>
    </message>
    <message>
        <source>Подключить</source>
        <translation type="vanished">Підключити</translation>
    </message>
    <message>
        <source>Невозможно подключить порт</source>
        <translation type="vanished">Неможливо підключити порт</translation>
    </message>
    <message>
        <source>Файл fpinit.ini не читается: порт и скорость не сохранены</source>
        <translation type="vanished">Файл fpinit.ini не читається: порт і швидкість не збережено</translation>
    </message>
    <message>
        <source>   Модель:%1,    Версия:%2,     %3.</source>
        <translation type="vanished">   Модель:%1,    Версія:%2,     %3.</translation>
    </message>
    <message>
        <source> Сервис.реж.</source>
        <translation type="vanished"> Сервіс.реж.</translation>
    </message>
    <message>
        <source>Проверка состояния регистратора:
  %1</source>
        <translation type="vanished">Перевірка стану реєстратора:
  %1</translation>
    </message>
</context>
<context>
    <name>Filling</name>
    <message>
        <source>Получено документов: %1</source>
        <translation type="vanished">Отримано документів: %1</translation>
    </message>
    <message>
        <source>Новых документов нет</source>
        <translation type="vanished">Нових документів немає</translation>
    </message>
    <message>
        <source>в архиве уже были: %1</source>
        <translation type="vanished">в архіві вже були: %1</translation>
    </message>
    <message>
        <source>нет в РРО: %1</source>
        <translation type="vanished">немає в РРО: %1</translation>
    </message>
    <message>
        <source>получены не полностью (их запросит следующее пополнение): %1</source>
        <translation type="vanished">отримано не повністю (їх запитає наступне поповнення): %1</translation>
    </message>
    <message>
        <source>не запрошены (пополнение остановлено): %1</source>
        <translation type="vanished">не запитано (поповнення зупинено): %1</translation>
    </message>
</context>
<context>
    <name>JournalWindow</name>
    <message>
        <source>Связь с портом потеряна</source>
        <translation type="vanished">Зв&apos;язок з портом втрачено</translation>
    </message>
    <message>
        <source>Документ %1 получен не полностью</source>
        <translation type="vanished">Документ %1 отримано не повністю</translation>
    </message>
    <message>
        <source>РРО вернул ошибку:  %1 !</source>
        <translation type="vanished">РРО повернув помилку:  %1 !</translation>
    </message>
    <message>
        <source>Конечная дата должна быть не меньше начальной!</source>
        <translation type="vanished">Кінцева дата має бути не меншою за початкову!</translation>
    </message>
    <message>
        <source>РРО вернул ошибку:%1</source>
        <translation type="vanished">РРО повернув помилку:%1</translation>
    </message>
    <message>
        <source>Непредвиденный сбой в структуре получаемой информации!</source>
        <translation type="vanished">Непередбачений збій у структурі отримуваної інформації!</translation>
    </message>
    <message>
        <source>Попробуйте выбрать другой диапазон номеров или дат!</source>
        <translation type="vanished">Спробуйте вибрати інший діапазон номерів або дат!</translation>
    </message>
    <message>
        <source>РРО вернул ошибку: %1</source>
        <translation type="vanished">РРО повернув помилку: %1</translation>
    </message>
    <message>
        <source>Невозможно записать файл %1</source>
        <translation type="vanished">Неможливо записати файл %1</translation>
    </message>
    <message>
        <source>Запрашиваемые данные отсутствуют!</source>
        <translation type="vanished">Запитувані дані відсутні!</translation>
    </message>
    <message>
        <source>ВНИМАНИЕ!!!!</source>
        <translation type="vanished">УВАГА!!!!</translation>
    </message>
    <message>
        <source>ИДЁТ ЗАГРУЗКА ДАННЫХ....</source>
        <translation type="vanished">ТРИВАЄ ЗАВАНТАЖЕННЯ ДАНИХ....</translation>
    </message>
    <message>
        <source>Началный номер должен быть &gt;0!</source>
        <translation type="vanished">Початковий номер має бути &gt;0!</translation>
    </message>
    <message>
        <source>Конечный номер должен быть не меньше начального!</source>
        <translation type="vanished">Кінцевий номер має бути не меншим за початковий!</translation>
    </message>
    <message>
        <source>Продолжить?</source>
        <translation type="vanished">Продовжити?</translation>
    </message>
    <message>
        <source>Печать требует затрат бумажной ленты</source>
        <translation type="vanished">Друк потребує витрат паперової стрічки</translation>
    </message>
</context>
<context>
    <name>RegisterError</name>
    <message>
        <source>Ошибка оборудования!
 </source>
        <translation type="vanished">Помилка обладнання!
 </translation>
    </message>
    <message>
        <source>Неопределенная ошибка оборудования!</source>
        <translation type="vanished">Невизначена помилка обладнання!</translation>
    </message>
    <message>
        <source>Ошибка принтера!</source>
        <translation type="vanished">Помилка принтера!</translation>
    </message>
    <message>
        <source>Ошибка RAM!</source>
        <translation type="vanished">Помилка RAM!</translation>
    </message>
    <message>
        <source>Ошибка контрольной суммы памяти программы!</source>
        <translation type="vanished">Помилка контрольної суми пам&apos;яті програми!</translation>
    </message>
    <message>
        <source>Ошибка Flash памяти!</source>
        <translation type="vanished">Помилка Flash-пам&apos;яті!</translation>
    </message>
    <message>
        <source>Ошибка дисплея!</source>
        <translation type="vanished">Помилка дисплея!</translation>
    </message>
    <message>
        <source>Ошибка часов, необходимо скорректировать время!</source>
        <translation type="vanished">Помилка годинника, необхідно скоригувати час!</translation>
    </message>
    <message>
        <source>Ошибка, возникшая в связи с понижением напряжения питания!</source>
        <translation type="vanished">Помилка через зниження напруги живлення!</translation>
    </message>
    <message>
        <source>SIM: отказ оборудования!</source>
        <translation type="vanished">SIM: відмова обладнання!</translation>
    </message>
    <message>
        <source>MMC: отказ оборудования!</source>
        <translation type="vanished">MMC: відмова обладнання!</translation>
    </message>
    <message>
        <source>Нет команды с таким кодом!</source>
        <translation type="vanished">Немає команди з таким кодом!</translation>
    </message>
    <message>
        <source>Данная функция не поддерживается!</source>
        <translation type="vanished">Ця функція не підтримується!</translation>
    </message>
    <message>
        <source>В сообщении нет данных</source>
        <translation type="vanished">У повідомленні немає даних</translation>
    </message>
    <message>
        <source>Переполнение буфера приемника/передатчика!</source>
        <translation type="vanished">Переповнення буфера приймача/передавача!</translation>
    </message>
    <message>
        <source>Ошибка фискальной памяти!
 </source>
        <translation type="vanished">Помилка фіскальної пам&apos;яті!
 </translation>
    </message>
    <message>
        <source>Нет свободного места для записи в ФП!</source>
        <translation type="vanished">Немає вільного місця для запису у ФП!</translation>
    </message>
    <message>
        <source>Ошибка записи в фискальную память!</source>
        <translation type="vanished">Помилка запису у фіскальну пам&apos;ять!</translation>
    </message>
    <message>
        <source>Заводской номер не установлен!</source>
        <translation type="vanished">Заводський номер не встановлено!</translation>
    </message>
    <message>
        <source>Дата текущей записи более ранняя 
   чем дата предыдущей записи!</source>
        <translation type="vanished">Дата поточного запису раніша 
   за дату попереднього запису!</translation>
    </message>
    <message>
        <source>Запрещен выход за пределы суток!</source>
        <translation type="vanished">Вихід за межі доби заборонено!</translation>
    </message>
    <message>
        <source>Данные в фискальной памяти неверны!</source>
        <translation type="vanished">Дані у фіскальній пам&apos;яті неправильні!</translation>
    </message>
    <message>
        <source>Фискальная память исчерпана!</source>
        <translation type="vanished">Фіскальну пам&apos;ять вичерпано!</translation>
    </message>
    <message>
        <source>Данная команда выполняется только в фискальном режиме!</source>
        <translation type="vanished">Ця команда виконується лише у фіскальному режимі!</translation>
    </message>
    <message>
        <source>Дата и время не были установлены 
с момента последнего аварийного обнуления ОЗУ!</source>
        <translation type="vanished">Дату й час не встановлено 
від часу останнього аварійного обнулення ОЗП!</translation>
    </message>
    <message>
        <source>С начала смены прошло более 24х часов!</source>
        <translation type="vanished">Від початку зміни минуло понад 24 години!</translation>
    </message>
    <message>
        <source>Необходимо скорректировать время!</source>
        <translation type="vanished">Необхідно скоригувати час!</translation>
    </message>
    <message>
        <source>Ошибка в формате таблицы!</source>
        <translation type="vanished">Помилка у форматі таблиці!</translation>
    </message>
    <message>
        <source>ДОшибка в формате даты!</source>
        <translation type="vanished">Помилка у форматі дати!</translation>
    </message>
    <message>
        <source>Ошибка в формате времени!</source>
        <translation type="vanished">Помилка у форматі часу!</translation>
    </message>
    <message>
        <source>Устанавливаемое время меньше текущего!</source>
        <translation type="vanished">Встановлюваний час менший за поточний!</translation>
    </message>
    <message>
        <source>Неверный пароль доступа!</source>
        <translation type="vanished">Неправильний пароль доступу!</translation>
    </message>
    <message>
        <source>Команда не может быть выполнена в данном состоянии регистратора!
</source>
        <translation type="vanished">Команду не можна виконати в поточному стані реєстратора!
</translation>
    </message>
    <message>
        <source>Неверный режим регистратора (перемычка)!</source>
        <translation type="vanished">Неправильний режим реєстратора (перемичка)!</translation>
    </message>
    <message>
        <source>Команда невыполнима в данном состоянии смены!</source>
        <translation type="vanished">Команду не можна виконати в поточному стані зміни!</translation>
    </message>
    <message>
        <source>Необходимо выгрузить контрольную ленту (бумажную/подписанную)!</source>
        <translation type="vanished">Необхідно вивантажити контрольну стрічку (паперову/підписану)!</translation>
    </message>
    <message>
        <source>Регистратор находится в автономном режиме!</source>
        <translation type="vanished">Реєстратор перебуває в автономному режимі!</translation>
    </message>
    <message>
        <source>При выполнении операции 
  обнаружено арифметическое переполнение!</source>
        <translation type="vanished">Під час виконання операції 
  виявлено арифметичне переповнення!</translation>
    </message>
    <message>
        <source>Не обнулено!</source>
        <translation type="vanished">Не обнулено!</translation>
    </message>
    <message>
        <source>Не очищено!</source>
        <translation type="vanished">Не очищено!</translation>
    </message>
    <message>
        <source>Чтение-запись по неинициализированному указателю!</source>
        <translation type="vanished">Читання-запис за неініціалізованим вказівником!</translation>
    </message>
    <message>
        <source>Адрес-параметр за пределами зоны!</source>
        <translation type="vanished">Адреса-параметр за межами зони!</translation>
    </message>
    <message>
        <source>Выделен недостаточный буфер!</source>
        <translation type="vanished">Виділено недостатній буфер!</translation>
    </message>
    <message>
        <source>Ошибка данных</source>
        <translation type="vanished">Помилка даних</translation>
    </message>
    <message>
        <source>Ошибка работы с базой товаров!
 </source>
        <translation type="vanished">Помилка роботи з базою товарів!
 </translation>
    </message>
    <message>
        <source>Нет свободного места для выполнения команды!</source>
        <translation type="vanished">Немає вільного місця для виконання команди!</translation>
    </message>
    <message>
        <source>Длинна записи больше максимума (&gt;255)!</source>
        <translation type="vanished">Довжина запису більша за максимум (&gt;255)!</translation>
    </message>
    <message>
        <source>Артикул с данным кодом не найден!</source>
        <translation type="vanished">Артикул із цим кодом не знайдено!</translation>
    </message>
    <message>
        <source>Индекс за пределами базы!</source>
        <translation type="vanished">Індекс за межами бази!</translation>
    </message>
    <message>
        <source>Артикул с данным кодом существует!</source>
        <translation type="vanished">Артикул із цим кодом уже існує!</translation>
    </message>
    <message>
        <source>Налог запрещен!</source>
        <translation type="vanished">Податок заборонено!</translation>
    </message>
    <message>
        <source>Ошибка работы с продажами!
 </source>
        <translation type="vanished">Помилка роботи з продажами!
 </translation>
    </message>
    <message>
        <source>Неверное состояние документа!</source>
        <translation type="vanished">Неправильний стан документа!</translation>
    </message>
    <message>
        <source>Недостаточно свободного места для выполнения команды!</source>
        <translation type="vanished">Недостатньо вільного місця для виконання команди!</translation>
    </message>
    <message>
        <source>Неизвестный тип продажи!</source>
        <translation type="vanished">Невідомий тип продажу!</translation>
    </message>
    <message>
        <source>Аннуляция: не может начинаться с данной операции!</source>
        <translation type="vanished">Анулювання: не може починатися з цієї операції!</translation>
    </message>
    <message>
        <source>Аннуляция: данная операция в чеке не найдена!</source>
        <translation type="vanished">Анулювання: цю операцію в чеку не знайдено!</translation>
    </message>
    <message>
        <source>Аннуляция: последовательность неполная!</source>
        <translation type="vanished">Анулювання: послідовність неповна!</translation>
    </message>
    <message>
        <source>Аннулировать нечего!</source>
        <translation type="vanished">Анулювати нічого!</translation>
    </message>
    <message>
        <source>Копия чека недоступна!</source>
        <translation type="vanished">Копія чека недоступна!</translation>
    </message>
    <message>
        <source>В кассе недостаточно наличных денег для выполнения операции!</source>
        <translation type="vanished">У касі недостатньо готівки для виконання операції!</translation>
    </message>
    <message>
        <source>Указанный тип оплаты запрещен для данного чека!</source>
        <translation type="vanished">Зазначений тип оплати заборонено для цього чека!</translation>
    </message>
    <message>
        <source>Сдача запрещена с данного типа оплаты!</source>
        <translation type="vanished">Решту з цього типу оплати видавати заборонено!</translation>
    </message>
    <message>
        <source>Значение скидки вышло за допустимый диапазон!</source>
        <translation type="vanished">Значення знижки вийшло за допустимий діапазон!</translation>
    </message>
    <message>
        <source>Переполнение итога по чеку!</source>
        <translation type="vanished">Переповнення підсумку за чеком!</translation>
    </message>
    <message>
        <source>Переполнение по оплатам в чеке!</source>
        <translation type="vanished">Переповнення за оплатами в чеку!</translation>
    </message>
    <message>
        <source>Переполнение буфера!</source>
        <translation type="vanished">Переповнення буфера!</translation>
    </message>
    <message>
        <source>Продажа: ошибка в количестве!</source>
        <translation type="vanished">Продаж: помилка в кількості!</translation>
    </message>
    <message>
        <source>Продажа: ошибка в цене!</source>
        <translation type="vanished">Продаж: помилка в ціні!</translation>
    </message>
    <message>
        <source>Аннуляция: удаляемая последовательность заблокирована!</source>
        <translation type="vanished">Анулювання: послідовність, що видаляється, заблоковано!</translation>
    </message>
    <message>
        <source>Ошибка форматированной строки!
 </source>
        <translation type="vanished">Помилка форматованого рядка!
 </translation>
    </message>
    <message>
        <source>Форматированная строка: параметры!</source>
        <translation type="vanished">Форматований рядок: параметри!</translation>
    </message>
    <message>
        <source>Форматированная строка: тип данных!</source>
        <translation type="vanished">Форматований рядок: тип даних!</translation>
    </message>
    <message>
        <source>Форматированная строка: выбор шрифта!</source>
        <translation type="vanished">Форматований рядок: вибір шрифту!</translation>
    </message>
    <message>
        <source>Форматированная строка: выравнивание!</source>
        <translation type="vanished">Форматований рядок: вирівнювання!</translation>
    </message>
    <message>
        <source>Форматированная строка: позиции в строке!</source>
        <translation type="vanished">Форматований рядок: позиції в рядку!</translation>
    </message>
    <message>
        <source>Таймаут устройства! Ошибка!</source>
        <translation type="vanished">Тайм-аут пристрою! Помилка!</translation>
    </message>
    <message>
        <source>Неправильный формат поля номер %1!</source>
        <translation type="vanished">Неправильний формат поля номер %1!</translation>
    </message>
    <message>
        <source>Значение поля номер %1 выходит за допустимый диапазон!</source>
        <translation type="vanished">Значення поля номер %1 виходить за допустимий діапазон!</translation>
    </message>
    <message>
        <source>Неизвестная ошибка!</source>
        <translation type="vanished">Невідома помилка!</translation>
    </message>
</context>
<context>
    <name>SerialPort</name>
    <message>
        <source>%1: занят другой программой</source>
        <translation type="vanished">%1: зайнятий іншою програмою</translation>
    </message>
    <message>
        <source>%1: скорость %2 не поддерживается</source>
        <translation type="vanished">%1: швидкість %2 не підтримується</translation>
    </message>
</context>
<context>
    <name>StatusWord</name>
    <message>
        <source>Таймаут</source>
        <translation type="vanished">Тайм-аут</translation>
    </message>
    <message>
        <source>Для продолжения нажмите </source>
        <translation type="vanished">Щоб продовжити, натисніть </translation>
    </message>
    <message>
        <source>Синтаксическая ошибка</source>
        <translation type="vanished">Синтаксична помилка</translation>
    </message>
    <message>
        <source>Неверная команда</source>
        <translation type="vanished">Неправильна команда</translation>
    </message>
    <message>
        <source>Дата и время неверны</source>
        <translation type="vanished">Дата й час неправильні</translation>
    </message>
    <message>
        <source>Ошибка печати</source>
        <translation type="vanished">Помилка друку</translation>
    </message>
    <message>
        <source>Арифметическое переполнение</source>
        <translation type="vanished">Арифметичне переповнення</translation>
    </message>
    <message>
        <source>Команда не разрешена</source>
        <translation type="vanished">Команду не дозволено</translation>
    </message>
    <message>
        <source>Обнуление ОЗУ</source>
        <translation type="vanished">Обнулення ОЗП</translation>
    </message>
    <message>
        <source>Нет бумаги</source>
        <translation type="vanished">Немає паперу</translation>
    </message>
    <message>
        <source>Не модуля фиск. памяти</source>
        <translation type="vanished">Немає модуля фіск. пам&apos;яті</translation>
    </message>
    <message>
        <source>Ошибка записи в фиск. память</source>
        <translation type="vanished">Помилка запису у фіск. пам&apos;ять</translation>
    </message>
    <message>
        <source>Фиск. память переполнена</source>
        <translation type="vanished">Фіск. пам&apos;ять переповнена</translation>
    </message>
    <message>
        <source>Запись в фиск. память запрещена</source>
        <translation type="vanished">Запис у фіск. пам&apos;ять заборонено</translation>
    </message>
    <message>
        <source>Ошибка последнего Z-отчета</source>
        <translation type="vanished">Помилка останнього Z-звіту</translation>
    </message>
    <message>
        <source>В фиск. памяти мало места</source>
        <translation type="vanished">У фіск. пам&apos;яті мало місця</translation>
    </message>
    <message>
        <source>Ошибка протокола</source>
        <translation type="vanished">Помилка протоколу</translation>
    </message>
    <message>
        <source>Ошибка приема команды</source>
        <translation type="vanished">Помилка приймання команди</translation>
    </message>
    <message>
        <source>Общая ошибка</source>
        <translation type="vanished">Загальна помилка</translation>
    </message>
    <message>
        <source>Общая ошибка фиск. памяти</source>
        <translation type="vanished">Загальна помилка фіск. пам&apos;яті</translation>
    </message>
</context>
<context>
    <name>Verification</name>
    <message>
        <source>Число чеков</source>
        <translation type="vanished">Кількість чеків</translation>
    </message>
    <message>
        <source>Продажи по форме оплаты «%1»</source>
        <translation type="vanished">Продажі за формою оплати «%1»</translation>
    </message>
    <message>
        <source>Возвраты по форме оплаты «%1»</source>
        <translation type="vanished">Повернення за формою оплати «%1»</translation>
    </message>
    <message>
        <source>Оборот продаж по налоговой группе %1</source>
        <translation type="vanished">Обіг продажів за податковою групою %1</translation>
    </message>
    <message>
        <source>Оборот возвратов по налоговой группе %1</source>
        <translation type="vanished">Обіг повернень за податковою групою %1</translation>
    </message>
    <message>
        <source>Налог с продаж по налоговой группе %1</source>
        <translation type="vanished">Податок із продажів за податковою групою %1</translation>
    </message>
    <message>
        <source>Налог с возвратов по налоговой группе %1</source>
        <translation type="vanished">Податок із повернень за податковою групою %1</translation>
    </message>
    <message>
        <source>Акциз с продаж по налоговой группе %1</source>
        <translation type="vanished">Акциз із продажів за податковою групою %1</translation>
    </message>
    <message>
        <source>Акциз с возвратов по налоговой группе %1</source>
        <translation type="vanished">Акциз із повернень за податковою групою %1</translation>
    </message>
    <message>
        <source>Число чеков продажи</source>
        <translation type="vanished">Кількість чеків продажу</translation>
    </message>
    <message>
        <source>Число чеков возврата</source>
        <translation type="vanished">Кількість чеків повернення</translation>
    </message>
    <message>
        <source>Служебное внесение «%1»</source>
        <translation type="vanished">Службове внесення «%1»</translation>
    </message>
    <message>
        <source>Служебная выдача «%1»</source>
        <translation type="vanished">Службова видача «%1»</translation>
    </message>
    <message>
        <source>Этих документов нет в архиве: их получит «Пополнить архив»</source>
        <translation type="vanished">Цих документів немає в архіві: їх отримає «Поповнити архів»</translation>
    </message>
    <message>
        <source>Этого документа нет в архиве: его получит «Пополнить архив»</source>
        <translation type="vanished">Цього документа немає в архіві: його отримає «Поповнити архів»</translation>
    </message>
    <message>
        <source>Этих документов нет в РРО, хотя в нем есть более поздние</source>
        <translation type="vanished">Цих документів немає в РРО, хоча в ньому є пізніші</translation>
    </message>
    <message>
        <source>Этого документа нет в РРО, хотя в нем есть более поздние</source>
        <translation type="vanished">Цього документа немає в РРО, хоча в ньому є пізніші</translation>
    </message>
    <message>
        <source>Дата и время документа раньше, чем у предыдущего</source>
        <translation type="vanished">Дата й час документа раніші, ніж у попереднього</translation>
    </message>
    <message>
        <source>Документ не читается: %1</source>
        <translation type="vanished">Документ не читається: %1</translation>
    </message>
    <message>
        <source>Документ не читается: в нем нет целого документа (DAT и MAC)</source>
        <translation type="vanished">Документ не читається: у ньому немає цілого документа (DAT і MAC)</translation>
    </message>
    <message>
        <source>Номер чека не следует за номером предыдущего</source>
        <translation type="vanished">Номер чека не йде за номером попереднього</translation>
    </message>
    <message>
        <source>Номер Z-отчета не следует за номером предыдущего</source>
        <translation type="vanished">Номер Z-звіту не йде за номером попереднього</translation>
    </message>
    <message>
        <source>Z-отчет не проверить: в архиве нет Z-отчета перед ним</source>
        <translation type="vanished">Z-звіт не перевірити: в архіві немає Z-звіту перед ним</translation>
    </message>
    <message>
        <source>%1 после последнего Z-отчета, смена не закрыта</source>
        <translation type="vanished">%1 після останнього Z-звіту, зміну не закрито</translation>
    </message>
    <message>
        <source>%1: Z-отчет не сходится с чеками смены</source>
        <translation type="vanished">%1: Z-звіт не збігається з чеками зміни</translation>
    </message>
    <message>
        <source>в архиве</source>
        <translation type="vanished">в архіві</translation>
    </message>
    <message>
        <source>не получен</source>
        <translation type="vanished">не отримано</translation>
    </message>
    <message>
        <source>нет в РРО</source>
        <translation type="vanished">немає в РРО</translation>
    </message>
    <message>
        <source>не раньше %1</source>
        <translation type="vanished">не раніше %1</translation>
    </message>
    <message>
        <source>Документы</source>
        <translation type="vanished">Документи</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation type="vanished">Z-звіт</translation>
    </message>
    <message>
        <source>Что не так</source>
        <translation type="vanished">Що не так</translation>
    </message>
    <message>
        <source>Ожидалось</source>
        <translation type="vanished">Очікувалося</translation>
    </message>
    <message>
        <source>Найдено</source>
        <translation type="vanished">Знайдено</translation>
    </message>
    <message>
        <source>Разница</source>
        <translation type="vanished">Різниця</translation>
    </message>
    <message>
        <source>Документов %1, Z-отчетов %2, проверено %3</source>
        <translation type="vanished">Документів %1, Z-звітів %2, перевірено %3</translation>
    </message>
    <message>
        <source>расхождений нет</source>
        <translation type="vanished">розбіжностей немає</translation>
    </message>
    <message>
        <source>расхождений %1</source>
        <translation type="vanished">розбіжностей %1</translation>
    </message>
</context>
<context>
    <name>ui::AboutBox</name>
    <message>
        <source>О программе</source>
        <translation type="vanished">Про програму</translation>
    </message>
    <message>
        <source>Talqen %1 — электронная контрольная лента РРО</source>
        <translation type="vanished">Talqen %1 — електронна контрольна стрічка РРО</translation>
    </message>
    <message>
        <source>Разработчики Talqen</source>
        <translation type="vanished">Розробники Talqen</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="vanished">Закрити</translation>
    </message>
</context>
<context>
    <name>ui::ArchiveWindow</name>
    <message>
        <source>Текст (*.txt)</source>
        <translation type="vanished">Текст (*.txt)</translation>
    </message>
    <message>
        <source>Текст журнала (*.xml)</source>
        <translation type="vanished">Текст журналу (*.xml)</translation>
    </message>
    <message>
        <source>Документы</source>
        <translation type="vanished">Документи</translation>
    </message>
    <message>
        <source>Тип документа</source>
        <translation type="vanished">Тип документа</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation type="vanished">Z-звіт</translation>
    </message>
    <message>
        <source>Чек</source>
        <translation type="vanished">Чек</translation>
    </message>
    <message>
        <source>Чек+Z-отчет</source>
        <translation type="vanished">Чек+Z-звіт</translation>
    </message>
    <message>
        <source>по &amp;номерам</source>
        <translation type="vanished">за &amp;номерами</translation>
    </message>
    <message>
        <source>Начальный номер</source>
        <translation type="vanished">Початковий номер</translation>
    </message>
    <message>
        <source>Конечный номер</source>
        <translation type="vanished">Кінцевий номер</translation>
    </message>
    <message>
        <source>по &amp;датам</source>
        <translation type="vanished">за &amp;датами</translation>
    </message>
    <message>
        <source>Начальная дата</source>
        <translation type="vanished">Початкова дата</translation>
    </message>
    <message>
        <source>Начальное время</source>
        <translation type="vanished">Початковий час</translation>
    </message>
    <message>
        <source>Конечная дата</source>
        <translation type="vanished">Кінцева дата</translation>
    </message>
    <message>
        <source>Конечное время</source>
        <translation type="vanished">Кінцевий час</translation>
    </message>
    <message>
        <source>дд.мм.гг</source>
        <translation type="vanished">дд.мм.рр</translation>
    </message>
    <message>
        <source>чч:мм</source>
        <translation type="vanished">гг:хх</translation>
    </message>
    <message>
        <source>Показать</source>
        <translation type="vanished">Показати</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation type="vanished">Знайти</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation type="vanished">Далі</translation>
    </message>
    <message>
        <source>Назад</source>
        <translation type="vanished">Назад</translation>
    </message>
    <message>
        <source>Экспорт…</source>
        <translation type="vanished">Експорт…</translation>
    </message>
    <message>
        <source>Проверить</source>
        <translation type="vanished">Перевірити</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="vanished">Закрити</translation>
    </message>
    <message>
        <source>&amp;Тип документа</source>
        <translation type="vanished">&amp;Тип документа</translation>
    </message>
    <message>
        <source>Н&amp;ачальный номер</source>
        <translation type="vanished">По&amp;чатковий номер</translation>
    </message>
    <message>
        <source>&amp;Конечный номер</source>
        <translation type="vanished">&amp;Кінцевий номер</translation>
    </message>
    <message>
        <source>&amp;С</source>
        <translation type="vanished">&amp;З</translation>
    </message>
    <message>
        <source>&amp;По</source>
        <translation type="vanished">Д&amp;о</translation>
    </message>
    <message>
        <source>На&amp;йти</source>
        <translation type="vanished">Зна&amp;йти</translation>
    </message>
    <message>
        <source>Выборка</source>
        <translation type="vanished">Вибірка</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation type="vanished">Пошук</translation>
    </message>
    <message>
        <source>Чтение архива</source>
        <translation type="vanished">Читання архіву</translation>
    </message>
    <message>
        <source>Архив РРО</source>
        <translation type="vanished">Архів РРО</translation>
    </message>
    <message>
        <source>Архив РРО  ЗН %1  ФН %2</source>
        <translation type="vanished">Архів РРО  ЗН %1  ФН %2</translation>
    </message>
    <message>
        <source>Документов: %1</source>
        <translation type="vanished">Документів: %1</translation>
    </message>
    <message>
        <source>Показано документов: %1</source>
        <translation type="vanished">Показано документів: %1</translation>
    </message>
    <message>
        <source>Не найдено</source>
        <translation type="vanished">Не знайдено</translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation type="vanished">Експорт</translation>
    </message>
    <message>
        <source>Записано документов: %1</source>
        <translation type="vanished">Записано документів: %1</translation>
    </message>
    <message>
        <source>Проверка архива</source>
        <translation type="vanished">Перевірка архіву</translation>
    </message>
</context>
<context>
    <name>ui::AttentionDialog</name>
    <message>
        <source>Отмена</source>
        <translation type="vanished">Скасувати</translation>
    </message>
</context>
<context>
    <name>ui::JournalWindow</name>
    <message>
        <source>Форма запроса и отображения данных</source>
        <translation type="vanished">Форма запиту та відображення даних</translation>
    </message>
    <message>
        <source>Документы</source>
        <translation type="vanished">Документи</translation>
    </message>
    <message>
        <source>по номерам</source>
        <translation type="vanished">за номерами</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation type="vanished">Z-звіт</translation>
    </message>
    <message>
        <source>Чек</source>
        <translation type="vanished">Чек</translation>
    </message>
    <message>
        <source>Чек+Z-отчет</source>
        <translation type="vanished">Чек+Z-звіт</translation>
    </message>
    <message>
        <source>&amp;Тип документа</source>
        <translation type="vanished">&amp;Тип документа</translation>
    </message>
    <message>
        <source>П&amp;ароль</source>
        <translation type="vanished">П&amp;ароль</translation>
    </message>
    <message>
        <source>&amp;Начальный номер</source>
        <translation type="vanished">&amp;Початковий номер</translation>
    </message>
    <message>
        <source>&amp;Конечный номер</source>
        <translation type="vanished">&amp;Кінцевий номер</translation>
    </message>
    <message>
        <source>Получить</source>
        <translation type="vanished">Отримати</translation>
    </message>
    <message>
        <source>Печать на РРО</source>
        <translation type="vanished">Друк на РРО</translation>
    </message>
    <message>
        <source>по датам</source>
        <translation type="vanished">за датами</translation>
    </message>
    <message>
        <source>Вернуть номера</source>
        <translation type="vanished">Повернути номери</translation>
    </message>
    <message>
        <source>Н&amp;ачальная дата</source>
        <translation type="vanished">Початкова &amp;дата</translation>
    </message>
    <message>
        <source>Ко&amp;нечная дата</source>
        <translation type="vanished">Кінц&amp;ева дата</translation>
    </message>
    <message>
        <source>&amp;Время</source>
        <translation type="vanished">&amp;Час</translation>
    </message>
    <message>
        <source>дд.мм.гг</source>
        <translation type="vanished">дд.мм.рр</translation>
    </message>
    <message>
        <source>чч:мм</source>
        <translation type="vanished">гг:хх</translation>
    </message>
    <message>
        <source>Конечное время</source>
        <translation type="vanished">Кінцевий час</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation type="vanished">Зберегти</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="vanished">Закрити</translation>
    </message>
</context>
<context>
    <name>ui::MainWindow</name>
    <message>
        <source>%1, %2 бод, %3</source>
        <translation type="vanished">%1, %2 бод, %3</translation>
    </message>
    <message>
        <source>Соединение с РРО</source>
        <translation type="vanished">З&apos;єднання з РРО</translation>
    </message>
    <message>
        <source>Подключение к последовательному порту</source>
        <translation type="vanished">Підключення до послідовного порту</translation>
    </message>
    <message>
        <source>&amp;Последовательный порт:</source>
        <translation type="vanished">&amp;Послідовний порт:</translation>
    </message>
    <message>
        <source>&amp;Скорость порта (бод):</source>
        <translation type="vanished">&amp;Швидкість порту (бод):</translation>
    </message>
    <message>
        <source>Индикатор подключения</source>
        <translation type="vanished">Індикатор підключення</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation type="vanished">Знайти</translation>
    </message>
    <message>
        <source>Найти порт, скорость и протокол регистратора</source>
        <translation type="vanished">Знайти порт, швидкість і протокол реєстратора</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="vanished">Закрити</translation>
    </message>
    <message>
        <source>КЛЭФ</source>
        <translation type="vanished">КЛЕФ</translation>
    </message>
    <message>
        <source>Вывод документов в электронном виде</source>
        <translation type="vanished">Виведення документів в електронному вигляді</translation>
    </message>
    <message>
        <source>Архив</source>
        <translation type="vanished">Архів</translation>
    </message>
    <message>
        <source>Пополнить архив</source>
        <translation type="vanished">Поповнити архів</translation>
    </message>
    <message>
        <source>Открыть архив…</source>
        <translation type="vanished">Відкрити архів…</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation type="vanished">Мова</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation type="vanished">Про програму...</translation>
    </message>
    <message>
        <source>Файл fpinit.ini не записывается: язык не сохранен</source>
        <translation type="vanished">Файл fpinit.ini не записується: мову не збережено</translation>
    </message>
    <message>
        <source>Тестирование USB устройств: Шаг %1</source>
        <translation type="vanished">Тестування USB-пристроїв: крок %1</translation>
    </message>
    <message>
        <source>Поиск: %1</source>
        <translation type="vanished">Пошук: %1</translation>
    </message>
    <message>
        <source>Регистратор не найден</source>
        <translation type="vanished">Реєстратор не знайдено</translation>
    </message>
    <message>
        <source>Найден: %1. %2</source>
        <translation type="vanished">Знайдено: %1. %2</translation>
    </message>
    <message>
        <source>Открыть архив</source>
        <translation type="vanished">Відкрити архів</translation>
    </message>
    <message>
        <source>Архив РРО (*.talqen.db)</source>
        <translation type="vanished">Архів РРО (*.talqen.db)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation type="vanished">Усі файли (*)</translation>
    </message>
    <message>
        <source>Ответ РРО на проверку связи не называет заводской номер</source>
        <translation type="vanished">Відповідь РРО на перевірку зв&apos;язку не називає заводський номер</translation>
    </message>
    <message>
        <source>Пополнение архива</source>
        <translation type="vanished">Поповнення архіву</translation>
    </message>
    <message>
        <source>Запрос номера последнего документа</source>
        <translation type="vanished">Запит номера останнього документа</translation>
    </message>
    <message>
        <source>Запрошено %1 из %2, получено %3, в архиве %4</source>
        <translation type="vanished">Запитано %1 з %2, отримано %3, в архіві %4</translation>
    </message>
    <message>
        <source>РРО не сообщил номер последнего документа</source>
        <translation type="vanished">РРО не повідомив номер останнього документа</translation>
    </message>
</context>
<context>
    <name>ui::TalqenApplication</name>
    <message>
        <source>Непредвиденная ошибка</source>
        <translation type="vanished">Непередбачена помилка</translation>
    </message>
</context>
<context>
    <name>ui::VerificationWindow</name>
    <message>
        <source>Проверка архива</source>
        <translation type="vanished">Перевірка архіву</translation>
    </message>
    <message>
        <source>Находки</source>
        <translation type="vanished">Знахідки</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation type="vanished">Зберегти</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="vanished">Закрити</translation>
    </message>
    <message>
        <source>Текст (*.txt)</source>
        <translation type="vanished">Текст (*.txt)</translation>
    </message>
</context>
</TS>
