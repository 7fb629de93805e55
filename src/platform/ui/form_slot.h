// FormSlot<T>: the program-wide instance of a form class, as the program
// names its forms (`frmGuide->lblState.caption = ...`).
//
// The slot makes its form on first use and makes a fresh one on the first use
// after the form was unloaded, so every loading starts from the designed
// properties. The unloaded instance is handed to the shell to be destroyed
// when no handler can still be running in it (Shell::Retire).
//
// Single-threaded, like every form.
#ifndef QZ_PLATFORM_UI_FORM_SLOT_H_
#define QZ_PLATFORM_UI_FORM_SLOT_H_

#include <memory>

#include "platform/ui/form.h"

namespace qz::ui {

// Hands an unloaded form to the current shell for later destruction, or
// destroys it at once when no shell is installed.
void RetireForm(std::unique_ptr<Form> form);

template <class T>
class FormSlot {
 public:
  FormSlot() = default;
  FormSlot(const FormSlot&) = delete;
  FormSlot& operator=(const FormSlot&) = delete;

  // The live instance (made now when there is none or the last one was
  // unloaded).
  T& get() {
    if (form_ != nullptr && form_->unloaded()) RetireForm(std::move(form_));
    if (form_ == nullptr) form_ = std::make_unique<T>();
    return *form_;
  }
  T& operator*() { return get(); }
  T* operator->() { return &get(); }

  // Whether an instance exists that is loaded.
  bool loaded() const { return form_ != nullptr && form_->loaded(); }

  // Drops the instance (tests start each case from a fresh one).
  void Reset() { form_.reset(); }

 private:
  std::unique_ptr<T> form_;
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_FORM_SLOT_H_
