// TabStrip: the model of a tab strip control (the findings classification
// tabs). Tabs are numbered from 1, as the platform's tab collection is;
// selected_index() 0 means no tab. Draws nothing.
//
// Selecting a tab by program raises click when the selection changes, as
// the platform control does; a click by the user always raises it. Adding
// the first tab selects it without an event. Single-threaded.
#ifndef QZ_PLATFORM_GRID_TAB_STRIP_H_
#define QZ_PLATFORM_GRID_TAB_STRIP_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace qz::grid {

struct Tab {
  std::string caption;
  std::string tag;
};

class TabStrip : public ui::Control {
 public:
  // `form` may be null (tests).
  TabStrip(ui::Form* form, std::string name, int index = -1);
  ~TabStrip() override;

  int count() const { return static_cast<int>(tabs_.size()); }
  // Tab `index` (1..count()); throws RunTimeError (kErrSubscript) otherwise.
  const Tab& tab(int index) const;
  Tab& tab(int index);
  // Appends a tab and returns its index.
  int Add(std::string caption, std::string tag = {});
  // Removes every tab; nothing is selected afterwards.
  void Clear();

  int selected_index() const { return selected_; }
  // Selects tab `index`; raises click when it was not selected. Throws
  // when there is no such tab.
  void Select(int index);

  bool has_focus() const { return focused_; }

  std::function<void()> on_click;
  std::function<void(int& key_code, int shift)> on_key_down;

  // --- User actions (ignored while hidden or disabled) -------------------
  // A click on tab `index`: selects it and raises click.
  void ClickTab(int index);
  // A key pressed on the strip: raises key-down; returns the code after it.
  int DeliverKeyDown(int key_code, int shift);

  // Records the tab under the pointer for the next click the shell
  // delivers; without one a click acts on the selected tab.
  void PointAt(int index) { point_ = index; }

  void OnFocusArriving(Control* from) override;
  void OnFocusLeaving(Control* to) override;

  // Input the shell delivers: keys through DeliverKeyDown, a left click
  // through ClickTab at the pointed (else the selected) tab.
  void HandleKeyDown(int& key_code, int& shift) override;
  void HandleClick(int button, int shift) override;

 private:
  std::vector<Tab> tabs_;
  int selected_ = 0;
  bool focused_ = false;
  int point_ = 0;
};

}  // namespace qz::grid

#endif  // QZ_PLATFORM_GRID_TAB_STRIP_H_
