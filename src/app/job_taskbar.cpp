#include "app/job_taskbar.h"

#include <shobjidl.h>

#include <algorithm>

#include "framework/gdiplus_holders.h"

namespace {

// The shell's taskbar list, made on the window's thread at the first call.
class SystemTaskbar : public TaskbarSeam {
 public:
  ~SystemTaskbar() override {
    m_list.reset();
    if (m_bComStarted)
      CoUninitialize();
  }

  void Show(HWND window, TaskbarState state, int done, int total) override {
    ITaskbarList3* list = List();
    if (!list)
      return;
    static constexpr TBPFLAG kFlags[] = {TBPF_NOPROGRESS, TBPF_INDETERMINATE, TBPF_NORMAL,
                                         TBPF_ERROR};
    list->SetProgressState(window, kFlags[static_cast<int>(state)]);
    if (state == TaskbarState::kNormal || state == TaskbarState::kError)
      list->SetProgressValue(window, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(total));
  }

  void Flash(HWND window) override {
    FLASHWINFO flash{sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
  }

  ULONGLONG Now() override { return GetTickCount64(); }

 private:
  ITaskbarList3* List() {
    if (!m_list && !m_bTried) {
      m_bTried = true;
      m_bComStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
      ITaskbarList3* list = nullptr;
      if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_ITaskbarList3, reinterpret_cast<void**>(&list)))) {
        m_list.reset(list);
        list->HrInit();
      }
    }
    return m_list.get();
  }

  fw::OwnedHandle<ITaskbarList3*, fw::ReleaseComObject> m_list;
  bool m_bTried = false;
  bool m_bComStarted = false;
};

SystemTaskbar g_systemTaskbar;

}  // namespace

TaskbarSeam* TaskbarSeam::s_seam = &g_systemTaskbar;

void JobTaskbar::Begin(HWND window) {
  m_window = window;
  m_start = TaskbarSeam::s_seam->Now();
  Show(TaskbarState::kIndeterminate, 0, 0);
}

void JobTaskbar::Update(int handled, int counted, bool countDone, bool failed) {
  if (!m_window)
    return;
  if (failed) {
    // Without a total the whole bar turns red.
    const bool share = countDone && counted > 0;
    Show(TaskbarState::kError, share ? std::min(handled, counted) : 1, share ? counted : 1);
  } else if (countDone) {
    Show(TaskbarState::kNormal, std::min(handled, counted), std::max(counted, 1));
  } else {
    Show(TaskbarState::kIndeterminate, 0, 0);
  }
}

void JobTaskbar::End(bool inFront) {
  if (!m_window)
    return;
  Show(TaskbarState::kNone, 0, 0);
  if (!inFront && TaskbarSeam::s_seam->Now() - m_start > kFlashAfterMs)
    TaskbarSeam::s_seam->Flash(m_window);
  m_window = nullptr;
}

void JobTaskbar::Show(TaskbarState state, int done, int total) {
  if (state == m_state && done == m_done && total == m_total)
    return;
  m_state = state;
  m_done = done;
  m_total = total;
  TaskbarSeam::s_seam->Show(m_window, state, done, total);
}
