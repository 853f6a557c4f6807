// Which controls of the mode panel each change mode shows; the first of a group takes the focus.
#pragma once

#include <span>

namespace korval {

struct ModeGroup {
  int mode;
  std::span<const int> controls;
};

// The group of a mode number, or an empty span for a mode without one.
std::span<const int> ModeGroupOf(int mode);
// Every group, for hiding them all.
std::span<const ModeGroup> ModeGroups();
// Whether id is a control of some mode's group (made when its mode is first shown).
bool IsModeGroupControl(int id);

// The deletion rule's boxes: the first count serves rules 8 to 10, the second count rule 10.
bool DeleteFromUsed(int deltype);
bool DeleteCountUsed(int deltype);

}  // namespace korval
