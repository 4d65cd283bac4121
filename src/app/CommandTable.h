#pragma once

#include <QRect>
#include <QString>
#include <Qt>
#include <vector>

// The main window's menus and toolbars as data: what each control is called, what it shows
// and which command it runs.
namespace Commands {

enum class Id {
    None, New, Templates, Open, Save, PageWizard, Find, Close,
    Undo, Redo, SelectAll, Copy, Paste, Cut, Delete, WrapOn, WrapOff,
    Markup, HighlightHtml, HighlightPhp, HighlightCss, HighlightXml, About,
    PreviewBack, PreviewForward, PreviewStop, PreviewRefresh,
    EncodingWindows1250, EncodingIso88592, EncodingUtf8,
    MarkupAtCaret, // a check item: markup goes where the caret is instead of at the end
    Submenu, // the row opens a menu of the rows below it
};

inline constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);

// One row of a menu tree: level 0 is a menu of the bar, 1 its item, 2 an item of a submenu.
// A row without a name is a separator.
struct MenuEntry {
    int level;
    const char *name;
    QString caption;
    QKeyCombination key; // kNoKey for none
    Id command;
    const char *icon = nullptr;
    bool enabled = true;
    bool checkable = false; // an item that is checked or not; its command reads which
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

// A self-painted button of the syntax-colouring page, placed on that page's group box.
struct ColourButton {
    const char *name;
    const char *caption;
    QRect geometry;
    Id command;
};

const std::vector<MenuEntry> &mainMenu();
const std::vector<MenuEntry> &editorMenu();
const std::vector<ToolEntry> &toolBar1();
const std::vector<ToolEntry> &toolBar3();
const std::vector<TextButton> &toolBar2();
const std::vector<ColourButton> &colouringPage();

} // namespace Commands
