// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/error_codes.hpp"

#include <array>
#include <vector>

#include "messages/status_word.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace messages {

namespace {

constexpr ErrorEntry kErrors[] = {
    {0x0000, "rExecOK", "Без ошибок"_cp1251},
    {0x0100, "erHW_Unknow", "Неопределенная ошибка оборудования"_cp1251},
    {0x0000, "erHW_Printer", "Ошибка принтера"_cp1251},
    {0x0000, "erHW_Ram", "Ошибка RAM"_cp1251},
    {0x0000, "erHW_Rom", "Ошибка контрольной суммы памяти программы"_cp1251},
    {0x0000, "erHW_Flash", "Ошибка Flash памяти"_cp1251},
    {0x0000, "erHW_Display", "Ошибка дисплея"_cp1251},
    {0x0000, "erHW_Clock", "Ошибка часов"_cp1251},
    {0x0000, "erHW_PowerDown", "Понижение напряжения питания"_cp1251},
    {0x0000, "erHW_SIM", "SIM: отказ оборудования"_cp1251},
    {0x0000, "erHW_SD", "SD: отказ оборудования"_cp1251},
    {0x0200, "rErr_InstrCODE", "Нет команды с таким кодом"_cp1251},
    {0x0000, "err_FunctionAbsent", "Функция не поддерживается"_cp1251},
    {0x0000, "err_MsgNoData", "В сообщении нет данных"_cp1251},
    {0x0000, "err_MsgSize", "Переполнение буфера приемника/передатчика"_cp1251},
    {0x0300, "rErr_FieldFormat", "Формат поля 0xNN03 неверен, где NN -Порядковый номер неверного поля"_cp1251},
    {0x0400, "rErr_FieldValue", "Значение поля 0xNN04 неверен, где NN -Порядковый номер неверного поля"_cp1251},
    {0x0000, "rErr_FieldValue1", ""_cp1251},
    {0x0000, "rErr_FieldValue2", ""_cp1251},
    {0x0000, "rErr_FieldValue3", ""_cp1251},
    {0x0000, "rErr_FieldValue4", ""_cp1251},
    {0x0000, "rErr_FieldValue5", ""_cp1251},
    {0x0000, "rErr_FieldValue6", ""_cp1251},
    {0x0000, "rErr_FieldValue7", ""_cp1251},
    {0x0500, "erFIS_NoFreeSpace", "Нет свободного места в ФП"_cp1251},
    {0x0000, "erFIS_Write", "Ошибка записи в ФП"_cp1251},
    {0x0000, "erFIS_NoZN", "Заводской номер не установлен"_cp1251},
    {0x0000, "erFIS_LastDate", "Дата записи ранее даты предыдущей записи"_cp1251},
    {0x0000, "erFIS_DateChange", "Выход за пределы суток запрещен"_cp1251},
    {0x0000, "erFIS_ErrorLock", "Данные в ФП неверны"_cp1251},
    {0x0000, "erFIS_WriteLock", "ФП исчерпана"_cp1251},
    {0x0000, "erFIS_NoFiscalMode", "Только в фискальном режиме"_cp1251},
    {0x0000, "erFIS_DateIsNoSet", "Дата и время не установлены"_cp1251},
    {0x0000, "erFIS_24hOvf", "Смена длится более 24 часов"_cp1251},
    {0x0000, "erFIS_Clock", "Необходимо скорректировать время"_cp1251},
    {0x0000, "erFIS_TaxTable", "Ошибка в формате таблицы налогов"_cp1251},
    {0x0000, "err_DateFormat", "Ошибка в формате даты"_cp1251},
    {0x0000, "err_TimeFormat", "Ошибка в формате времени"_cp1251},
    {0x0600, "rErrPWD", "неверный пароль доступа"_cp1251},
    {0x0700, "erMODE_Service", "Неверный режим регистратора"_cp1251},
    {0x0000, "erMODE_Shift", "Невыполнимо в данном состоянии смены"_cp1251},
    {0x0000, "erMUST_GET_TL", "Необходимо выгрузить контрольную ленту"_cp1251},
    {0x0800, "rErrMatch", "Арифметическое переполнение"_cp1251},
    {0x0900, "rErrNoClear", "Не очищено"_cp1251},
    {0x0000, "rErrNULLAdress", "Обращение по неинициализированному указателю"_cp1251},
    {0x0000, "rErrOutArea", "Адрес за пределами зоны"_cp1251},
    {0x0000, "rErrLowBuff", "Недостаточный буфер"_cp1251},
    {0x0000, "rErrDataError", "Ошибка данных"_cp1251},
    {0x0A00, "erART_NoFreeSpace", "Нет места в базе товаров"_cp1251},
    {0x0000, "erART_LongLength", "Длина записи больше максимума"_cp1251},
    {0x0000, "erART_CodeNotFount", "Артикул не найден"_cp1251},
    {0x0000, "erART_IndexOutBase", "Индекс за пределами базы"_cp1251},
    {0x0000, "erART_Dublicate", "Артикул уже существует"_cp1251},
    {0x0000, "erART_DisabledTax", "Налог запрещен"_cp1251},
    {0x0B00, "erTRS_InvalidDocState", "Неверное состояние документа"_cp1251},
    {0x0000, "erTRS_NoFreeSpace", "Недостаточно свободного места"_cp1251},
    {0x0000, "erTRS_UnknowType", "Неизвестный тип продажи"_cp1251},
    {0x0000, "erTRS_CancelStart", "Аннуляция не может начинаться с операции"_cp1251},
    {0x0000, "erTRS_CancelNotFound", "Аннулируемая операция не найдена"_cp1251},
    {0x0000, "erTRS_CancelNoFull", "Последовательность аннуляции неполная"_cp1251},
    {0x0000, "erTRS_Nosing4Cancel", "Аннулировать нечего"_cp1251},
    {0x0000, "erTRS_NoAvalCheakCopy", "Копия чека недоступна"_cp1251},
    {0x0000, "erTRS_Cash2Low", "Недостаточно наличных в кассе"_cp1251},
    {0x0000, "erTRS_PayModeDisable", "Тип оплаты запрещен"_cp1251},
    {0x0000, "erTRS_PayReshtaDisable", "Сдача запрещена"_cp1251},
    {0x0000, "erTRS_DiscontOutRange", "Скидка вне допустимого диапазона"_cp1251},
    {0x0000, "erTRS_TotalSummOvf", "Переполнение итога по чеку"_cp1251},
    {0x0000, "erTRS_TotalPayOvf", "Переполнение оплат в чеке"_cp1251},
    {0x0000, "erTRS_AddressRange", "Переполнение буфера"_cp1251},
    {0x0000, "erTRS_Quantity", "Ошибка в количестве"_cp1251},
    {0x0000, "erTRS_Price", "Ошибка в цене"_cp1251},
    {0x0000, "erTRS_CancelLock", "Аннулируемая последовательность заблокирована"_cp1251},
    {0xC000, "erTMPBuff_Header", "TMPBuff: Не соответствует заголовок"_cp1251},
    {0x0000, "rErrTMPBuffCMP", "TMPBuff: данные не совпали с ранее сохраненными"_cp1251},
    {0x0000, "erTMPBuff_OutArea", "TMPBuff: за пределами буфера"_cp1251},
    {0xD000, "rErrSIM_Chain", "SIM: неправильный порядок вычисления хэша"_cp1251},
    {0x0000, "rErrSIM_SignNotValid", "SIM: подпись не совпадает"_cp1251},
    {0x0000, "rErrSIM_LastPublicKeyNotValid", "SIM: текущий открытый ключ не соответствует сохраненному в ФП"_cp1251},
    {0xD100, "rErrSD_Format", "SD: ошибка формата"_cp1251},
    {0x0000, "rErrSD_Create", "SD: ошибка создания файла"_cp1251},
    {0x0000, "rErrSD_Read", "SD: ошибка чтения"_cp1251},
    {0x0000, "rErrSD_Chain", "SD: нарушена цепочка записей"_cp1251},
    {0x0000, "rErrSD_FileNotFound", "SD: файл не найден"_cp1251},
    {0xF000, "erPrmFormatStr_DataPoint", "Форматированная строка: параметры"_cp1251},
    {0x0000, "erPrmFormatStr_DataType", "Форматированная строка: тип данных"_cp1251},
    {0x0000, "erPrmFormatStr_MMode", "Форматированная строка: выбор шрифта"_cp1251},
    {0x0000, "erPrmFormatStr_Justify", "Форматированная строка: выравнивание"_cp1251},
    {0x0000, "erPrmFormatStr_Position", "Форматированная строка: позиции в строке"_cp1251},
};
static_assert(std::size(kErrors) == 88);

// Groups whose text is a heading followed by a message per detail (or the heading alone).
struct GroupMessages {
  int group;
  std::string_view heading;
  std::vector<std::string_view> details;  // empty: the heading is the whole text
};

const std::vector<GroupMessages>& group_messages() {
  static const std::vector<GroupMessages> groups = {
      {1, "Ошибка оборудования!\n "_cp1251, {"Неопределенная ошибка оборудования!"_cp1251, "Ошибка принтера!"_cp1251, "Ошибка RAM!"_cp1251, "Ошибка контрольной суммы памяти программы!"_cp1251, "Ошибка Flash памяти!"_cp1251, "Ошибка дисплея!"_cp1251, "Ошибка часов, необходимо скорректировать время!"_cp1251, "Ошибка, возникшая в связи с понижением напряжения питания!"_cp1251, "SIM: отказ оборудования!"_cp1251, "MMC: отказ оборудования!"_cp1251}},
      {2, ""_cp1251, {"Нет команды с таким кодом!"_cp1251, "Данная функция не поддерживается!"_cp1251, "В сообщении нет данных"_cp1251, "Переполнение буфера приемника/передатчика!"_cp1251}},
      {5, "Ошибка фискальной памяти!\n "_cp1251, {"Нет свободного места для записи в ФП!"_cp1251, "Ошибка записи в фискальную память!"_cp1251, "Заводской номер не установлен!"_cp1251, "Дата текущей записи более ранняя \n   чем дата предыдущей записи!"_cp1251, "Запрещен выход за пределы суток!"_cp1251, "Данные в фискальной памяти неверны!"_cp1251, "Фискальная память исчерпана!"_cp1251, "Данная команда выполняется только в фискальном режиме!"_cp1251, "Дата и время не были установлены \nс момента последнего аварийного обнуления ОЗУ!"_cp1251, "С начала смены прошло более 24х часов!"_cp1251, "Необходимо скорректировать время!"_cp1251, "Ошибка в формате таблицы!"_cp1251, "ДОшибка в формате даты!"_cp1251, "Ошибка в формате времени!"_cp1251, "Устанавливаемое время меньше текущего!"_cp1251}},
      {6, "Неверный пароль доступа!"_cp1251, {}},
      {7, "Команда не может быть выполнена в данном состоянии регистратора!\n"_cp1251, {"Неверный режим регистратора (перемычка)!"_cp1251, "Команда невыполнима в данном состоянии смены!"_cp1251, "Необходимо выгрузить контрольную ленту (бумажную/подписанную)!"_cp1251, "Регистратор находится в автономном режиме!"_cp1251}},
      {8, "При выполнении операции \n  обнаружено арифметическое переполнение!"_cp1251, {}},
      {9, "Не обнулено!"_cp1251, {"Не очищено!"_cp1251, "Чтение-запись по неинициализированному указателю!"_cp1251, "Адрес-параметр за пределами зоны!"_cp1251, "Выделен недостаточный буфер!"_cp1251, "Ошибка данных"_cp1251}},
      {10, "Ошибка работы с базой товаров!\n "_cp1251, {"Нет свободного места для выполнения команды!"_cp1251, "Длинна записи больше максимума (>255)!"_cp1251, "Артикул с данным кодом не найден!"_cp1251, "Индекс за пределами базы!"_cp1251, "Артикул с данным кодом существует!"_cp1251, "Налог запрещен!"_cp1251}},
      {11, "Ошибка работы с продажами!\n "_cp1251, {"Неверное состояние документа!"_cp1251, "Недостаточно свободного места для выполнения команды!"_cp1251, "Неизвестный тип продажи!"_cp1251, "Аннуляция: не может начинаться с данной операции!"_cp1251, "Аннуляция: данная операция в чеке не найдена!"_cp1251, "Аннуляция: последовательность неполная!"_cp1251, "Аннулировать нечего!"_cp1251, "Копия чека недоступна!"_cp1251, "В кассе недостаточно наличных денег для выполнения операции!"_cp1251, "Указанный тип оплаты запрещен для данного чека!"_cp1251, "Сдача запрещена с данного типа оплаты!"_cp1251, "Значение скидки вышло за допустимый диапазон!"_cp1251, "Переполнение итога по чеку!"_cp1251, "Переполнение по оплатам в чеке!"_cp1251, "Переполнение буфера!"_cp1251, "Продажа: ошибка в количестве!"_cp1251, "Продажа: ошибка в цене!"_cp1251, "Аннуляция: удаляемая последовательность заблокирована!"_cp1251}},
      {240, "Ошибка форматированной строки!\n "_cp1251, {"Форматированная строка: параметры!"_cp1251, "Форматированная строка: тип данных!"_cp1251, "Форматированная строка: выбор шрифта!"_cp1251, "Форматированная строка: выравнивание!"_cp1251, "Форматированная строка: позиции в строке!"_cp1251}},
  };
  return groups;
}

constexpr int kFieldFormatGroup = 3;
constexpr int kFieldValueGroup = 4;

// The value of one hexadecimal digit of the code, or -1: the register writes its codes
// with "0"-"9" and "A"-"F" only, so anything else is not a code we know.
int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::span<const ErrorEntry> Errors() { return kErrors; }

std::int32_t error_code_at(std::size_t index) {
  std::int32_t code = 0;
  for (std::size_t i = 0; i <= index && i < std::size(kErrors); ++i)
    code = (i == 0 || kErrors[i].code != 0) ? kErrors[i].code : code + 1;
  return code;
}

bool ReplyAccepted(datecs::RetData result, std::string& text) {
  text.clear();
  if (result.Status & status::kNoReply) {
    text = "Таймаут устройства! Ошибка!"_cp1251;
    return false;
  }
  // A NAK or a damaged reply carries no code of its own: the error field still holds
  // the previous reply's, which must not pass for an answer.
  if (result.Status & (status::kNak | status::kChecksumMismatch)) {
    text = status::first_reported_bit(result.Status)->message;
    return false;
  }
  const std::string_view code = datecs::error_field(result);
  int digits[4];
  for (std::size_t i = 0; i < 4; ++i) {
    digits[i] = i < code.size() ? digit_value(code[i]) : -1;
    if (digits[i] < 0) return false;
  }
  const int detail = digits[0] * 16 + digits[1];
  const int group = digits[2] * 16 + digits[3];
  if (group == 0 && detail == 0) return true;

  if (group == kFieldFormatGroup) {
    text = std::string("Неправильный формат поля номер "_cp1251) + std::to_string(detail) + "!";
    return false;
  }
  if (group == kFieldValueGroup) {
    text = std::string("Значение поля номер "_cp1251) + std::to_string(detail) +
           std::string(" выходит за допустимый диапазон!"_cp1251);
    return false;
  }
  for (const GroupMessages& g : group_messages()) {
    if (g.group != group) continue;
    text = g.heading;
    if (!g.details.empty())
      text += detail < static_cast<int>(g.details.size()) ? g.details[static_cast<std::size_t>(detail)]
                                                          : "Неизвестная ошибка!"_cp1251;
    break;
  }
  return false;
}

}  // namespace messages
