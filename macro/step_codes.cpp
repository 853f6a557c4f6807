// Looking up the shared table of step codes.
#include "macro/step_codes.h"

namespace korval {

int StepCodeIndexOfMode(int mode) {
  const ModeDescriptor* descriptor = ModeDescriptorOf(mode);
  return descriptor && descriptor->stepCode ? StepCodeIndexOfText(descriptor->stepCode) : -1;
}

int StepCodeMode(int codeIndex) {
  if (codeIndex < 0 || codeIndex >= kStepCodeCount) return 0;
  const std::string_view code(kStepCodes[codeIndex].text, kStepCodeLength);
  for (const ModeDescriptor& d : kModeTable) {
    if (d.stepCode && code == d.stepCode) return d.number;
  }
  return 0;
}

int StepCodeIndexOfText(std::string_view code) {
  if (code.size() != kStepCodeLength) return -1;
  for (int i = 0; i < kStepCodeCount; ++i) {
    if (code == std::string_view(kStepCodes[i].text, kStepCodeLength)) return i;
  }
  return -1;
}

bool DigitsWithinLimits(int codeIndex, char d0, char d1, char d2) {
  if (codeIndex < 0 || codeIndex >= kStepCodeCount) return false;
  const StepDigitLimits& limits = kStepCodes[codeIndex].limits;
  return d0 >= '0' && d0 <= limits.d0 && d1 >= '0' && d1 <= limits.d1 && d2 >= '0' && d2 <= limits.d2;
}

}  // namespace korval
