// What an operator expects of any desktop program, on the Qt front end
// (offscreen): the input method's composition shown in place and its
// commit typed into the model, the clipboard keys, dialogs owned by and
// centred on the form that showed them, and the user's window sizes kept.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTableView>
#include <QThread>
#include <QWindow>
#include <memory>
#include <optional>
#include <string>

#include "kit/sample_grid_form.h"
#include "platform/ui/controls.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"
#include "qt/form_window.h"
#include "qt/qt_backend.h"
#include "qt/qt_test_app.h"
#include "qt/spread_view.h"

namespace qz::qt {
namespace {

class QtNativeBehaviour : public ::testing::Test {
 protected:
  QtNativeBehaviour() { TestApp(); }

  template <class T>
  T* Widget(const ui::Control& c) {
    return qobject_cast<T*>(shell->qt().WidgetOf(c));
  }
  static void ClickOn(QWidget* w, QPoint at = {-1, -1}) {
    if (at.x() < 0) at = w->rect().center();
    const QPointF global = w->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }
  static void KeyTo(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
  }
  static void Compose(QWidget* w, const QString& preedit, const QString& commit = {}) {
    QList<QInputMethodEvent::Attribute> attributes;
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, static_cast<int>(preedit.size()), 1);
    QInputMethodEvent event(preedit, attributes);
    if (!commit.isEmpty()) event.setCommitString(commit);
    QApplication::sendEvent(w, &event);
  }
  bool Step(const std::function<void()>& step) { return shell->Step(step); }
  // What the input method hears when it asks `w` whether it composes there
  // and with which hints.
  struct Told {
    bool composes;
    Qt::InputMethodHints hints;
  };
  static Told AskInputMethod(QObject* w) {
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImHints);
    QApplication::sendEvent(w, &query);
    return {query.value(Qt::ImEnabled).toBool(), Qt::InputMethodHints(query.value(Qt::ImHints).toInt())};
  }
  // Gives `form` a caption and a design size of 200x100 pixels at the corner.
  static void MakeSmallDialog(ui::Form& form, const char* caption) {
    form.caption = caption;
    form.Move(0, 0, 3000, 1500);
  }

  std::unique_ptr<QtShell> shell = std::make_unique<QtShell>();
};

TEST_F(QtNativeBehaviour, AComposedTextShowsInATextBoxAndOnlyItsCommitReachesTheModel) {
  testkit::SampleGridForm form;
  std::vector<int> presses;
  form.txtMemo.on_key_press = [&](int& ascii) { presses.push_back(ascii); };
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* edit = Widget<QLineEdit>(form.txtMemo);
  ASSERT_TRUE(Step([&] {
    ClickOn(edit);
    form.txtMemo.SetText("所見:");
    ui::DoEvents();
  }));
  const QImage before = edit->grab().toImage();
  ASSERT_TRUE(Step([&] {
    Compose(edit, QString::fromUtf8("いじょう"));
    ui::DoEvents();
  }));
  EXPECT_EQ(form.txtMemo.text(), "所見:") << "the composition is not typed";
  EXPECT_TRUE(presses.empty());
  EXPECT_NE(edit->grab().toImage(), before) << "the composition is drawn in the box";
  EXPECT_EQ(edit->text().toStdString(), "所見:");

  ASSERT_TRUE(Step([&] {
    Compose(edit, {}, QString::fromUtf8("異常"));
    ui::DoEvents();
  }));
  EXPECT_EQ(form.txtMemo.text(), "所見:異常");
  EXPECT_EQ(presses, (std::vector<int>{0x7570, 0x5E38})) << "typed text: KeyPress per character";
  EXPECT_EQ(edit->text().toStdString(), "所見:異常");
}

TEST_F(QtNativeBehaviour, AComposedTextShowsInTheActiveCellWithACaretAndItsCommitIsTyped) {
  testkit::SampleGridForm form;
  ASSERT_TRUE(Step([&] {
    form.Show();
    form.sprResult.SetComboEditable(grid::Range::Cell(3, 3), true);
    form.sprResult.MoveActiveCell(3, 3);
    ui::DoEvents();
  }));
  auto* view = Widget<SpreadView>(form.sprResult);
  QTableView* table = view->table();
  const QRect cell = table->visualRect(table->model()->index(3, 3));
  const QImage before = table->viewport()->grab(cell).toImage();
  ASSERT_TRUE(Step([&] {
    Compose(table, QString::fromUtf8("ようせい"));
    ui::DoEvents();
  }));
  EXPECT_EQ(view->preedit().toStdString(), "ようせい");
  EXPECT_FALSE(form.sprResult.edit_mode()) << "nothing typed yet";
  EXPECT_NE(table->viewport()->grab(cell).toImage(), before) << "the composition is drawn in the cell";
  const QRect caret = table->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_TRUE(table->rect().contains(caret.center()));
  EXPECT_GT(caret.left(), table->viewport()->mapTo(table, cell.topLeft()).x()) << "after the composition";

  ASSERT_TRUE(Step([&] {
    Compose(table, {}, QString::fromUtf8("陽性"));
    ui::DoEvents();
  }));
  EXPECT_TRUE(view->preedit().isEmpty());
  EXPECT_TRUE(form.sprResult.edit_mode());
  EXPECT_EQ(form.sprResult.edit_text(), "陽性");
  ASSERT_TRUE(Step([&] { KeyTo(table, Qt::Key_Return, "\r"); }));
  EXPECT_EQ(form.sprResult.TextAt(3, 3), "陽性") << "Enter stores the typed text";
}

TEST_F(QtNativeBehaviour, ACompositionIsShownOnlyWhereItCanBeTypedAndGoesWithTheFocus) {
  testkit::SampleGridForm form;
  ASSERT_TRUE(Step([&] {
    form.Show();
    form.sprResult.SetComboEditable(grid::Range::Column(3), true);
    form.sprResult.MoveActiveCell(3, 2);  // row 2 is locked
    form.sprResult.SetFocus();
    ui::DoEvents();
  }));
  auto* view = Widget<SpreadView>(form.sprResult);
  QTableView* table = view->table();
  const std::string locked = form.sprResult.TextAt(3, 2);
  ASSERT_TRUE(Step([&] {
    Compose(table, QString::fromUtf8("ようせい"));
    ui::DoEvents();
  }));
  EXPECT_TRUE(view->preedit().isEmpty()) << "a locked cell shows no composition";
  ASSERT_TRUE(Step([&] {
    Compose(table, {}, QString::fromUtf8("陽性"));
    ui::DoEvents();
  }));
  EXPECT_EQ(form.sprResult.TextAt(3, 2), locked);
  EXPECT_FALSE(form.sprResult.edit_mode());

  // In a cell that takes typing, the composition shows until the grid loses
  // the focus; then it is gone and nothing was typed.
  const std::string open = form.sprResult.TextAt(3, 3), memo = form.txtMemo.text();
  ASSERT_TRUE(Step([&] {
    form.sprResult.MoveActiveCell(3, 3);
    Compose(table, QString::fromUtf8("ようせい"));
    ui::DoEvents();
  }));
  EXPECT_EQ(view->preedit().toStdString(), "ようせい");
  ASSERT_TRUE(Step([&] {
    form.txtMemo.SetFocus();
    ui::DoEvents();
  }));
  EXPECT_TRUE(view->preedit().isEmpty());
  EXPECT_EQ(form.sprResult.TextAt(3, 3), open);
  EXPECT_EQ(form.txtMemo.text(), memo);

  // A locked text box shows no composition either.
  auto* edit = Widget<QLineEdit>(form.txtMemo);
  form.txtMemo.locked = true;
  const QImage before = edit->grab().toImage();
  ASSERT_TRUE(Step([&] {
    Compose(edit, QString::fromUtf8("いじょう"));
    ui::DoEvents();
  }));
  EXPECT_EQ(edit->grab().toImage(), before);
  EXPECT_EQ(form.txtMemo.text(), memo);
}

TEST_F(QtNativeBehaviour, ANumberBoxAsksForLatinInputWhileATextBoxFollowsTheWindowsInputMethod) {
  testkit::SampleGridForm form;
  auto& number = form.Add<ui::TextBox>("txtKnsachStart");
  number.Move(120, 5000, 1200, 300);
  number.ime_mode = 2;
  form.ime.open = true;
  form.ime.conversion = 1 | 8;  // kana, full width
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* box = Widget<QLineEdit>(number);
  EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled)) << "the input method is off in a number box";
  EXPECT_TRUE(box->inputMethodHints() & Qt::ImhPreferLatin);
  auto* memo = Widget<QLineEdit>(form.txtMemo);
  EXPECT_TRUE(memo->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(memo->inputMethodHints(), Qt::ImhNone) << "Japanese input in a text box";

  // What the input method is told when it asks (QLineEdit by itself would
  // say it composes everywhere): a typed "1" stays "1".
  EXPECT_FALSE(AskInputMethod(box).composes) << "no composition in a number box";
  EXPECT_TRUE(AskInputMethod(box).hints & Qt::ImhPreferLatin);
  EXPECT_TRUE(AskInputMethod(memo).composes);
  EXPECT_EQ(AskInputMethod(memo).hints, Qt::ImhNone);
  ASSERT_TRUE(Step([&] {
    form.ime.open = false;
    ui::DoEvents();
  }));
  EXPECT_TRUE(AskInputMethod(memo).composes) << "the operator may still switch it on";
  EXPECT_TRUE(AskInputMethod(memo).hints & Qt::ImhPreferLatin);
  form.txtMemo.locked = true;
  EXPECT_FALSE(AskInputMethod(memo).composes) << "a locked box refuses what is committed";
}

TEST_F(QtNativeBehaviour, AnInputMethodCommitIsTypedAndThenItsKeyIsReleased) {
  testkit::SampleGridForm form;
  std::vector<std::string> seen;
  form.txtMemo.on_key_press = [&](int& ascii) { seen.push_back("press " + std::to_string(ascii)); };
  form.txtMemo.on_key_up = [&](int& key, int&) { seen.push_back("up " + std::to_string(key) + " " + form.txtMemo.text()); };
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* edit = Widget<QLineEdit>(form.txtMemo);
  ASSERT_TRUE(Step([&] {
    ClickOn(edit);
    form.txtMemo.SetText("");
    Compose(edit, {}, QString::fromUtf8("異常"));
  }));
  // A handler refreshing what depends on the text at the release (the
  // findings counter) sees the committed text.
  EXPECT_EQ(seen, (std::vector<std::string>{"press 30064", "press 24120", "up 229 異常"}));
}

TEST_F(QtNativeBehaviour, ARightClickInATextBoxOpensTheEditMenuWhoseItemsAreKeys) {
  testkit::SampleGridForm form;
  std::vector<int> keys;
  form.txtMemo.on_key_down = [&](int& key, int&) { keys.push_back(key); };
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* edit = Widget<QLineEdit>(form.txtMemo);
  QGuiApplication::clipboard()->clear();
  ASSERT_TRUE(Step([&] {
    ClickOn(edit);
    form.txtMemo.SetText("胸部");
    ui::DoEvents();
    shell->UserType("所見");
  }));
  auto open_menu = [&] {
    QMenu* menu = nullptr;
    EXPECT_TRUE(Step([&] {
      QContextMenuEvent event(QContextMenuEvent::Mouse, edit->rect().center(), edit->mapToGlobal(edit->rect().center()));
      QApplication::sendEvent(edit, &event);
      menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }));
    return menu;
  };
  QMenu* menu = open_menu();
  ASSERT_NE(menu, nullptr);
  std::vector<std::string> items;
  std::vector<bool> enabled;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    items.push_back(a->text().toStdString());
    enabled.push_back(a->isEnabled());
  }
  EXPECT_EQ(items, (std::vector<std::string>{"元に戻す(&U)", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除(&D)",
                                            "すべて選択(&A)"}));
  EXPECT_EQ(enabled, (std::vector<bool>{true, false, false, false, false, true})) << "an edit to undo, nothing selected";
  ASSERT_TRUE(Step([&] { menu->actions().front()->trigger(); }));
  EXPECT_EQ(form.txtMemo.text(), "胸部") << "undone through the model";
  menu->close();

  // すべて選択, then コピー: the model's keys, seen by the box's handlers.
  menu = open_menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(Step([&] { menu->actions().back()->trigger(); }));
  menu->close();
  menu = open_menu();
  ASSERT_NE(menu, nullptr);
  QAction* copy = nullptr;
  for (QAction* a : menu->actions()) {
    if (a->text().startsWith(QString::fromUtf8("コピー"))) copy = a;
  }
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->isEnabled());
  ASSERT_TRUE(Step([&] { copy->trigger(); }));
  menu->close();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "胸部");
  EXPECT_EQ(keys, (std::vector<int>{'Z', 'A', 'C'}));
}

TEST_F(QtNativeBehaviour, CtrlCAndCtrlVCopyAndPasteThroughTheModel) {
  testkit::SampleGridForm form;
  auto& other = form.Add<ui::TextBox>("txtOther");
  other.Move(120, 5000, 2000, 300);
  other.max_length = 6;
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* memo = Widget<QLineEdit>(form.txtMemo);
  ASSERT_TRUE(Step([&] {
    ClickOn(memo);
    form.txtMemo.SetText("胸部 異常なし");
    KeyTo(memo, Qt::Key_Home);
    KeyTo(memo, Qt::Key_Right);
    KeyTo(memo, Qt::Key_Right);
    KeyTo(memo, Qt::Key_Right, {}, Qt::ShiftModifier);
    KeyTo(memo, Qt::Key_End, {}, Qt::ShiftModifier);
    KeyTo(memo, Qt::Key_C, {}, Qt::ControlModifier);
  }));
  EXPECT_EQ(memo->selectedText().toStdString(), " 異常なし") << "Shift extends the selection in the widget too";
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), " 異常なし");

  std::string typed;
  other.on_key_press = [&](int& ascii) { typed += std::to_string(ascii) + " "; };
  auto* box = Widget<QLineEdit>(other);
  ASSERT_TRUE(Step([&] {
    ClickOn(box);
    other.SetText("所見");
    KeyTo(box, Qt::Key_V, {}, Qt::ControlModifier);
  }));
  EXPECT_EQ(other.text(), "所見 異常な") << "a paste is typing: the box's length limit holds";
  EXPECT_EQ(box->text().toStdString(), "所見 異常な");
  EXPECT_EQ(typed.substr(0, 3), "32 ") << "KeyPress sees the pasted characters";

  ASSERT_TRUE(Step([&] {
    KeyTo(box, Qt::Key_A, {}, Qt::ControlModifier);
    KeyTo(box, Qt::Key_X, {}, Qt::ControlModifier);
  }));
  EXPECT_EQ(other.text(), "");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "所見 異常な");
}

TEST_F(QtNativeBehaviour, ADialogIsTransientForTheFormThatShowedItAndCentredOnIt) {
  testkit::SampleGridForm main_form;
  ui::Form dialog("frmDialog");
  MakeSmallDialog(dialog, "確認");
  shell->SetMainForm(&main_form);
  ASSERT_TRUE(Step([&] {
    main_form.Show();
    main_form.Move(1500, 1500);
    ui::DoEvents();
    dialog.Show(false, &main_form);
  }));
  FormWindow* owner = shell->qt().WindowOf(main_form);
  FormWindow* window = shell->qt().WindowOf(dialog);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(window->windowHandle(), nullptr);
  EXPECT_EQ(window->windowHandle()->transientParent(), owner->windowHandle());
  const QPoint off = window->frameGeometry().center() - owner->frameGeometry().center();
  EXPECT_LE(std::abs(off.x()), 2) << off.x();
  EXPECT_LE(std::abs(off.y()), 2) << off.y();
  EXPECT_EQ(dialog.left, window->x() * shell->qt().twips_per_pixel()) << "the form knows where it is";

  // A form the program placed stays where it was put.
  ui::Form placed("frmPlaced");
  placed.caption = "一覧";
  ASSERT_TRUE(Step([&] {
    placed.Load();
    placed.Move(600, 450, 3000, 1500);
    placed.Show(false, &main_form);
  }));
  EXPECT_EQ(shell->qt().WindowOf(placed)->pos(), QPoint(600, 450) / shell->qt().twips_per_pixel());
}

// A dialog that opens takes the keyboard, into its first box; when it
// closes, its owner has it again, in the box it was in.
TEST_F(QtNativeBehaviour, ADialogTakesTheKeyboardAndGivesItBackWhenItCloses) {
  testkit::SampleGridForm main_form;
  struct Dialog : ui::Form {
    Dialog() : ui::Form("frmAsk") {}
    ui::TextBox& txtCode = Add<ui::TextBox>("txtCode");
  } dialog;
  MakeSmallDialog(dialog, "確認");
  dialog.txtCode.Move(120, 120, 1500, 360);
  shell->SetMainForm(&main_form);
  ASSERT_TRUE(Step([&] {
    main_form.Show();
    ui::DoEvents();
    main_form.txtMemo.SetFocus();
    ui::DoEvents();
  }));
  FormWindow* owner = shell->qt().WindowOf(main_form);
  ASSERT_EQ(QApplication::focusWidget(), Widget<QLineEdit>(main_form.txtMemo));
  ASSERT_TRUE(Step([&] {
    dialog.Show(false, &main_form);
    ui::DoEvents();
  }));
  FormWindow* window = shell->qt().WindowOf(dialog);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(QApplication::activeWindow(), window);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QLineEdit>(dialog.txtCode));
  ASSERT_TRUE(Step([&] {
    dialog.Unload();
    ui::DoEvents();
  }));
  EXPECT_EQ(QApplication::activeWindow(), owner);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QLineEdit>(main_form.txtMemo));
}

TEST_F(QtNativeBehaviour, AMinimisedDialogLeavesItsOwnerAloneAndIsItsDialogAgainWhenRestored) {
  // A window manager minimises a window's owner with it: a companion form
  // kept minimised must not take the main window down.
  testkit::SampleGridForm main_form;
  ui::Form companion("frmCompanion");
  MakeSmallDialog(companion, "入力グループ選択");
  shell->SetMainForm(&main_form);
  ASSERT_TRUE(Step([&] {
    main_form.Show();
    companion.Load();
    companion.SetWindowState(ui::WindowState::kMinimized);
    companion.Show();
    ui::DoEvents();
  }));
  QWindow* owner = shell->qt().WindowOf(main_form)->windowHandle();
  QWindow* window = shell->qt().WindowOf(companion)->windowHandle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->transientParent(), nullptr);
  ASSERT_TRUE(Step([&] {
    companion.SetWindowState(ui::WindowState::kNormal);
    ui::DoEvents();
  }));
  EXPECT_EQ(window->transientParent(), owner);
  ASSERT_TRUE(Step([&] {
    companion.SetWindowState(ui::WindowState::kMinimized);
    ui::DoEvents();
  }));
  EXPECT_EQ(window->transientParent(), nullptr);
  EXPECT_EQ(main_form.window_state(), ui::WindowState::kNormal);
}

TEST_F(QtNativeBehaviour, TheUsersResizeAndMoveAreKeptAndTheFormIsTold) {
  testkit::SampleGridForm forms[2];  // one a case: each keeps its window to the end
  for (const bool busy : {false, true}) {
    SCOPED_TRACE(busy ? "while the program works (a load)" : "while it waits for the user");
    testkit::SampleGridForm& form = forms[busy ? 1 : 0];
    int resizes = 0;
    form.on_resize = [&] { ++resizes; };
    ASSERT_TRUE(Step([&] { form.Show(); }));
    FormWindow* window = shell->qt().WindowOf(form);
    const int tpp = shell->qt().twips_per_pixel();
    const QSize bigger = window->size() + QSize(60, 40);
    resizes = 0;
    ASSERT_TRUE(Step([&] {
      std::optional<ui::WorkInProgress> work;
      if (busy) work.emplace();
      window->resize(bigger);
      window->move(window->pos() + QPoint(30, 20));
      ui::DoEvents();
      form.lblTitle.caption = "読込中";
      ui::DoEvents();
      if (busy) {
        EXPECT_EQ(window->size(), bigger) << "the sync during the work keeps the user's size";
        EXPECT_EQ(resizes, 0) << "no handler runs for the user during the work";
      }
    }));
    // After the work the form is told (and lays itself out).
    for (int i = 0; i < 100 && resizes == 0; ++i) {
      ASSERT_TRUE(Step([] {
        QThread::msleep(5);
        ui::DoEvents();
      }));
    }
    ASSERT_TRUE(Step([&] {
      form.lblTitle.caption = "再表示";
      ui::DoEvents();
      ui::DoEvents();
    }));
    EXPECT_EQ(window->size(), bigger) << "the next sync does not undo it";
    // The form's size is the window's with its frame.
    EXPECT_EQ(form.width, window->frameGeometry().width() * tpp);
    EXPECT_EQ(form.height, window->frameGeometry().height() * tpp);
    EXPECT_EQ(form.left, window->x() * tpp);
    EXPECT_EQ(resizes, 1);
  }
}

TEST_F(QtNativeBehaviour, AWindowLargerThanTheScreenIsFittedIntoItsAvailableArea) {
  testkit::SampleGridForm form;
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const int tpp = shell->qt().twips_per_pixel();
  form.Move(0, 0, (available.width() + 200) * tpp, (available.height() + 100) * tpp);
  ASSERT_TRUE(Step([&] { form.Show(); }));
  FormWindow* window = shell->qt().WindowOf(form);
  const QRect g = window->frameGeometry();
  EXPECT_TRUE(available.contains(g)) << g.x() << "," << g.y() << " " << g.width() << "x" << g.height() << " in "
                                     << available.x() << "," << available.y() << " " << available.width() << "x"
                                     << available.height();
  EXPECT_EQ(form.height, g.height() * tpp) << "the form's height is the window's with its frame";
}

TEST_F(QtNativeBehaviour, ALongOptionCaptionWrapsAndAComboWithoutHeightIsAsTallAsItsFont) {
  ui::Form form("frmPrint");
  form.Move(0, 0, 4800, 3000);
  auto& option = form.Add<ui::OptionButton>("optKirikae", 2);
  option.caption = "問診＋結果表示";
  option.font.size = 8;
  option.Move(60, 240, 900, 360);
  auto& list = form.Add<ui::ComboBox>("cboPrintSelect");
  list.style = 2;
  list.Move(240, 1200, 4200, 0);
  list.AddItem("健診結果報告書");
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* button = Widget<QAbstractButton>(option);
  const QStringList lines = button->text().split(QLatin1Char('\n'));
  EXPECT_GE(lines.size(), 2) << button->text().toStdString();
  EXPECT_EQ(lines.join(QString()).toStdString(), "問診＋結果表示") << "every character is kept";
  for (const QString& line : lines) {
    EXPECT_LE(button->fontMetrics().horizontalAdvance(line), button->width()) << line.toStdString();
  }
  auto* combo = Widget<QComboBox>(list);
  EXPECT_GE(combo->height(), combo->fontMetrics().height()) << "the report list shows";
}

}  // namespace
}  // namespace qz::qt
