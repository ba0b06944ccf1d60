// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/error_codes.hpp"

#include <array>
#include <vector>

#include "messages/status_word.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

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
      {1, TALQEN_NOOP("RegisterError", "Ошибка оборудования!\n "), {TALQEN_NOOP("RegisterError", "Неопределенная ошибка оборудования!"), TALQEN_NOOP("RegisterError", "Ошибка принтера!"), TALQEN_NOOP("RegisterError", "Ошибка RAM!"), TALQEN_NOOP("RegisterError", "Ошибка контрольной суммы памяти программы!"), TALQEN_NOOP("RegisterError", "Ошибка Flash памяти!"), TALQEN_NOOP("RegisterError", "Ошибка дисплея!"), TALQEN_NOOP("RegisterError", "Ошибка часов, необходимо скорректировать время!"), TALQEN_NOOP("RegisterError", "Ошибка, возникшая в связи с понижением напряжения питания!"), TALQEN_NOOP("RegisterError", "SIM: отказ оборудования!"), TALQEN_NOOP("RegisterError", "MMC: отказ оборудования!")}},
      {2, {}, {TALQEN_NOOP("RegisterError", "Нет команды с таким кодом!"), TALQEN_NOOP("RegisterError", "Данная функция не поддерживается!"), TALQEN_NOOP("RegisterError", "В сообщении нет данных"), TALQEN_NOOP("RegisterError", "Переполнение буфера приемника/передатчика!")}},
      {5, TALQEN_NOOP("RegisterError", "Ошибка фискальной памяти!\n "), {TALQEN_NOOP("RegisterError", "Нет свободного места для записи в ФП!"), TALQEN_NOOP("RegisterError", "Ошибка записи в фискальную память!"), TALQEN_NOOP("RegisterError", "Заводской номер не установлен!"), TALQEN_NOOP("RegisterError", "Дата текущей записи более ранняя \n   чем дата предыдущей записи!"), TALQEN_NOOP("RegisterError", "Запрещен выход за пределы суток!"), TALQEN_NOOP("RegisterError", "Данные в фискальной памяти неверны!"), TALQEN_NOOP("RegisterError", "Фискальная память исчерпана!"), TALQEN_NOOP("RegisterError", "Данная команда выполняется только в фискальном режиме!"), TALQEN_NOOP("RegisterError", "Дата и время не были установлены \nс момента последнего аварийного обнуления ОЗУ!"), TALQEN_NOOP("RegisterError", "С начала смены прошло более 24х часов!"), TALQEN_NOOP("RegisterError", "Необходимо скорректировать время!"), TALQEN_NOOP("RegisterError", "Ошибка в формате таблицы!"), TALQEN_NOOP("RegisterError", "ДОшибка в формате даты!"), TALQEN_NOOP("RegisterError", "Ошибка в формате времени!"), TALQEN_NOOP("RegisterError", "Устанавливаемое время меньше текущего!")}},
      {6, TALQEN_NOOP("RegisterError", "Неверный пароль доступа!"), {}},
      {7, TALQEN_NOOP("RegisterError", "Команда не может быть выполнена в данном состоянии регистратора!\n"), {TALQEN_NOOP("RegisterError", "Неверный режим регистратора (перемычка)!"), TALQEN_NOOP("RegisterError", "Команда невыполнима в данном состоянии смены!"), TALQEN_NOOP("RegisterError", "Необходимо выгрузить контрольную ленту (бумажную/подписанную)!"), TALQEN_NOOP("RegisterError", "Регистратор находится в автономном режиме!")}},
      {8, TALQEN_NOOP("RegisterError", "При выполнении операции \n  обнаружено арифметическое переполнение!"), {}},
      {9, TALQEN_NOOP("RegisterError", "Не обнулено!"), {TALQEN_NOOP("RegisterError", "Не очищено!"), TALQEN_NOOP("RegisterError", "Чтение-запись по неинициализированному указателю!"), TALQEN_NOOP("RegisterError", "Адрес-параметр за пределами зоны!"), TALQEN_NOOP("RegisterError", "Выделен недостаточный буфер!"), TALQEN_NOOP("RegisterError", "Ошибка данных")}},
      {10, TALQEN_NOOP("RegisterError", "Ошибка работы с базой товаров!\n "), {TALQEN_NOOP("RegisterError", "Нет свободного места для выполнения команды!"), TALQEN_NOOP("RegisterError", "Длинна записи больше максимума (>255)!"), TALQEN_NOOP("RegisterError", "Артикул с данным кодом не найден!"), TALQEN_NOOP("RegisterError", "Индекс за пределами базы!"), TALQEN_NOOP("RegisterError", "Артикул с данным кодом существует!"), TALQEN_NOOP("RegisterError", "Налог запрещен!")}},
      {11, TALQEN_NOOP("RegisterError", "Ошибка работы с продажами!\n "), {TALQEN_NOOP("RegisterError", "Неверное состояние документа!"), TALQEN_NOOP("RegisterError", "Недостаточно свободного места для выполнения команды!"), TALQEN_NOOP("RegisterError", "Неизвестный тип продажи!"), TALQEN_NOOP("RegisterError", "Аннуляция: не может начинаться с данной операции!"), TALQEN_NOOP("RegisterError", "Аннуляция: данная операция в чеке не найдена!"), TALQEN_NOOP("RegisterError", "Аннуляция: последовательность неполная!"), TALQEN_NOOP("RegisterError", "Аннулировать нечего!"), TALQEN_NOOP("RegisterError", "Копия чека недоступна!"), TALQEN_NOOP("RegisterError", "В кассе недостаточно наличных денег для выполнения операции!"), TALQEN_NOOP("RegisterError", "Указанный тип оплаты запрещен для данного чека!"), TALQEN_NOOP("RegisterError", "Сдача запрещена с данного типа оплаты!"), TALQEN_NOOP("RegisterError", "Значение скидки вышло за допустимый диапазон!"), TALQEN_NOOP("RegisterError", "Переполнение итога по чеку!"), TALQEN_NOOP("RegisterError", "Переполнение по оплатам в чеке!"), TALQEN_NOOP("RegisterError", "Переполнение буфера!"), TALQEN_NOOP("RegisterError", "Продажа: ошибка в количестве!"), TALQEN_NOOP("RegisterError", "Продажа: ошибка в цене!"), TALQEN_NOOP("RegisterError", "Аннуляция: удаляемая последовательность заблокирована!")}},
      {240, TALQEN_NOOP("RegisterError", "Ошибка форматированной строки!\n "), {TALQEN_NOOP("RegisterError", "Форматированная строка: параметры!"), TALQEN_NOOP("RegisterError", "Форматированная строка: тип данных!"), TALQEN_NOOP("RegisterError", "Форматированная строка: выбор шрифта!"), TALQEN_NOOP("RegisterError", "Форматированная строка: выравнивание!"), TALQEN_NOOP("RegisterError", "Форматированная строка: позиции в строке!")}},
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
    text = text::say(TALQEN_PHRASE("RegisterError", "Таймаут устройства! Ошибка!"));
    return false;
  }
  // A NAK or a damaged reply carries no code of its own: the error field still holds
  // the previous reply's, which must not pass for an answer.
  if (result.Status & (status::kNak | status::kChecksumMismatch)) {
    text = status::message_of(*status::first_reported_bit(result.Status));
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
    text = text::say(TALQEN_PHRASE("RegisterError", "Неправильный формат поля номер %1!"), {std::to_string(detail)});
    return false;
  }
  if (group == kFieldValueGroup) {
    text = text::say(TALQEN_PHRASE("RegisterError", "Значение поля номер %1 выходит за допустимый диапазон!"),
                     {std::to_string(detail)});
    return false;
  }
  for (const GroupMessages& g : group_messages()) {
    if (g.group != group) continue;
    // Heading and detail are translated apart: the heading is shared by the group's details.
    const auto say = [](std::string_view russian) { return text::say({"RegisterError", russian}); };
    text = g.heading.empty() ? std::string() : say(g.heading);
    if (!g.details.empty())
      text += detail < static_cast<int>(g.details.size())
                  ? say(g.details[static_cast<std::size_t>(detail)])
                  : text::say(TALQEN_PHRASE("RegisterError", "Неизвестная ошибка!"));
    break;
  }
  return false;
}

}  // namespace messages
