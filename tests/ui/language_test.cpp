// SPDX-License-Identifier: GPL-3.0-or-later
// The windows in both languages: in Ukrainian no text a window shows, tells a tooltip or
// names to a screen reader is left in Russian, and Qt's own texts (the file dialog, a
// field's context menu) speak Ukrainian too; back in Russian every text is as before.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <set>
#include <string>
#include <vector>

#include "program_fixture.hpp"
#include "support/temp_dir.hpp"
#include "ui/verification_window.hpp"

namespace {

using testing_support::read_file;
using ui_testing::Program;
using ui_testing::q;

// Texts that are the same in Ukrainian as in Russian, each once.
const std::set<QString> kSameInBoth = {
    q("Русский"),      q("Українська"), q("Тип документа"), q("&Тип документа"), q("Чек"), q("П&ароль"),
    q("Назад"),
};

// Every text a person meets in the window and its children: captions, titles, items,
// tooltips, accessible names, menus and their items, table headers. In the order the
// widgets were made, so that two walks of the same windows pair up.
std::vector<std::pair<QString, QString>> texts_of(QWidget* window) {
  std::vector<std::pair<QString, QString>> texts;
  const auto add = [&](const QObject* where, const char* what, const QString& text) {
    texts.emplace_back(where->metaObject()->className() + QStringLiteral(" ") + QString::fromLatin1(what), text);
  };
  QList<QWidget*> widgets = window->findChildren<QWidget*>();
  widgets.prepend(window);
  for (QWidget* w : widgets) {
    if (w->isWindow()) add(w, "title", w->windowTitle());
    add(w, "tooltip", w->toolTip());
    add(w, "accessible name", w->accessibleName());
    if (auto* l = qobject_cast<QLabel*>(w)) add(w, "text", l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) add(w, "text", b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) add(w, "title", g->title());
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) add(w, "item", c->itemText(i));
    if (auto* m = qobject_cast<QMenu*>(w)) add(w, "title", m->title());
    if (auto* t = qobject_cast<QTableView*>(w))
      for (int i = 0; i < t->model()->columnCount(); ++i)
        add(w, "header", t->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString());
    for (const QAction* a : w->actions()) {
      add(a, "text", a->text());
      add(a, "tooltip", a->toolTip());
    }
  }
  return texts;
}

bool has_cyrillic(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) return true;
  return false;
}

// Letters Russian has and Ukrainian has not.
bool has_russian_letters(const QString& text) {
  for (const QChar c : text.toLower())
    if (c == QChar(0x044B) || c == QChar(0x044D) || c == QChar(0x044A) || c == QChar(0x0451)) return true;
  return false;
}

class BothLanguages : public Program {
 protected:
  std::vector<QWidget*> every_window() {
    return {&windows->main_window,  &windows->journal_window, &windows->attention,
            &windows->about_box,    &windows->archive_window, windows->archive_window.verification_window};
  }
  std::vector<std::pair<QString, QString>> walk() {
    QCoreApplication::processEvents();  // the change of language reaches the windows as an event
    std::vector<std::pair<QString, QString>> all;
    for (QWidget* w : every_window())
      for (auto& t : texts_of(w)) all.push_back(std::move(t));
    return all;
  }
  void speak(QAction* language) {
    language->trigger();
    QCoreApplication::processEvents();
  }
};

TEST_F(BothLanguages, InUkrainianNoTextOfAnyWindowIsLeftInRussianAndBackInRussianEveryTextIsAsBefore) {
  // A verification with findings and a note, so that its table has rows and words.
  app::VerificationReport report;
  archive::Finding missing;
  missing.check = archive::Finding::Check::NotFetched;
  missing.first_document = 3;
  missing.last_document = 5;
  archive::Finding note;
  note.note = true;
  note.check = archive::Finding::Check::NotCheckable;
  note.first_document = note.last_document = 9;
  note.z_number = 41;
  report.findings = {{"", 3, 5, missing}, {"", 9, 9, note}};
  report.summary = {33, 3, 2, 1};
  ui::VerificationWindow& verification = *windows->archive_window.verification_window;
  verification.show_report(report);

  const auto russian = walk();
  ASSERT_GT(russian.size(), 100u);
  speak(windows->main_window.ukrainian_action);
  const auto ukrainian = walk();
  ASSERT_EQ(ukrainian.size(), russian.size());
  std::set<QString> same;
  for (std::size_t i = 0; i < russian.size(); ++i) {
    const QString& text = ukrainian[i].second;
    EXPECT_FALSE(has_russian_letters(text)) << ukrainian[i].first.toStdString() << ": " << text.toStdString();
    if (has_cyrillic(text) && text == russian[i].second && !kSameInBoth.count(text))
      ADD_FAILURE() << ukrainian[i].first.toStdString() << " left in Russian: " << text.toStdString();
    if (has_cyrillic(text) && text == russian[i].second) same.insert(text);
  }
  // Every word listed as the same in both is met, so that the list stays true.
  for (const QString& word : kSameInBoth) EXPECT_TRUE(same.count(word)) << word.toStdString();
  // A few as a reader of Ukrainian expects them.
  EXPECT_EQ(windows->main_window.journal_menu->title(), q("КЛЕФ"));
  EXPECT_EQ(windows->main_window.connect_button->text(), q("Підключити"));
  EXPECT_EQ(verification.windowTitle(), q("Перевірка архіву"));
  EXPECT_EQ(verification.summary_label->text(), q("Документів 33, Z-звітів 3, перевірено 2, розбіжностей 1"));
  EXPECT_EQ(verification.findings_view->model()->index(0, 2).data().toString(),
            q("Цих документів немає в архіві: їх отримає «Поповнити архів»"));
  // The choice is kept in fpinit.ini, under a key of its own.
  EXPECT_NE(read_file(dir.file("fpinit.ini")).find("[Interface]\r\nLanguage=uk\r\n"), std::string::npos);

  speak(windows->main_window.russian_action);
  EXPECT_EQ(walk(), russian);
}

TEST_F(BothLanguages, QtsOwnTextsSpeakTheProgramsLanguage) {
  speak(windows->main_window.ukrainian_action);
  // The file dialog of "Открыть архив…": its buttons are Qt's.
  windows->main_window.ask_archive_to_open();
  QFileDialog* dialog = windows->main_window.findChild<QFileDialog*>();
  ASSERT_NE(dialog, nullptr);
  QStringList buttons;
  for (const QAbstractButton* b : dialog->findChild<QDialogButtonBox*>()->buttons())
    buttons << QString(b->text()).remove(QLatin1Char('&'));
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{q("Відкрити"), q("Скасувати")}));
  EXPECT_EQ(dialog->windowTitle(), q("Відкрити архів"));
  dialog->reject();
  // A field's context menu.
  std::unique_ptr<QMenu> menu(windows->journal_window.first_number_edit->createStandardContextMenu());
  QStringList items;
  for (const QAction* a : menu->actions()) items << a->text().section(QLatin1Char('\t'), 0, 0);  // less the shortcut
  EXPECT_TRUE(items.contains(q("&Копіювати"))) << items.join(QLatin1Char(' ')).toStdString();
  // Back in Russian, Qt speaks Russian too.
  speak(windows->main_window.russian_action);
  menu.reset(windows->journal_window.first_number_edit->createStandardContextMenu());
  items.clear();
  for (const QAction* a : menu->actions()) items << a->text().section(QLatin1Char('\t'), 0, 0);
  EXPECT_TRUE(items.contains(q("&Копировать"))) << items.join(QLatin1Char(' ')).toStdString();
}

}  // namespace
