#pragma once

#include <QString>
#include <vector>

// The main window's menus and toolbars as data: what each control is called, what it shows
// and which command it runs.
namespace Commands {

enum class Id {
    None, New, Templates, Open, Save, PageWizard, Find, Close,
    Undo, Redo, SelectAll, Copy, Paste, Cut, Delete, WrapOn, WrapOff,
    Markup, HighlightHtml, HighlightPhp, HighlightCss, HighlightXml, About,
    Submenu, // the row opens a menu of the rows below it
};

// One row of a menu tree: level 0 is a menu of the bar, 1 its item, 2 an item of a submenu.
// A row without a name is a separator.
struct MenuEntry {
    int level;
    const char *name;
    QString caption;
    int key; // Ctrl (16384) plus the key code, 0 for none
    Id command;
    const char *icon = nullptr;
    bool enabled = true;
};

struct ToolEntry {
    const char *name; // nullptr: a separator
    QString hint;
    Id command;
    const char *icon = nullptr;
};

struct TextButton {
    const char *name; // nullptr: a separator
    QString caption;
    int width;
    Id command;
    bool bold = false;
};

const std::vector<MenuEntry> &mainMenu();
const std::vector<MenuEntry> &editorMenu();
const std::vector<ToolEntry> &toolBar1();
const std::vector<ToolEntry> &toolBar3();
const std::vector<TextButton> &toolBar2();

} // namespace Commands
