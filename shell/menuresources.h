#pragma once

#include <QKeySequence>
#include <QString>
#include <QVector>

// The editor's menus, accelerators, toolbar and string table as data.

// One menu entry: a command id with its label, a separator (id 0), or the recent-file
// placeholder (ID_FILE_MRU_FILE1), which the recent-file list replaces.
struct MenuItem {
    int id;
    const char* label; // UTF-8, the Japanese source text; menuText() gives the shown one
};

struct MenuDefinition {
    const char* title; // UTF-8
    QVector<MenuItem> items;
};

// A menu title or label as shown: `source`, one of the tables' texts, in the interface's
// language.
QString menuText(const char* source);

// Menu 128 (no stage open) and menu 129 (a stage window active).
const QVector<MenuDefinition>& menu128();
const QVector<MenuDefinition>& menu129();

// The 編集 menu's 変形 submenu: the transforms of the selection or the whole stage.
const MenuDefinition& transformMenu();

// The label of `id` in either menu, empty when no menu lists it.
QString menuLabel(int id);

struct Accelerator {
    QKeySequence keys;
    int id;
};
// Accelerator table 128, shared by both menus.
const QVector<Accelerator>& acceleratorTable();

// Toolbar 128, left to right; 0 is a separator.
const QVector<int>& toolbarButtons();

// String table: the prompt of a command (status-bar text, then a line end and the tool tip),
// empty when the command has none.
QString commandPrompt(int id);
QString statusPrompt(int id);  // the part before the line end
QString toolTipPrompt(int id); // the part after it

// String 57345: the idle text of the status bar's message pane.
QString readyText();
// The status-bar indicators after the message pane: kana, caps, num and scroll lock.
QVector<QString> indicatorTexts();
