// messages.cpp: the message table, its texts as published, and the message log.
#include "calc/messages.h"

#include "platform/sys/format.h"
#include "platform/sys/locale.h"

void MessageLog::Clear() {
  errors.clear();
  warnings.clear();
  infos.clear();
  nothingReported = true;
}

void MessageLog::AddMessage(MessageLevel level, sys::TextView text) {
  std::vector<sys::Text>* list = level == MessageLevel::Error     ? &errors
                                 : level == MessageLevel::Warning ? &warnings
                                 : level == MessageLevel::Information ? &infos
                                                                      : nullptr;
  if (!list) return;
  list->emplace_back(text);
  nothingReported = false;
}

void AppendMessages(MessageLog& to, const MessageLog& from) {
  for (const auto& m : from.errors) to.AddMessage(MessageLevel::Error, m);
  for (const auto& m : from.warnings) to.AddMessage(MessageLevel::Warning, m);
  for (const auto& m : from.infos) to.AddMessage(MessageLevel::Information, m);
}

namespace {

enum class ListForm { None, Details, Pairs };

MessageEntry Entry(std::int32_t id, MessageLevel level, ListForm form, const char16_t* text) {
  MessageEntry e;
  e.id = id;
  e.level = level;
  e.listsPairs = form == ListForm::Pairs;
  e.listsDetails = form == ListForm::Details;
  e.text = text;
  return e;
}

MessageTable MakeTable() {
  using L = MessageLevel;
  using F = ListForm;
  return {
      Entry(0, L::Error, F::None,
            u"Колличество смесй не соответствует ГОСТ 31371.7-2020, приложение Б, пункт Б.1 - требуется 5 смесей."),
      Entry(1, L::Error, F::None,
            u"Колличесвто хроматограмм не соответствует ГОСТ 31371.7-2020, приложение Б, пункты Б.1, Б.4 - "
            u"тремуется не менее 5 анализов 5 смесей."),
      Entry(2, L::Error, F::Details,
            u"Коррекция по давлению проведена не полностью! В следующих хроматограмах не заданно давление:"),
      Entry(3, L::Error, F::Details,
            u"Коррекция по температуре проведена не полностью! В следующих хроматограмах не заданна температура:"),
      Entry(4, L::Error, F::Pairs, u"Следующие компоненты не найдены в списке копмонентов программы:"),
      Entry(5, L::Error, F::Pairs, u"Следующие компоненты не найдены в смесях:"),
      Entry(6, L::Error, F::Pairs, u"Следующие компоненты найдены не во всех смесях:"),
      Entry(7, L::Error, F::Pairs, u"Следующие компоненты не найдены в указанных хроматограммах:"),
      Entry(8, L::Warning, F::Pairs,
            u"Некоторые компоненты не соответствуют условиям линейнойности и соглано ГОСТ 31371.7-2020 "
            u"(приложение Б) были созданы \r\n\tотдельные градуировочные зависимости (до 0,025 моль% и "
            u"свыше 0,025 моль% )."),
      Entry(9, L::Error, F::Pairs,
            u"Концентрация следующих компонентов не попадает в допустимый диапазон ГОСТ 31371.7-2020, "
            u"таблица 1 (метод В):"),
      Entry(10, L::Error, F::Pairs,
            u"Концентрация следующих компонентов не попадает в допустимый диапазон ГОСТ 31371.7-2020, "
            u"таблица 4:"),
  };
}

MessageEntry* FindEntry(MessageTable& table, std::int32_t id) {
  for (auto& e : table)
    if (e.id == id) return &e;
  return nullptr;
}

bool AddItemOnce(MessageEntry& entry, sys::TextView name, sys::TextView detail) {
  for (const auto& item : entry.items) {
    if (sys::EqualNoCase(item.name, name) && sys::EqualNoCase(item.detail, detail)) {
      entry.raised = true;
      return true;
    }
  }
  entry.items.push_back({sys::Text(name), sys::Text(detail)});
  entry.raised = true;
  return true;
}

}  // namespace

MessageTable MakeMessageTable() { return MakeTable(); }

void ResetMessages(MessageTable& table) {
  for (auto& e : table) {
    e.raised = false;
    e.items.clear();
  }
}

bool RaiseMessage(MessageTable& table, std::int32_t id, sys::TextView name, std::optional<sys::TextView> detail) {
  MessageEntry* entry = FindEntry(table, id);
  if (!entry || !entry->listsPairs || name.empty()) return false;
  return AddItemOnce(*entry, name, detail.value_or(sys::TextView()));
}

bool RaiseDetail(MessageTable& table, MessageId id, sys::TextView detail) {
  MessageEntry* entry = FindEntry(table, static_cast<std::int32_t>(id));
  if (!entry || !entry->listsDetails || detail.empty()) return false;
  return AddItemOnce(*entry, sys::TextView(), detail);
}

void RaiseEntry(MessageTable& table, MessageId id) {
  if (MessageEntry* entry = FindEntry(table, static_cast<std::int32_t>(id))) entry->raised = true;
}

void PublishMessages(const MessageTable& table, MessageLog& log) {
  for (const auto& entry : table) {
    if (!entry.raised) continue;
    sys::Text message = entry.text;
    for (const auto& item : entry.items) {
      if (entry.listsPairs && !item.name.empty()) {
        message += sys::Format(u"\r\n\t- %s", item.name);
        if (!item.detail.empty()) message += sys::Format(u", %s", item.detail);
      } else if (!entry.listsPairs && entry.listsDetails && !item.detail.empty()) {
        message += sys::Format(u"\r\n\t- %s", item.detail);
      }
    }
    log.AddMessage(entry.level, message);
  }
}
