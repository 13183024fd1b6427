// The note printed when Ctrl+C stops a job; shared by both platforms' handlers.
#pragma once

inline constexpr char kInterruptNote[] =
    "\n正在停止: 当前文件处理完后结束 (再按 Ctrl+C 立即退出).\n";
