// The editing keys of a text box and of the grid's cell editor, delivered
// by the shell as the user presses them: caret moves, Shift-selection,
// Delete, and the clipboard keys, a paste being typing like any other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/ui_expect.h"
#include "platform/grid/spread.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz::ui {
namespace {

using grid::Spread;

struct Stroke {
  int key;
  int shift;
};

struct EditForm : Form {
  EditForm() : Form("frmEdit") {
    txt.tab_index = 0;
    spr.tab_index = 1;
    spr.SetMaxCols(2);
    spr.SetMaxRows(2);
    txt.on_key_press = [this](int& ascii) {
      presses.push_back(ascii);
      if (ascii == '#') ascii = 0;  // the program refuses it
    };
  }
  TextBox& txt = Add<TextBox>("txtMemo");
  Spread& spr = Add<Spread>("sprResult");
  std::vector<int> presses;
};

// Caret and selection after keys on "abcdef" with the caret at its end.
struct Case {
  const char* name;
  std::vector<Stroke> keys;
  const char* typed;   // typed after the keys
  const char* result;  // the text afterwards
};

const Case kCases[] = {
    {"home then type", {{kKeyHome, 0}}, "X", "Xabcdef"},
    {"left twice then type", {{kKeyLeft, 0}, {kKeyLeft, 0}}, "X", "abcdXef"},
    {"shift-left selects and typing replaces", {{kKeyLeft, kShiftMask}, {kKeyLeft, kShiftMask}}, "X", "abcdX"},
    {"shift-home then delete", {{kKeyRight, 0}, {kKeyLeft, 0}, {kKeyHome, kShiftMask}, {kKeyDelete, 0}}, "", "f"},
    {"home, shift-end, back", {{kKeyHome, 0}, {kKeyEnd, kShiftMask}, {kKeyBack, 0}}, "", ""},
    {"delete at the start", {{kKeyHome, 0}, {kKeyDelete, 0}}, "", "bcdef"},
    {"left on a selection goes to its start", {{kKeyLeft, kShiftMask}, {kKeyLeft, kShiftMask}, {kKeyLeft, 0}}, "X",
     "abcdXef"},
    {"back in the middle", {{kKeyLeft, 0}, {kKeyBack, 0}}, "", "abcdf"},
};

TEST(EditingKeys, ATextBoxMovesItsCaretAndSelectionLikeAnyTextBox) {
  for (const Case& c : kCases) {
    ScriptedShell shell;
    EditForm form;
    ASSERT_TRUE(shell.Drive([&] {
      form.Show();
      form.txt.SetText("abcdef");
    }));
    for (const Stroke& k : c.keys) shell.Key(k.key, k.shift);
    ASSERT_TRUE(shell.Play());
    if (*c.typed != '\0') {
      ASSERT_TRUE(shell.Drive([&] { shell.UserType(c.typed); }));
    }
    EXPECT_EQ(form.txt.text(), c.result) << c.name;
    EXPECT_SCRIPT_OK(shell);
  }
}

// Ctrl+Z after edits of "abc" (caret at its end): what the text box shows.
struct UndoCase {
  const char* name;
  std::vector<std::string> steps;  // typed texts; "<" a Left key, "^" Ctrl+Z, "~" a Back
  const char* result;
};

const UndoCase kUndoCases[] = {
    {"characters typed one after another are one edit", {"x", "y", "z", "^"}, "abc"},
    {"undone twice, the edit comes back", {"xyz", "^", "^"}, "abcxyz"},
    {"typing after a caret move is another edit", {"x", "<", "y", "^"}, "abcx"},
    {"an erased character comes back", {"~", "^"}, "abc"},
    {"nothing to undo", {"^"}, "abc"},
};

TEST(EditingKeys, CtrlZUndoesTheLastEditAsATextBoxDoes) {
  for (const UndoCase& c : kUndoCases) {
    ScriptedShell shell;
    EditForm form;
    ASSERT_TRUE(shell.Drive([&] {
      form.Show();
      form.txt.SetText("abc");
    }));
    for (const std::string& step : c.steps) {
      if (step == "<") {
        shell.Key(kKeyLeft);
      } else if (step == "^") {
        shell.Key('Z', kCtrlMask);
      } else if (step == "~") {
        shell.Key(kKeyBack);
      } else {
        shell.Do([&shell, step] { shell.UserType(step); });
      }
    }
    ASSERT_TRUE(shell.Play());
    EXPECT_EQ(form.txt.text(), c.result) << c.name;
    EXPECT_SCRIPT_OK(shell);
  }

  // A text the program sets is not undone; a locked box undoes nothing.
  ScriptedShell shell;
  EditForm form;
  ASSERT_TRUE(shell.Drive([&] {
    form.Show();
    form.txt.SetText("abc");
    shell.UserType("d");
    form.txt.SetText("set");
  }));
  shell.Key('Z', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.txt.text(), "set");
  ASSERT_TRUE(shell.Drive([&] { shell.UserType("x"); }));
  form.txt.locked = true;
  shell.Key('Z', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.txt.text(), "setx");
  EXPECT_SCRIPT_OK(shell);
}

TEST(EditingKeys, TheGridsCellEditorMovesItsCaretAndSelectionLikeATextBox) {
  for (const Case& c : kCases) {
    ScriptedShell shell;
    EditForm form;
    ASSERT_TRUE(shell.Drive([&] {
      form.Show();
      form.spr.SetText(1, 1, "abcdef");
      form.spr.SetFocus();
      form.spr.SetEditMode(true);
    }));
    for (const Stroke& k : c.keys) shell.Key(k.key, k.shift);
    ASSERT_TRUE(shell.Play());
    if (*c.typed != '\0') {
      ASSERT_TRUE(shell.Drive([&] { shell.UserType(c.typed); }));
    }
    EXPECT_EQ(form.spr.edit_text(), c.result) << c.name;
    EXPECT_EQ(form.spr.active_col(), 1) << c.name << ": the arrows stay in the cell while editing";
    EXPECT_SCRIPT_OK(shell);
  }
}

TEST(EditingKeys, CopyAndPasteGoThroughTheClipboardAndAPasteIsTyping) {
  ScriptedShell shell;
  EditForm form;
  form.txt.max_length = 5;
  ASSERT_TRUE(shell.Drive([&] {
    form.Show();
    form.txt.SetText("胸部#異常");
  }));
  shell.Key(kKeyHome).Key(kKeyEnd, kShiftMask).Key('C', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(ClipboardText(), "胸部#異常");

  ASSERT_TRUE(shell.Drive([&] { form.txt.SetText("所見"); }));
  form.presses.clear();
  shell.Key('V', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.txt.text(), "所見胸部異") << "the program refused '#'; the length limit holds";
  EXPECT_EQ(form.presses.size(), 5U) << "KeyPress saw every pasted character";

  shell.Key('A', kCtrlMask).Key('X', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.txt.text(), "");
  EXPECT_EQ(ClipboardText(), "所見胸部異");

  // In the grid: a paste into a numeric cell keeps only what the cell takes.
  SetClipboardText("12.5kg\r\nsecond line");
  form.spr.SetCellType(grid::Range::Cell(1, 1), grid::CellType::kFloat);
  shell.Do([&] { form.spr.SetFocus(); }).Key('V', kCtrlMask).Key(kKeyReturn);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.spr.TextAt(1, 1), "12.5");
  SetClipboardText("");
  shell.Key('C', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(ClipboardText(), "12.5") << "outside editing Ctrl+C copies the cell";
  EXPECT_SCRIPT_OK(shell);
}

TEST(EditingKeys, APasteTypesNeitherControlCharactersNorCharactersTheCodePageLacks) {
  // Into a text box and into a text cell of the grid limited to 8 bytes of
  // the code page.
  SetClipboardText("所見\b\t😀あり\x7F〜ok\nsecond line");
  ScriptedShell shell;
  EditForm form;
  ASSERT_TRUE(shell.Drive([&] {
    form.Show();
    form.spr.SetMaxEditLen(grid::Range::Cell(1, 1), 8);
  }));
  form.presses.clear();
  shell.Key('V', kCtrlMask);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.txt.text(), "所見あり〜ok");
  EXPECT_EQ(form.presses.size(), 8U) << "KeyPress saw no control character";

  shell.Do([&] { form.spr.SetFocus(); }).Key('V', kCtrlMask).Key(kKeyReturn);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.spr.TextAt(1, 1), "所見あり") << "no '?' in place of the emoji";

  // Typed one by one through the input method, the emoji is refused too.
  ASSERT_TRUE(shell.Drive([&] { form.txt.SetText(""); }));
  shell.Do([&] { form.txt.SetFocus(); });
  ASSERT_TRUE(shell.Play());
  ASSERT_TRUE(shell.Drive([&] { shell.UserType("肺😀"); }));
  EXPECT_EQ(form.txt.text(), "肺");
  EXPECT_SCRIPT_OK(shell);
}

}  // namespace
}  // namespace qz::ui
