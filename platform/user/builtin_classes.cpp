// The window layer's own classes, registered once before the first window is made.
#include "user/controls/common.h"
#include "user/dialog.h"
#include "user/system.h"

namespace user {

void RegisterBuiltInClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  controls::RegisterControlClasses();
  dialog::RegisterDialogClass();
}

}  // namespace user
