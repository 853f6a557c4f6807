// Entering the thread's COM apartment once.
#include "platform/com_apartment.h"

#include <windows.h>

#include <objbase.h>

namespace korval {

void EnterComApartment() {
  thread_local bool entered = false;
  if (entered) return;
  entered = true;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

}  // namespace korval
