#include "display/display.h"

namespace display {
namespace {
std::unique_ptr<Display>& Slot() {
  static std::unique_ptr<Display> current;
  return current;
}
}  // namespace

Display* Current() { return Slot().get(); }
void Install(std::unique_ptr<Display> display) { Slot() = std::move(display); }

}  // namespace display
