// The time stamp mode's pickers.
#include "ui/time_controls.h"

#include <commctrl.h>

#include "platform/format_text.h"
#include "resources/resource.h"
#include "ui/timers.h"

namespace korval {
namespace {

void SetPickers(const Frame& frame, const SYSTEMTIME& time) {
  for (int picker : {IDC_TIME_DATE, IDC_TIME_TIME}) {
    if (HWND control = frame.Item(picker)) SendMessageW(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
  }
}

}  // namespace

void InitTimeControls(const Frame& frame, const PanelValues& panel) {
  SendMessageW(frame.Item(IDC_TIME_DATE), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"yyyy'/'MM'/'dd"));
  SendMessageW(frame.Item(IDC_TIME_TIME), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH':'mm':'ss"));
  SYSTEMTIME time;
  GetLocalTime(&time);
  if (!panel.stampnow) time.wHour = time.wMinute = time.wSecond = time.wMilliseconds = 0;
  SetPickers(frame, time);
}

void ReadTimeControls(const Frame& frame, PanelValues& panel) {
  // Pickers not made yet keep the values the panel holds.
  if (!frame.Item(IDC_TIME_DATE) || !frame.Item(IDC_TIME_TIME)) return;
  SYSTEMTIME date{}, time{};
  if (SendMessageW(frame.Item(IDC_TIME_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID) return;
  if (SendMessageW(frame.Item(IDC_TIME_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return;
  panel.baseDate = FormatText(L"%04d/%02d/%02d", date.wYear, date.wMonth, date.wDay);
  panel.baseTime = FormatText(L"%02d:%02d:%02d", time.wHour, time.wMinute, time.wSecond);
}

void TickClock(Workspace& work, const Frame& frame) {
  HWND now = frame.Item(IDC_TIME_NOW);
  if (now && IsWindowVisible(now) && SendMessageW(now, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    SYSTEMTIME time;
    GetLocalTime(&time);
    SetPickers(frame, time);
  }
  if (!work.Automatic()) SetTimer(frame.main, kTimerClock, 496, nullptr);
}

}  // namespace korval
